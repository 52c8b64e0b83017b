// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// What the bus window does for the settings panel's version button.

#include "app/Form1.h"
#include "panels/frmShowVersion.h"

void Form1::MnuHelpVer_Click() {
    // Loaded afresh for every opening; modal for the whole program until OK.
    frmShowVersion dialog;
    dialog.exec();
}
