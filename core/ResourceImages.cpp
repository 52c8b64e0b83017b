// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "core/ResourceImages.h"

#include <QResource>
#include <QtEndian>
#include <cstring>

namespace core {

namespace {

constexpr char kTag[4] = {'T', 'V', 'P', 'X'};
constexpr qsizetype kHeaderBytes = 16;

bool isStoredFormat(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

QByteArray encodePixels(const QImage& image) {
    const QImage pixels =
        image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    QByteArray out(kTag, sizeof kTag);
    for (const int value : {pixels.width(), pixels.height(), int(pixels.format())}) {
        char bytes[4];
        qToLittleEndian(quint32(value), bytes);
        out.append(bytes, 4);
    }
    for (int y = 0; y < pixels.height(); ++y)
        out.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), qsizetype(pixels.width()) * 4);
    return out;
}

QImage decodePixels(const uchar* data, qint64 size, bool inPlace) {
    if (!data || size < kHeaderBytes || std::memcmp(data, kTag, sizeof kTag) != 0)
        return {};
    const quint32 width = qFromLittleEndian<quint32>(data + 4);
    const quint32 height = qFromLittleEndian<quint32>(data + 8);
    const auto format = QImage::Format(qFromLittleEndian<quint32>(data + 12));
    const qint64 rowBytes = qint64(width) * 4;
    if (width == 0 || height == 0 || width > 32767 || height > 32767 || !isStoredFormat(format) ||
        size != kHeaderBytes + rowBytes * height)
        return {};
    const uchar* pixels = data + kHeaderBytes;
    // Qt paints four-byte pixels from four-byte aligned rows only; every stored picture is a
    // multiple of four bytes long, so its pixels are aligned whenever the resource data is.
    if (inPlace && quintptr(pixels) % 4 == 0)
        return QImage(pixels, int(width), int(height), rowBytes, format);
    QImage copy(int(width), int(height), format);
    for (quint32 y = 0; y < height; ++y)
        std::memcpy(copy.scanLine(int(y)), pixels + y * rowBytes, size_t(rowBytes));
    return copy;
}

QImage readResourceImage(const QString& path) {
    const QResource resource(path);
    // Pictures read only now and then are stored compressed; those read at every start are not.
    if (resource.compressionAlgorithm() != QResource::NoCompression) {
        const QByteArray unpacked = resource.uncompressedData();
        return decodePixels(reinterpret_cast<const uchar*>(unpacked.constData()), unpacked.size(), false);
    }
    return decodePixels(resource.data(), resource.size(), true);
}

}  // namespace core
