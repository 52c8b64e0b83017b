// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A window that stays in front of every other window for the whole run and can never be lost:
// the settings panel, the only way to the doors.

class QWidget;

namespace platform {

// Shows the top-level window and keeps it above all windows for good, leaving its place and size
// alone. The window manager is asked to offer no minimise and no maximise; where it minimises the
// window all the same (its own button, a pager, a script), the window is shown again at once, at
// its place. While a modal window of the program is open (a file dialog, a message box, a dialog),
// that window stands above this one, so the question the user must answer is never covered; when
// the last of them closes, this window is above all windows again.
void keepTopmost(QWidget* window);

}  // namespace platform
