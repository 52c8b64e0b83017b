// The bus window and the settings panel as laid out and started.

#include "TestSupport.h"

#include "controls/Placement.h"
#include "controls/Twips.h"
#include "platform/Executable.h"
#include "platform/Windowing.h"

#include <QtTest>

using testsupport::captureMenu;
using testsupport::startForm;

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::installFontSubstitutions(); }

    void clientAreaAndCaption() {
        auto form = startForm();
        QCOMPARE(form->size(), QSize(758, 218));
        QCOMPARE(form->windowTitle(), QStringLiteral("Tarvola　-　") + platform::executableName());
        QVERIFY(form->windowTitle().contains(QStringLiteral("tst_form1")));
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    }

    void controlsAtTheirPixels_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("sign 0") << "picWaku1(0)" << QRect(239, 35, 53, 33);
        QTest::newRow("sign 1") << "picWaku1(1)" << QRect(141, 4, 52, 60);
        QTest::newRow("film 0") << "imgMaku1(0)" << QRect(1, 0, 50, 250);
        QTest::newRow("film 1") << "imgMaku1(1)" << QRect(0, 0, 49, 250);
        QTest::newRow("right leaf") << "imgNakaorido(1)" << QRect(374, 51, 62, 145);
        QTest::newRow("left leaf") << "imgNakaorido(0)" << QRect(313, 51, 62, 145);
        QTest::newRow("front door") << "Image1(2)" << QRect(24, 46, 71, 145);
        QTest::newRow("left bar") << "shpK_Waku(0)" << QRect(585, 107, 5, 33);
        QTest::newRow("bottom bar") << "shpK_Waku(2)" << QRect(585, 138, 104, 4);
    }
    void controlsAtTheirPixels() {
        QFETCH(QString, name);
        QFETCH(QRect, expected);
        // The layout before the settings are applied: a fresh window without Form_Load.
        Form1 form;
        const std::map<QString, QRect> actual = {
            {"picWaku1(0)", form.picWaku1(0)->geometry()}, {"picWaku1(1)", form.picWaku1(1)->geometry()},
            {"imgMaku1(0)", form.imgMaku1(0)->pixelRect()}, {"imgMaku1(1)", form.imgMaku1(1)->pixelRect()},
            {"imgNakaorido(1)", form.imgNakaorido(1)->pixelRect()},
            {"imgNakaorido(0)", form.imgNakaorido(0)->pixelRect()},
            {"Image1(2)", form.Image1(2)->pixelRect()},
            {"shpK_Waku(0)", form.shpK_Waku(0)->pixelRect()}, {"shpK_Waku(2)", form.shpK_Waku(2)->pixelRect()}};
        QCOMPARE(actual.at(name), expected);
    }

    void signWindowScalesAndHiddenControls() {
        Form1 form;
        QCOMPARE(form.picWaku1(0)->ScaleWidth(), 53.0f);
        QCOMPARE(form.picWaku1(0)->ScaleHeight(), 33.0f);
        QCOMPARE(form.picWaku1(1)->ScaleWidth(), 780.0f);
        QVERIFY(!form.picWaku1(1)->isVisibleTo(&form));
        QVERIFY(!form.picSlideBase1->isVisibleTo(&form));
        QVERIFY(!form.Image1(1)->Visible());
        QVERIFY(!form.Image1.contains(0));
        QVERIFY_THROWS_EXCEPTION(ctl::RuntimeError, form.Image1(0));
    }

    void roundRegionOfTheSignWindow() {
        // With the sign window's 53 × 33 pixels: rounded rectangle from (1, 1) to (54, 33).
        const QRegion r = platform::roundRectRegion(1, 1, 54, 33, 5, 5);
        for (int y = 0; y < 33; ++y)
            QVERIFY2(!r.contains(QPoint(0, y)), "left column is outside");
        for (int x = 0; x < 53; ++x) {
            QVERIFY2(!r.contains(QPoint(x, 0)), "top row is outside");
            QVERIFY2(!r.contains(QPoint(x, 32)), "bottom row is outside");
        }
        QVERIFY(r.contains(QPoint(26, 16)));
        QVERIFY(r.contains(QPoint(52, 16)));  // the right column stays
        // Corners are cut, the same at all four corners.
        QVERIFY(!r.contains(QPoint(1, 1)));
        QVERIFY(!r.contains(QPoint(52, 1)));
        QVERIFY(!r.contains(QPoint(1, 31)));
        QVERIFY(!r.contains(QPoint(52, 31)));
        QVERIFY(r.contains(QPoint(2, 1)) && r.contains(QPoint(51, 1)));
        QVERIFY(r.contains(QPoint(2, 31)) && r.contains(QPoint(51, 31)));
        QVERIFY(r.contains(QPoint(1, 2)) && r.contains(QPoint(52, 30)));
        // Mirror symmetry, row by row.
        for (int y = 1; y <= 31; ++y)
            for (int x = 1; x <= 52; ++x)
                QCOMPARE(r.contains(QPoint(x, y)), r.contains(QPoint(53 - x, 32 - y)));
    }

    void startUpShapesOnlySignZero() {
        auto form = startForm();
        QCOMPARE(form->picWaku1(0)->mask(), platform::roundRectRegion(1, 1, 54, 33, 5, 5));
        QVERIFY(form->picWaku1(1)->mask().isEmpty());
    }

    void panelShownOnTopAsToolWindow() {
        auto form = startForm();
        frmSet& panel = form->panel();
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.windowTitle(), QStringLiteral("設定パネル"));
        QVERIFY(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(panel.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!panel.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(panel.size(), QSize(265, 144));
        // A close request is refused: the door switches cannot be lost.
        QVERIFY(!panel.close());
        QVERIFY(panel.isVisible());
    }

    // Every control of the panel at its place in twips, and its colours as the panel shows them:
    // the pixel sampled (from the control's top-left corner) is the control's background, or, for
    // a transparent label, what lies behind it; textColour is a colour its caption is drawn in.
    void panelControlsAndColours_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");  // inside the control's container
        QTest::addColumn<QPoint>("sample");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("textColour");  // invalid: not checked
        const QColor black(0, 0, 0), lightGrey(0xE0, 0xE0, 0xE0), orange(0xFF, 0xC0, 0x80), none;
        QTest::newRow("FrameA") << "FrameA" << QRect(30, 75, 3855, 2055) << QPoint(1, 1) << black << none;
        QTest::newRow("Check1") << "Check1" << QRect(75, 165, 735, 510) << QPoint(-1, -1) << none << none;
        QTest::newRow("HScroll1") << "HScroll1" << QRect(855, 195, 1260, 240) << QPoint(-1, -1) << none << none;
        QTest::newRow("lblMaeSpeed") << "lblMaeSpeed" << QRect(885, 450, 1215, 240) << QPoint(3, 8) << black << orange;
        QTest::newRow("Check2") << "Check2" << QRect(60, 840, 735, 525) << QPoint(-1, -1) << none << none;
        QTest::newRow("HScroll2") << "HScroll2" << QRect(840, 840, 1230, 240) << QPoint(-1, -1) << none << none;
        QTest::newRow("lblNakaSpeed") << "lblNakaSpeed" << QRect(870, 1110, 1200, 240) << QPoint(3, 8) << black << orange;
        QTest::newRow("Frame2") << "Frame2" << QRect(75, 1440, 2085, 480) << QPoint(136, 28) << lightGrey << none;
        QTest::newRow("Option1(0)") << "Option1(0)" << QRect(60, 180, 735, 270) << QPoint(47, 9) << lightGrey << none;
        QTest::newRow("Option1(1)") << "Option1(1)" << QRect(795, 180, 570, 270) << QPoint(36, 9) << lightGrey << none;
        QTest::newRow("Option1(2)") << "Option1(2)" << QRect(1470, 165, 555, 270) << QPoint(35, 9) << lightGrey << none;
        QTest::newRow("Label1") << "Label1" << QRect(2295, 165, 1440, 1365) << QPoint(3, 89) << lightGrey << black;
        QTest::newRow("Label2(0)") << "Label2(0)" << QRect(2340, 435, 315, 375) << QPoint(1, 1) << lightGrey << black;
        QTest::newRow("scllMakuSpeed(0)") << "scllMakuSpeed(0)" << QRect(2655, 420, 990, 225) << QPoint(-1, -1) << none << none;
        QTest::newRow("lblMakuSpeed(0)") << "lblMakuSpeed(0)" << QRect(2640, 690, 1035, 240) << QPoint(3, 8) << black << orange;
        QTest::newRow("Label2(1)") << "Label2(1)" << QRect(2325, 1020, 315, 375) << QPoint(1, 1) << lightGrey << black;
        QTest::newRow("scllMakuSpeed(1)") << "scllMakuSpeed(1)" << QRect(2625, 990, 1050, 225) << QPoint(-1, -1) << none << none;
        QTest::newRow("lblMakuSpeed(1)") << "lblMakuSpeed(1)" << QRect(2640, 1245, 1035, 240) << QPoint(3, 8) << black
                                         << QColor(0x80, 0x80, 0x80);
        QTest::newRow("Command3") << "Command3" << QRect(2295, 1575, 1515, 360) << QPoint(-1, -1) << none << black;
    }
    void panelControlsAndColours() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QPoint, sample);
        QFETCH(QColor, background);
        QFETCH(QColor, textColour);
        auto form = startForm();
        frmSet& panel = form->panel();
        const std::map<QString, QWidget*> controls = {
            {"FrameA", panel.FrameA}, {"Check1", panel.Check1}, {"HScroll1", panel.HScroll1},
            {"lblMaeSpeed", panel.lblMaeSpeed}, {"Check2", panel.Check2}, {"HScroll2", panel.HScroll2},
            {"lblNakaSpeed", panel.lblNakaSpeed}, {"Frame2", panel.Frame2}, {"Option1(0)", panel.Option1(0)},
            {"Option1(1)", panel.Option1(1)}, {"Option1(2)", panel.Option1(2)}, {"Label1", panel.Label1},
            {"Label2(0)", panel.Label2(0)}, {"scllMakuSpeed(0)", panel.scllMakuSpeed(0)},
            {"lblMakuSpeed(0)", panel.lblMakuSpeed(0)}, {"Label2(1)", panel.Label2(1)},
            {"scllMakuSpeed(1)", panel.scllMakuSpeed(1)}, {"lblMakuSpeed(1)", panel.lblMakuSpeed(1)},
            {"Command3", panel.Command3}};
        QWidget* control = controls.at(name);
        const QRect expected = ctl::twipsToPixels(ctl::ScaleRect{float(twips.x()), float(twips.y()),
                                                                 float(twips.width()), float(twips.height())});
        QCOMPARE(control->geometry(), expected);
        const QImage shot = panel.grab().toImage();
        const QPoint origin = control->mapTo(&panel, QPoint(0, 0));
        if (background.isValid())
            QCOMPARE(shot.pixelColor(origin + sample), background);
        if (textColour.isValid()) {
            const QImage inside = shot.copy(QRect(origin, control->size()));
            bool found = false;
            for (int y = 0; y < inside.height() && !found; ++y)
                for (int x = 0; x < inside.width() && !found; ++x)
                    found = inside.pixelColor(x, y) == textColour;
            QVERIFY2(found, "the caption is not drawn in its colour");
        }
    }

    // A checked menu item shows its mark; an unchecked one shows nothing there, just like an item
    // that never carries one.
    void menuCheckMarks() {
        Form1 form;
        QVERIFY(form.MnuViewKanban->Checked() && form.MnuViewWaku->Checked());
        form.MnuViewWaku->setChecked(false);
        QMenu* menu = form.MnuTempMenu1;
        QCursor::setPos(QPoint(700, 500));
        menu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        const QImage shot = menu->grab().toImage();
        menu->close();
        const auto markColumn = [&](QAction* item) {
            const QRect r = menu->actionGeometry(item);
            return shot.copy(r.left(), r.top(), r.height(), r.height());
        };
        QCOMPARE(markColumn(form.MnuViewWaku), markColumn(form.MnuSetKanban));
        QVERIFY(markColumn(form.MnuViewKanban) != markColumn(form.MnuSetKanban));
    }

    // The bus window carries the program's icon, at 32 and at 64 pixels, as the window manager gets
    // it; the panel's caption bar shows none (a blank icon keeps the application's off it).
    void onlyTheBusWindowCarriesTheProgramIcon() {
        auto form = startForm();
        const QIcon icon = form->windowHandle()->icon();
        QCOMPARE(icon.pixmap(QSize(32, 32), 1.0).size(), QSize(32, 32));
        QCOMPARE(icon.pixmap(QSize(64, 64), 1.0).size(), QSize(64, 64));
        const QImage panelIcon = form->panel().windowHandle()->icon().pixmap(QSize(32, 32), 1.0).toImage();
        QVERIFY(!panelIcon.isNull());
        for (int y = 0; y < panelIcon.height(); ++y)
            for (int x = 0; x < panelIcon.width(); ++x)
                QCOMPARE(qAlpha(panelIcon.pixel(x, y)), 0);
    }

    void fallbackValuesWithoutSettingsFile() {
        auto form = startForm();
        frmSet& panel = form->panel();
        QCOMPARE(panel.HScroll1->Value(), std::int16_t(10000));
        QCOMPARE(panel.HScroll2->Value(), std::int16_t(6000));
        QCOMPARE(panel.scllMakuSpeed(0)->Value(), std::int16_t(1));
        QCOMPARE(panel.scllMakuSpeed(1)->Value(), std::int16_t(1));
        QVERIFY(panel.Option1(0)->isChecked());
        // Labels follow every value set by code.
        QCOMPARE(panel.lblMaeSpeed->text(), QStringLiteral("10000"));
        QCOMPARE(panel.lblNakaSpeed->text(), QStringLiteral("6000"));
        QCOMPARE(panel.lblMakuSpeed(0)->text(), QStringLiteral("1"));
        QCOMPARE(panel.lblMakuSpeed(1)->text(), QStringLiteral("1"));
        QCOMPARE(form->pos(), QPoint(0, 0));
        // Just below the main window: at least its client height, whatever frame the window gets.
        QVERIFY(panel.Top() >= 218 * 15);
        QVERIFY(panel.Top() <= 218 * 15 + 60 * 15);
        QCOMPARE(panel.Left(), 0.0f);
        // The signboard is reset: Left 8790, Top 1680, 1410 × 450, the frame around it.
        QCOMPARE(form->PicKanban->scaleRect(), (ctl::ScaleRect{8790, 1680, 1410, 450}));
        QCOMPARE(form->shpK_Waku(0)->rect(), (ctl::ScaleRect{8715, 1680, 75, 465}));
    }

    void labelsFollowTheirScrollBars() {
        auto form = startForm();
        frmSet& panel = form->panel();
        QCOMPARE(panel.lblMaeSpeed->text(), QStringLiteral("10000"));
        panel.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(panel.lblMaeSpeed->text(), QStringLiteral("10001"));
        panel.HScroll2->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(panel.lblNakaSpeed->text(), QStringLiteral("5999"));
        panel.scllMakuSpeed(0)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(panel.lblMakuSpeed(0)->text(), QStringLiteral("2"));
        // Setting the value it already has still shows it.
        panel.lblMakuSpeed(0)->setText("x");
        panel.scllMakuSpeed(0)->setValueChecked(2);
        QCOMPARE(panel.lblMakuSpeed(0)->text(), QStringLiteral("2"));
        // Out of range is refused and changes nothing.
        QVERIFY_THROWS_EXCEPTION(ctl::RuntimeError, panel.HScroll1->setValueChecked(0));
        QVERIFY_THROWS_EXCEPTION(ctl::RuntimeError, panel.scllMakuSpeed(0)->setValueChecked(1001));
        QCOMPARE(panel.HScroll1->Value(), std::int16_t(10001));
        QVERIFY(!panel.scllMakuSpeed(1)->isEnabled());
        QVERIFY(!panel.lblMakuSpeed(1)->isEnabled());
    }

    void middleDoorSwitchGreysTheModeFrame() {
        auto form = startForm();
        frmSet& panel = form->panel();
        QVERIFY(panel.Frame2->isEnabled());
        const QImage enabled = panel.Frame2->grab().toImage();
        panel.Check2->click();
        QCOMPARE(panel.Check2->Value(), std::int16_t(1));
        QVERIFY(!panel.Frame2->isEnabled());
        QVERIFY(!panel.Option1(1)->isEnabled());
        const QImage greyed = panel.Frame2->grab().toImage();
        panel.Check2->click();
        QCOMPARE(panel.Check2->Value(), std::int16_t(0));
        QVERIFY(panel.Frame2->isEnabled());

        // The frame draws its own etched border (dark line, light line inside it) and its
        // caption, greyed with the frame.
        const int bottom = enabled.height() - 1;
        QCOMPARE(enabled.pixel(enabled.width() / 2, bottom - 1), panel.palette().color(QPalette::Dark).rgb());
        QCOMPARE(enabled.pixel(enabled.width() / 2, bottom), panel.palette().color(QPalette::Light).rgb());
        const QRect caption(8, 0, 70, 12);
        QVERIFY(enabled.copy(caption) != greyed.copy(caption));
    }

    void rightClickOpensTheMenuOnlyWhereTheWindowGetsIt_data() {
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("menuExpected");
        QTest::newRow("bus picture, right") << QPoint(150, 150) << true << true;
        QTest::newRow("frame bar, right") << QPoint(583, 130) << true << true;
        QTest::newRow("bus picture, left") << QPoint(150, 150) << false << false;
        QTest::newRow("sign window, right") << QPoint(265, 50) << true << false;
        QTest::newRow("front door, right") << QPoint(50, 100) << true << false;
        QTest::newRow("middle door, right") << QPoint(340, 100) << true << false;
    }
    void rightClickOpensTheMenuOnlyWhereTheWindowGetsIt() {
        QFETCH(QPoint, where);
        QFETCH(bool, right);
        QFETCH(bool, menuExpected);
        auto form = startForm();
        QWidget* target = form->childAt(where);
        if (!target)
            target = form.get();
        const QPoint local = target->mapFrom(form.get(), where);
        const QStringList captions = captureMenu(
            [&] { QTest::mouseClick(target, right ? Qt::RightButton : Qt::LeftButton, {}, local); });
        if (menuExpected) {
            const QStringList expected = {QStringLiteral("看板の表示"), QStringLiteral("枠の表示"),
                                          QStringLiteral("看板の画像を設定..."), QStringLiteral("-"),
                                          QStringLiteral("看板のリセット")};
            QCOMPARE(captions, expected);
        } else {
            QVERIFY(captions.isEmpty());
        }
    }

    void firstFocusFollowsTabOrder() {
        auto shown = startForm();
        QApplication::setActiveWindow(shown.get());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(shown->PicKanban));
        // With the signboard hidden the focus starts on sign window 0.
        Form1 form;
        form.doorWait = [](int) {};
        form.Form_Load();
        form.PicKanban->hide();
        form.show();
        QApplication::setActiveWindow(&form);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.picWaku1(0)));
    }

    void panelIsLoadedOnUse() {
        Form1 form;
        QVERIFY(!form.panelLoaded());
        QCOMPARE(form.panel().HScroll1->Value(), std::int16_t(6000));  // initial value
        QVERIFY(form.panelLoaded());
        QVERIFY(!form.panel().isVisible());
        QCOMPARE(form.panel().lblMaeSpeed->text(), QStringLiteral("0"));
        QCOMPARE(form.panel().HScroll2->Value(), std::int16_t(10000));
        QCOMPARE(form.panel().scllMakuSpeed(0)->Value(), std::int16_t(0));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
