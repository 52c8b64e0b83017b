// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once

#include <QString>

namespace platform {

// The name every window asks its fonts by.
inline QString programFontName() { return QStringLiteral("ＭＳ Ｐゴシック"); }

// The program asks for fonts by their Windows names; this maps them to the
// metric-compatible fonts Debian ships (fonts-ipafont-gothic).
void installFontSubstitutions();

// The substitutions, and the program's own font for every window, 9 point.
void installProgramFont();

}  // namespace platform
