// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/Fonts.h"

#include <QApplication>
#include <QFont>

namespace platform {

void installProgramFont() {
    QFont font(programFontName());
    font.setPointSize(9);
    // Glyphs fitted to the pixel grid by the font's own instructions, crisp as on the system
    // these windows were drawn for; the light auto-hinter would also first analyse the whole
    // of a CJK font, thousands of glyphs, before drawing the first character.
    font.setHintingPreference(QFont::PreferFullHinting);
    QApplication::setFont(font);
}

}  // namespace platform
