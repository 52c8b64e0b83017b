// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The numbers a KeyDown handler receives are the window system's virtual-key codes, the table
// every handler written for them compares with; keys without one give 0. The shift argument
// beside it has a bit a modifier: Shift 1, Ctrl 2, Alt 4. A mouse handler's button is one of
// the same bits: left 1, right 2, middle 4.

#include "controls/PictureBox.h"
#include "controls/Surface.h"

#include <QtTest>

class TestKeyCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void virtualKeyCodes() {
        const std::pair<Qt::Key, int> table[] = {
            {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},      {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},
            {Qt::Key_Shift, 16},    {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},      {Qt::Key_Escape, 27},
            {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},  {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
            {Qt::Key_Home, 36},     {Qt::Key_Left, 37},    {Qt::Key_Up, 38},       {Qt::Key_Right, 39},
            {Qt::Key_Down, 40},     {Qt::Key_Insert, 45},  {Qt::Key_Delete, 46},   {Qt::Key_0, 48},
            {Qt::Key_9, 57},        {Qt::Key_A, 65},       {Qt::Key_Z, 90},        {Qt::Key_F1, 112},
            {Qt::Key_F16, 127},     {Qt::Key_F17, 0},      {Qt::Key_Menu, 0},      {Qt::Key_Exclam, 0}};
        for (const auto& [key, code] : table)
            QVERIFY2(ctl::keyCode(key) == code, qPrintable(QKeySequence(key).toString()));
    }

    void shiftAndButtonBits() {
        QCOMPARE(ctl::shiftCode(Qt::NoModifier), 0);
        QCOMPARE(ctl::shiftCode(Qt::ShiftModifier), 1);
        QCOMPARE(ctl::shiftCode(Qt::ControlModifier), 2);
        QCOMPARE(ctl::shiftCode(Qt::AltModifier), 4);
        QCOMPARE(ctl::shiftCode(Qt::ShiftModifier | Qt::AltModifier | Qt::KeypadModifier), 5);
        const QList<int> buttons{ctl::buttonCode(Qt::LeftButton), ctl::buttonCode(Qt::RightButton),
                                 ctl::buttonCode(Qt::MiddleButton), ctl::buttonCode(Qt::BackButton)};
        QCOMPARE(buttons, (QList<int>{1, 2, 4, 0}));
    }
};

QTEST_APPLESS_MAIN(TestKeyCodes)
#include "tst_key_codes.moc"
