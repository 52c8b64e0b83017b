// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What screen readers learn of the controls the toolkit cannot describe by itself: the
// graphical check boxes (switches that stay down while on), the windowless images that
// their window paints, and a label that is clicked like a link.

class QLabel;

namespace ctl {

// Installs the descriptions; once, after the application object exists and before any
// window is described.
void installAccessibleInterfaces();

// A label that does something when clicked is told as a link named by its text.
void presentAsLink(QLabel* label);

}  // namespace ctl
