// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "panels/frmSet.h"

#include "assets/AssetPaths.h"
#include "controls/Look.h"
#include "controls/Placement.h"
#include "platform/Fonts.h"
#include "platform/Windowing.h"
#include "settings/SettingsValues.h"

#include <QCloseEvent>

frmSet::frmSet() : ctl::Form(ctl::ScaleMode::Twips) {
    // A window without a close box: the panel is the only way to the doors, so it cannot be lost.
    // To the window manager it is a normal window kept off the task bar, not the toolkit's tool
    // window: some window managers (KWin by default) hide utility windows while their program is
    // inactive, and the panel stays in front of every window.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("設定パネル"));
    setWindowIcon(ctl::noIcon());
    setFixedSize(ctl::twipsToPixelSize(3975, 2160));
    platform::keepOffTaskbar(this);
    setBackColor(ctl::bgr(0x404040));

    FrameA = new QFrame(this);
    ctl::placeTwips(FrameA, 30, 75, 3855, 2055);
    ctl::setColours(FrameA, ctl::bgr(0x000000));

    Label1 = new QLabel(QStringLiteral("幕の速度"), FrameA);
    ctl::placeTwips(Label1, 2295, 165, 1440, 1365);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ctl::setColours(Label1, ctl::bgr(0xE0E0E0));

    Check1 = new ctl::GraphicalCheckBox(FrameA, core::Picture::fromResource(assets::kSwitchMaePicture));
    ctl::placeTwips(Check1, 75, 165, 735, 510);
    HScroll1 = new ctl::HScrollBar(FrameA, settings::kDoorSpeedMin, settings::kDoorSpeedMax, 6000);
    ctl::placeTwips(HScroll1, 855, 195, 1260, 240);
    lblMaeSpeed = makeSpeedLabel(885, 450, 1215, 240);

    Check2 = new ctl::GraphicalCheckBox(FrameA, core::Picture::fromResource(assets::kSwitchNakaPicture));
    ctl::placeTwips(Check2, 60, 840, 735, 525);
    HScroll2 = new ctl::HScrollBar(FrameA, settings::kDoorSpeedMin, settings::kDoorSpeedMax, 10000);
    ctl::placeTwips(HScroll2, 840, 840, 1230, 240);
    lblNakaSpeed = makeSpeedLabel(870, 1110, 1200, 240);

    Frame2 = new ctl::Frame(QStringLiteral("中扉動作"), FrameA);
    ctl::placeTwips(Frame2, 75, 1440, 2085, 480);
    ctl::setColours(Frame2, ctl::bgr(0xE0E0E0));
    const struct {
        const char* caption;
        float l, t, w, h;
    } options[] = {{"両方", 60, 180, 735, 270}, {"左", 795, 180, 570, 270}, {"右", 1470, 165, 555, 270}};
    for (std::int16_t i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(options[i].caption), Frame2);
        ctl::placeTwips(option, options[i].l, options[i].t, options[i].w, options[i].h);
        ctl::setColours(option, ctl::bgr(0xE0E0E0));
        Option1.add(i, option);
    }
    Option1(0)->setChecked(true);

    QFont markFont(platform::programFontName());
    markFont.setPointSizeF(14.25);
    markFont.setBold(true);
    const struct {
        const char* mark;
        float labelLeft, labelTop, barLeft, barTop, barWidth, valueTop;
    } rows[] = {{"①", 2340, 435, 2655, 420, 990, 690}, {"②", 2325, 1020, 2625, 990, 1050, 1245}};
    for (std::int16_t i = 0; i < 2; ++i) {
        auto* mark = new QLabel(QString::fromUtf8(rows[i].mark), FrameA);
        ctl::placeTwips(mark, rows[i].labelLeft, rows[i].labelTop, 315, 375);
        mark->setFont(markFont);
        mark->setAttribute(Qt::WA_TranslucentBackground);
        Label2.add(i, mark);
        auto* bar = new ctl::HScrollBar(FrameA, settings::kRollSpeedMin, settings::kRollSpeedMax, 0);
        ctl::placeTwips(bar, rows[i].barLeft, rows[i].barTop, rows[i].barWidth, 225);
        scllMakuSpeed.add(i, bar);
        lblMakuSpeed.add(i, makeSpeedLabel(2640, rows[i].valueTop, 1035, 240));
    }
    // Sign 1 is never on screen; its roll speed comes only from the settings file.
    scllMakuSpeed(1)->setEnabled(false);
    lblMakuSpeed(1)->setEnabled(false);

    Command3 = new QPushButton(QStringLiteral("バージョン情報"), FrameA);
    ctl::placeTwips(Command3, 2295, 1575, 1515, 360);

    // The switches show their word as a picture only; a screen reader hears it, and each bar
    // is named after what it sets.
    Check1->setAccessibleName(QStringLiteral("前扉"));
    Check2->setAccessibleName(QStringLiteral("中扉"));
    HScroll1->setAccessibleName(QStringLiteral("前扉の速度"));
    HScroll2->setAccessibleName(QStringLiteral("中扉の速度"));
    for (std::int16_t i = 0; i < 2; ++i)
        scllMakuSpeed(i)->setAccessibleName(Label1->text() + Label2(i)->text());

    connect(Check1, &ctl::GraphicalCheckBox::Click, this, &frmSet::Check1_Click);
    connect(Check2, &ctl::GraphicalCheckBox::Click, this, &frmSet::Check2_Click);
    connect(HScroll1, &ctl::HScrollBar::Change, this, &frmSet::HScroll1_Change);
    connect(HScroll2, &ctl::HScrollBar::Change, this, &frmSet::HScroll2_Change);
    for (std::int16_t i = 0; i < 2; ++i)
        connect(scllMakuSpeed(i), &ctl::HScrollBar::Change, this, [this, i] { scllMakuSpeed_Change(i); });
    connect(Command3, &QPushButton::clicked, this, &frmSet::Command3_Click);
}

QLabel* frmSet::makeSpeedLabel(float left, float top, float width, float height) {
    auto* label = new QLabel(QStringLiteral("0"), FrameA);
    ctl::placeTwips(label, left, top, width, height);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameShape(QFrame::Box);
    ctl::setColours(label, ctl::bgr(0x000000), ctl::bgr(0x80C0FF));
    QPalette p = label->palette();
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    label->setPalette(p);
    return label;
}

void frmSet::Check1_Click() { Q_EMIT check1Clicked(); }

void frmSet::Check2_Click() {
    // The mode cannot change while the door is open, so it closes the way it opened.
    Frame2->setEnabled(Check2->Value() != 1);
    Q_EMIT check2Clicked();
}

void frmSet::HScroll1_Change() { Q_EMIT hScroll1Changed(); }
void frmSet::HScroll2_Change() { Q_EMIT hScroll2Changed(); }

void frmSet::scllMakuSpeed_Change(std::int16_t Index) {
    lblMakuSpeed(Index)->setText(QString::number(scllMakuSpeed(Index)->Value()));
}

void frmSet::Command3_Click() { Q_EMIT versionRequested(); }

void frmSet::selectOption1(std::int16_t index) {
    Option1(index)->setChecked(true);  // an index outside 0..2 is refused by the array
}

void frmSet::closeEvent(QCloseEvent* event) { event->ignore(); }

#include "moc_frmSet.cpp"
