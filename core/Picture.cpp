// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "core/Picture.h"

#include "core/ResourceImages.h"

#include <QFileInfo>
#include <QPainter>

namespace core {

Picture::Picture(QImage base, QImage doubleRes) : base_(std::move(base)), double_(std::move(doubleRes)) {
    if (!double_.isNull())
        double_.setDevicePixelRatio(2.0);
}

Picture Picture::fromResource(const QString& path) {
    QImage base = readResourceImage(path);
    const QFileInfo info(path);
    const QString hiPath = info.path() + '/' + info.completeBaseName() + "@2x." + info.suffix();
    Picture picture(std::move(base));
    if (QFileInfo::exists(hiPath))
        picture.doublePath_ = hiPath;
    return picture;
}

const QImage& Picture::doubleResImage() const {
    if (double_.isNull() && !doublePath_.isEmpty()) {
        double_ = readResourceImage(doublePath_);
        double_.setDevicePixelRatio(2.0);
        doublePath_.clear();
    }
    return double_;
}

void Picture::draw(QPainter& painter, const QRectF& target) const {
    if (isNull() || target.isEmpty())
        return;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage& img = (dpr > 1.0 && !doubleResImage().isNull()) ? doubleResImage() : base_;
    const QSizeF natural = QSizeF(base_.size());
    const bool unscaled =
        qFuzzyCompare(target.width(), natural.width()) && qFuzzyCompare(target.height(), natural.height());
    if (unscaled && dpr == 1.0 && &img == &base_) {
        painter.drawImage(target.topLeft(), img);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !unscaled);
    painter.drawImage(target, img, QRectF(QPointF(0, 0), QSizeF(img.size())));
    painter.restore();
}

}  // namespace core
