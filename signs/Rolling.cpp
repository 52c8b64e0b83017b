// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "signs/Rolling.h"

#include "core/KeyCodes.h"

#include <algorithm>
#include <limits>

namespace signs {

std::optional<std::int32_t> rolledPosition(std::int32_t position, int keyCode, std::int16_t step) {
    std::int64_t next = position;
    if (keyCode == core::key::kUp)
        next += step;
    else if (keyCode == core::key::kDown)
        next -= step;
    else
        return std::nullopt;
    next = std::clamp<std::int64_t>(next, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(next);
}

}  // namespace signs
