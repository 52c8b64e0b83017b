// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A one-image Windows icon in the sixteen standard colours (4 bits a pixel)
// with its transparency mask, the kind every shell can show. Qt writes only
// 32-bit icons, so this is done here.

#include <QByteArray>
#include <QRgb>

#include <array>

class QImage;

namespace assetgen {

// Black, maroon, green, olive, navy, purple, teal, silver, grey, red, lime,
// yellow, blue, fuchsia, aqua, white: the order of the classic system palette.
inline constexpr std::array<QRgb, 16> kStandardPalette{
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0,
    0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};

// Index of the palette colour nearest to the colour (alpha ignored); weighted
// towards green the way the eye is, ties going to the lower index.
int nearestStandardColour(QRgb colour);

// Maps every pixel to the nearest palette colour, or to transparent where the
// pixel is less than half opaque. Gives an indexed image (index 16 transparent).
QImage quantiseToStandardPalette(const QImage& image);

// Encodes an icon of one image. The image must be 1 to 256 pixels each way;
// otherwise the result is empty.
QByteArray encodeIco16(const QImage& image);

}  // namespace assetgen
