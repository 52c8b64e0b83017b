// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/WindowlessControl.h"

#include "controls/Surface.h"

#include <QPainter>

namespace ctl {

WindowlessControl::WindowlessControl(Surface* host, const core::ScaleRect& rect, bool visible)
    : QObject(host), host_(host), rect_(rect), visible_(visible) {
    host_->attach(this);
}

WindowlessControl::~WindowlessControl() {
    if (host_) {
        invalidate();
        host_->detach(this);
    }
}

QRect WindowlessControl::pixelRect() const { return host_ ? host_->toPixels(rect_) : QRect(); }

void WindowlessControl::invalidate() const {
    if (host_ && visible_)
        host_->invalidate(pixelRect());
}

void WindowlessControl::Move(float left, float top, float width, float height) {
    const core::ScaleRect next{left, top, width, height};
    if (next == rect_)
        return;
    const QRect before = pixelRect();
    rect_ = next;
    if (pixelRect() != before) {
        if (host_ && visible_) {
            host_->invalidate(before);
            host_->invalidate(pixelRect());
        }
    }
}

void WindowlessControl::setVisible(bool visible) {
    if (visible == visible_)
        return;
    if (visible_)
        invalidate();
    visible_ = visible;
    invalidate();
}

Image::Image(Surface* host, const core::ScaleRect& rect, bool visible, bool stretch)
    : WindowlessControl(host, rect, visible), stretch_(stretch) {}

void Image::setPicture(const core::Picture& picture) {
    invalidate();
    picture_ = picture;
    if (!stretch_ && !picture_.isNull() && host()) {
        const float upp = host()->unitsPerPixel();
        Move(Left(), Top(), static_cast<float>(picture_.size().width()) * upp,
             static_cast<float>(picture_.size().height()) * upp);
    }
    invalidate();
}

void Image::paint(QPainter& painter) const {
    if (picture_.isNull())
        return;
    const QRect r = pixelRect();
    if (stretch_)
        picture_.draw(painter, QRectF(r));
    else
        picture_.draw(painter, QRectF(QPointF(r.topLeft()), QSizeF(picture_.size())));
}

Shape::Shape(Surface* host, const core::ScaleRect& rect, bool visible, QColor fillColor, QColor borderColor)
    : WindowlessControl(host, rect, visible), fill_(fillColor), border_(borderColor) {}

void Shape::paint(QPainter& painter) const {
    const QRect r = pixelRect();
    if (r.isEmpty())
        return;
    painter.fillRect(r, border_);
    if (r.width() > 2 && r.height() > 2)
        painter.fillRect(r.adjusted(1, 1, -1, -1), fill_);
}

}  // namespace ctl

#include "moc_WindowlessControl.cpp"
