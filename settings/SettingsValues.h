// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What the stored values become on the panel: the ranges its controls accept (the panel makes
// its bars with them, and the checker of stored files holds a record to them), the 16-bit value
// a bar takes, and the mode its option buttons stand for.

#include "core/RuntimeError.h"

#include <cstdint>
#include <limits>

namespace settings {

inline constexpr std::int32_t kDoorSpeedMin = 1, kDoorSpeedMax = 30000;  // HScroll1, HScroll2
inline constexpr std::int32_t kRollSpeedMin = 0, kRollSpeedMax = 1000;   // scllMakuSpeed

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
