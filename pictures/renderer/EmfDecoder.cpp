// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/renderer/EmfDecoder.h"

#include "pictures/renderer/DrawnSize.h"
#include "pictures/MetafileHeaders.h"
#include "pictures/PictureErrors.h"
#include "pictures/PictureLimits.h"

#include <emf2svg.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <memory>

namespace pictures {

namespace {

constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kMinHeaderBytes = 88;
constexpr double kHmmPerInch = 2540.0;

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

std::optional<QRectF> readRect(const Bytes& b, std::int64_t at) {
    const auto l = b.s32(at), t = b.s32(at + 4), r = b.s32(at + 8), bt = b.s32(at + 12);
    if (!l || !t || !r || !bt)
        return std::nullopt;
    return QRectF(QPointF(*l, *t), QPointF(*r, *bt));
}

QImage draw(QSvgRenderer& renderer, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

}  // namespace

std::optional<EmfLayout> readEmfLayout(const Bytes& b) {
    const auto type = b.u32(0), headerBytes = b.u32(4), signature = b.u32(kEmfSignatureOffset);
    const auto bounds = readRect(b, 8), frame = readRect(b, 24);
    const auto deviceX = b.s32(72), deviceY = b.s32(76), mmX = b.s32(80), mmY = b.s32(84);
    if (type != kEmrHeader || signature != kEmfSignature || !headerBytes || *headerBytes < kMinHeaderBytes || !bounds ||
        !frame || !deviceX || !deviceY || !mmX || !mmY)
        return std::nullopt;

    for (std::int64_t pos = 0;;) {
        const auto recordType = b.u32(pos), recordBytes = b.u32(pos + 4);
        if (!recordType || !recordBytes || *recordBytes < 8 || *recordBytes % 4 != 0 || !b.has(pos, *recordBytes))
            return std::nullopt;
        if (*recordType == kEmrEof)
            break;
        pos += *recordBytes;
    }

    EmfLayout layout;
    layout.bounds = *bounds;
    layout.frame = *frame;
    // A reference device that gives no sensible size is taken as a 96-dpi screen.
    const bool deviceKnown = *deviceX > 0 && *deviceY > 0 && *mmX > 0 && *mmY > 0;
    layout.devicePerHmm = deviceKnown ? QSizeF(double(*deviceX) / (*mmX * 100.0), double(*deviceY) / (*mmY * 100.0))
                                      : QSizeF(kScreenDpi / kHmmPerInch, kScreenDpi / kHmmPerInch);
    return layout;
}

core::Picture renderEmf(const QByteArray& data, const QString& name) {
    const auto layout = readEmfLayout(Bytes(data));
    if (!layout)
        throw corrupt(name, Format::Emf);
    const QRectF& frame = layout->frame;
    const QSize size = naturalSize(frame.width() * kScreenDpi / kHmmPerInch, frame.height() * kScreenDpi / kHmmPerInch,
                                   name, Format::Emf);

    QByteArray input = data;  // the converter's input is not const
    generatorOptions options{};
    options.nameSpace = nullptr;
    options.verbose = false;
    options.emfplus = false;
    options.svgDelimiter = true;
    char* rawSvg = nullptr;
    size_t svgLength = 0;
    const int converted = emf2svg(input.data(), static_cast<size_t>(input.size()), &rawSvg, &svgLength, &options);
    const std::unique_ptr<char, FreeDeleter> svg(rawSvg);  // allocated even when the conversion fails
    if (!converted || !svg || svgLength == 0)
        throw corrupt(name, Format::Emf);

    QSvgRenderer renderer(QByteArray(svg.get(), static_cast<qsizetype>(svgLength)));
    if (!renderer.isValid())
        throw corrupt(name, Format::Emf);
    // The converter writes device units with the drawing's bounds at the origin; the page
    // is the frame, turned into the same units.
    const QSizeF k = layout->devicePerHmm;
    renderer.setViewBox(QRectF(frame.left() * k.width() - layout->bounds.left(),
                               frame.top() * k.height() - layout->bounds.top(), frame.width() * k.width(),
                               frame.height() * k.height()));

    QImage base = draw(renderer, size);
    if (base.isNull())
        throw corrupt(name, Format::Emf);
    const QSize doubled = size * 2;
    QImage hi = fitsRenderLimits(doubled) ? draw(renderer, doubled) : QImage();
    return core::Picture(std::move(base), std::move(hi));
}

}  // namespace pictures
