// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/Surface.h"

#include "controls/WindowlessControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ctl {

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return mouse::kLeft;
    case Qt::RightButton:
        return mouse::kRight;
    case Qt::MiddleButton:
        return mouse::kMiddle;
    default:
        return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

Surface::Surface(QWidget* parent, ScaleMode scaleMode)
    : QWidget(parent), scaleMode_(scaleMode), backColor_(palette().color(QPalette::Button)) {
    // Everything is painted here, opaque, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

Surface::~Surface() {
    // Windowless controls are QObject children and outlive this body; keep them from calling back.
    for (WindowlessControl* c : controls_)
        c->host_ = nullptr;
}

void Surface::setBackColor(const QColor& color) {
    backColor_ = color;
    update();
}

void Surface::setPicture(const core::Picture& picture) {
    picture_ = picture;
    update();
}

void Surface::attach(WindowlessControl* control) { controls_.push_back(control); }

void Surface::detach(WindowlessControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (pressedControl_ == control)
        pressedControl_ = nullptr;
}

void Surface::invalidate(const QRect& area) {
    const QRect clipped = area.intersected(rect());
    if (clipped.isEmpty())
        return;
    pending_ += clipped;
    update(clipped);
}

void Surface::paintPendingNow() {
    if (pending_.isEmpty())
        return;
    const QRegion region = pending_;
    pending_ = QRegion();
    repaint(region);
}

WindowlessControl* Surface::controlAt(const QPoint& pos) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        WindowlessControl* c = *it;
        if (c->Visible() && c->takesMouse() && c->pixelRect().contains(pos))
            return c;
    }
    return nullptr;
}

void Surface::paintEvent(QPaintEvent* event) {
    pending_ -= event->region();
    QPainter painter(this);
    // One rectangle of the region at a time. The region is ragged wherever a child window
    // stands, and under a ragged clip Qt blends a tall picture span by span on worker threads
    // it starts for the purpose, which costs the first paint more than the painting itself;
    // under one rectangle it copies the picture straight in.
    for (const QRect& band : event->region()) {
        painter.setClipRect(band);
        painter.fillRect(band, backColor_);
        if (!picture_.isNull())
            picture_.draw(painter, QRectF(QPointF(0, 0), QSizeF(picture_.size())));
        for (const WindowlessControl* c : controls_)
            if (c->Visible() && c->pixelRect().intersects(band))
                c->paint(painter);
    }
}

void Surface::mousePressEvent(QMouseEvent* event) {
    const int button = buttonCode(event->button());
    const int shift = shiftCode(event->modifiers());
    const QPointF p = event->position();
    const float x = static_cast<float>(p.x()) * unitsPerPixel();
    const float y = static_cast<float>(p.y()) * unitsPerPixel();
    inDoubleClick_ = false;
    pressedControl_ = controlAt(p.toPoint());
    pressedSelf_ = pressedControl_ == nullptr;
    if (pressedControl_) {
        const QPointF local = p - QPointF(pressedControl_->pixelRect().topLeft());
        Q_EMIT pressedControl_->MouseDown(button, shift, static_cast<float>(local.x()) * unitsPerPixel(),
                                          static_cast<float>(local.y()) * unitsPerPixel());
    } else {
        Q_EMIT MouseDown(button, shift, x, y);
    }
}

void Surface::mouseReleaseEvent(QMouseEvent* event) {
    if (inDoubleClick_ || event->button() != Qt::LeftButton) {
        inDoubleClick_ = false;
        return;
    }
    const QPoint p = event->position().toPoint();
    if (pressedControl_) {
        WindowlessControl* target = pressedControl_;
        pressedControl_ = nullptr;
        if (target->pixelRect().contains(p))
            Q_EMIT target->Click();
    } else if (pressedSelf_) {
        pressedSelf_ = false;
        if (rect().contains(p) && controlAt(p) == nullptr)
            Q_EMIT Click();
    }
}

void Surface::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    // The second press of a double click raises DblClick instead of MouseDown and Click.
    inDoubleClick_ = true;
    if (WindowlessControl* target = controlAt(event->position().toPoint()))
        Q_EMIT target->DblClick();
    else
        Q_EMIT DblClick();
}

}  // namespace ctl

#include "moc_Surface.cpp"
