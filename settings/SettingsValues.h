// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The ranges the panel's controls accept. Applying a read value checks it here first, so a
// refused value fails where the control would.

#include "core/RuntimeError.h"

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
        throw core::RuntimeError(core::err::kOverflow, QStringLiteral("オーバーフローしました。"));
    return static_cast<std::int16_t>(v);
}

// The middle-door mode stored for the selected option button: 両方 0, 左 1, otherwise 2.
constexpr std::int16_t nakaModeOf(bool bothSelected, bool leftSelected) {
    return bothSelected ? 0 : leftSelected ? 1 : 2;
}

}  // namespace settings
