// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/renderer/RasterDecoder.h"

#include "pictures/PictureFormat.h"
#include "pictures/PictureLimits.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <climits>

namespace pictures {

namespace {

QByteArray qtFormat(Format format) {
    switch (format) {
    case Format::Bmp:
        return "bmp";
    case Format::Gif:
        return "gif";
    case Format::Jpeg:
        return "jpeg";
    case Format::Png:
        return "png";
    default:
        return {};
    }
}

}  // namespace

QImage decodeRaster(const QByteArray& data, Format format, const QString& name) {
    QImageReader::setAllocationLimit(static_cast<int>(kMaxBytes / (1024 * 1024)));

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    // The format is named so that the reader never guesses one we did not recognise.
    QImageReader reader(&buffer, qtFormat(format));
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);

    if (format == Format::Bmp) {
        const auto claimed = bmpClaimedSize(data);
        if (claimed && claimed->first > 0 && claimed->second > 0 && !fitsLimits(claimed->first, claimed->second))
            throw pictureTooLarge(name, QSize(static_cast<int>(std::min<std::int64_t>(claimed->first, INT_MAX)),
                                              static_cast<int>(std::min<std::int64_t>(claimed->second, INT_MAX))));
    }
    const QSize claimed = reader.size();
    if (claimed.isValid() && !fitsLimits(claimed))
        throw pictureTooLarge(name, claimed);
    if (!rasterIsComplete(format, data))
        throw corrupt(name, format);

    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw corrupt(name, format);
    if (!fitsLimits(image.size()))
        throw pictureTooLarge(name, image.size());
    return image;
}

}  // namespace pictures
