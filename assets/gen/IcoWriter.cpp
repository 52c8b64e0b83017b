// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "assets/gen/IcoWriter.h"

#include "assets/gen/LittleEndian.h"

#include <QImage>

#include <limits>

namespace assetgen {

namespace {
constexpr int kTransparentIndex = 16;
constexpr int kMaxIconSide = 256;
constexpr int kIconImageHeaderSize = 40;
constexpr int kDirectorySize = 6 + 16;  // ICONDIR with one ICONDIRENTRY
}  // namespace

int nearestStandardColour(QRgb colour) {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < int(kStandardPalette.size()); ++i) {
        const QRgb p = kStandardPalette[size_t(i)];
        const int dr = qRed(colour) - qRed(p);
        const int dg = qGreen(colour) - qGreen(p);
        const int db = qBlue(colour) - qBlue(p);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

QImage quantiseToStandardPalette(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(argb.size(), QImage::Format_Indexed8);
    QList<QRgb> table(kStandardPalette.begin(), kStandardPalette.end());
    table.append(qRgba(0, 0, 0, 0));
    out.setColorTable(table);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* line = out.scanLine(y);
        for (int x = 0; x < argb.width(); ++x)
            line[x] = uchar(qAlpha(in[x]) < 128 ? kTransparentIndex : nearestStandardColour(in[x]));
    }
    return out;
}

QByteArray encodeIco16(const QImage& image) {
    if (image.isNull() || image.width() > kMaxIconSide || image.height() > kMaxIconSide)
        return {};
    const QImage indexed = quantiseToStandardPalette(image);
    const int width = indexed.width();
    const int height = indexed.height();
    const int colourStride = ((width * 4 + 31) / 32) * 4;  // 4-bit rows padded to 32 bits
    const int maskStride = ((width + 31) / 32) * 4;        // 1-bit rows padded to 32 bits
    const quint32 imageBytes = quint32((colourStride + maskStride) * height);
    const quint32 resourceBytes = kIconImageHeaderSize + 16 * 4 + imageBytes;

    QByteArray out;
    putU16(out, 0);                                       // reserved
    putU16(out, 1);                                       // type: icon
    putU16(out, 1);                                       // one image
    out.append(char(width == kMaxIconSide ? 0 : width));  // 0 stands for 256
    out.append(char(height == kMaxIconSide ? 0 : height));
    out.append(char(16));  // colours
    out.append('\0');
    putU16(out, 1);  // planes
    putU16(out, 4);  // bits per pixel
    putU32(out, resourceBytes);
    putU32(out, kDirectorySize);

    putU32(out, kIconImageHeaderSize);
    putU32(out, quint32(width));
    putU32(out, quint32(height * 2));  // colour rows and mask rows together
    putU16(out, 1);
    putU16(out, 4);
    putU32(out, 0);  // BI_RGB
    putU32(out, imageBytes);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    for (const QRgb c : kStandardPalette) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append('\0');
    }

    // Transparent pixels are black in the colour rows so that the mask alone
    // decides what shows through.
    for (int y = height - 1; y >= 0; --y) {
        const uchar* line = indexed.constScanLine(y);
        QByteArray row(colourStride, '\0');
        for (int x = 0; x < width; ++x) {
            const int index = line[x] == kTransparentIndex ? 0 : line[x];
            row[x / 2] = char(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        out.append(row);
    }
    for (int y = height - 1; y >= 0; --y) {
        const uchar* line = indexed.constScanLine(y);
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < width; ++x) {
            if (line[x] == kTransparentIndex)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

}  // namespace assetgen
