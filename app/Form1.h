// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The bus window: its whole client area is the side view of the bus, with the
// destination signs, the doors, the signboard and its frame on it.
// The handlers of each subsystem are in a file of their own here; what they compute
// comes from that subsystem's folder.

#include "controls/ControlArray.h"
#include "controls/FileListBox.h"
#include "controls/Form.h"
#include "controls/LoadOnUse.h"
#include "controls/MenuItem.h"
#include "controls/PictureBox.h"
#include "controls/WindowlessControl.h"
#include "doors/DoorSound.h"
#include "platform/CommonDialog.h"

#include <QByteArray>
#include <QMenu>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class frmSet;

class Form1 : public ctl::Form {
    Q_OBJECT
public:
    // What a door movement does after each step and plays before the middle door moves. Empty
    // members become the program's own: the counted wait, from the step's start, for the count read
    // from the panel (so the door moves at the set speed however long the step's repaint took),
    // and the door sound. A test or a benchmark gives its own to look at each step on screen.
    struct DoorHooks {
        std::function<void(std::chrono::steady_clock::time_point stepStart, int count)> waitAfterStep;
        std::function<void(std::int16_t id)> playWave;
    };

    explicit Form1(DoorHooks hooks = {});
    ~Form1() override;

    // Start-up and shutdown.
    void Form_Load();
    void Form_Unload(int& Cancel);

    // Public procedures the settings panel calls, with its switch's new value (1 opens).
    void Check1_Click(std::int16_t value);
    void Check2_Click(std::int16_t value);
    void MnuHelpVer_Click();

    // The settings file.
    void LoadIni();
    void SaveIni();

    // The run ends for the user in more ways than the close (the session ends, a signal): each
    // does what the close does, and the settings are written once per run, whichever comes first.
    void endRun();
    // When the display is gone: saves what the program holds, the windows' places as they
    // were last moved, touching nothing of the window system. Nothing if the run has saved.
    void saveWithoutDisplay();
    // The session manager asks for the data: the arrangement is saved as at the close, and the
    // run goes on.
    void saveForSession();

    // The settings panel, loaded on use.
    frmSet& panel();

    // Film positions of the two signs, in each sign window's own scale units.
    std::array<std::int32_t, 2> MakuPos{};
    // Picture paths as the file system spells them (a folder whose name is not valid text is
    // still the folder): the film of each sign, and the signboard's picture last chosen.
    std::array<QByteArray, 2> MakuPath;
    QByteArray KanbanPath;

    // Controls, in the order of the layout tables.
    ctl::ControlArray<ctl::PictureBox> picWaku1;
    ctl::ControlArray<ctl::Image> imgMaku1;
    ctl::PictureBox* picSlideBase1 = nullptr;
    ctl::Image* Image2 = nullptr;
    ctl::PictureBox* PicKanban = nullptr;
    ctl::FileListBox* File1 = nullptr;
    platform::CommonDialog C_Dialog1;
    ctl::ControlArray<ctl::Image> imgNakaorido;
    ctl::ControlArray<ctl::Image> Image1;
    ctl::ControlArray<ctl::Shape> shpK_Waku;

    // The right-click menu is built at its first use: a popup menu costs the start more
    // than any control the bus shows. Its items live from the start, keeping their marks.
    ctl::LoadOnUse<QMenu> MnuTempMenu1;
    ctl::MenuItem* MnuViewKanban = nullptr;
    ctl::MenuItem* MnuViewWaku = nullptr;
    ctl::MenuItem* MnuSetKanban = nullptr;
    QAction* MnuBdr1 = nullptr;
    ctl::MenuItem* MnuKanbanReset = nullptr;

    // Main window.
    void Form_MouseDown(int Button, int Shift, float X, float Y);
    void Image1_Click(std::int16_t Index);

    // Destination signs (Form1_signs.cpp).
    void picWaku1_KeyDown(std::int16_t Index, int KeyCode, int Shift);
    void picWaku1_Click(std::int16_t Index);
    void imgMaku1_Click(std::int16_t Index);
    void picWaku1_DblClick(std::int16_t Index);
    void imgMaku1_DblClick(std::int16_t Index);
    void Load方向幕(std::int16_t Index);

    // Signboard and its frame (Form1_signboard.cpp).
    void PicKanban_DblClick();
    void PicKanban_Resize();
    void PicKanban_MouseDown(int Button, int Shift, float X, float Y);
    void MnuSetKanban_Click();
    void MnuKanbanReset_Click();
    void MnuViewKanban_Click();
    void MnuViewWaku_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<frmSet> loadPanel();
    void buildLayout();
    void createMenuItems();
    std::unique_ptr<QMenu> buildMenu();
    void connectHandlers();
    void applySettingsFallback();
    // Where the two windows stand, in twips, as the settings record keeps them.
    struct Places {
        float formLeft = 0, formTop = 0, panelLeft = 0, panelTop = 0;
    };
    void writeSettings(const Places& places);
    void giveFirstFocus();

    DoorHooks doorHooks_;
    doors::DoorSound doorSound_;
    ctl::LoadOnUse<frmSet> frmSet_;
    // The roll speeds and the middle-door mode as read from the settings file, before the
    // panel takes them.
    std::array<std::int32_t, 2> MakuSpeed{};
    std::int16_t NakaMode = 0;
    QByteArray settingsPath_;  // fixed by LoadIni, at start
    // Why the start could not read a file that is there: it is left alone.
    QString settingsUnread_;
    // The record this run last wrote, not written again unchanged.
    QByteArray lastWritten_;
    Places lastPlaces_;                                // as the windows were last moved
    bool ended_ = false;                               // the settings of this run are written
    std::chrono::steady_clock::time_point stepStart_;  // when the current door step began
    bool focusGiven_ = false;
};
