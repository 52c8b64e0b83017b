// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A top-level window whose client area is a Surface. Left and Top are the
// window's outer place on the screen in twips; Width and Height its outer size.

#include "controls/Surface.h"

#include <QMargins>
#include <optional>

namespace ctl {

class Form : public Surface {
    Q_OBJECT
public:
    explicit Form(ScaleMode scaleMode = ScaleMode::Twips);

    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void setLeft(float twips);
    void setTop(float twips);
    void Move(float left, float top);

    // The window's frame; before the window is shown, the frame the window manager will give it.
    QMargins frameMargins() const;
    // The outer rectangle on the screen in pixels, frame included.
    QRect frameRect() const;

private:
    // The frame the window manager will give the window, asked once before it is shown;
    // nothing where it cannot tell (no X11, or a window manager that does not answer).
    const std::optional<QMargins>& announcedFrame() const;
    // Whether the client area is placed inside the announced frame, Qt not knowing the frame
    // yet: before the show, and after it until the window manager has framed the window.
    bool placedByClient() const;

    mutable bool frameAsked_ = false;
    mutable std::optional<QMargins> announcedFrame_;
};

}  // namespace ctl
