// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A widget whose own surface carries windowless controls (images and shapes): it
// paints its back colour, its picture unscaled at the top-left corner, then the
// windowless controls from the bottom of the z-order up, and routes mouse input
// to the topmost windowless control that takes it, or to itself.

#include "core/Picture.h"
#include "core/Twips.h"

#include <QColor>
#include <QRegion>
#include <QWidget>
#include <vector>

namespace ctl {

class WindowlessControl;

enum class ScaleMode { Twips, Pixels };

// Buttons and shift state as the event handlers receive them.
namespace mouse {
inline constexpr int kLeft = 1, kRight = 2, kMiddle = 4;
}
int buttonCode(Qt::MouseButton button);
int shiftCode(Qt::KeyboardModifiers modifiers);

class Surface : public QWidget {
    Q_OBJECT
public:
    Surface(QWidget* parent, ScaleMode scaleMode);
    ~Surface() override;

    ScaleMode scaleMode() const { return scaleMode_; }
    float unitsPerPixel() const { return scaleMode_ == ScaleMode::Twips ? core::kTwipsPerPixel : 1.0f; }

    // The inside, in this surface's own scale units.
    float ScaleWidth() const { return static_cast<float>(width()) * unitsPerPixel(); }
    float ScaleHeight() const { return static_cast<float>(height()) * unitsPerPixel(); }

    QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor& color);

    const core::Picture& picture() const { return picture_; }
    virtual void setPicture(const core::Picture& picture);

    QRect toPixels(const core::ScaleRect& r) const { return core::toPixelRect(r, unitsPerPixel()); }

    // Marks an area (pixels) for repainting; paintPendingNow() paints what is marked at once.
    void invalidate(const QRect& area);
    void paintPendingNow();
    bool hasPendingPaint() const { return !pending_.isEmpty(); }

    // The topmost shown windowless control at a point that takes mouse input, or nullptr.
    WindowlessControl* controlAt(const QPoint& pos) const;

Q_SIGNALS:
    // Mouse input over the surface itself (not over a windowless control that takes it).
    void MouseDown(int button, int shift, float x, float y);
    void Click();
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class WindowlessControl;
    void attach(WindowlessControl* control);
    void detach(WindowlessControl* control);

    ScaleMode scaleMode_;
    QColor backColor_;
    core::Picture picture_;
    std::vector<WindowlessControl*> controls_;  // bottom first
    QRegion pending_;
    // The press that started the current click, so the release raises Click on the same target.
    WindowlessControl* pressedControl_ = nullptr;
    bool pressedSelf_ = false;
    bool inDoubleClick_ = false;
};

}  // namespace ctl
