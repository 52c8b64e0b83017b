// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The door animations on a real X server: how long a whole movement lasts, what each step
// costs outside its wait (setting the geometry, repainting, the round trip to the server),
// how many steps actually changed pixels, and how much processor time a slow movement burns.

#include "BusWindowBench.h"

#include "doors/CountedWait.h"
#include "panels/frmSet.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

using benchsupport::Clock;
using benchsupport::microseconds;

constexpr int kFrontSteps = 996;   // 1065 down to 70, or back
constexpr int kMiddleSteps = 821;  // 930 down to 110, or back
constexpr double kOverheadGoalUs = 30;

struct Case {
    std::string name;
    bool front = true;
    int count = 1;
    int cycles = 1;  // one cycle opens and closes the door
};

// One movement, as the wrapped wait saw it.
struct Movement {
    double wallUs = 0;
    double waitUs = 0;
    double cpuShare = 0;
    int steps = 0;
    int paintedSteps = 0;
    std::vector<double> outsideUs;  // per step: from the end of the last wait to the start of this one
    std::vector<bool> painted;      // per step: whether it repainted anything
};

class Recorder {
public:
    explicit Recorder(const benchsupport::PaintCounter& paints) : paints_(paints) {}

    Movement run(Form1& form, bool front, std::int16_t checkValue) {
        now_ = Movement{};
        paintsSeen_ = paints_.count();
        const double cpuStart = benchsupport::cpuSeconds();
        const auto start = Clock::now();
        lastWaitEnd_ = start;
        if (front)
            form.Check1_Click(checkValue);
        else
            form.Check2_Click(checkValue);
        now_.wallUs = microseconds(Clock::now() - start);
        const double cpu = benchsupport::cpuSeconds() - cpuStart;
        now_.cpuShare = cpu / (now_.wallUs * 1e-6);
        return now_;
    }

    // After each step: counted, then the program's own wait, so the movement is timed as the
    // program runs it.
    void step(Clock::time_point stepStart, int count) {
        const auto begin = Clock::now();
        now_.outsideUs.push_back(microseconds(begin - lastWaitEnd_));
        ++now_.steps;
        const bool painted = paints_.count() != paintsSeen_;
        now_.painted.push_back(painted);
        if (painted) {
            ++now_.paintedSteps;
            paintsSeen_ = paints_.count();
        }
        doors::waitUntil(stepStart + doors::waitDuration(count));
        lastWaitEnd_ = Clock::now();
        now_.waitUs += microseconds(lastWaitEnd_ - begin);
    }

private:
    const benchsupport::PaintCounter& paints_;
    Movement now_;
    int paintsSeen_ = 0;
    Clock::time_point lastWaitEnd_;
};

void report(const Case& c, const std::vector<Movement>& movements) {
    const int steps = c.front ? kFrontSteps : kMiddleSteps;
    std::vector<double> wallMs, overheadUs, overshootUs, cpuShare, paintedUs, plainUs;
    double worstErrorPct = 0;
    int painted = 0, wrongStepCounts = 0;
    const double waitUs = std::chrono::duration<double, std::micro>(doors::waitDuration(c.count)).count();
    const double targetMs = steps * waitUs / 1000;
    for (const Movement& m : movements) {
        wallMs.push_back(m.wallUs / 1000);
        overheadUs.push_back((m.wallUs - m.waitUs) / std::max(1, m.steps));
        cpuShare.push_back(m.cpuShare * 100);
        overshootUs.push_back(m.waitUs / std::max(1, m.steps) - waitUs);
        for (std::size_t i = 0; i < m.outsideUs.size(); ++i)
            (m.painted[i] ? paintedUs : plainUs).push_back(m.outsideUs[i]);
        painted = std::max(painted, m.paintedSteps);
        wrongStepCounts += m.steps != steps ? 1 : 0;
        const double errorPct = (m.wallUs / 1000 / targetMs - 1) * 100;
        if (std::abs(errorPct) > std::abs(worstErrorPct))
            worstErrorPct = errorPct;
    }
    const char* n = c.name.c_str();
    const auto count = static_cast<int>(movements.size());
    if (c.count >= 10000) {
        std::printf("%s_movement: %.1f ms (goal: %.1f ms within 3 %%; median of %d)\n", n, benchsupport::median(wallMs),
                    targetMs, count);
        std::printf("%s_error_worst: %+.2f %% (goal: within 3 %%)\n", n, worstErrorPct);
    } else {
        // The waits themselves plus 30 us a step.
        std::printf("%s_movement: %.2f ms (goal: < %.1f ms; median of %d)\n", n, benchsupport::median(wallMs),
                    targetMs + steps * kOverheadGoalUs / 1000, count);
    }
    std::printf("%s_overhead_per_step: %.1f us (goal: < %.0f us; median of the movements' means)\n", n,
                benchsupport::median(overheadUs), kOverheadGoalUs);
    // Where the overhead goes: the few steps that reach the screen against the many that do not.
    std::printf("%s_painted_step_median: %.1f us (goal: none, repaint and round trip)\n", n,
                benchsupport::median(paintedUs));
    std::printf("%s_plain_step_median: %.2f us (goal: none, geometry only)\n", n, benchsupport::median(plainUs));
    // The rest of a movement's excess over its target is the waits running late.
    std::printf("%s_wait_overshoot_per_step: %.1f us (goal: none, part of the 3 %%)\n", n,
                benchsupport::median(overshootUs));
    std::printf("%s_painted_steps: %d of %d (goal: none, the steps that changed a pixel)\n", n, painted, steps);
    std::printf("%s_cpu_share: %.1f %% (goal: %s)\n", n, benchsupport::median(cpuShare),
                c.count >= 10000 ? "< 20 %" : "none, the waits are too short to sleep");
    if (wrongStepCounts > 0)
        std::printf("%s_wrong_step_counts: %d movements (goal: 0)\n", n, wrongStepCounts);
}

}  // namespace

int main(int argc, char** argv) {
    benchsupport::requireX11();
    QApplication app(argc, argv);
    benchsupport::applyProgramFont();
    Recorder* recorder = nullptr;
    const std::unique_ptr<Form1> form =
        benchsupport::startBusWindow("door_bench", [&recorder](Clock::time_point stepStart, int count) {
            if (recorder)
                recorder->step(stepStart, count);
        });
    if (!form)
        return 1;
    const benchsupport::PaintCounter paints(form.get());
    Recorder recording(paints);
    recorder = &recording;

    const std::vector<Case> cases = {
        {"door_front_1", true, 1, 10},   {"door_front_100", true, 100, 10},      {"door_front_10000", true, 10000, 2},
        {"door_middle_1", false, 1, 10}, {"door_middle_10000", false, 10000, 2},
    };
    for (const Case& c : cases) {
        panels::PanelValues speeds = form->panel().values();
        (c.front ? speeds.frontDoorSpeed : speeds.middleDoorSpeed) = c.count;
        form->panel().setValues(speeds);
        std::vector<Movement> movements;
        for (int i = 0; i < c.cycles; ++i) {
            for (const std::int16_t checkValue : {std::int16_t(1), std::int16_t(0)}) {
                movements.push_back(recording.run(*form, c.front, checkValue));
                benchsupport::settle(20);  // what queued up during the movement, outside the timing
            }
        }
        report(c, movements);
        std::fflush(stdout);
    }
    return 0;
}
