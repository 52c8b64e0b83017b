// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A picture as the controls hold it: its size in logical (96-dpi) pixels and
// the images to draw it from. A picture may carry a second image of twice the
// resolution, drawn instead where the screen's device pixel ratio is above 1.

#include <QImage>
#include <QSize>

class QPainter;
class QRectF;

namespace core {

class Picture {
public:
    Picture() = default;  // no picture
    explicit Picture(QImage base, QImage doubleRes = {});

    // Loads a picture compiled into the program (":/..." path); "name@2x.ext"
    // beside it is used as the double-resolution image when it exists.
    static Picture fromResource(const QString& path);
    static Picture fromResource(const char* path) { return fromResource(QString::fromLatin1(path)); }

    bool isNull() const { return base_.isNull(); }
    QSize size() const { return base_.size(); }  // logical pixels
    const QImage& image() const { return base_; }
    // The double-resolution image; one compiled in is read on first use, so a screen that
    // never needs it never holds it.
    const QImage& doubleResImage() const;

    // Draws the picture scaled to target (logical pixels), choosing the image
    // that best fits the painter's device pixel ratio.
    void draw(QPainter& painter, const QRectF& target) const;

private:
    QImage base_;
    mutable QImage double_;
    mutable QString doublePath_;  // not read yet
};

}  // namespace core
