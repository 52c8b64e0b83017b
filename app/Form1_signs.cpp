// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The destination signs of the bus window: rolling the film, focus, choosing the film.

#include "app/Form1.h"
#include "core/RuntimeError.h"
#include "panels/frmSet.h"
#include "platform/FileNames.h"
#include "platform/MessageBox.h"
#include "pictures/PictureLoader.h"
#include "signs/Rolling.h"

void Form1::picWaku1_KeyDown(std::int16_t Index, int KeyCode, int /*Shift*/) {
    // The step is read at every key press: a change in the panel takes effect at once.
    const std::int16_t step = panel().values().rollSpeeds.at(static_cast<std::size_t>(Index));
    const auto position = signs::rolledPosition(MakuPos.at(Index), KeyCode, step);
    if (!position)
        return;
    MakuPos.at(Index) = *position;
    imgMaku1(Index)->setTop(static_cast<float>(MakuPos.at(Index)));
}

void Form1::picWaku1_Click(std::int16_t Index) { picWaku1(Index)->setFocus(Qt::MouseFocusReason); }

void Form1::imgMaku1_Click(std::int16_t Index) { picWaku1(Index)->setFocus(Qt::MouseFocusReason); }

void Form1::picWaku1_DblClick(std::int16_t Index) { Load方向幕(Index); }

void Form1::imgMaku1_DblClick(std::int16_t Index) { picWaku1_DblClick(Index); }

void Form1::Load方向幕(std::int16_t Index) {
    try {
        C_Dialog1.ShowOpen(this);
        // The path is kept before the picture is tried, so a failing name is still remembered.
        MakuPath.at(Index) = platform::fileSystemPath(C_Dialog1.FileName);
        imgMaku1(Index)->setPicture(pictures::loadPicture(MakuPath.at(Index)));
        MakuPos.at(Index) = 0;
        imgMaku1(Index)->setTop(static_cast<float>(MakuPos.at(Index)));
    } catch (const core::RuntimeError& e) {
        if (e.number() == core::err::kDialogCancel)
            return;
        platform::messageBox(this, {e.description(), {}, platform::MessageIcon::None});
    }
}
