#pragma once
// A top-level window whose client area is a Surface. Left and Top are the
// window's outer place on the screen in twips; Width and Height its outer size.

#include "controls/Surface.h"

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

    QMargins frameMargins() const;
};

}  // namespace ctl
