// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once

class QWidget;

namespace platform {

// Moves a child window with the pointer until the left button is released, the way the
// window system moves a window by its title bar: a local loop that returns only when the
// drag has ended. Esc ends it too and puts the child back where the drag began. The pointer acts only within the top-level
// window's client area: the child may be dropped partly outside, never wholly.
void dragChildWindow(QWidget* child);

}  // namespace platform
