// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Controls without a window of their own, painted by their container (a Surface):
// images, which show a picture and take mouse input, and shapes, which do neither.

#include "core/Picture.h"
#include "core/Twips.h"

#include <QColor>
#include <QObject>
#include <QString>

class QPainter;

namespace ctl {

class Surface;

class WindowlessControl : public QObject {
    Q_OBJECT
public:
    // Each new control goes on top of those created before it on the same surface.
    WindowlessControl(Surface* host, const core::ScaleRect& rect, bool visible);
    ~WindowlessControl() override;

    float Left() const { return rect_.left; }
    float Top() const { return rect_.top; }
    float Width() const { return rect_.width; }
    float Height() const { return rect_.height; }
    const core::ScaleRect& rect() const { return rect_; }
    bool Visible() const { return visible_; }

    void setLeft(float v) { Move(v, rect_.top, rect_.width, rect_.height); }
    void setTop(float v) { Move(rect_.left, v, rect_.width, rect_.height); }
    void setWidth(float v) { Move(rect_.left, rect_.top, v, rect_.height); }
    void setHeight(float v) { Move(rect_.left, rect_.top, rect_.width, v); }
    // One move that sets all four; repaints the old and the new area, and nothing when
    // the pixel rectangle stays the same.
    void Move(float left, float top, float width, float height);
    void setVisible(bool visible);

    QRect pixelRect() const;
    Surface* host() const { return host_; }

    // What a screen reader calls it; one without a name is not described to it.
    const QString& accessibleName() const { return accessibleName_; }
    void setAccessibleName(const QString& name) { accessibleName_ = name; }

    virtual void paint(QPainter& painter) const = 0;
    virtual bool takesMouse() const = 0;

Q_SIGNALS:
    void MouseDown(int button, int shift, float x, float y);
    void Click();
    void DblClick();

protected:
    void invalidate() const;

private:
    friend class Surface;
    Surface* host_;
    core::ScaleRect rect_;
    bool visible_;
    QString accessibleName_;
};

class Image : public WindowlessControl {
    Q_OBJECT
public:
    Image(Surface* host, const core::ScaleRect& rect, bool visible, bool stretch);

    bool Stretch() const { return stretch_; }
    const core::Picture& picture() const { return picture_; }
    // An image that does not stretch takes the picture's size; no picture leaves the size alone.
    void setPicture(const core::Picture& picture);

    void paint(QPainter& painter) const override;
    bool takesMouse() const override { return true; }

private:
    bool stretch_;
    core::Picture picture_;
};

class Shape : public WindowlessControl {
    Q_OBJECT
public:
    // A rectangle filled solid with fillColor and outlined one pixel wide in borderColor.
    Shape(Surface* host, const core::ScaleRect& rect, bool visible, QColor fillColor, QColor borderColor);

    void paint(QPainter& painter) const override;
    bool takesMouse() const override { return false; }

private:
    QColor fill_;
    QColor border_;
};

}  // namespace ctl
