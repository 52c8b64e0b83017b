// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The version dialog: the program's name, icon, version, model line and credits,
// and the link label that opens the maker's homepage.
//
// Built afresh for every opening (its pictures and cursor are made once), modal for the whole
// application:
//     frmShowVersion dialog;
//     dialog.exec();

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
namespace ctl {
class LinkLabel;
}

class frmShowVersion : public QDialog {
    Q_OBJECT

public:
    explicit frmShowVersion(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    std::array<QLabel*, 2> Label1{};
    QLabel* Label2 = nullptr;
    std::array<QLabel*, 3> Label3{};
    QLabel* Label4 = nullptr;
    ctl::LinkLabel* Label5 = nullptr;
    QPushButton* Command1 = nullptr;

    void Form_Load();
    void Command1_Click();
    void Label5_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
};
