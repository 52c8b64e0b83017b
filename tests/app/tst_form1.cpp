// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The bus window, the settings panel and the version dialog as laid out and started, with the
// maker's library beside the test; the pictures compiled in.

#include "TestSupport.h"

#include "app/SessionEnd.h"
#include "assets/AssetPaths.h"

#include "controls/Accessibility.h"
#include "controls/LinkLabel.h"
#include "core/ResourceImages.h"
#include "core/Twips.h"
#include "panels/frmShowVersion.h"
#include "platform/Fonts.h"
#include "platform/Translations.h"
#include "platform/WebAddress.h"

#include <QAccessibleValueInterface>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QtTest>

using testsupport::startForm;

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { ctl::installAccessibleInterfaces(); }

    void windowsAtStart() {
        auto form = startForm();
        QCOMPARE(form->size(), QSize(758, 218));
        QCOMPARE(form->windowTitle(), QStringLiteral("Tarvola　-　tst_form1"));
        // The second door's picture (dark) and the slide base with the interior (light) are never
        // shown: the bus picture's own body shows there, light, and its dark window.
        const QImage atStart = form->grab().toImage();
        QCOMPARE(atStart.pixelColor(116, 118), QColor(242, 237, 222));
        QCOMPARE(atStart.pixelColor(580, 200), QColor(44, 44, 46));
        frmSet& panel = form->panel();
        QVERIFY(panel.isVisible() && panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!panel.close() && panel.isVisible());  // the door switches cannot be lost
        QCOMPARE(panel.grab().toImage().pixelColor(1, 1), QColor(0x40, 0x40, 0x40));  // the margin round FrameA
        // Sign window 0 (53 x 33 pixels) is rounded inside its outermost rows and columns but its
        // right one.
        const QRegion r = form->picWaku1(0)->mask();
        for (const QPoint kept : {QPoint(1, 16), {52, 16}, {26, 1}, {26, 31}, {2, 1}, {51, 31}})
            QVERIFY2(r.contains(kept), qPrintable(QStringLiteral("%1, %2").arg(kept.x()).arg(kept.y())));
        for (const QPoint cut : {QPoint(0, 16), {26, 0}, {26, 32}, {1, 1}, {52, 31}})
            QVERIFY2(!r.contains(cut), qPrintable(QStringLiteral("%1, %2").arg(cut.x()).arg(cut.y())));
        // Tab goes round the bus window's shown controls only: the signboard and sign 0. The
        // signboard, shown, has the keyboard first.
        QApplication::setActiveWindow(form.get());
        QCOMPARE(QApplication::focusWidget(), form->PicKanban);
        form->picWaku1(0)->setFocus();
        for (QWidget* next : {static_cast<QWidget*>(form->PicKanban), static_cast<QWidget*>(form->picWaku1(0))}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // Shown again (a window manager's restore), the window leaves the keyboard where it was.
        QShowEvent restored;
        QApplication::sendEvent(form.get(), &restored);
        QCOMPARE(QApplication::focusWidget(), form->picWaku1(0));
        // The bus window carries the program's icon at 32 and at 64 pixels, as the window manager
        // gets it; the panel's caption bar shows none (a blank icon keeps the application's off it).
        const QIcon icon = form->windowHandle()->icon();
        QCOMPARE(icon.pixmap(QSize(32, 32), 1.0).size(), QSize(32, 32));
        QCOMPARE(icon.pixmap(QSize(64, 64), 1.0).size(), QSize(64, 64));
        const QImage panelIcon = panel.windowHandle()->icon().pixmap(QSize(32, 32), 1.0).toImage();
        QImage blank(panelIcon.size(), QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::transparent);
        QVERIFY(!panelIcon.isNull() && panelIcon.convertToFormat(blank.format()) == blank);
        // The middle door's frame breaks its border for its caption: from 8 pixels in, over the
        // caption's width and 2 pixels either side; the caption is centred in that gap, at the top.
        ctl::Frame* frame = testsupport::PanelControls(panel).Frame2;
        const QImage shot = frame->grab().toImage();
        const QFontMetrics metrics(frame->font());
        const int row = metrics.height() / 2, end = 8 + metrics.horizontalAdvance(frame->title()) + 4;
        const QColor back(0xE0, 0xE0, 0xE0);
        const QList<bool> border{shot.pixelColor(7, row) != back, shot.pixelColor(8, row) != back,
                                 shot.pixelColor(end - 1, row) != back, shot.pixelColor(end, row) != back};
        QCOMPARE(border, (QList<bool>{true, false, false, true}));
        // The etched outline: dark outside white at the left, dark inside white at the right and bottom.
        const QColor dark(0x9F, 0x9F, 0x9F), white(Qt::white);
        const int w = shot.width(), h = shot.height();
        QCOMPARE((QList<QColor>{shot.pixelColor(0, h / 2), shot.pixelColor(1, h / 2), shot.pixelColor(w - 2, h / 2),
                                shot.pixelColor(w - 1, h / 2), shot.pixelColor(w / 2, h - 2),
                                shot.pixelColor(w / 2, h - 1)}),
                 (QList<QColor>{dark, white, dark, white, dark, white}));
        QImage caption(end - 8, metrics.height(), QImage::Format_RGB32);
        caption.fill(back);
        QPainter painter(&caption);
        painter.setFont(frame->font());
        painter.drawText(caption.rect(), Qt::AlignCenter, frame->title());
        painter.end();
        const int above = std::min(metrics.height(), frame->childrenRect().top());  // the option buttons come below
        QCOMPARE(shot.copy(8, 0, end - 8, above).convertToFormat(QImage::Format_RGB32),
                 caption.copy(0, 0, end - 8, above));
    }

    // Every control of the panel at its place in twips, and its colours as the panel shows them:
    // the pixel sampled (from the control's top-left corner) is the control's background, or, for
    // a transparent label, what lies behind it; textColour is a colour its caption is drawn in.
    void panelControlsAndColours_data() {
        QTest::addColumn<QRect>("twips");  // inside the control's container
        QTest::addColumn<QPoint>("sample");
        QTest::addColumn<QColor>("background");  // invalid: not checked
        QTest::addColumn<QColor>("textColour");  // each row is named for its control
        const QColor black(0, 0, 0), grey(0xE0, 0xE0, 0xE0), orange(0xFF, 0xC0, 0x80), none;
        const QPoint no(-1, -1), value(3, 8);
        QTest::newRow("FrameA") << QRect(30, 75, 3855, 2055) << QPoint(1, 1) << black << none;
        QTest::newRow("Check1") << QRect(75, 165, 735, 510) << no << none << none;
        QTest::newRow("HScroll1") << QRect(855, 195, 1260, 240) << no << none << none;
        QTest::newRow("lblMaeSpeed") << QRect(885, 450, 1215, 240) << value << black << orange;
        QTest::newRow("Check2") << QRect(60, 840, 735, 525) << no << none << none;
        QTest::newRow("HScroll2") << QRect(840, 840, 1230, 240) << no << none << none;
        QTest::newRow("lblNakaSpeed") << QRect(870, 1110, 1200, 240) << value << black << orange;
        QTest::newRow("Frame2") << QRect(75, 1440, 2085, 480) << QPoint(136, 28) << grey << none;
        QTest::newRow("Option1(0)") << QRect(60, 180, 735, 270) << QPoint(47, 9) << grey << none;
        QTest::newRow("Option1(1)") << QRect(795, 180, 570, 270) << QPoint(36, 9) << grey << none;
        QTest::newRow("Option1(2)") << QRect(1470, 165, 555, 270) << QPoint(35, 9) << grey << none;
        QTest::newRow("Label1") << QRect(2295, 165, 1440, 1365) << QPoint(3, 89) << grey << black;
        QTest::newRow("Label2(0)") << QRect(2340, 435, 315, 375) << QPoint(1, 1) << grey << black;
        QTest::newRow("scllMakuSpeed(0)") << QRect(2655, 420, 990, 225) << no << none << none;
        QTest::newRow("lblMakuSpeed(0)") << QRect(2640, 690, 1035, 240) << value << black << orange;
        QTest::newRow("Label2(1)") << QRect(2325, 1020, 315, 375) << QPoint(1, 1) << grey << black;
        QTest::newRow("scllMakuSpeed(1)") << QRect(2625, 990, 1050, 225) << no << none << none;
        QTest::newRow("lblMakuSpeed(1)") << QRect(2640, 1245, 1035, 240) << value << black << QColor(0x80, 0x80, 0x80);
        QTest::newRow("Command3") << QRect(2295, 1575, 1515, 360) << no << none << black;
    }
    void panelControlsAndColours() {
        QFETCH(QRect, twips);
        QFETCH(QPoint, sample);
        QFETCH(QColor, background);
        QFETCH(QColor, textColour);
        auto form = startForm();
        const testsupport::PanelControls p(form->panel());
        QWidget* control = p.find<QWidget>(QString::fromUtf8(QTest::currentDataTag()));
        QCOMPARE(control->geometry(),
                 core::twipsToPixels(
                     core::ScaleRect{float(twips.x()), float(twips.y()), float(twips.width()), float(twips.height())}));
        const QImage shot = p.panel.grab().toImage();
        const QPoint origin = control->mapTo(&p.panel, QPoint(0, 0));
        if (background.isValid())
            QCOMPARE(shot.pixelColor(origin + sample), background);
        if (textColour.isValid()) {
            const QImage inside = shot.copy(QRect(origin, control->size())).convertToFormat(QImage::Format_RGB32);
            const auto* px = reinterpret_cast<const QRgb*>(inside.constBits());
            QVERIFY2(std::find(px, px + inside.sizeInBytes() / 4, textColour.rgb()) != px + inside.sizeInBytes() / 4,
                     "the caption is not drawn in its colour");
        }
    }

    // Each door switch shows its picture, centred on its face (the switch is a pixel narrower than it).
    void switchesShowTheirPictures() {
        auto form = startForm();
        const testsupport::PanelControls p(form->panel());
        for (const auto& [control, file] : {std::pair{p.Check1, "switch_mae.bmp"}, {p.Check2, "switch_naka.bmp"}}) {
            const QImage picture = QImage(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/pictures/") + QLatin1String(file))
                                       .convertToFormat(QImage::Format_RGB32);
            const QImage face = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QPoint offset((face.width() - picture.width()) / 2, (face.height() - picture.height()) / 2);
            for (const QPoint at : {QPoint(10, 5), QPoint(25, 10), QPoint(40, 15)})
                QCOMPARE(face.pixelColor(at + offset), picture.pixelColor(at));
        }
    }

    // A checked menu item shows its mark; an unchecked one shows nothing there, just like an item
    // that never carries one.
    void menuCheckMarks() {
        Form1 form;
        form.MnuViewWaku->setChecked(false);
        // The reference: a plain menu of plain items, one carrying the toolkit's own mark.
        QMenu plain;
        QAction* plainMarked = plain.addAction(form.MnuViewKanban->text());
        plainMarked->setCheckable(true);
        plainMarked->setChecked(true);
        QAction* plainSeparator = plain.addSeparator();
        QAction* plainItem = plain.addAction(form.MnuViewWaku->text());
        QCursor::setPos(QPoint(700, 500));
        const auto markColumns = [](QMenu& menu, std::initializer_list<QAction*> items) {
            menu.popup(QPoint(0, 0));
            [&] { QVERIFY(QTest::qWaitForWindowExposed(&menu)); }();
            const QImage shot = menu.grab().toImage();
            menu.close();
            QList<QImage> columns;
            for (QAction* item : items) {  // inside the item, clear of the menu's border
                const QRect r = menu.actionGeometry(item).adjusted(2, 1, 0, -1);
                columns.append(shot.copy(r.left(), r.top(), r.height(), r.height()));
            }
            return columns;
        };
        const QList<QImage> reference = markColumns(plain, {plainMarked, plainItem});
        const QList<QImage> ours = markColumns(
            form.MnuTempMenu1.get(), {form.MnuViewKanban, form.MnuViewWaku, form.MnuSetKanban, form.MnuKanbanReset});
        QCOMPARE(ours.at(0), reference.at(0));  // the mark
        for (int i = 1; i < 4; ++i)
            QCOMPARE(ours.at(i), reference.at(1));  // no mark, and no empty box either
        QVERIFY(reference.at(0) != reference.at(1));
        // The line before the reset is a separator, as thin as the toolkit's.
        QCOMPARE(form.MnuTempMenu1.get().actionGeometry(form.MnuBdr1).height(),
                 plain.actionGeometry(plainSeparator).height());
    }

    // The bus window's file dialog opens on the last file, in its folder, offering the program's
    // patterns as they are stored and as the dialog matches them; cancel chooses nothing. With no
    // answers queued, a message box is the toolkit's, modal over its owner: titled "Tarvola" unless
    // given a title, with the critical icon when asked for, and OK.
    void theToolkitsDialogs() {
        const QString last = QStringLiteral(TARVOLA_SOURCE_DIR "/assets/pictures/bus.bmp");
        auto form = startForm();
        form->C_Dialog1.FileName = last;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        QStringList filters, selected;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
            auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            mode = shown->fileMode(), filters = shown->nameFilters(), selected = shown->selectedFiles();
            shown->close();
        });
        QCOMPARE(testfiles::errorOf([&] { form->C_Dialog1.ShowOpen(form.get()); }).number(), 32755);
        QCOMPARE(mode, QFileDialog::ExistingFile);  // a name typed in must name a file that is there
        QCOMPARE(filters.value(0), QStringLiteral("*.bmp;*.jpeg;*.gif;*.wmf;*.emf (*.bmp *.jpeg *.gif *.wmf *.emf)"));
        QCOMPARE(selected, QStringList{last});
        QCOMPARE(form->C_Dialog1.FileName, last);
        using platform::MessageIcon;
        QList<std::tuple<QString, QString, int>> seen;
        for (const platform::MessageBoxRequest& r : {platform::MessageBoxRequest{"broken", {}, MessageIcon::Critical},
                                                     platform::MessageBoxRequest{"note", "title", MessageIcon::None}}) {
            QTimer::singleShot(0, [&seen] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box && box->parentWidget())
                    seen.append({box->windowTitle(), box->text(), int(box->icon())}),
                        box->button(QMessageBox::Ok)->click();
            });
            platform::messageBox(form.get(), r);
        }
        QCOMPARE(seen, (QList<std::tuple<QString, QString, int>>{{"Tarvola", "broken", QMessageBox::Critical},
                                                                 {"title", "note", QMessageBox::NoIcon}}));
    }

    // The save on a broken display waits for the display to break: the toolkit's warnings while
    // it is whole save nothing, and a second one finds nothing gone.
    void warningsWhileTheDisplayIsWhole() {
        auto form = startForm();
        endWithTheSession(*form);
        for (const char* text : {"a warning", "another warning"}) {
            QTest::ignoreMessage(QtWarningMsg, text);
            qWarning("%s", text);
        }
        QVERIFY(!QFile::exists(QFile::decodeName(settings::settingsFilePath())));
    }

    // Tab goes through the switches, the bars but sign 1's, the mode and the button, entering the
    // "中扉動作" group at its selected option (the middle one: the toolkit's own choice is the first
    // or the last) and leaving it past the other options, both ways. The bar with the focus is
    // marked, and its label follows a key's change. Space presses the switch that has the keyboard
    // as a click does; the arrow keys move the mode. The close stores what the keys set. Before
    // that, F6 takes the keyboard from the bus window to the panel and back, each time to the
    // control that had it there; it rolls no film.
    void panelByKeyboard() {
        auto form = startForm(QByteArray("0,0,0,300,\"\",\"\",5,0,\"\",9000,2000,#FALSE#,#TRUE#,3000,4000,0\r\n"));
        const testsupport::PanelControls p(form->panel());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->picWaku1(0)));  // the board is hidden
        QTest::keyClick(form->picWaku1(0), Qt::Key_F6);
        QVERIFY(QTest::qWaitForWindowActive(&p.panel));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.Check1));  // the first in its Tab order
        QTest::keyClick(p.Check1, Qt::Key_Tab);
        QTest::keyClick(p.HScroll1, Qt::Key_F6);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->picWaku1(0)));
        QTest::keyClick(form->picWaku1(0), Qt::Key_F6);
        QVERIFY(QTest::qWaitForWindowActive(&p.panel));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.HScroll1));
        QCOMPARE(form->MakuPos[0], 0);
        QCOMPARE(p.HScroll1->Value(), 3000);
        p.Option1(1)->setChecked(true);
        p.Check1->setFocus();
        for (QWidget* next : std::initializer_list<QWidget*>{p.HScroll1, p.Check2, p.HScroll2, p.Option1(1),
                                                             p.scllMakuSpeed(0), p.Command3}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        for (QWidget* next : std::initializer_list<QWidget*>{p.scllMakuSpeed(0), p.Option1(1), p.HScroll2}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // The focus frame, in the highlight's blue, runs down both ends of the bar; grey without it.
        const auto framed = [&p] {
            const QImage bar = p.HScroll1->grab().toImage();
            const QColor left = bar.pixelColor(0, bar.height() / 2),
                         right = bar.pixelColor(bar.width() - 1, bar.height() / 2);
            return left.blue() > left.red() + 24 && right.blue() > right.red() + 24;
        };
        QVERIFY(!framed());
        // Without the focus a bar is the toolkit's own: a plain scroll bar of its size, range and
        // value beside it.
        QScrollBar plain(Qt::Horizontal, p.HScroll1->parentWidget());
        plain.setRange(p.HScroll1->minimum(), p.HScroll1->maximum());
        plain.setPageStep(1), plain.setValue(p.HScroll1->value()), plain.resize(p.HScroll1->size());
        QCOMPARE(p.HScroll1->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 plain.grab().toImage().convertToFormat(QImage::Format_RGB32));
        p.HScroll1->setFocus();
        QVERIFY(framed());
        QTest::keyClick(p.HScroll1, Qt::Key_Home);  // each key's step: the journey under X
        QCOMPARE(p.lblMaeSpeed->text(), QStringLiteral("1"));
        QTest::mouseClick(p.Check1, Qt::LeftButton);  // opens; the keyboard stays with the bar being set
        QVERIFY(p.Check1->Value() == 1 && QApplication::focusWidget() == p.HScroll1);
        p.Check1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(p.Check1, Qt::Key_Space);  // closes, and opens again
        QTest::keyClick(p.Check1, Qt::Key_Space);
        QCOMPARE(p.Check1->Value(), std::int16_t(1));
        QCOMPARE(form->Image1(2)->rect(), (core::ScaleRect{360, 690, 70, 2175}));  // open: its last step
        p.Option1(1)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(p.Option1(1), Qt::Key_Right);
        QVERIFY(p.Option1(2)->isChecked() && !p.Option1(1)->isChecked());
        QCOMPARE(testsupport::savedRecord(*form).trimmed().split(',').mid(13).join(','), QByteArray("1,4000,2"));
    }

    // The wheel, the middle button's jump and the toolkit's "scroll here" menu leave a bar and its
    // label alone; a click on the trough, with Shift too, moves it by the large change, 1. Dragging
    // its thumb changes its value, and so its label and what the close stores, once: when the
    // thumb is let go, not while it moves.
    void panelBarByTheMouse() {
        auto form = startForm();
        const testsupport::PanelControls p(form->panel());
        ctl::HScrollBar* bar = p.HScroll1;
        const QPoint trough(bar->width() * 3 / 4, bar->height() / 2), global = bar->mapToGlobal(trough);
        QWheelEvent wheel(trough, global, {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
        QTest::mouseClick(bar, Qt::MiddleButton, {}, trough);
        bool menu = false;  // closed at once if the right click opens one
        QTimer::singleShot(0, form.get(), [&menu] {
            menu = QApplication::activePopupWidget() && QApplication::activePopupWidget()->close();
        });
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, trough, global);
        QApplication::sendEvent(bar, &rightClick);
        QVERIFY(!menu);
        QCOMPARE(p.lblMaeSpeed->text(), QStringLiteral("10000"));  // the first start's value
        QTest::mouseClick(bar, Qt::LeftButton, Qt::ShiftModifier, trough);
        QCOMPARE(p.lblMaeSpeed->text(), QStringLiteral("10001"));
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Horizontal;
        option.minimum = bar->minimum(), option.maximum = bar->maximum();
        option.singleStep = bar->singleStep(), option.pageStep = bar->pageStep();
        const auto centreOf = [&](QStyle::SubControl part) {
            option.sliderPosition = option.sliderValue = bar->value();
            return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
        };
        QTest::mouseClick(bar, Qt::LeftButton, {}, centreOf(QStyle::SC_ScrollBarSubLine));  // the left arrow
        QCOMPARE(p.lblMaeSpeed->text(), QStringLiteral("10000"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, centreOf(QStyle::SC_ScrollBarAddLine));
        QCOMPARE(p.lblMaeSpeed->text(), QStringLiteral("10001"));
        const QPoint grip = centreOf(QStyle::SC_ScrollBarSlider);
        QSignalSpy changes(bar, &ctl::HScrollBar::Change);
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        for (const int dx : {5, 10, 20})
            QTest::mouseMove(bar, grip + QPoint(dx, 0));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(p.lblMaeSpeed->text(), QStringLiteral("10001"));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(20, 0));
        QCOMPARE(changes.count(), 1);
        QVERIFY(bar->Value() > 10001);
        QCOMPARE(p.lblMaeSpeed->text(), QString::number(bar->Value()));
        QCOMPARE(testsupport::savedRecord(*form).split(',').value(13), QByteArray::number(bar->Value()));
    }

    // What a screen reader is told of the panel's controls (checked, and pressed for a switch, or
    // the value), and of the bus window's signs, board and the door pictures it paints (the front
    // door open after the switch's toggle action). The version dialog's link: below.
    void accessibleDescriptions() {
        auto form = startForm(QByteArray("0,0,0,0,\"\",\"\",7,3,\"\",9000,2000,#TRUE#,#TRUE#,3000,4000,1\r\n"));
        const testsupport::PanelControls p(form->panel());
        const auto describe = [](QObject* o) { return QAccessible::queryAccessibleInterface(o); };
        describe(p.Check1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        using Q = QAccessible;
        const std::tuple<QWidget*, const char*, Q::Role, const char*> rows[] = {
            {p.Check1, "前扉", Q::Button, "on"},
            {p.Check2, "中扉", Q::Button, ""},
            {p.Command3, "バージョン情報", Q::Button, ""},
            {p.HScroll1, "前扉の速度", Q::ScrollBar, "3000"},
            {p.HScroll2, "中扉の速度", Q::ScrollBar, "4000"},
            {p.scllMakuSpeed(0), "幕の速度①", Q::ScrollBar, "7"},
            {p.scllMakuSpeed(1), "幕の速度②", Q::ScrollBar, "3"},
            {p.Option1(0), "両方", Q::RadioButton, ""},
            {p.Option1(1), "左", Q::RadioButton, "on"}};
        for (const auto& [control, name, role, state] : rows) {
            QAccessibleInterface* a = describe(control);
            QCOMPARE(a->text(Q::Name), QString::fromUtf8(name));
            QCOMPARE(a->role(), role);
            QCOMPARE(a->state().checked, state == std::string_view("on"));
            QCOMPARE(a->state().pressed, role == Q::Button && a->state().checked);
            QCOMPARE(a->state().checkable, role != Q::ScrollBar && control != p.Command3);  // the switches toggle
            QCOMPARE(a->state().disabled, control == p.scllMakuSpeed(1));
            if (role == Q::ScrollBar)
                QCOMPARE(a->valueInterface()->currentValue().toString(), QString::fromUtf8(state));
        }
        QAccessibleInterface* bus = describe(form.get());
        QMap<QString, QAccessibleInterface*> parts;
        for (int i = 0; i < bus->childCount(); ++i)
            parts.insert(bus->child(i)->text(Q::Name), bus->child(i));
        for (const auto& [name, place] : {std::pair("方向幕①", QRect(239, 35, 53, 33)),
                                          {"看板", {600, 133, 94, 30}},
                                          {"前扉", {24, 46, 5, 145}},
                                          {"中扉（左）", {313, 51, 62, 145}},
                                          {"中扉（右）", {374, 51, 62, 145}}}) {
            QAccessibleInterface* part = parts.value(QString::fromUtf8(name));
            QVERIFY2(part && part->role() == Q::Graphic && part->childCount() == 0 && part->indexOfChild(bus) == -1 &&
                         bus->child(bus->indexOfChild(part)) == part && !part->state().invisible,
                     name);
            QCOMPARE(part->rect(), place.translated(form->mapToGlobal(QPoint(0, 0))));
            QCOMPARE(bus->childAt(part->rect().left(), part->rect().top()), part);  // the right leaf is on top
        }
        QCOMPARE(bus->indexOfChild(describe(form->shpK_Waku(0))), -1);  // a frame bar has no name: not told
        QAccessibleInterface* frontDoor = parts.value(QString::fromUtf8("前扉"));
        qobject_cast<ctl::WindowlessControl*>(frontDoor->object())->setVisible(false);
        QVERIFY(frontDoor->state().invisible);
    }

    // The version dialog's controls where they stand (every place in twips is whole pixels), each
    // label's back colour, and its caption drawn in its colour.
    void versionDialogLayout() {
        frmShowVersion dialog;
        QCOMPARE(dialog.size(), QSize(333, 223));  // 4995 x 3345 twips
        const QColor grey(0x4E, 0x4E, 0x4E), yellow(Qt::yellow), white(Qt::white), blue(Qt::blue), none;
        const std::tuple<QWidget*, QRect, QColor, QColor> controls[] = {
            {dialog.Image1, {19, 11, 32, 32}, none, none},       {dialog.Label1[0], {60, 16, 256, 22}, grey, yellow},
            {dialog.Label1[1], {11, 48, 307, 18}, grey, yellow}, {dialog.Label2, {11, 69, 215, 15}, grey, yellow},
            {dialog.Label3[0], {11, 86, 215, 16}, grey, white},  {dialog.Label3[1], {11, 103, 215, 16}, grey, white},
            {dialog.Label3[2], {10, 124, 310, 59}, none, none},  {dialog.Label4, {1, 189, 331, 4}, none, none},
            {dialog.Label5, {16, 199, 221, 15}, white, blue},    {dialog.Command1, {238, 196, 82, 23}, none, none}};
        const QImage shot = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (const auto& [control, place, back, text] : controls) {
            QCOMPARE(control->geometry(), place);
            if (back.isValid())
                QCOMPARE(shot.pixelColor(place.topRight() + QPoint(-1, 1)), back);  // past the caption
            const QImage inside = shot.copy(place);
            const auto* px = reinterpret_cast<const QRgb*>(inside.constBits());
            QVERIFY(!text.isValid() || std::count(px, px + inside.width() * inside.height(), text.rgb()) > 0);
        }
        QVERIFY(!dialog.Label3[2]->isVisibleTo(&dialog));
    }

    // The version dialog's link: each click opens the homepage, the dialog staying open; a release
    // on the link without a press there, or a press on it released outside it, is no click. From
    // the keyboard it is one Tab from OK and shows a focus frame while it has the focus; Enter and
    // Space open it; Tab back to OK and Enter close the dialog.
    void theLinkByMouseAndKeyboard() {
        int boxes = 0;
        QList<QUrl> opened;
        QList<QWidget*> owners;
        platform::setMessageBoxHook([&](const platform::MessageBoxRequest&) { ++boxes; });
        platform::setWebOpenerHook([&](const QUrl& url, QWidget* owner) { opened.append(url), owners.append(owner); });
        frmShowVersion dialog;
        QCOMPARE(dialog.Label2->text().toUtf8(), QByteArray("Varsion\xe3\x80\x80"
                                                            "1.0.0"));                      // an ideographic space
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(dialog.Label5);  // for a screen reader
        QVERIFY(link->role() == QAccessible::Link && link->text(QAccessible::Name) == dialog.Label5->text());
        // The link's right end, past its text: the white window, or the focus frame drawn over it.
        const auto framed = [&dialog] {
            const QImage image = dialog.Label5->grab().toImage();
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(image.width() - 1, y) != QColor(Qt::white))
                    return true;
            return false;
        };
        QWidget* atLink = nullptr;
        bool framedBefore = true, framedAtLink = false, stillOpen = false;
        qsizetype byKeys = 0;
        QTimer::singleShot(0, &dialog, [&] {  // inside the dialog's modal loop, which ends even when a check fails
            if (QTest::qWaitForWindowActive(&dialog)) {
                framedBefore = framed();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                atLink = QApplication::focusWidget();
                framedAtLink = framed();
                QTest::keyClick(atLink, Qt::Key_Return);
                QTest::keyClick(atLink, Qt::Key_Space);
                byKeys = opened.size();
                QTest::mousePress(dialog.Label5, Qt::LeftButton, {}, QPoint(5, 5));
                QTest::mouseRelease(dialog.Label5, Qt::LeftButton, {}, QPoint(5, -8));
                QTest::mouseClick(dialog.Label5, Qt::LeftButton);
                QTest::mouseClick(dialog.Label5, Qt::LeftButton);
                QTest::mouseRelease(dialog.Label5, Qt::LeftButton, {}, QPoint(5, 5));  // its press was the click's
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);          // OK is no cancel button
                if ((stillOpen = dialog.isVisible())) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                }
            }
            if (dialog.isVisible())
                dialog.reject();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));  // Enter on OK
        platform::setMessageBoxHook({});
        platform::setWebOpenerHook({});
        QCOMPARE(atLink, static_cast<QWidget*>(dialog.Label5));
        QVERIFY(!framedBefore && framedAtLink);
        QVERIFY(stillOpen);
        QCOMPARE(byKeys, 2);  // Enter and Space each
        QCOMPARE(boxes, 0);
        QCOMPARE(opened, QList<QUrl>(4, QUrl(testfiles::kMakersHomepage)));
        QCOMPARE(owners, QList<QWidget*>(4, &dialog));
        // The close box, where a window manager draws one, closes it as OK does.
        frmShowVersion boxed;
        bool closedByTheBox = false;
        QTimer::singleShot(0, &boxed, [&boxed, &closedByTheBox] {
            closedByTheBox = QTest::qWaitForWindowExposed(&boxed) && boxed.close() && !boxed.isVisible();
            if (boxed.isVisible())
                boxed.reject();
        });
        boxed.exec();
        QVERIFY(closedByTheBox);
        // Shown, it names the program's file; the link is underlined, at 9 points.
        QCOMPARE(dialog.Label1[1]->text(), QStringLiteral("型番・製造番号：tst_form1"));
        QVERIFY(dialog.Label1[1]->font().bold() && dialog.Label1[1]->font().pointSizeF() == 9.75);
        QVERIFY(dialog.Label5->font().underline() && !dialog.Label5->font().bold());
        QCOMPARE(dialog.Label5->font().pointSizeF(), 9.0);
        // Its hand points with the fingertip: the most opaque pixel of the cursor's top row.
        const QImage hand = dialog.Label5->cursor().pixmap().toImage();
        QVERIFY(!hand.isNull());
        QPoint tip(-1, -1);
        for (int y = 0; y < hand.height() && tip.y() < 0; ++y)
            for (int x = 0; x < hand.width(); ++x)
                if (qAlpha(hand.pixel(x, y)) > (tip.y() == y ? qAlpha(hand.pixel(tip)) : 0))
                    tip = QPoint(x, y);
        QCOMPARE(dialog.Label5->cursor().hotSpot(), tip);
        // Opened again, the dialog is built afresh but shows the same pictures and cursor, not new
        // ones: every new pixmap stayed in the toolkit's pixmap cache, some 2 KB an opening.
        const frmShowVersion again;
        QCOMPARE(again.Image1->pixmap().size(), QSize(32, 32));
        QCOMPARE(again.Image1->pixmap().cacheKey(), dialog.Image1->pixmap().cacheKey());
        QCOMPARE(again.windowIcon().cacheKey(), dialog.windowIcon().cacheKey());
        QCOMPARE(again.Label5->cursor().pixmap().cacheKey(), dialog.Label5->cursor().pixmap().cacheKey());
    }

    // The compiled-in pictures are the asset files, pixel for pixel, whether stored as they are
    // (read at every start, used in place) or compressed (the double-resolution twins, the cursor).
    void compiledInPicturesAreTheAssetFiles_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("file");
        QTest::newRow("bus") << assets::kBusPicture << "pictures/bus.bmp";
        QTest::newRow("bus, twice the resolution") << ":/pictures/bus@2x.px"
                                                   << "pictures/bus@2x.bmp";
        QTest::newRow("icon, 16 colours") << assets::kIcon << "icons/tarvola.ico";
        QTest::newRow("hand cursor, with alpha") << assets::kHandCursor << "cursors/hand.png";
    }
    void compiledInPicturesAreTheAssetFiles() {
        QFETCH(QString, resource);
        QFETCH(QString, file);
        const QImage stored = core::readResourceImage(resource);
        QImage source(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/") + file);
        QVERIFY(!source.isNull());
        source.setDevicePixelRatio(1.0);  // Qt's reader gives an "@2x" file a ratio of 2
        QCOMPARE(stored, source.convertToFormat(stored.format()));
        QCOMPARE(stored.hasAlphaChannel(), source.hasAlphaChannel());
    }

    // The toolkit's dialogs in the user's language: the test runs with LANG=ja_JP.UTF-8 and
    // nothing overriding it. The program's text: ＭＳ Ｐゴシック at 9 points, drawn with the
    // proportional IPA face. (Last: the other tests see the toolkit's own words and font.)
    void theUsersLanguageAndTheProgramFont() {
        platform::installToolkitTranslations();
        QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
        platform::installProgramFont();
        const QFont font = QApplication::font();
        QCOMPARE(font.pointSizeF(), 9.0);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("IPA Pゴシック"));  // its name in Japanese
        // Asked by a family the system has: one it lacks costs a sort of every installed font.
        QVERIFY(QFontDatabase::hasFamily(font.family()));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
