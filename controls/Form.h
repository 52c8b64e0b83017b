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

private:
    mutable std::optional<QMargins> expectedFrame_;
};

}  // namespace ctl
