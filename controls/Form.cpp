// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/Form.h"

#include "platform/Windowing.h"

#include <QStyle>

namespace ctl {

Form::Form(ScaleMode scaleMode) : Surface(nullptr, scaleMode) {}

QMargins Form::frameMargins() const {
    if (placedByClient())
        return *announcedFrame_;
    if (isVisible()) {
        const QRect frame = frameGeometry();
        const QRect client = geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                        frame.bottom() - client.bottom());
    }
    // No window manager told us (none, or not X11): assume a title bar of the style's height.
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return QMargins(1, title + 1, 1, 1);
}

bool Form::placedByClient() const {
    if (!isVisible())
        return announcedFrame().has_value();
    // Shown, the window is framed by the window manager a moment later, and Qt learns the frame
    // only then: until that, it takes the client area for the whole window, and a place read
    // then (a session ending during a slow start) would be the client area's. The frame was
    // announced before the show; a shown window is never asked again.
    return frameAsked_ && announcedFrame_ && !announcedFrame_->isNull() && frameGeometry() == geometry();
}

const std::optional<QMargins>& Form::announcedFrame() const {
    if (!frameAsked_) {
        frameAsked_ = true;
        announcedFrame_ = platform::frameExtentsBeforeShow(const_cast<Form*>(this));
    }
    return announcedFrame_;
}

QRect Form::frameRect() const {
    const QMargins m = frameMargins();
    // Qt learns a window's frame only once the window manager has framed it; until then Move
    // places the client area inside the frame the window manager announced.
    const QPoint place = placedByClient() ? geometry().topLeft() - QPoint(m.left(), m.top()) : pos();
    return QRect(place, size().grownBy(m));
}

float Form::Left() const { return static_cast<float>(frameRect().left()) * core::kTwipsPerPixel; }
float Form::Top() const { return static_cast<float>(frameRect().top()) * core::kTwipsPerPixel; }

float Form::Width() const { return static_cast<float>(frameRect().width()) * core::kTwipsPerPixel; }
float Form::Height() const { return static_cast<float>(frameRect().height()) * core::kTwipsPerPixel; }

void Form::setLeft(float twips) { Move(twips, Top()); }
void Form::setTop(float twips) { Move(Left(), twips); }

void Form::Move(float left, float top) {
    const QPoint place(core::toPixel(left, core::kTwipsPerPixel), core::toPixel(top, core::kTwipsPerPixel));
    if (isVisible() || !announcedFrame()) {
        move(place);  // Qt knows the frame of a shown window, and places the frame
        return;
    }
    // Before the window is shown, Qt takes a place for the frame's only until the native window
    // exists (asking the window manager for the frame creates it), and for the client area's
    // after: the title bar would then land above the place. Placing the client area inside the
    // announced frame is right in both cases.
    const QMargins m = *announcedFrame();
    setGeometry(QRect(place + QPoint(m.left(), m.top()), size()));
}

}  // namespace ctl

#include "moc_Form.cpp"
