// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// How late this machine wakes from a timed sleep. The counted wait sleeps until its
// deadline minus margin() and spins the rest, so the margin should cover a usual wake-up
// and little more: too small and waits run long, too large and they burn processor time.
// The kernel's timer slack, virtual machines and load make the lateness differ by tens of
// microseconds from one machine to the next, hence it is learned rather than fixed.

#include <chrono>

namespace doors {

class SleepLateness {
public:
    static constexpr std::chrono::nanoseconds kMinMargin{20'000};
    static constexpr std::chrono::nanoseconds kMaxMargin{500'000};

    // Margin to leave for spinning: the mean lateness plus three mean deviations.
    std::chrono::nanoseconds margin() const;

    // One sleep woke `late` after the time it asked for.
    void record(std::chrono::nanoseconds late);

private:
    // Smoothed like a round-trip-time estimate; starts at the kernel's default timer slack.
    double meanNs_ = 60'000;
    double deviationNs_ = 10'000;
};

}  // namespace doors
