// Where start-up time goes: the phases of the program's own start, timed in-process.
// The whole start as a user sees it is startup_bench; this one tells which part to look at.

#include "app/Form1.h"
#include "panels/frmSet.h"
#include "platform/Fonts.h"
#include "platform/Windowing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const qint64 application = clock.nsecsElapsed();
    platform::installProgramFont();
    Form1 form;
    const qint64 constructed = clock.nsecsElapsed();
    form.Form_Load();
    const qint64 loaded = clock.nsecsElapsed();
    form.show();
    form.repaint();
    form.panel().repaint();
    platform::syncWithDisplay();
    const qint64 painted = clock.nsecsElapsed();
    std::printf("startup_phase_application: %.1f ms (goal: none, QApplication and the X connection)\n",
                application / 1e6);
    std::printf("startup_phase_bus_window: %.1f ms (goal: none, layout and pictures)\n",
                (constructed - application) / 1e6);
    std::printf("startup_phase_form_load: %.1f ms (goal: none, settings and the panel)\n",
                (loaded - constructed) / 1e6);
    std::printf("startup_phase_first_paint: %.1f ms (goal: none, both windows painted)\n", (painted - loaded) / 1e6);
    return 0;
}
