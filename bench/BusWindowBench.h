// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What the bus-window benchmarks share: the window started the way the program starts it,
// on a real X server, a paint counter to prove that a timed step reached the screen, and
// the few statistics they print.

#include "app/Form1.h"
#include "platform/Fonts.h"
#include "platform/Windowing.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFont>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace benchsupport {

using Clock = std::chrono::steady_clock;

inline double microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// User plus system time of the whole process (Qt's X event reader thread included).
inline double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The value below which the given share of the samples lie (nearest rank).
inline double percentile(std::vector<double> v, double share) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const auto rank = static_cast<std::size_t>(share * double(v.size() - 1) + 0.5);
    return v[std::min(rank, v.size() - 1)];
}

inline double median(const std::vector<double>& v) { return percentile(v, 0.5); }

// Counts the paint events a widget receives, so a bench can tell a step that reached the
// screen from one that changed nothing.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* watched) { watched->installEventFilter(this); }
    int count() const { return count_; }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count_;
        return false;
    }

private:
    int count_ = 0;
};

// These figures mean something only against a real display server: a flush and a round
// trip to it are part of every step. The offscreen platform would time nothing of that.
inline void requireX11() { qputenv("QT_QPA_PLATFORM", "xcb"); }

inline void applyProgramFont() { platform::installProgramFont(); }

// Runs the event loop for a while, then waits for the server: what was queued is on screen.
inline void settle(int milliseconds) {
    const auto until = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (Clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    platform::syncWithDisplay();
}

// The bus window with its panel, started as the program starts it but with no settings
// file, so every run begins from the same places and speeds. The door sound is silenced:
// only the movement is timed. Null (with a message) when the window never got exposed.
// A bench that looks at each door step gives its wait after the step (which then waits too).
inline std::unique_ptr<Form1> startBusWindow(
    const char* benchName, std::function<void(std::chrono::steady_clock::time_point, int)> waitAfterStep = {}) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "%s: needs an X display (run it under testing/with-x.sh)\n", benchName);
        return nullptr;
    }
    QFile::remove(QFile::decodeName(settings::settingsFilePath()));
    auto form = std::make_unique<Form1>(Form1::DoorHooks{std::move(waitAfterStep), [](std::int16_t) {}});
    form->Form_Load();
    form->show();
    form->activateWindow();
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!(form->windowHandle() && form->windowHandle()->isExposed())) {
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "%s: the bus window was not exposed within 10 s\n", benchName);
            return nullptr;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    settle(300);  // the window manager's frame, the panel and the first paints
    return form;
}

}  // namespace benchsupport
