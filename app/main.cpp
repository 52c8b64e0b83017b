// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "app/Startup.h"
int main(int argc, char** argv) { return runTarvola(argc, argv); }
