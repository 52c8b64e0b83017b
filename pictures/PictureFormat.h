// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Recognising a picture file by its content, and telling whether a raster file holds
// all the data its header promises (the decoders would fill a cut-off picture with grey).

#include "pictures/PictureErrors.h"

#include <QByteArrayView>
#include <cstdint>
#include <optional>
#include <utility>

namespace pictures {

Format detectFormat(QByteArrayView data);

// The size a bitmap's header claims, in 64 bits so that no claim overflows; empty when
// the header is too short. Qt's reader does not report the size of a bitmap it refuses.
std::optional<std::pair<std::int64_t, std::int64_t>> bmpClaimedSize(QByteArrayView data);

// False when the file ends before the data its header announces (bitmap, GIF, JPEG;
// PNG's own decoder already refuses a cut-off file).
bool rasterIsComplete(Format format, QByteArrayView data);

}  // namespace pictures
