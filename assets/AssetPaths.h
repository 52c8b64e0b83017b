// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Where the compiled-in assets live. A picture "x.px" may have "x@2x.px" beside it
// (see core::Picture::fromResource).

#include <array>

namespace assets {

inline constexpr const char* kWaveFolder = ":/WAVE/";  // sound resources by number: ":/WAVE/101"

// Pictures of the bus window and the settings panel: 24-bit bitmaps, each with
// an "@2x" twin of twice the size.
inline constexpr const char* kBusPicture = ":/pictures/bus.px";                 // 758 x 217, the window's background
inline constexpr const char* kFrontDoorPicture = ":/pictures/door_front.px";    // 71 x 145, the closed front door
inline constexpr const char* kDoorLeafPicture = ":/pictures/door_leaf.px";      // 62 x 145, both middle-door leaves
inline constexpr const char* kSecondDoorPicture = ":/pictures/door_second.px";  // 42 x 137, never shown
inline constexpr const char* kInteriorSeatPicture = ":/pictures/interior_seat.px";    // 76 x 142, never shown
inline constexpr const char* kInteriorStepsPicture = ":/pictures/interior_steps.px";  // 76 x 141, never shown
inline constexpr const char* kSwitchMaePicture = ":/pictures/switch_mae.px";          // 50 x 20, 前扉
inline constexpr const char* kSwitchNakaPicture = ":/pictures/switch_naka.px";        // 50 x 20, 中扉

// The program's icon: 32 x 32 in sixteen colours, and a 64 x 64 full-colour one.
inline constexpr const char* kIcon = ":/icons/tarvola.px";
inline constexpr const char* kIconLarge = ":/icons/tarvola@2x.px";

// The icon pictures.
inline constexpr std::array kIconPictures{kIcon, kIconLarge};

}  // namespace assets

class QIcon;

namespace assets {

// Both icon pictures as one icon.
QIcon programIcon();

// The link's pointing hand, 32 x 32 with alpha, with its 64 x 64 twin "hand@2x.px". The
// hotspot is the tip of the index finger, in the 32 x 32 picture's pixels.
inline constexpr const char* kHandCursor = ":/cursors/hand.px";
inline constexpr int kHandHotspotX = 11;
inline constexpr int kHandHotspotY = 1;

}  // namespace assets
