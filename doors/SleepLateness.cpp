#include "doors/SleepLateness.h"

#include <algorithm>
#include <cmath>

namespace doors {

namespace {

// A sleep that ends milliseconds late was preempted, not slow to wake: counting it in
// full would keep the margin (and the spinning) high long after the load has gone.
constexpr double kLongestCounted = 1'000'000;

}  // namespace

std::chrono::nanoseconds SleepLateness::margin() const {
    const auto ns = std::chrono::nanoseconds(std::llround(meanNs_ + 3 * deviationNs_));
    return std::clamp(ns, kMinMargin, kMaxMargin);
}

void SleepLateness::record(std::chrono::nanoseconds late) {
    const double sample = std::clamp(static_cast<double>(late.count()), 0.0, kLongestCounted);
    const double error = sample - meanNs_;
    meanNs_ += error / 8;
    deviationNs_ += (std::abs(error) - deviationNs_) / 4;
}

}  // namespace doors
