// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The key codes a KeyDown handler receives: the window system's virtual-key numbers.

namespace core::key {

inline constexpr int kBackspace = 8, kTab = 9, kReturn = 13, kShift = 16, kControl = 17, kAlt = 18;
inline constexpr int kEscape = 27, kSpace = 32, kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36;
inline constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kInsert = 45, kDelete = 46;

}  // namespace core::key
