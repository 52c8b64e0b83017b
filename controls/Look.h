// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// How a control or window looks beyond its place: its colours, a caption bar without icon, and
// the keyboard's focus frame.

#include <QColor>
#include <QIcon>
#include <optional>

class QWidget;

namespace ctl {

// Paints the widget's whole background in back (buttons included, whose own role would be the
// button colour) and, when given, its text in fore.
void setColours(QWidget* widget, const QColor& back, std::optional<QColor> fore = std::nullopt);

// Window managers put the application's icon on a window that has none of its own; a fully
// transparent icon keeps the caption bar bare.
QIcon noIcon();

// Draws the style's focus frame around the whole widget, from its paint event, after its own
// painting: for controls whose style marks no focus of its own (a scroll bar in some styles, a
// label that works as a link).
void paintFocusFrame(QWidget* widget);

}  // namespace ctl
