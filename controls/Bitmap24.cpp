#include "controls/Bitmap24.h"

#include <cstdint>
#include <cstdlib>

namespace ctl {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr qsizetype kInfoHeaderSize = 40;  // BITMAPINFOHEADER; later headers are longer
constexpr std::int64_t kMaxSide = 32768;   // far beyond any picture the program carries

std::uint32_t u32(QByteArrayView b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint16_t u16(QByteArrayView b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return std::uint16_t(p[0] | p[1] << 8);
}

}  // namespace

QImage decodeBitmap24(QByteArrayView file) {
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M')
        return {};
    const std::int64_t pixelsAt = u32(file, 10);
    const std::int64_t headerSize = u32(file, 14);
    const std::int64_t width = std::int32_t(u32(file, 18));
    const std::int64_t signedHeight = std::int32_t(u32(file, 22));
    const bool bottomUp = signedHeight > 0;
    const std::int64_t height = std::abs(signedHeight);
    if (headerSize < kInfoHeaderSize || pixelsAt < kFileHeaderSize + headerSize || u16(file, 26) != 1 ||
        u16(file, 28) != 24 || u32(file, 30) != 0 /* BI_RGB */)
        return {};
    if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide)
        return {};
    const std::int64_t stride = (width * 3 + 3) / 4 * 4;  // rows are padded to whole 32-bit words
    if (pixelsAt + stride * height > file.size())
        return {};

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const auto* pixels = reinterpret_cast<const unsigned char*>(file.data()) + pixelsAt;
    for (int y = 0; y < image.height(); ++y) {
        const unsigned char* in = pixels + stride * (bottomUp ? height - 1 - y : y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

}  // namespace ctl
