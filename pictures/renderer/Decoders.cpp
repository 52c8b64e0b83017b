// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/renderer/Decoders.h"

#include "pictures/renderer/EmfDecoder.h"
#include "pictures/renderer/WmfDecoder.h"
#include "pictures/renderer/RasterDecoder.h"

namespace pictures {

core::Picture renderPictureHere(const QByteArray& data, Format format, const QString& name) {
    switch (format) {
    case Format::Wmf:
        return renderWmf(data, name);
    case Format::Emf:
        return renderEmf(data, name);
    case Format::Bmp:
    case Format::Gif:
    case Format::Jpeg:
    case Format::Png:
        return core::Picture(decodeRaster(data, format, name));
    case Format::Unknown:
        break;
    }
    throw unknownFormat(name);
}

}  // namespace pictures
