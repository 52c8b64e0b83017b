// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// One roll step of the destination sign on a real X server: an arrow key delivered to sign
// window 0, the film moved, the sign repainted and the display server caught up. This is
// what a held arrow key costs at each auto-repeat.

#include "BusWindowBench.h"

#include "panels/frmSet.h"

#include <QKeyEvent>
#include <cstdio>

namespace {

using benchsupport::Clock;

constexpr int kWarmUp = 20;
constexpr int kSteps = 400;
constexpr int kRollStep = 5;  // pixels: every press changes what the sign shows

void pressAndRelease(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

}  // namespace

int main(int argc, char** argv) {
    benchsupport::requireX11();
    QApplication app(argc, argv);
    benchsupport::applyProgramFont();
    const std::unique_ptr<Form1> form = benchsupport::startBusWindow("roll_bench");
    if (!form)
        return 1;
    panels::PanelValues speeds = form->panel().values();
    speeds.rollSpeeds[0] = kRollStep;
    form->panel().setValues(speeds);
    QWidget* sign = form->picWaku1(0);
    const benchsupport::PaintCounter paints(sign);

    std::vector<double> stepUs;
    int missed = 0;
    const double cpuStart = benchsupport::cpuSeconds();
    const auto start = Clock::now();
    for (int i = 0; i < kWarmUp + kSteps; ++i) {
        // Up then Down: the film stays in view, so every step has film to draw.
        const int key = i % 2 == 0 ? Qt::Key_Up : Qt::Key_Down;
        const int paintsBefore = paints.count();
        const auto begin = Clock::now();
        pressAndRelease(sign, key);
        QCoreApplication::processEvents();
        platform::syncWithDisplay();
        const auto end = Clock::now();
        if (i < kWarmUp)
            continue;
        stepUs.push_back(benchsupport::microseconds(end - begin));
        const int expected = key == Qt::Key_Up ? kRollStep : 0;
        if (paints.count() == paintsBefore || form->MakuPos[0] != expected)
            ++missed;
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = benchsupport::cpuSeconds() - cpuStart;

    std::printf("roll_step_median: %.1f us (goal: < 1000 us; median of %d)\n", benchsupport::median(stepUs), kSteps);
    std::printf("roll_step_p99: %.1f us (goal: none, shows preemption)\n", benchsupport::percentile(stepUs, 0.99));
    std::printf("roll_steps_missed: %d of %d (goal: 0, every press rolls and repaints the sign)\n", missed, kSteps);
    std::printf("roll_cpu_share: %.1f %% (goal: none, back-to-back presses)\n", cpu / wall * 100);
    return 0;
}
