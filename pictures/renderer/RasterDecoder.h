// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Bitmap, GIF, JPEG and PNG pictures, decoded by Qt's image readers.

#include "pictures/PictureErrors.h"

#include <QByteArray>
#include <QImage>

namespace pictures {

// Decodes data already recognised as `format`; `name` is the file name the errors show.
// Throws "too large" before decoding a picture whose header claims more than the limits.
QImage decodeRaster(const QByteArray& data, Format format, const QString& name);

}  // namespace pictures
