// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Where start-up time goes: the phases of the program's own start, timed in-process,
// up to the moment both windows have painted their first exposure. The whole start as a
// user sees it is startup_bench; this one tells which part to look at.

#include "app/Form1.h"
#include "controls/Accessibility.h"
#include "panels/frmSet.h"
#include "platform/Fonts.h"
#include "platform/Translations.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <cstdio>

namespace {

// Times the handling of each window's first exposure (where the window paints itself),
// and ends the event loop once both windows have been painted.
class TimedApplication : public QApplication {
public:
    TimedApplication(int& argc, char** argv, const QElapsedTimer& clock) : QApplication(argc, argv), clock_(clock) {}

    void watch(QWindow* bus, QWindow* panel) {
        bus_ = bus;
        panel_ = panel;
    }

    bool notify(QObject* receiver, QEvent* event) override {
        Painting* painting = receiver == bus_ ? &busPaint : receiver == panel_ ? &panelPaint : nullptr;
        if (!painting || painting->end >= 0 || event->type() != QEvent::Expose)
            return QApplication::notify(receiver, event);
        painting->start = clock_.nsecsElapsed();
        const bool handled = QApplication::notify(receiver, event);
        painting->end = clock_.nsecsElapsed();
        if (busPaint.end >= 0 && panelPaint.end >= 0)
            QCoreApplication::exit(0);
        return handled;
    }

    struct Painting {
        qint64 start = -1, end = -1;
    };
    Painting busPaint, panelPaint;

private:
    const QElapsedTimer& clock_;
    QWindow* bus_ = nullptr;
    QWindow* panel_ = nullptr;
};

void print(const char* name, qint64 nanoseconds, const char* note) {
    std::printf("startup_phase_%s: %.2f ms (%s)\n", name, static_cast<double>(nanoseconds) / 1e6, note);
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    TimedApplication app(argc, argv, clock);
    const qint64 application = clock.nsecsElapsed();
    platform::installToolkitTranslations();
    const qint64 translated = clock.nsecsElapsed();
    ctl::installAccessibleInterfaces();
    platform::installProgramFont();
    Form1 form;
    const qint64 constructed = clock.nsecsElapsed();
    form.Form_Load();
    const qint64 loaded = clock.nsecsElapsed();
    form.show();
    form.activateWindow();
    const qint64 shown = clock.nsecsElapsed();
    app.watch(form.windowHandle(), form.panel().windowHandle());
    app.exec();
    const qint64 painted = clock.nsecsElapsed();

    print("application", application, "QApplication and the X connection");
    print("translations", translated - application, "the toolkit's catalogue for the user's language, if any");
    print("bus_window", constructed - translated, "font, layout and pictures");
    print("form_load", loaded - constructed, "settings, the panel, its window");
    print("show", shown - loaded, "the bus window's native windows");
    print("panel_paint", app.panelPaint.end - app.panelPaint.start, "its first exposure");
    print("bus_paint", app.busPaint.end - app.busPaint.start, "its first exposure");
    print("both_painted", painted, "in-process, from QApplication's start");
    return 0;
}
