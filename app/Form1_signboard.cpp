// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The signboard of the bus window: its picture, visibility, dragging and its frame.

#include "app/Form1.h"
#include "core/RuntimeError.h"
#include "platform/ChildDrag.h"
#include "platform/FileNames.h"
#include "pictures/PictureLoader.h"
#include "signboard/FrameFit.h"

#include <QCursor>

namespace {

signboard::Bars barsOf(const ctl::ControlArray<ctl::Shape>& bars) {
    return {bars(0)->rect(), bars(1)->rect(), bars(2)->rect()};
}

void placeBars(ctl::ControlArray<ctl::Shape>& bars, const signboard::Bars& places) {
    for (std::int16_t i = 0; i < 3; ++i) {
        const core::ScaleRect& r = places.at(static_cast<std::size_t>(i));
        bars(i)->Move(r.left, r.top, r.width, r.height);
    }
}

}  // namespace

void Form1::PicKanban_DblClick() {
    placeBars(shpK_Waku, signboard::fullFit(PicKanban->scaleRect(), barsOf(shpK_Waku)));
}

void Form1::PicKanban_Resize() {
    placeBars(shpK_Waku, signboard::quickFollow(PicKanban->scaleRect(), barsOf(shpK_Waku)));
}

void Form1::MnuSetKanban_Click() {
    try {
        C_Dialog1.ShowOpen(this);
        const QByteArray fileName = platform::fileSystemPath(C_Dialog1.FileName);
        if (fileName.isEmpty())
            return;
        PicKanban->setPicture(pictures::loadPicture(fileName));
        KanbanPath = fileName;
        PicKanban_DblClick();
    } catch (const core::RuntimeError&) {
        // Any failure, a cancel included, leaves the board as it was, without a word.
    }
}

void Form1::MnuKanbanReset_Click() {
    PicKanban->setPicture(core::Picture());
    const core::ScaleRect& place = signboard::kResetPlace;
    PicKanban->Move(place.left, place.top, place.width, place.height);
    PicKanban_DblClick();
}

void Form1::MnuViewKanban_Click() {
    const bool c = MnuViewKanban->Checked();
    PicKanban->setVisible(!c);
    MnuViewKanban->setChecked(!c);
}

void Form1::MnuViewWaku_Click() {
    bool c = MnuViewWaku->Checked();
    for (std::int16_t i = 0; i < 3; ++i) {
        c = MnuViewWaku->Checked();
        shpK_Waku(i)->setVisible(!c);
    }
    PicKanban_DblClick();
    MnuViewWaku->setChecked(!c);
}

void Form1::PicKanban_MouseDown(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button == ctl::mouse::kLeft) {
        platform::dragChildWindow(PicKanban);
        PicKanban->syncFromWidgetPosition();
    } else if (Button == ctl::mouse::kRight) {
        MnuTempMenu1.get().exec(QCursor::pos());
    }
}
