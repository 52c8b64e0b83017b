// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// How close the door's counted wait comes to its target time, and what it costs the
// processor: one wait's mean real duration for a few counts, and a whole door movement's
// worth (996 waits) at the middle door's default count.

#include "doors/CountedWait.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double targetUs(int count) { return std::chrono::duration<double, std::micro>(doors::waitDuration(count)).count(); }

void meanOfOne(int count, int repeats) {
    const auto start = Clock::now();
    for (int i = 0; i < repeats; ++i)
        doors::countedWait(count);
    const double meanUs = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repeats;
    std::printf("counted_wait_%d_mean: %.3f us (goal: %.3f us, the target)\n", count, meanUs, targetUs(count));
}

// Other processes competing for the processor delay every wake-up; the figures only mean
// something next to the load they were taken under.
double loadAverage() {
    std::ifstream in("/proc/loadavg");
    double load = -1;
    in >> load;
    return load;
}

}  // namespace

int main() {
    std::printf("load_average_1min: %.2f (goal: none, below the processor count for meaningful figures)\n",
                loadAverage());
    meanOfOne(1, 100000);
    meanOfOne(100, 20000);
    meanOfOne(10000, 996);

    constexpr int kWaits = 996;  // one door movement
    constexpr int kCount = 10000;
    std::vector<double> overshootUs;
    overshootUs.reserve(kWaits);
    const double cpuStart = cpuSeconds();
    const auto start = Clock::now();
    for (int i = 0; i < kWaits; ++i) {
        const auto before = Clock::now();
        doors::countedWait(kCount);
        overshootUs.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - before - doors::waitDuration(kCount)).count());
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuStart;
    std::sort(overshootUs.begin(), overshootUs.end());
    const double target = kWaits * targetUs(kCount) * 1e-6;
    std::printf("counted_wait_996x10000_total: %.4f s (goal: %.4f s within 3%%)\n", wall, target);
    std::printf("counted_wait_996x10000_error: %+.2f %% (goal: within 3 %%)\n", (wall / target - 1) * 100);
    std::printf("counted_wait_10000_overshoot_median: %.1f us (goal: < 30 us)\n", overshootUs[kWaits / 2]);
    std::printf("counted_wait_10000_overshoot_p99: %.1f us (goal: none, shows preemption)\n",
                overshootUs[kWaits * 99 / 100]);
    std::printf("counted_wait_996x10000_cpu_share: %.1f %% (goal: < 20 %%)\n", cpu / wall * 100);
    return 0;
}
