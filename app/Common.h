// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The program-wide variables shared by the bus window's subsystems and the settings file.

#include <QString>
#include <array>
#include <cstdint>

namespace Common {

inline std::array<QString, 2> MakuPath;         // film picture path of each sign
inline QString KanbanPath;                      // signboard picture path last chosen
inline std::array<std::int32_t, 2> MakuSpeed{}; // roll speeds as read from the settings file
inline std::int16_t NakaMode = 0;               // middle-door mode as read from the settings file

}  // namespace Common
