#include "controls/Form.h"

#include <QStyle>

namespace ctl {

Form::Form(ScaleMode scaleMode) : Surface(nullptr, scaleMode) {}

QMargins Form::frameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    if (isVisible() && frame != client)
        return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    // Before the window manager has framed the window its frame is not known yet: assume a
    // title bar of the style's height and a one-pixel border.
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return QMargins(1, title + 1, 1, 1);
}

float Form::Left() const { return static_cast<float>(pos().x()) * kTwipsPerPixel; }
float Form::Top() const { return static_cast<float>(pos().y()) * kTwipsPerPixel; }

float Form::Width() const {
    const QMargins m = frameMargins();
    return static_cast<float>(width() + m.left() + m.right()) * kTwipsPerPixel;
}

float Form::Height() const {
    const QMargins m = frameMargins();
    return static_cast<float>(height() + m.top() + m.bottom()) * kTwipsPerPixel;
}

void Form::setLeft(float twips) { Move(twips, Top()); }
void Form::setTop(float twips) { Move(Left(), twips); }

void Form::Move(float left, float top) {
    move(toPixel(left, kTwipsPerPixel), toPixel(top, kTwipsPerPixel));
}

}  // namespace ctl
