// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What the settings panel holds for the rest of the program, as its controls show it: the door
// speeds, the middle-door mode and the roll speeds of the two signs. The bus window reads the
// speeds of a movement or a roll from it, and the settings file stores it.

#include <array>
#include <cstdint>

namespace panels {

struct PanelValues {
    std::int16_t frontDoorSpeed = 6000;        // HScroll1: the count waited after each step
    std::int16_t middleDoorSpeed = 10000;      // HScroll2
    std::array<std::int16_t, 2> rollSpeeds{};  // scllMakuSpeed(0), (1): twips per arrow key
    std::int16_t nakaMode = 0;                 // the selected Option1: 0 両方, 1 左, 2 右

    bool operator==(const PanelValues&) const = default;
};

}  // namespace panels
