#include "pictures/MetafileWire.h"

#include "pictures/PictureBytes.h"
#include "pictures/PictureLimits.h"

#include <QtEndian>
#include <cstring>

namespace pictures {

namespace {

constexpr char kPictureTag[] = "TVMP";
constexpr char kErrorTag[] = "TVME";
constexpr qsizetype kTagBytes = 4;

void put32(QByteArray& out, std::uint32_t v) {
    char bytes[4];
    qToLittleEndian(v, bytes);
    out.append(bytes, 4);
}

// The formats the renderers produce, all four bytes a pixel; anything else is converted.
bool sentAsIs(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

void putImage(QByteArray& out, QImage image) {
    if (image.isNull()) {
        for (int i = 0; i < 3; ++i)
            put32(out, 0);
        return;
    }
    if (!sentAsIs(image.format()))
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto rowBytes = static_cast<qsizetype>(image.width()) * 4;
    put32(out, static_cast<std::uint32_t>(image.width()));
    put32(out, static_cast<std::uint32_t>(image.height()));
    put32(out, static_cast<std::uint32_t>(image.format()));
    out.reserve(out.size() + rowBytes * image.height());
    for (int y = 0; y < image.height(); ++y)
        out.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);
}

// Reads one image at `at`, moving past it; false when the bytes do not make one.
bool takeImage(const Bytes& b, std::int64_t& at, QImage& image) {
    const auto width = b.u32(at), height = b.u32(at + 4), format = b.u32(at + 8);
    if (!width || !height || !format)
        return false;
    at += 12;
    if (*width == 0 && *height == 0)
        return true;
    const auto f = static_cast<QImage::Format>(*format);
    if (!fitsLimits(*width, *height) || !sentAsIs(f))
        return false;
    const std::int64_t rowBytes = std::int64_t{*width} * 4;
    if (!b.has(at, rowBytes * *height))
        return false;
    image = QImage(static_cast<int>(*width), static_cast<int>(*height), f);
    if (image.isNull())
        return false;
    for (int y = 0; y < image.height(); ++y, at += rowBytes)
        std::memcpy(image.scanLine(y), b.view().data() + at, static_cast<std::size_t>(rowBytes));
    return true;
}

}  // namespace

QByteArray encodeRendered(const core::Picture& picture) {
    QByteArray out(kPictureTag, kTagBytes);
    putImage(out, picture.image());
    putImage(out, picture.doubleResImage());
    return out;
}

QByteArray encodeRenderError(const core::RuntimeError& error) {
    QByteArray out(kErrorTag, kTagBytes);
    const QByteArray description = error.description().toUtf8();
    put32(out, static_cast<std::uint32_t>(error.number()));
    put32(out, static_cast<std::uint32_t>(description.size()));
    return out + description;
}

core::Picture decodeRendered(const QByteArray& output, const QString& name, Format format) {
    const Bytes b(output);
    if (output.startsWith(kErrorTag)) {
        const auto number = b.s32(kTagBytes);
        const auto length = b.u32(kTagBytes + 4);
        if (number && length && *number != 0 && b.has(kTagBytes + 8, *length) &&
            b.size() == kTagBytes + 8 + std::int64_t{*length})
            throw core::RuntimeError(*number, QString::fromUtf8(output.constData() + kTagBytes + 8, *length));
    } else if (output.startsWith(kPictureTag)) {
        std::int64_t at = kTagBytes;
        QImage base, doubleRes;
        if (takeImage(b, at, base) && takeImage(b, at, doubleRes) && at == b.size() && !base.isNull())
            return core::Picture(std::move(base), std::move(doubleRes));
    }
    throw corrupt(name, format);
}

}  // namespace pictures
