// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Where the three frame bars stand around the signboard (twips, single precision).

#include "core/Twips.h"

#include <array>

namespace signboard {

// Where a reset puts the board: the first start's place and size.
inline constexpr core::ScaleRect kResetPlace{8790, 1680, 1410, 450};

// The bars: 0 left, 1 right, 2 bottom.
using Bars = std::array<core::ScaleRect, 3>;

// The full fit: side bars from the board's top to 15 below its bottom, touching its left and
// right edges; the bottom bar under the board, 75 wider on each side. Bar thicknesses are kept.
Bars fullFit(const core::ScaleRect& board, const Bars& bars);

// The quick follow when the board's size changes: like the full fit, but the side bars keep
// their heights.
Bars quickFollow(const core::ScaleRect& board, const Bars& bars);

}  // namespace signboard
