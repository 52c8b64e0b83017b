// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The settings panel: the door switches, the speeds, the middle-door mode and the version
// button. Its controls are the one store of the speeds and the mode; the rest of the program
// reads and sets them as one PanelValues. What a switch or the button does is the bus window's
// (its Check1_Click and Check2_Click in app/Form1_doors.cpp): the panel says so through its
// signals. The panel keeps its speed labels itself.
// Each control carries its name as its object name, so a test finds it as a user would.

#include "controls/ControlArray.h"
#include "controls/Form.h"
#include "panels/PanelValues.h"

#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
namespace ctl {
class Frame;
class GraphicalCheckBox;
class HScrollBar;
}  // namespace ctl

class frmSet : public ctl::Form {
    Q_OBJECT
public:
    frmSet();

    panels::PanelValues values() const;
    // Sets the controls as the settings loader does, in the order of the record's fields: the
    // door speeds, the roll speeds, then the mode. A value a control refuses throws, and what
    // was set before it stays set.
    void setValues(const panels::PanelValues& values);

Q_SIGNALS:
    void frontDoorSwitched(std::int16_t value);   // Check1's Value after the click: 1 opens
    void middleDoorSwitched(std::int16_t value);  // Check2's
    void versionRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildDoorRows();
    void buildModeGroup();
    void buildRollRows();
    void nameForScreenReaders();
    void connectHandlers();
    QLabel* makeSpeedLabel(float left, float top, float width, float height);

    void Check1_Click();
    void Check2_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    void scllMakuSpeed_Change(std::int16_t Index);
    void Command3_Click();

    QFrame* FrameA = nullptr;
    ctl::GraphicalCheckBox* Check1 = nullptr;
    ctl::HScrollBar* HScroll1 = nullptr;
    QLabel* lblMaeSpeed = nullptr;
    ctl::GraphicalCheckBox* Check2 = nullptr;
    ctl::HScrollBar* HScroll2 = nullptr;
    QLabel* lblNakaSpeed = nullptr;
    ctl::Frame* Frame2 = nullptr;
    ctl::ControlArray<QRadioButton> Option1;
    QLabel* Label1 = nullptr;
    ctl::ControlArray<QLabel> Label2;
    ctl::ControlArray<ctl::HScrollBar> scllMakuSpeed;
    ctl::ControlArray<QLabel> lblMakuSpeed;
    QPushButton* Command3 = nullptr;
};
