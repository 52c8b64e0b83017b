// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Windows bitmaps as the program carries them: 24 bits a pixel, uncompressed,
// bottom-up rows, 96 dpi. Written by hand so that the bytes depend on the
// pixels alone.

#include <QByteArray>

class QImage;

namespace assetgen {

// Encodes the image's colours (alpha is dropped). A null image gives an empty array.
QByteArray encodeBmp24(const QImage& image);

}  // namespace assetgen
