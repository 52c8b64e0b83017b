#pragma once
// The ranges the panel's controls accept and the values LoadIni falls back to. Applying a
// read value checks it here first, so a refused value fails where the control would.

#include "controls/RuntimeError.h"

#include <cstdint>
#include <limits>

namespace settings {

inline constexpr std::int32_t kDoorSpeedMin = 1, kDoorSpeedMax = 30000;  // HScroll1, HScroll2
inline constexpr std::int32_t kRollSpeedMin = 0, kRollSpeedMax = 1000;   // scllMakuSpeed
inline constexpr std::int32_t kNakaModeMin = 0, kNakaModeMax = 2;        // Option1 index

constexpr bool isDoorSpeed(std::int32_t v) { return v >= kDoorSpeedMin && v <= kDoorSpeedMax; }
constexpr bool isRollSpeed(std::int32_t v) { return v >= kRollSpeedMin && v <= kRollSpeedMax; }
constexpr bool isNakaMode(std::int32_t v) { return v >= kNakaModeMin && v <= kNakaModeMax; }

// A scroll-bar value is 16-bit: a wider value read from the file overflows when applied.
inline std::int16_t toScrollValue(std::int32_t v) {
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        throw ctl::RuntimeError(ctl::err::kOverflow, QStringLiteral("オーバーフローしました。"));
    return static_cast<std::int16_t>(v);
}

// The middle-door mode stored for the selected option button: 両方 0, 左 1, otherwise 2.
constexpr std::int16_t nakaModeOf(bool bothSelected, bool leftSelected) {
    return bothSelected ? 0 : leftSelected ? 1 : 2;
}

// What LoadIni applies when the file cannot be read or applied. The door speeds are the
// panel's initial values swapped, on purpose.
namespace fallback {
inline constexpr float kFormLeft = 0, kFormTop = 0, kPanelLeft = 0;  // panel Top: the main window's Height
inline constexpr std::int16_t kHScroll1 = 10000;
inline constexpr std::int16_t kHScroll2 = 6000;
inline constexpr std::int16_t kMakuSpeed = 1;  // both signs
inline constexpr std::int16_t kNakaMode = 0;   // 両方
}  // namespace fallback

}  // namespace settings
