// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What the window system provides to the windows: shaped windows, the topmost
// panel, and making sure the display server has shown what was painted.

#include <QMargins>
#include <QRegion>
#include <optional>

class QWidget;

namespace platform {

// The region a rounded-rectangle call with these arguments gives: corners cut by an
// ellipse w wide and h high. As with the window system's own call, the rectangle
// covers x1..x2-2 and y1..y2-2: the right and bottom edges are exclusive and the
// rounded shape leaves out one more pixel on those sides. The four corners are built
// row by row from the same ellipse, so they are exact mirror images.
QRegion roundRectRegion(int x1, int y1, int x2, int y2, int w, int h);

// Gives the window (or child window) the shape; only pixels inside are drawn and take input.
void setWindowRegion(QWidget* window, const QRegion& region);

// Asks the window manager to offer nothing but moving a fixed-size top-level window: no minimise,
// no maximise, no close (the Motif hints' functions and decorations). The toolkit writes these
// hints anew whenever the window's flags change, so this is said again after each change.
void offerMoveOnly(QWidget* window);

// Keeps a top-level window that is not shown yet off the task bar and the pager.
void keepOffTaskbar(QWidget* window);

// The frame the window manager will put around a top-level window that is not shown yet,
// asked of the window manager itself (_NET_REQUEST_FRAME_EXTENTS); no margins when no window
// manager runs. Nothing when it cannot tell: not X11, or a window manager that does not answer.
std::optional<QMargins> frameExtentsBeforeShow(QWidget* window);

// Returns once the display server has processed everything sent so far (a round trip on
// the program's own connection), so what was painted is on screen. Nothing on other platforms.
void syncWithDisplay();

}  // namespace platform
