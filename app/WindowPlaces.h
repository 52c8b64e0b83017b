// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Where the two restored windows go when a stored place is out of reach: settings from a
// wider desktop, or a monitor unplugged since they were saved.

#include <QList>
#include <QPoint>
#include <QRect>

namespace placement {

// One window as it would stand at its stored place, in screen pixels.
struct Window {
    QRect frame;     // the window with its frame
    QRect titleBar;  // the part the user drags it by
};

// The screens as the window system reports them.
struct Screen {
    QRect geometry;   // the whole screen
    QRect available;  // less the task bars and docks
};

struct Corners {
    QPoint bus, panel;  // top-left corners of the frames
};

// A window whose title bar shows on some screen stays. One that shows on none is moved onto
// the screen nearest to it, only as far as it takes to bring it whole within that screen's
// available area (to its top-left corner where it is larger). When both are out of reach and
// fit on that screen together, both move by the same distance, so that the panel keeps its
// place beside the bus. No screen at all leaves both where they are.
Corners reachableCorners(const Window& bus, const Window& panel, const QList<Screen>& screens);

}  // namespace placement
