#include "controls/PictureBox.h"

#include <QKeyEvent>
#include <QPainter>

namespace ctl {

int keyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Space: return 32;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    default: break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;  // same codes as ASCII
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F16)
        return 112 + (qtKey - Qt::Key_F1);
    return 0;
}

PictureBox::PictureBox(Surface* parent, const ScaleRect& rect, ScaleMode insideScale)
    : Surface(parent, insideScale), rect_(rect) {
    applyGeometry();
}

float PictureBox::parentUnitsPerPixel() const {
    const auto* parentSurface = qobject_cast<const Surface*>(parentWidget());
    return parentSurface ? parentSurface->unitsPerPixel() : kTwipsPerPixel;
}

void PictureBox::applyGeometry() { setGeometry(toPixelRect(rect_, parentUnitsPerPixel())); }

void PictureBox::Move(float left, float top, float width, float height) {
    const bool resized = width != rect_.width || height != rect_.height;
    rect_ = ScaleRect{left, top, width, height};
    applyGeometry();
    if (resized)
        Q_EMIT Resize();
}

void PictureBox::setBorder(bool on) {
    border_ = on;
    update();
}

void PictureBox::setPicture(const Picture& picture) {
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
