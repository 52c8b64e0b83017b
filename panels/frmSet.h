// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The settings panel: the door switches, the speeds, the middle-door mode and the
// version button. It holds no logic of its own beyond its speed labels; its
// controls are the one store of the speeds and the mode, which the bus window reads.
// What its switches, door-speed bars and button do is the bus window's: it says so
// through its signals, which the bus window answers with its procedures of the same names.

#include "controls/GraphicalCheckBox.h"
#include "controls/ControlArray.h"
#include "controls/Form.h"
#include "controls/Frame.h"
#include "controls/HScrollBar.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cstdint>

class frmSet : public ctl::Form {
    Q_OBJECT
public:
    frmSet();

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

    void Check1_Click();
    void Check2_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    void scllMakuSpeed_Change(std::int16_t Index);
    void Command3_Click();

    // Selects Option1(index); the other two are cleared. Refuses an index outside 0..2.
    void selectOption1(std::int16_t index);

Q_SIGNALS:
    void check1Clicked();
    void check2Clicked();
    void hScroll1Changed();
    void hScroll2Changed();
    void versionRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* makeSpeedLabel(float left, float top, float width, float height);
};
