// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "assets/gen/SvgRender.h"

#include <QByteArray>
#include <QColor>
#include <QPainter>
#include <QSize>
#include <QSvgRenderer>

namespace assetgen {

QImage renderSvg(const QByteArray& svg, const QSize& size, QString* error) {
    if (size.isEmpty()) {
        if (error)
            *error = QStringLiteral("empty size %1 x %2").arg(size.width()).arg(size.height());
        return {};
    }
    QSvgRenderer renderer;
    if (!renderer.load(svg) || !renderer.isValid()) {
        if (error)
            *error = QStringLiteral("not a valid SVG document");
        return {};
    }
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

QImage flattened(const QImage& image, const QColor& background) {
    if (image.isNull())
        return {};
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(background);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    painter.end();
    return out;
}

}  // namespace assetgen
