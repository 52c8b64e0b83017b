// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Whether the display is there: asked when the toolkit could not connect, to say why in the
// program's own words, and when a warning may mean that the connection has gone.

namespace platform {

// Whether an X display can be reached at all, by a connection of its own, opened and closed.
bool displayReachable();

// Whether the program's own connection to the display has broken (the server ended, the link
// was cut). False on other platforms and before the toolkit has connected.
bool displayConnectionBroken();

}  // namespace platform
