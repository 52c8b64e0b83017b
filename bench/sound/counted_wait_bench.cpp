// How close the door's counted wait comes to its target time, and what it costs the
// processor: one wait's mean real duration for a few counts, and a whole door movement's
// worth (996 waits) at the middle door's default count.

#include "doors/CountedWait.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double targetUs(int count) {
    return std::chrono::duration<double, std::micro>(doors::waitDuration(count)).count();
}

void meanOfOne(int count, int repeats) {
    const auto start = Clock::now();
    for (int i = 0; i < repeats; ++i)
        doors::countedWait(count);
    const double meanUs = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repeats;
    std::printf("counted_wait_%d_mean: %.3f us (goal: %.3f us, the target)\n", count, meanUs, targetUs(count));
}

}  // namespace

int main() {
    meanOfOne(1, 100000);
    meanOfOne(100, 20000);
    meanOfOne(10000, 996);

    constexpr int kWaits = 996;  // one door movement
    constexpr int kCount = 10000;
    const double cpuStart = cpuSeconds();
    const auto start = Clock::now();
    for (int i = 0; i < kWaits; ++i)
        doors::countedWait(kCount);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuStart;
    const double target = kWaits * targetUs(kCount) * 1e-6;
    std::printf("counted_wait_996x10000_total: %.4f s (goal: %.4f s within 3%%)\n", wall, target);
    std::printf("counted_wait_996x10000_error: %+.2f %% (goal: within 3 %%)\n", (wall / target - 1) * 100);
    std::printf("counted_wait_996x10000_cpu_share: %.1f %% (goal: < 20 %%)\n", cpu / wall * 100);
    return 0;
}
