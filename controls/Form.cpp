#include "controls/Form.h"

#include "platform/Windowing.h"

#include <QStyle>

namespace ctl {

Form::Form(ScaleMode scaleMode) : Surface(nullptr, scaleMode) {}

QMargins Form::frameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    if (isVisible())
        return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    if (!expectedFrame_)
        expectedFrame_ = platform::frameExtentsBeforeShow(const_cast<Form*>(this));
    if (expectedFrame_)
        return *expectedFrame_;
    // No window manager told us (none, or not X11): assume a title bar of the style's height.
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
