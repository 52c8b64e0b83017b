// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Twips (1/1440 inch) and their one conversion to logical pixels.
// Logical pixels are 96-dpi pixels; Qt maps them to device pixels on HiDPI screens.

#include <QRect>
#include <cmath>
#include <cstdint>

namespace core {

inline constexpr float kTwipsPerPixel = 15.0f;

// Rounds to the nearest integer, halves to the even one (the run time's CInt/CLng).
inline std::int64_t roundHalfEven(double v) {
    return static_cast<std::int64_t>(std::nearbyint(v));  // default FE_TONEAREST
}

// A rectangle in some scale unit (twips or pixels), single precision like control positions.
struct ScaleRect {
    float left = 0, top = 0, width = 0, height = 0;
    float right() const { return left + width; }
    float bottom() const { return top + height; }
    friend bool operator==(const ScaleRect&, const ScaleRect&) = default;
};

// Converts by edges, so a fixed edge stays on the same pixel while the other one moves.
// unitsPerPixel is 15 for twips and 1 for pixels.
inline int toPixel(float units, float unitsPerPixel) {
    return static_cast<int>(roundHalfEven(static_cast<double>(units) / unitsPerPixel));
}

inline QRect toPixelRect(const ScaleRect& r, float unitsPerPixel) {
    const int l = toPixel(r.left, unitsPerPixel);
    const int t = toPixel(r.top, unitsPerPixel);
    const int rr = toPixel(r.right(), unitsPerPixel);
    const int b = toPixel(r.bottom(), unitsPerPixel);
    return QRect(QPoint(l, t), QPoint(rr - 1, b - 1));  // empty when rr <= l or b <= t
}

inline QRect twipsToPixels(const ScaleRect& r) { return toPixelRect(r, kTwipsPerPixel); }

}  // namespace core
