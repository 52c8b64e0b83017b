// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The film position after one key press on a sign.

#include <cstdint>
#include <optional>

namespace signs {

// Up adds the step, Down subtracts it, any other key gives nothing (no change, no Top set).
// The 16-bit step is widened before the addition; a position that would leave the 32-bit
// range stops at its edge instead of wrapping.
std::optional<std::int32_t> rolledPosition(std::int32_t position, int keyCode, std::int16_t step);

}  // namespace signs
