// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/PictureBox.h"

#include "core/KeyCodes.h"

#include <QKeyEvent>
#include <QPainter>

namespace ctl {

int keyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return core::key::kLeft;
    case Qt::Key_Up:
        return core::key::kUp;
    case Qt::Key_Right:
        return core::key::kRight;
    case Qt::Key_Down:
        return core::key::kDown;
    case Qt::Key_PageUp:
        return core::key::kPageUp;
    case Qt::Key_PageDown:
        return core::key::kPageDown;
    case Qt::Key_End:
        return core::key::kEnd;
    case Qt::Key_Home:
        return core::key::kHome;
    case Qt::Key_Space:
        return core::key::kSpace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return core::key::kReturn;
    case Qt::Key_Escape:
        return core::key::kEscape;
    case Qt::Key_Tab:
        return core::key::kTab;
    case Qt::Key_Backspace:
        return core::key::kBackspace;
    case Qt::Key_Insert:
        return core::key::kInsert;
    case Qt::Key_Delete:
        return core::key::kDelete;
    case Qt::Key_Shift:
        return core::key::kShift;
    case Qt::Key_Control:
        return core::key::kControl;
    case Qt::Key_Alt:
        return core::key::kAlt;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;  // same codes as ASCII
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F16)
        return 112 + (qtKey - Qt::Key_F1);
    return 0;
}

PictureBox::PictureBox(Surface* parent, const core::ScaleRect& rect, ScaleMode insideScale)
    : Surface(parent, insideScale), rect_(rect) {
    applyGeometry();
}

float PictureBox::parentUnitsPerPixel() const {
    const auto* parentSurface = qobject_cast<const Surface*>(parentWidget());
    return parentSurface ? parentSurface->unitsPerPixel() : core::kTwipsPerPixel;
}

void PictureBox::applyGeometry() { setGeometry(core::toPixelRect(rect_, parentUnitsPerPixel())); }

void PictureBox::Move(float left, float top, float width, float height) {
    const bool resized = width != rect_.width || height != rect_.height;
    rect_ = core::ScaleRect{left, top, width, height};
    applyGeometry();
    if (resized)
        Q_EMIT Resize();
}

void PictureBox::setBorder(bool on) {
    border_ = on;
    update();
}

void PictureBox::setPicture(const core::Picture& picture) {
    Surface::setPicture(picture);
    if (autoSize_ && !picture.isNull()) {
        const float upp = parentUnitsPerPixel();
        Move(rect_.left, rect_.top, static_cast<float>(picture.size().width()) * upp,
             static_cast<float>(picture.size().height()) * upp);
    }
}

void PictureBox::syncFromWidgetPosition() {
    const float upp = parentUnitsPerPixel();
    rect_.left = static_cast<float>(x()) * upp;
    rect_.top = static_cast<float>(y()) * upp;
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    Q_EMIT KeyDown(keyCode(event->key()), shiftCode(event->modifiers()));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    Surface::paintEvent(event);
    if (border_) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace ctl

#include "moc_PictureBox.cpp"
