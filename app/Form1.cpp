// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "app/Form1.h"

#include "assets/AssetPaths.h"
#include "controls/Placement.h"
#include "core/Twips.h"
#include "doors/CountedWait.h"
#include "panels/frmSet.h"
#include "platform/Executable.h"
#include "platform/TopmostWindow.h"
#include "platform/Windowing.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QShortcut>

#include <utility>

namespace {

const QString kCaptionPrefix = QStringLiteral("Tarvola　-　");

// F6 takes the keyboard to the program's other window, as it moves between a desktop program's
// windows and panes: the panel is off the task bar, so the window manager's switching skips it.
void passKeyboardByF6(QWidget* from, QWidget* to) {
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_F6), from), &QShortcut::activated, to, [to] {
        to->raise();
        to->activateWindow();
    });
}

}  // namespace

Form1::Form1(DoorHooks hooks)
    : ctl::Form(ctl::ScaleMode::Twips),
      MnuTempMenu1([this] { return buildMenu(); }),
      doorHooks_(std::move(hooks)),
      frmSet_([this] { return loadPanel(); }) {
    if (!doorHooks_.waitAfterStep)
        doorHooks_.waitAfterStep = [](std::chrono::steady_clock::time_point stepStart, int count) {
            doors::waitUntil(stepStart + doors::waitDuration(count));
        };
    if (!doorHooks_.playWave)
        doorHooks_.playWave = [this](std::int16_t id) { doorSound_.PlayWave(id); };
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ctl::twipsToPixelSize(11370, 3270));
    setPicture(core::Picture::fromResource(assets::kBusPicture));
    buildLayout();
    createMenuItems();
    connectHandlers();
}

Form1::~Form1() = default;

frmSet& Form1::panel() { return frmSet_.get(); }

std::unique_ptr<frmSet> Form1::loadPanel() {
    auto panel = std::make_unique<frmSet>();
    panel->installEventFilter(this);  // its moves, for a save without the display
    connect(panel.get(), &frmSet::frontDoorSwitched, this, &Form1::Check1_Click);
    connect(panel.get(), &frmSet::middleDoorSwitched, this, &Form1::Check2_Click);
    connect(panel.get(), &frmSet::versionRequested, this, &Form1::MnuHelpVer_Click);
    passKeyboardByF6(this, panel.get());
    passKeyboardByF6(panel.get(), this);
    return panel;
}

void Form1::buildLayout() {
    using core::ScaleRect;
    // Windowless controls, bottom of the z-order first.
    const QColor barFill(224, 224, 224), barBorder(128, 128, 128);
    shpK_Waku.add(2, new ctl::Shape(this, ScaleRect{8775, 2070, 1560, 60}, true, barFill, barBorder));
    shpK_Waku.add(1, new ctl::Shape(this, ScaleRect{10260, 1605, 75, 495}, true, barFill, barBorder));
    shpK_Waku.add(0, new ctl::Shape(this, ScaleRect{8775, 1605, 75, 495}, true, barFill, barBorder));
    Image1.add(1, new ctl::Image(this, ScaleRect{1590, 1020, 630, 2055}, false, true));
    Image1(1)->setPicture(core::Picture::fromResource(assets::kSecondDoorPicture));
    Image1.add(2, new ctl::Image(this, ScaleRect{360, 690, 1065, 2175}, true, true));
    Image1(2)->setPicture(core::Picture::fromResource(assets::kFrontDoorPicture));
    const core::Picture leaf = core::Picture::fromResource(assets::kDoorLeafPicture);
    imgNakaorido.add(0, new ctl::Image(this, ScaleRect{4695, 765, 930, 2175}, true, true));
    imgNakaorido.add(1, new ctl::Image(this, ScaleRect{5610, 765, 930, 2175}, true, true));
    imgNakaorido(0)->setPicture(leaf);
    imgNakaorido(1)->setPicture(leaf);

    // Child windows, bottom first.
    File1 = new ctl::FileListBox(this);
    File1->setGeometry(core::twipsToPixels(ScaleRect{9750, 2835, 1395, 270}));

    PicKanban = new ctl::PictureBox(this, ScaleRect{8850, 1620, 1410, 450}, ctl::ScaleMode::Twips);
    PicKanban->setBackColor(Qt::white);
    PicKanban->setAutoSize(true);
    PicKanban->setFocusPolicy(Qt::StrongFocus);

    picSlideBase1 = new ctl::PictureBox(this, ScaleRect{8370, 2685, 1140, 2115}, ctl::ScaleMode::Twips);
    picSlideBase1->setBackColor(palette().color(QPalette::Base));
    picSlideBase1->setPicture(core::Picture::fromResource(assets::kInteriorSeatPicture));
    Image2 = new ctl::Image(picSlideBase1, ScaleRect{-240, 75, 1140, 2115}, true, false);
    Image2->setPicture(core::Picture::fromResource(assets::kInteriorStepsPicture));
    picSlideBase1->hide();

    const QColor blue(0, 0, 255);
    picWaku1.add(1, new ctl::PictureBox(this, ScaleRect{2115, 60, 780, 900}, ctl::ScaleMode::Twips));
    picWaku1(1)->setBackColor(blue);
    picWaku1(1)->setBorder(true);
    imgMaku1.add(1, new ctl::Image(picWaku1(1), ScaleRect{0, 0, 735, 3750}, true, false));
    picWaku1(1)->hide();

    picWaku1.add(0, new ctl::PictureBox(this, ScaleRect{3585, 525, 795, 495}, ctl::ScaleMode::Pixels));
    picWaku1(0)->setBackColor(blue);
    // The film of sign 0 is placed in its window's pixels: 1, 0, 50 × 250.
    imgMaku1.add(0, new ctl::Image(picWaku1(0), ScaleRect{1, 0, 50, 250}, true, false));
    for (std::int16_t i = 0; i < 2; ++i)
        picWaku1(i)->setFocusPolicy(Qt::TabFocus);

    // Names for screen readers, where the picture alone tells what a control is.
    picWaku1(0)->setAccessibleName(QStringLiteral("方向幕①"));
    picWaku1(1)->setAccessibleName(QStringLiteral("方向幕②"));
    PicKanban->setAccessibleName(QStringLiteral("看板"));
    Image1(2)->setAccessibleName(QStringLiteral("前扉"));
    imgNakaorido(0)->setAccessibleName(QStringLiteral("中扉（左）"));
    imgNakaorido(1)->setAccessibleName(QStringLiteral("中扉（右）"));

    C_Dialog1.Filter = QStringLiteral("*.bmp;*.jpeg;*.gif;*.wmf;*.emf");

    // Tab order: File1, PicKanban, picSlideBase1, picWaku1(1), picWaku1(0).
    setTabOrder(File1, PicKanban);
    setTabOrder(PicKanban, picSlideBase1);
    setTabOrder(picSlideBase1, picWaku1(1));
    setTabOrder(picWaku1(1), picWaku1(0));
}

void Form1::createMenuItems() {
    MnuViewKanban = new ctl::MenuItem(QStringLiteral("看板の表示"), this, true);
    MnuViewWaku = new ctl::MenuItem(QStringLiteral("枠の表示"), this, true);
    MnuSetKanban = new ctl::MenuItem(QStringLiteral("看板の画像を設定..."), this);
    MnuBdr1 = new QAction(this);
    MnuBdr1->setSeparator(true);
    MnuKanbanReset = new ctl::MenuItem(QStringLiteral("看板のリセット"), this);
}

std::unique_ptr<QMenu> Form1::buildMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->addActions({MnuViewKanban, MnuViewWaku, MnuSetKanban, MnuBdr1, MnuKanbanReset});
    return menu;
}

void Form1::connectHandlers() {
    connect(this, &ctl::Surface::MouseDown, this, &Form1::Form_MouseDown);
    for (const auto& [index, door] : Image1)
        connect(door, &ctl::Image::Click, this, [this, i = index] { Image1_Click(i); });
    for (std::int16_t i = 0; i < 2; ++i) {
        connect(picWaku1(i), &ctl::PictureBox::KeyDown, this,
                [this, i](int key, int shift) { picWaku1_KeyDown(i, key, shift); });
        connect(picWaku1(i), &ctl::Surface::Click, this, [this, i] { picWaku1_Click(i); });
        connect(picWaku1(i), &ctl::Surface::DblClick, this, [this, i] { picWaku1_DblClick(i); });
        connect(imgMaku1(i), &ctl::Image::Click, this, [this, i] { imgMaku1_Click(i); });
        connect(imgMaku1(i), &ctl::Image::DblClick, this, [this, i] { imgMaku1_DblClick(i); });
    }
    connect(PicKanban, &ctl::Surface::DblClick, this, &Form1::PicKanban_DblClick);
    connect(PicKanban, &ctl::Surface::MouseDown, this, &Form1::PicKanban_MouseDown);
    connect(PicKanban, &ctl::PictureBox::Resize, this, &Form1::PicKanban_Resize);
    connect(MnuViewKanban, &ctl::MenuItem::Click, this, &Form1::MnuViewKanban_Click);
    connect(MnuViewWaku, &ctl::MenuItem::Click, this, &Form1::MnuViewWaku_Click);
    connect(MnuSetKanban, &ctl::MenuItem::Click, this, &Form1::MnuSetKanban_Click);
    connect(MnuKanbanReset, &ctl::MenuItem::Click, this, &Form1::MnuKanbanReset_Click);
}

void Form1::Form_Load() {
    LoadIni();
    // The program's icon, not the toolkit's, on the bus window and the dialogs it opens (the
    // panel and the version dialog carry none).
    QApplication::setWindowIcon(assets::programIcon());
    platform::keepTopmost(&panel());  // shown, then above all windows
    setWindowTitle(kCaptionPrefix + platform::executableName());

    // Sign window 0 gets its rounded outline, computed from its size in pixels.
    ctl::PictureBox* sign = picWaku1(0);
    const float w = sign->ScaleWidth();
    const float h = sign->ScaleHeight();
    const int x2 = static_cast<int>(core::roundHalfEven(static_cast<double>(w + 1.0f)));
    const int y2 = static_cast<int>(core::roundHalfEven(static_cast<double>(h)));
    platform::setWindowRegion(sign, platform::roundRectRegion(1, 1, x2, y2, 5, 5));
}

void Form1::Form_MouseDown(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button == ctl::mouse::kRight)
        MnuTempMenu1.get().exec(QCursor::pos());
}

void Form1::Image1_Click(std::int16_t /*Index*/) {
    // The door pictures cannot take the focus; the click leaves it where it is.
}

void Form1::Form_Unload(int& /*Cancel*/) {
    if (!std::exchange(ended_, true))
        SaveIni();
    // The program ends here: the event loop returns without handling anything else, and
    // the panel and any dialog go with the main window.
    QCoreApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent* event) {
    int cancel = 0;
    Form_Unload(cancel);
    event->accept();
}

void Form1::endRun() {
    int cancel = 0;
    Form_Unload(cancel);
}

// The places are asked while the display is there, so that a save after it has gone knows them.
void Form1::moveEvent(QMoveEvent* event) {
    ctl::Form::moveEvent(event);
    lastPlaces_.formLeft = Left();
    lastPlaces_.formTop = Top();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (auto* moved = qobject_cast<frmSet*>(watched); moved && event->type() == QEvent::Move) {
        lastPlaces_.panelLeft = moved->Left();
        lastPlaces_.panelTop = moved->Top();
    }
    return ctl::Form::eventFilter(watched, event);
}

void Form1::showEvent(QShowEvent* event) {
    ctl::Form::showEvent(event);
    if (!focusGiven_) {
        focusGiven_ = true;
        giveFirstFocus();
    }
}

void Form1::giveFirstFocus() {
    // The first control in tab order that is shown and can take the focus.
    if (PicKanban->isVisibleTo(this))
        PicKanban->setFocus(Qt::OtherFocusReason);
    else
        picWaku1(0)->setFocus(Qt::OtherFocusReason);
}

#include "moc_Form1.cpp"
