// The settings file of the bus window: read and applied at start, written at shutdown.

#include "app/Common.h"
#include "app/Form1.h"
#include "controls/RuntimeError.h"
#include "panels/frmSet.h"
#include "platform/PictureLoader.h"
#include "platform/Windowing.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsValues.h"

#include <QScopeGuard>

#include <cstdio>

namespace {

// Keeps a restored window where the user can reach it.
void placeReachably(ctl::Form& window, std::int32_t left, std::int32_t top) {
    window.Move(static_cast<float>(left), static_cast<float>(top));
    const QRect frame = window.frameRect();
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), std::max(window.frameMargins().top(), 1)));
    const QPoint place = platform::reachablePlace(frame, titleBar);
    if (place != frame.topLeft())
        window.Move(static_cast<float>(place.x()) * ctl::kTwipsPerPixel, static_cast<float>(place.y()) * ctl::kTwipsPerPixel);
}

// A stored picture that cannot be loaded (a film moved away, a disk not mounted) costs only that
// picture: its path stays, so the picture comes back with the file, and the rest of the
// arrangement is applied as usual.
ctl::Picture storedPicture(const QString& path) {
    try {
        return platform::loadPicture(path);
    } catch (const ctl::RuntimeError&) {
        return {};
    }
}

}  // namespace

void Form1::LoadIni() {
    try {
        const QByteArray file = settings::readSettingsFile(settings::settingsFilePath());
        settings::SettingsRead r;
        {
            // The program-wide variables take what was read even when a later field is broken:
            // the film and signboard paths read before it are kept and written again at shutdown.
            const auto takeWhatWasRead = qScopeGuard([&r] {
                Common::MakuPath = {r.makuPath0, r.makuPath1};
                Common::MakuSpeed = {r.makuSpeed0, r.makuSpeed1};
                Common::KanbanPath = r.kanbanPath;
                Common::NakaMode = r.nakaMode;
            });
            settings::parseRecordInto(file, r);
        }

        placeReachably(*this, r.formLeft, r.formTop);
        placeReachably(panel(), r.panelLeft, r.panelTop);

        PicKanban->setVisible(r.viewKanban);
        MnuViewKanban->setChecked(r.viewKanban);
        for (std::int16_t i = 0; i < 3; ++i)
            shpK_Waku(i)->setVisible(r.viewWaku);
        MnuViewWaku->setChecked(r.viewWaku);

        PicKanban->setLeft(static_cast<float>(r.kanbanLeft));
        PicKanban->setTop(static_cast<float>(r.kanbanTop));
        PicKanban->setPicture(storedPicture(Common::KanbanPath));
        PicKanban_DblClick();

        panel().HScroll1->setValueChecked(settings::toScrollValue(r.hScroll1));
        panel().HScroll2->setValueChecked(settings::toScrollValue(r.hScroll2));
        for (std::int16_t i = 0; i < 2; ++i)
            panel().scllMakuSpeed(i)->setValueChecked(
                settings::toScrollValue(Common::MakuSpeed.at(static_cast<std::size_t>(i))));

        for (std::int16_t i = 0; i < 2; ++i)
            imgMaku1(i)->setPicture(storedPicture(Common::MakuPath.at(static_cast<std::size_t>(i))));
        panel().selectOption1(Common::NakaMode);
    } catch (const ctl::RuntimeError&) {
        // What was applied stays applied; the rest takes the fallback values, without a word.
        applySettingsFallback();
    }
}

void Form1::applySettingsFallback() {
    Move(settings::fallback::kFormLeft, settings::fallback::kFormTop);
    panel().Move(settings::fallback::kPanelLeft, Height());
    MnuKanbanReset_Click();
    panel().HScroll1->setValueChecked(settings::fallback::kHScroll1);
    panel().HScroll2->setValueChecked(settings::fallback::kHScroll2);
    for (std::int16_t i = 0; i < 2; ++i)
        panel().scllMakuSpeed(i)->setValueChecked(settings::fallback::kMakuSpeed);
    panel().selectOption1(settings::fallback::kNakaMode);
}

void Form1::SaveIni() {
    frmSet& p = panel();
    settings::SettingsToWrite w;
    w.formLeft = Left();
    w.formTop = Top();
    w.panelLeft = p.Left();
    w.panelTop = p.Top();
    w.makuPath0 = Common::MakuPath[0];
    w.makuPath1 = Common::MakuPath[1];
    w.makuSpeed0 = p.scllMakuSpeed(0)->Value();
    w.makuSpeed1 = p.scllMakuSpeed(1)->Value();
    w.kanbanPath = Common::KanbanPath;
    w.kanbanLeft = PicKanban->Left();
    w.kanbanTop = PicKanban->Top();
    w.viewKanban = MnuViewKanban->Checked();
    w.viewWaku = MnuViewWaku->Checked();
    w.hScroll1 = p.HScroll1->Value();
    w.hScroll2 = p.HScroll2->Value();
    w.nakaMode = settings::nakaModeOf(p.Option1(0)->isChecked(), p.Option1(1)->isChecked());
    const QByteArray path = settings::settingsFilePath();
    try {
        settings::makeFolderFor(path);
        settings::writeFileAtomically(path, settings::formatRecord(w));
    } catch (const ctl::RuntimeError& e) {
        // The program is ending; the previous file is still whole. Say why once.
        std::fprintf(stderr, "tarvola: the settings were not saved: %s\n", qUtf8Printable(e.description()));
    }
}
