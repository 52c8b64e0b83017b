// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "doors/SleepLateness.h"

#include <algorithm>
#include <cmath>

namespace doors {

namespace {

// A wake-up far later than usual means the thread lost the processor, which no margin can
// cover; counting it in full would keep the margin (and the spinning) high for nothing.
// So each sample counts for at most a little more than the usual spread. A real change
// in lateness still gets through, a step at a time.
constexpr double kLeastSpreadNs = 20'000;

}  // namespace

std::chrono::nanoseconds SleepLateness::margin() const {
    const auto ns = std::chrono::nanoseconds(std::llround(meanNs_ + 3 * deviationNs_));
    return std::clamp(ns, kMinMargin, kMaxMargin);
}

void SleepLateness::record(std::chrono::nanoseconds late) {
    const double ceiling = meanNs_ + std::max(2 * deviationNs_, kLeastSpreadNs);
    const double sample = std::clamp(static_cast<double>(late.count()), 0.0, ceiling);
    const double error = sample - meanNs_;
    meanNs_ += error / 8;
    deviationNs_ += (std::abs(error) - deviationNs_) / 4;
}

}  // namespace doors
