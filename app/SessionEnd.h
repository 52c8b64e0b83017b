// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A desktop toy is seldom closed by hand: the session ends with a log-out or a shutdown. Each
// way the run can end for the user saves the arrangement as the close of the bus window does.

class Form1;

// From here on SIGTERM, SIGHUP and SIGINT, and the session manager's end of the session (its
// die), do what the close does (Form1::endRun); its request for the data (a checkpoint, a
// log-out the user may cancel) saves and the run goes on (Form1::saveForSession). When the X
// connection breaks, what the program holds is saved without the display
// (Form1::saveWithoutDisplay) before the toolkit ends the program.
void endWithTheSession(Form1& form);
