// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Placing ordinary Qt widgets by twips, for the windows built from standard widgets.

#include "core/Twips.h"

#include <QWidget>

namespace ctl {

// Sets the widget's geometry inside its parent from a rectangle in twips.
inline void placeTwips(QWidget* widget, float left, float top, float width, float height) {
    widget->setGeometry(core::twipsToPixels(core::ScaleRect{left, top, width, height}));
}

// A client area given in twips, as a fixed size in logical pixels.
inline QSize twipsToPixelSize(float width, float height) {
    return core::twipsToPixels(core::ScaleRect{0, 0, width, height}).size();
}

// A colour written &HBBGGRR.
inline QColor bgr(unsigned value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

}  // namespace ctl
