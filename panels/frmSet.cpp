// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "panels/frmSet.h"

#include "assets/AssetPaths.h"
#include "controls/Frame.h"
#include "controls/GraphicalCheckBox.h"
#include "controls/HScrollBar.h"
#include "controls/Look.h"
#include "controls/Placement.h"
#include "platform/Fonts.h"
#include "platform/Windowing.h"
#include "settings/SettingsValues.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <class Control>
Control* named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

QString elementName(const char* array, std::int16_t index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

}  // namespace

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

    FrameA = named(new QFrame(this), QStringLiteral("FrameA"));
    ctl::placeTwips(FrameA, 30, 75, 3855, 2055);
    ctl::setColours(FrameA, ctl::bgr(0x000000));

    Label1 = named(new QLabel(QStringLiteral("幕の速度"), FrameA), QStringLiteral("Label1"));
    ctl::placeTwips(Label1, 2295, 165, 1440, 1365);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ctl::setColours(Label1, ctl::bgr(0xE0E0E0));

    buildDoorRows();
    buildModeGroup();
    buildRollRows();
    Command3 = named(new QPushButton(QStringLiteral("バージョン情報"), FrameA), QStringLiteral("Command3"));
    ctl::placeTwips(Command3, 2295, 1575, 1515, 360);
    nameForScreenReaders();
    connectHandlers();
}

void frmSet::buildDoorRows() {
    Check1 = named(new ctl::GraphicalCheckBox(FrameA, core::Picture::fromResource(assets::kSwitchMaePicture)),
                   QStringLiteral("Check1"));
    ctl::placeTwips(Check1, 75, 165, 735, 510);
    HScroll1 = named(new ctl::HScrollBar(FrameA, settings::kDoorSpeedMin, settings::kDoorSpeedMax, 6000),
                     QStringLiteral("HScroll1"));
    ctl::placeTwips(HScroll1, 855, 195, 1260, 240);
    lblMaeSpeed = named(makeSpeedLabel(885, 450, 1215, 240), QStringLiteral("lblMaeSpeed"));

    Check2 = named(new ctl::GraphicalCheckBox(FrameA, core::Picture::fromResource(assets::kSwitchNakaPicture)),
                   QStringLiteral("Check2"));
    ctl::placeTwips(Check2, 60, 840, 735, 525);
    HScroll2 = named(new ctl::HScrollBar(FrameA, settings::kDoorSpeedMin, settings::kDoorSpeedMax, 10000),
                     QStringLiteral("HScroll2"));
    ctl::placeTwips(HScroll2, 840, 840, 1230, 240);
    lblNakaSpeed = named(makeSpeedLabel(870, 1110, 1200, 240), QStringLiteral("lblNakaSpeed"));
}

void frmSet::buildModeGroup() {
    Frame2 = named(new ctl::Frame(QStringLiteral("中扉動作"), FrameA), QStringLiteral("Frame2"));
    ctl::placeTwips(Frame2, 75, 1440, 2085, 480);
    ctl::setColours(Frame2, ctl::bgr(0xE0E0E0));
    const struct {
        const char* caption;
        float l, t, w, h;
    } options[] = {{"両方", 60, 180, 735, 270}, {"左", 795, 180, 570, 270}, {"右", 1470, 165, 555, 270}};
    for (std::int16_t i = 0; i < 3; ++i) {
        auto* option =
            named(new QRadioButton(QString::fromUtf8(options[i].caption), Frame2), elementName("Option1", i));
        ctl::placeTwips(option, options[i].l, options[i].t, options[i].w, options[i].h);
        ctl::setColours(option, ctl::bgr(0xE0E0E0));
        Option1.add(i, option);
    }
    Option1(0)->setChecked(true);
}

void frmSet::buildRollRows() {
    QFont markFont(platform::programFontName());
    markFont.setPointSizeF(14.25);
    markFont.setBold(true);
    const struct {
        const char* mark;
        float labelLeft, labelTop, barLeft, barTop, barWidth, valueTop;
    } rows[] = {{"①", 2340, 435, 2655, 420, 990, 690}, {"②", 2325, 1020, 2625, 990, 1050, 1245}};
    for (std::int16_t i = 0; i < 2; ++i) {
        auto* mark = named(new QLabel(QString::fromUtf8(rows[i].mark), FrameA), elementName("Label2", i));
        ctl::placeTwips(mark, rows[i].labelLeft, rows[i].labelTop, 315, 375);
        mark->setFont(markFont);
        mark->setAttribute(Qt::WA_TranslucentBackground);
        Label2.add(i, mark);
        auto* bar = named(new ctl::HScrollBar(FrameA, settings::kRollSpeedMin, settings::kRollSpeedMax, 0),
                          elementName("scllMakuSpeed", i));
        ctl::placeTwips(bar, rows[i].barLeft, rows[i].barTop, rows[i].barWidth, 225);
        scllMakuSpeed.add(i, bar);
        lblMakuSpeed.add(i, named(makeSpeedLabel(2640, rows[i].valueTop, 1035, 240), elementName("lblMakuSpeed", i)));
    }
    // Sign 1 is never on screen; its roll speed comes only from the settings file.
    scllMakuSpeed(1)->setEnabled(false);
    lblMakuSpeed(1)->setEnabled(false);
}

void frmSet::nameForScreenReaders() {
    // The switches show their word as a picture only; a screen reader hears it, and each bar
    // is named after what it sets.
    Check1->setAccessibleName(QStringLiteral("前扉"));
    Check2->setAccessibleName(QStringLiteral("中扉"));
    HScroll1->setAccessibleName(QStringLiteral("前扉の速度"));
    HScroll2->setAccessibleName(QStringLiteral("中扉の速度"));
    for (std::int16_t i = 0; i < 2; ++i)
        scllMakuSpeed(i)->setAccessibleName(Label1->text() + Label2(i)->text());
}

void frmSet::connectHandlers() {
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

panels::PanelValues frmSet::values() const {
    return {HScroll1->Value(),
            HScroll2->Value(),
            {scllMakuSpeed(0)->Value(), scllMakuSpeed(1)->Value()},
            settings::nakaModeOf(Option1(0)->isChecked(), Option1(1)->isChecked())};
}

void frmSet::setValues(const panels::PanelValues& v) {
    HScroll1->setValueChecked(v.frontDoorSpeed);
    HScroll2->setValueChecked(v.middleDoorSpeed);
    for (std::int16_t i = 0; i < 2; ++i)
        scllMakuSpeed(i)->setValueChecked(v.rollSpeeds.at(static_cast<std::size_t>(i)));
    Option1(v.nakaMode)->setChecked(true);  // a mode outside 0..2 is refused by the array
}

void frmSet::Check1_Click() { Q_EMIT frontDoorSwitched(Check1->Value()); }

void frmSet::Check2_Click() {
    // The mode cannot change while the door is open, so it closes the way it opened.
    Frame2->setEnabled(Check2->Value() != 1);
    Q_EMIT middleDoorSwitched(Check2->Value());
}

void frmSet::HScroll1_Change() { lblMaeSpeed->setText(QString::number(HScroll1->Value())); }

void frmSet::HScroll2_Change() { lblNakaSpeed->setText(QString::number(HScroll2->Value())); }

void frmSet::scllMakuSpeed_Change(std::int16_t Index) {
    lblMakuSpeed(Index)->setText(QString::number(scllMakuSpeed(Index)->Value()));
}

void frmSet::Command3_Click() { Q_EMIT versionRequested(); }

void frmSet::closeEvent(QCloseEvent* event) { event->ignore(); }

#include "moc_frmSet.cpp"
