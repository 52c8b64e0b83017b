// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The bounds every decoder works within, so that a file cannot make the loader
// allocate without limit however large the picture it claims to be.

#include <QSize>
#include <cstdint>

namespace pictures {

inline constexpr std::int64_t kMaxBytes = 256LL * 1024 * 1024;  // a file, or one decoded image
inline constexpr int kMaxSide = 32767;                          // pixels a side

// True when an image of this size, 4 bytes a pixel, stays within the bounds.
inline bool fitsLimits(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height * 4 <= kMaxBytes;
}
inline bool fitsLimits(QSize size) { return fitsLimits(size.width(), size.height()); }

// A metafile is drawn, not decoded: its pictures pass through the renderer's own buffers
// (an image and its PNG encoding for libwmf), so they get a quarter of the byte budget.
inline constexpr std::int64_t kMaxRenderedBytes = kMaxBytes / 4;
inline bool fitsRenderLimits(std::int64_t width, std::int64_t height) {
    return fitsLimits(width, height) && width * height * 4 <= kMaxRenderedBytes;
}
inline bool fitsRenderLimits(QSize size) { return fitsRenderLimits(size.width(), size.height()); }

}  // namespace pictures
