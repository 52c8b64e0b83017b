// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/renderer/DrawnSize.h"

#include "core/Twips.h"
#include "pictures/PictureLimits.h"

#include <algorithm>
#include <cmath>

namespace pictures {

QSize naturalSize(double width, double height, const QString& name, Format format) {
    if (!std::isfinite(width) || !std::isfinite(height) || width <= 0 || height <= 0)
        throw noExtent(name, format);
    // Clamped before converting so that an absurd size still reports as itself, not overflowed.
    constexpr double kReportCap = 2147483647.0;
    const auto w = std::max<std::int64_t>(1, core::roundHalfEven(std::min(width, kReportCap)));
    const auto h = std::max<std::int64_t>(1, core::roundHalfEven(std::min(height, kReportCap)));
    if (!fitsRenderLimits(w, h))
        throw pictureTooLarge(name, QSize(static_cast<int>(w), static_cast<int>(h)));
    return {static_cast<int>(w), static_cast<int>(h)};
}

}  // namespace pictures
