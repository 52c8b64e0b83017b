// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "assets/gen/BmpWriter.h"

#include "assets/gen/LittleEndian.h"

#include <QImage>

namespace assetgen {

namespace {
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr quint32 kPixelsPerMetre96Dpi = 3780;  // 96 / 0.0254, rounded
}  // namespace

QByteArray encodeBmp24(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const int stride = (width * 3 + 3) & ~3;  // rows are padded to whole 32-bit words
    const quint32 pixelBytes = quint32(stride) * quint32(height);
    const quint32 offset = kFileHeaderSize + kInfoHeaderSize;

    QByteArray out;
    out.reserve(int(offset + pixelBytes));
    out.append("BM", 2);
    putU32(out, offset + pixelBytes);
    putU16(out, 0);
    putU16(out, 0);
    putU32(out, offset);

    putU32(out, kInfoHeaderSize);
    putU32(out, quint32(width));
    putU32(out, quint32(height));  // positive: bottom-up
    putU16(out, 1);                // planes
    putU16(out, 24);               // bits per pixel
    putU32(out, 0);                // BI_RGB, no compression
    putU32(out, pixelBytes);
    putU32(out, kPixelsPerMetre96Dpi);
    putU32(out, kPixelsPerMetre96Dpi);
    putU32(out, 0);  // colours used: none, there is no palette
    putU32(out, 0);  // important colours: all

    for (int y = height - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            const uchar* px = line + 3 * x;
            out.append(char(px[2]));  // blue, green, red
            out.append(char(px[1]));
            out.append(char(px[0]));
        }
        for (int pad = width * 3; pad < stride; ++pad)
            out.append('\0');
    }
    return out;
}

}  // namespace assetgen
