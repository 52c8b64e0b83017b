// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The program-wide variables shared by the bus window's subsystems and the settings file.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace Common {

// Paths as the file system spells them: a folder whose name is not valid text is still the folder.
inline std::array<QByteArray, 2> MakuPath;       // film picture path of each sign
inline QByteArray KanbanPath;                    // signboard picture path last chosen
inline std::array<std::int32_t, 2> MakuSpeed{};  // roll speeds as read from the settings file
inline std::int16_t NakaMode = 0;                // middle-door mode as read from the settings file

}  // namespace Common
