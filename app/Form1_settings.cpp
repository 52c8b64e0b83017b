// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The settings file of the bus window: read and applied at start, written at shutdown.

#include "app/Form1.h"
#include "app/WindowPlaces.h"
#include "core/PathParts.h"
#include "core/RuntimeError.h"
#include "panels/frmSet.h"
#include "pictures/PictureLoader.h"
#include "settings/OtherUsers.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsValues.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QScopeGuard>

#include <cstdio>
#include <utility>

namespace {

// Puts the restored windows at their stored places, then where the user can reach them.
void placeReachably(ctl::Form& bus, float busLeft, float busTop, ctl::Form& panel, float panelLeft, float panelTop) {
    bus.Move(busLeft, busTop);
    panel.Move(panelLeft, panelTop);
    const auto stored = [](const ctl::Form& window) {
        const QRect frame = window.frameRect();
        return placement::Window{
            frame, QRect(frame.topLeft(), QSize(frame.width(), std::max(window.frameMargins().top(), 1)))};
    };
    QList<placement::Screen> screens;  // the primary first
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append({screen->geometry(), screen->availableGeometry()});
    const placement::Corners corners = placement::reachableCorners(stored(bus), stored(panel), screens);
    const auto moveTo = [](ctl::Form& window, QPoint corner) {
        if (corner != window.frameRect().topLeft())
            window.Move(static_cast<float>(corner.x()) * core::kTwipsPerPixel,
                        static_cast<float>(corner.y()) * core::kTwipsPerPixel);
    };
    moveTo(bus, corners.bus);
    moveTo(panel, corners.panel);
}

// A stored picture that cannot be loaded (a film moved away, a disk not mounted) costs only that
// picture: its path stays, so the picture comes back with the file, and the rest of the
// arrangement is applied as usual.
core::Picture storedPicture(const QByteArray& path) {
    try {
        return pictures::loadPicture(path);
    } catch (const core::RuntimeError&) {
        return {};
    }
}

}  // namespace

void Form1::LoadIni() {
    // The path is fixed here, at start, for the whole run: the program file may be replaced
    // while it runs (an upgrade, a new build), and its name then reads "<name> (deleted)".
    settingsPath_ = settings::settingsFilePath();
    // Such a folder's links and files are only trusted when they are this user's own; the user
    // should know why an arrangement may not be kept there.
    if (const QByteArray folder = core::folderOf(settingsPath_);
        !settingsPath_.isEmpty() && settings::othersMayWrite(folder))
        std::fprintf(stderr, "tarvola: other users may write to the settings folder %s\n",
                     qUtf8Printable(QFile::decodeName(folder)));
    try {
        QByteArray file;
        try {
            file = settings::readSettingsFile(settingsPath_);
        } catch (const core::RuntimeError& e) {
            // A file that is there but could not be read (another user's, mode 600) is not this
            // run's to replace: it is left alone at the close, like a read-only one.
            if (e.number() != core::err::kFileNotFound && settings::isRegularFile(settingsPath_))
                settingsUnread_ = e.description();
            throw;
        }
        settings::Record r;
        {
            // The paths, speeds and mode take what was read even when a later field is broken:
            // the film and signboard paths read before it are kept and written again at shutdown.
            const auto takeWhatWasRead = qScopeGuard([this, &r] {
                MakuPath = {r.makuPath0, r.makuPath1};
                MakuSpeed = {r.makuSpeed0, r.makuSpeed1};
                KanbanPath = r.kanbanPath;
                NakaMode = r.nakaMode;
            });
            settings::parseRecordInto(file, r);
        }

        placeReachably(*this, r.formLeft, r.formTop, panel(), r.panelLeft, r.panelTop);

        PicKanban->setVisible(r.viewKanban);
        MnuViewKanban->setChecked(r.viewKanban);
        for (std::int16_t i = 0; i < 3; ++i)
            shpK_Waku(i)->setVisible(r.viewWaku);
        MnuViewWaku->setChecked(r.viewWaku);

        PicKanban->setLeft(r.kanbanLeft);
        PicKanban->setTop(r.kanbanTop);
        PicKanban->setPicture(storedPicture(KanbanPath));
        PicKanban_DblClick();

        // The speeds, the films, then the mode, in the record's order: a mode the panel refuses
        // leaves the films shown.
        panels::PanelValues stored = panel().values();
        stored.frontDoorSpeed = settings::toScrollValue(r.hScroll1);
        stored.middleDoorSpeed = settings::toScrollValue(r.hScroll2);
        stored.rollSpeeds = {settings::toScrollValue(MakuSpeed[0]), settings::toScrollValue(MakuSpeed[1])};
        panel().setValues(stored);
        for (std::int16_t i = 0; i < 2; ++i)
            imgMaku1(i)->setPicture(storedPicture(MakuPath.at(static_cast<std::size_t>(i))));
        stored.nakaMode = NakaMode;
        panel().setValues(stored);
    } catch (const core::RuntimeError&) {
        // What was applied stays applied; the rest takes the fallback values, without a word.
        applySettingsFallback();
    }
}

void Form1::applySettingsFallback() {
    const settings::Record f = settings::fallbackRecord(Height());
    Move(f.formLeft, f.formTop);
    panel().Move(f.panelLeft, f.panelTop);
    MnuKanbanReset_Click();
    panel().setValues({settings::toScrollValue(f.hScroll1),
                       settings::toScrollValue(f.hScroll2),
                       {settings::toScrollValue(f.makuSpeed0), settings::toScrollValue(f.makuSpeed1)},
                       f.nakaMode});
}

void Form1::SaveIni() { writeSettings({Left(), Top(), panel().Left(), panel().Top()}); }

void Form1::saveForSession() {
    if (!ended_)
        SaveIni();
}

void Form1::saveWithoutDisplay() {
    if (!std::exchange(ended_, true))
        writeSettings(lastPlaces_);
}

void Form1::writeSettings(const Places& places) {
    const panels::PanelValues p = panel().values();
    settings::Record w;
    w.formLeft = places.formLeft;
    w.formTop = places.formTop;
    w.panelLeft = places.panelLeft;
    w.panelTop = places.panelTop;
    w.makuPath0 = MakuPath[0];
    w.makuPath1 = MakuPath[1];
    w.makuSpeed0 = p.rollSpeeds[0];
    w.makuSpeed1 = p.rollSpeeds[1];
    w.kanbanPath = KanbanPath;
    w.kanbanLeft = PicKanban->Left();
    w.kanbanTop = PicKanban->Top();
    w.viewKanban = MnuViewKanban->Checked();
    w.viewWaku = MnuViewWaku->Checked();
    w.hScroll1 = p.frontDoorSpeed;
    w.hScroll2 = p.middleDoorSpeed;
    w.nakaMode = p.nakaMode;
    if (settingsPath_.isEmpty())  // LoadIni has not run
        settingsPath_ = settings::settingsFilePath();
    try {
        if (settingsPath_.isEmpty())
            throw core::RuntimeError(
                core::err::kPathFileAccess,
                QStringLiteral("設定ファイルの置き場所がありません（HOME も利用者のホームフォルダーもありません）。"));
        if (!settingsUnread_.isEmpty())
            throw core::RuntimeError(
                core::err::kPathFileAccess,
                QStringLiteral("起動時に読み込めなかった設定ファイルは書き換えません。") + settingsUnread_);
        // A session manager's request and the end that follows it save the same arrangement.
        const QByteArray record = settings::formatRecord(w);
        if (record == lastWritten_)
            return;
        settings::makeFolderFor(settingsPath_);
        settings::writeFileAtomically(settingsPath_, record);
        lastWritten_ = record;
    } catch (const core::RuntimeError& e) {
        // The program is ending; the previous file is still whole. Say why once.
        std::fprintf(stderr, "tarvola: the settings were not saved: %s\n", qUtf8Printable(e.description()));
    }
}
