// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/PictureFormat.h"

#include "pictures/MetafileHeaders.h"
#include "pictures/PictureBytes.h"

#include <cstdlib>

namespace pictures {

namespace {

bool bmpIsComplete(const Bytes& b) {
    const auto offBits = b.u32(10), infoSize = b.u32(14);
    if (!offBits || !infoSize || *offBits > b.size())
        return false;
    std::int64_t width = 0, height = 0, bpp = 0, compression = 0, imageSize = 0;
    if (*infoSize == 12) {
        const auto w = b.u16(18), h = b.u16(20), bits = b.u16(24);
        if (!w || !h || !bits)
            return false;
        width = *w, height = *h, bpp = *bits;
    } else {
        const auto w = b.s32(18), h = b.s32(22);
        const auto bits = b.u16(28);
        const auto comp = b.u32(30), sizeImage = b.u32(34);
        if (!w || !h || !bits || !comp || !sizeImage)
            return false;
        width = std::llabs(*w), height = std::llabs(*h), bpp = *bits, compression = *comp;
        imageSize = *sizeImage;
    }
    constexpr std::int64_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6;
    if (compression == kRgb || compression == kBitfields || compression == kAlphaBitfields) {
        const std::int64_t rowBytes = (width * bpp + 31) / 32 * 4;
        return b.has(*offBits, rowBytes * height);
    }
    if (compression == kRle8 || compression == kRle4)
        return b.has(*offBits, imageSize);
    return true;  // other encodings: the decoder judges
}

bool skipSubBlocks(const Bytes& b, std::int64_t& pos) {
    for (;;) {
        const auto n = b.u8(pos);
        if (!n)
            return false;
        pos += 1 + *n;
        if (*n == 0)
            return true;
    }
}

// Complete once the first image's data has ended; what follows it is never shown.
bool gifIsComplete(const Bytes& b) {
    const auto screenFlags = b.u8(10);
    if (!screenFlags)
        return false;
    std::int64_t pos = 13;
    if (*screenFlags & 0x80)
        pos += 3 * (2 << (*screenFlags & 7));
    for (;;) {
        const auto block = b.u8(pos);
        if (!block)
            return false;
        if (*block == 0x21) {  // extension: label, then sub-blocks
            pos += 2;
            if (!skipSubBlocks(b, pos))
                return false;
        } else if (*block == 0x2C) {  // image descriptor
            const auto flags = b.u8(pos + 9);
            if (!flags)
                return false;
            pos += 10;
            if (*flags & 0x80)
                pos += 3 * (2 << (*flags & 7));
            pos += 1;  // LZW minimum code size
            return skipSubBlocks(b, pos);
        } else {
            return false;  // trailer before any image, or garbage
        }
    }
}

// Walks the marker segments to the main image's scan, then wants the end-of-image marker
// after it. In entropy-coded data 0xFF is always stuffed, so FF D9 there is the real end.
bool jpegIsComplete(const Bytes& b) {
    std::int64_t pos = 2;
    for (;;) {
        auto ff = b.u8(pos);
        if (!ff || *ff != 0xFF)
            return false;
        while (ff && *ff == 0xFF)
            ff = b.u8(++pos);
        if (!ff)
            return false;
        const std::uint8_t marker = *ff;
        ++pos;
        if (marker == 0xD9)
            return false;  // ends before any scan
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue;  // markers without a length
        const auto length = b.u16be(pos);
        if (!length || *length < 2)
            return false;
        if (marker == 0xDA)
            return b.view().sliced(pos).indexOf(QByteArrayView("\xFF\xD9", 2)) >= 0;
        pos += *length;
    }
}

}  // namespace

Format detectFormat(QByteArrayView data) {
    const Bytes b(data);
    if (data.startsWith("BM"))
        return Format::Bmp;
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return Format::Gif;
    if (data.startsWith(QByteArrayView("\xFF\xD8\xFF", 3)))
        return Format::Jpeg;
    if (data.startsWith(QByteArrayView("\x89PNG\r\n\x1A\n", 8)))
        return Format::Png;
    if (b.u32(0) == kPlaceableKey || isStandardWmfHeader(b, 0))
        return Format::Wmf;
    if (b.u32(0) == kEmrHeader && b.u32(kEmfSignatureOffset) == kEmfSignature)
        return Format::Emf;
    return Format::Unknown;
}

std::optional<std::pair<std::int64_t, std::int64_t>> bmpClaimedSize(QByteArrayView data) {
    const Bytes b(data);
    const auto infoSize = b.u32(14);
    if (!infoSize)
        return std::nullopt;
    if (*infoSize == 12) {
        const auto w = b.u16(18), h = b.u16(20);
        if (!w || !h)
            return std::nullopt;
        return std::pair<std::int64_t, std::int64_t>(*w, *h);
    }
    const auto w = b.s32(18), h = b.s32(22);
    if (!w || !h)
        return std::nullopt;
    return std::pair(std::llabs(*w), std::llabs(*h));
}

bool rasterIsComplete(Format format, QByteArrayView data) {
    const Bytes b(data);
    switch (format) {
    case Format::Bmp:
        return bmpIsComplete(b);
    case Format::Gif:
        return gifIsComplete(b);
    case Format::Jpeg:
        return jpegIsComplete(b);
    default:
        return true;
    }
}

}  // namespace pictures
