// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "signboard/FrameFit.h"

namespace signboard {

namespace {
constexpr float kSideBarOffset = 75.0f;
constexpr float kSideBarReach = 15.0f;
constexpr float kBottomBarExtra = 150.0f;

Bars place(const core::ScaleRect& b, const Bars& bars, bool fitSideHeights) {
    Bars out = bars;
    const float sideHeight0 = fitSideHeights ? b.height + kSideBarReach : bars[0].height;
    const float sideHeight1 = fitSideHeights ? b.height + kSideBarReach : bars[1].height;
    out[0] = {b.left - kSideBarOffset, b.top, bars[0].width, sideHeight0};
    out[1] = {b.left + b.width, b.top, bars[1].width, sideHeight1};
    out[2] = {b.left - kSideBarOffset, b.top + b.height, b.width + kBottomBarExtra, bars[2].height};
    return out;
}
}  // namespace

Bars fullFit(const core::ScaleRect& board, const Bars& bars) { return place(board, bars, true); }

Bars quickFollow(const core::ScaleRect& board, const Bars& bars) { return place(board, bars, false); }

}  // namespace signboard
