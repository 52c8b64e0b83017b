// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/RendererWire.h"

#include "pictures/PictureLimits.h"

#include <QtEndian>
#include <array>
#include <cstring>

namespace pictures {

namespace {

constexpr char kPictureTag[] = "TVMP";
constexpr char kErrorTag[] = "TVME";
constexpr qsizetype kTagBytes = 4;
constexpr qsizetype kImageHeadBytes = 12;
// The longest answer: its tag, two image heads and pixels within the picture cap.
constexpr std::uint64_t kMaxAnswerBytes = kTagBytes + 2 * kImageHeadBytes + std::uint64_t(kMaxBytes);
constexpr std::uint32_t kMaxDescriptionBytes = 64 * 1024;

template <typename T>
QByteArray littleEndian(T value) {
    QByteArray bytes(sizeof(T), Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The formats the renderers produce, all four bytes a pixel; anything else is converted.
bool sentAsIs(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

QImage sendable(const QImage& image) {
    return image.isNull() || sentAsIs(image.format()) ? image
                                                      : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Rows of a 32-bit image lie one after another: its lines are whole multiples of 4 bytes.
qsizetype pixelBytes(const QImage& image) { return image.isNull() ? 0 : qsizetype(image.width()) * 4 * image.height(); }

bool writeImage(const QImage& image, const WireWrite& write) {
    const QByteArray head = littleEndian<std::uint32_t>(image.isNull() ? 0 : std::uint32_t(image.width())) +
                            littleEndian<std::uint32_t>(image.isNull() ? 0 : std::uint32_t(image.height())) +
                            littleEndian<std::uint32_t>(image.isNull() ? 0 : std::uint32_t(image.format()));
    return write(head) && (image.isNull() ||
                           write(QByteArrayView(reinterpret_cast<const char*>(image.constBits()), pixelBytes(image))));
}

// Takes what the answer's length has left, or throws corrupt when it does not hold that much.
class Answer {
public:
    Answer(const WireRead& read, const QString& name, Format format) : read_(read), name_(name), format_(format) {}

    void start() {
        std::uint64_t length = 0;
        read_(reinterpret_cast<char*>(&length), sizeof length);
        left_ = qFromLittleEndian(length);
        if (left_ > kMaxAnswerBytes)
            throw corrupt(name_, format_);
    }
    void take(char* into, std::uint64_t count) {
        if (count > left_)
            throw corrupt(name_, format_);
        left_ -= count;
        read_(into, qsizetype(count));
    }
    std::uint32_t u32() {
        char bytes[4];
        take(bytes, 4);
        return qFromLittleEndian<std::uint32_t>(bytes);
    }
    QImage image() {
        const std::uint32_t width = u32(), height = u32();
        const auto format = static_cast<QImage::Format>(u32());
        if (width == 0 && height == 0)
            return {};
        if (!fitsLimits(width, height) || !sentAsIs(format) || std::uint64_t{width} * height * 4 > left_)
            throw corrupt(name_, format_);
        QImage image(int(width), int(height), format);
        if (image.isNull())
            throw corrupt(name_, format_);
        take(reinterpret_cast<char*>(image.bits()), pixelBytes(image));
        return image;
    }
    std::uint64_t left() const { return left_; }

private:
    const WireRead& read_;
    const QString& name_;
    Format format_;
    std::uint64_t left_ = 0;
};

}  // namespace

QByteArray requestHead(const QString& name, std::uint64_t dataBytes) {
    const QByteArray shownName = name.toUtf8();
    return littleEndian<std::uint32_t>(std::uint32_t(shownName.size())) + shownName + littleEndian(dataBytes);
}

bool writeRendered(const core::Picture& picture, const WireWrite& write) {
    const QImage base = sendable(picture.image()), doubleRes = sendable(picture.doubleResImage());
    const auto length = std::uint64_t(kTagBytes + 2 * kImageHeadBytes + pixelBytes(base) + pixelBytes(doubleRes));
    return write(littleEndian(length)) && write(QByteArrayView(kPictureTag, kTagBytes)) && writeImage(base, write) &&
           writeImage(doubleRes, write);
}

bool writeRenderError(const core::RuntimeError& error, const WireWrite& write) {
    const QByteArray description = error.description().toUtf8().left(kMaxDescriptionBytes);
    const QByteArray body = QByteArray(kErrorTag, kTagBytes) + littleEndian<std::int32_t>(error.number()) +
                            littleEndian<std::uint32_t>(std::uint32_t(description.size())) + description;
    return write(littleEndian<std::uint64_t>(std::uint64_t(body.size()))) && write(body);
}

core::Picture readRendered(const WireRead& read, const QString& name, Format format) {
    Answer answer(read, name, format);
    answer.start();
    std::array<char, kTagBytes> tag{};
    answer.take(tag.data(), kTagBytes);
    if (std::memcmp(tag.data(), kErrorTag, kTagBytes) == 0) {
        const auto number = std::int32_t(answer.u32());
        const std::uint32_t length = answer.u32();
        if (number == 0 || length > kMaxDescriptionBytes || length != answer.left())
            throw corrupt(name, format);
        QByteArray description(length, Qt::Uninitialized);
        answer.take(description.data(), length);
        throw core::RuntimeError(number, QString::fromUtf8(description));
    }
    if (std::memcmp(tag.data(), kPictureTag, kTagBytes) != 0)
        throw corrupt(name, format);
    QImage base = answer.image();
    QImage doubleRes = answer.image();
    if (base.isNull() || answer.left() != 0)
        throw corrupt(name, format);
    return core::Picture(std::move(base), std::move(doubleRes));
}

}  // namespace pictures
