// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "doors/CountedWait.h"

#include "doors/SleepLateness.h"

#include <cerrno>
#include <ctime>

namespace doors {

namespace {

using Clock = std::chrono::steady_clock;

// steady_clock is CLOCK_MONOTONIC on Linux; sleeping to an absolute time on the same clock
// means a signal cannot stretch the wait.
void sleepUntil(Clock::time_point until) {
    const auto since = until.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds.count());
    ts.tv_nsec = static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

thread_local SleepLateness lateness;

}  // namespace

void waitUntil(Clock::time_point deadline) {
    const Clock::time_point wakeAt = deadline - lateness.margin();
    if (wakeAt > Clock::now()) {
        sleepUntil(wakeAt);
        lateness.record(Clock::now() - wakeAt);
    }
    while (Clock::now() < deadline) {
        // The deadline is closer than a sleep can aim.
    }
}

void countedWait(int count) {
    const std::chrono::nanoseconds duration = waitDuration(count);
    if (duration <= std::chrono::nanoseconds::zero())
        return;
    waitUntil(Clock::now() + duration);
}

}  // namespace doors
