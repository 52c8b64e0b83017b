// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A picture box: a child window placed in its container's scale units, with an
// inside scale of its own (twips or pixels), a back colour, a picture drawn at its
// top-left corner, optional automatic sizing to the picture, and windowless
// controls of its own (it clips them). Keys and clicks are raised as signals.

#include "controls/Surface.h"

namespace ctl {

class PictureBox : public Surface {
    Q_OBJECT
public:
    // rect is in the parent surface's scale units.
    PictureBox(Surface* parent, const core::ScaleRect& rect, ScaleMode insideScale);

    float Left() const { return rect_.left; }
    float Top() const { return rect_.top; }
    float Width() const { return rect_.width; }
    float Height() const { return rect_.height; }
    const core::ScaleRect& scaleRect() const { return rect_; }

    void setLeft(float v) { Move(v, rect_.top, rect_.width, rect_.height); }
    void setTop(float v) { Move(rect_.left, v, rect_.width, rect_.height); }
    // One move; raises Resize when the size changed.
    void Move(float left, float top, float width, float height);

    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on) { autoSize_ = on; }
    bool hasBorder() const { return border_; }
    void setBorder(bool on);

    // With automatic sizing a picture resizes the box (raising Resize); no picture leaves the size.
    void setPicture(const core::Picture& picture) override;

    // The window system moved the widget (a drag): keep the scale position in step.
    void syncFromWidgetPosition();

Q_SIGNALS:
    void KeyDown(int keyCode, int shift);
    void Resize();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    float parentUnitsPerPixel() const;
    void applyGeometry();

    core::ScaleRect rect_;
    bool autoSize_ = false;
    bool border_ = false;
};

// The key code the handlers receive for a Qt key (arrows 37..40, letters and digits as ASCII).
int keyCode(int qtKey);

}  // namespace ctl
