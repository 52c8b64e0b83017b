// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "doors/DoorMovement.h"

#include "core/Twips.h"

namespace doors {

namespace {
Movement movement(std::int16_t checkValue, float currentWidth, int openWidth, int closedWidth) {
    if (checkValue == 0)
        return Movement{openWidth, closedWidth, false};
    return Movement{static_cast<int>(core::roundHalfEven(currentWidth)), openWidth, true};
}
}  // namespace

Movement frontDoorMovement(std::int16_t checkValue, float currentWidth) {
    return movement(checkValue, currentWidth, kFrontOpen, kFrontClosed);
}

Movement middleDoorMovement(std::int16_t checkValue, float currentLeafWidth) {
    return movement(checkValue, currentLeafWidth, kLeafOpen, kLeafClosed);
}

Leaves leavesOfMode(std::int16_t nakaMode) {
    if (nakaMode == 0)
        return Leaves::Both;
    if (nakaMode == 1)
        return Leaves::Left;
    return Leaves::Right;
}

}  // namespace doors
