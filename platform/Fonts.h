// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once

#include <QString>

namespace platform {

// The family every window asks its fonts by: the proportional IPA Gothic Debian ships
// (fonts-ipafont-gothic), metric-compatible with the ＭＳ Ｐゴシック the windows were drawn
// with. Asked by a family the system does not have, such as that Windows name, the toolkit
// would first sort every installed font into a list of fallbacks, a fifth of the whole
// start's work; asked by one it has, it sorts only when a glyph is missing.
inline QString programFontName() { return QStringLiteral("IPAPGothic"); }

// The program's own font for every window, 9 point.
void installProgramFont();

}  // namespace platform
