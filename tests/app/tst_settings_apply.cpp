// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The settings file applied at start and written back at shutdown.

#include "app/TestSupport.h"
#include "app/WindowPlaces.h"

#include <QStyle>
#include <cerrno>
#include <sys/stat.h>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The record's sixteen fields in the file's order.
enum Field {
    FormLeft,
    FormTop,
    PanelLeft,
    PanelTop,
    Film0,
    Film1,
    Speed0,
    Speed1,
    Kanban,
    KanbanLeft,
    KanbanTop,
    ViewKanban,
    ViewWaku,
    Door1,
    Door2,
    Mode,
    NoFile = -3,  // a row without a settings file
    Ends = -2,    // a row with every speed at an end of its bar
    NoField = -1  // a row that changes no field
};

QByteArray quoted(const QString& path) { return '"' + path.toUtf8() + '"'; }

QByteArrayList record(const QString& film0, const QString& film1, const QString& kanban) {
    return {"1500",         "1200", "3000", "4500",    quoted(film0), quoted(film1), "5",   "7",
            quoted(kanban), "4028", "898",  "#FALSE#", "#FALSE#",     "123",         "456", "1"};
}

QByteArray line(const QByteArrayList& fields) { return fields.join(',') + "\r\n"; }

}  // namespace

class TestSettingsApply : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString film0_, film1_, kanban_, gone_, notAPicture_;

private Q_SLOTS:
    void initTestCase() {
        // Commas and Japanese characters in folder and file names.
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("行先, 幕")));
        const QDir sub(dir_.filePath(QStringLiteral("行先, 幕")));
        film0_ = testsupport::writePicture(sub, QStringLiteral("方向幕,0.bmp"), {48, 400}, Qt::red);
        film1_ = testsupport::writePicture(sub, QStringLiteral("film1.bmp"), {40, 200}, Qt::blue);
        kanban_ = testsupport::writePicture(sub, QStringLiteral("看板.bmp"), {80, 30}, Qt::green);
        gone_ = sub.filePath(QStringLiteral("消えた,幕.bmp"));
        notAPicture_ = testfiles::write(sub.filePath(QStringLiteral("notes.bmp")), "not a picture\n");
    }

    void fallbacks_data() {
        QTest::addColumn<int>("field");  // a file that cannot be parsed is as one with a word
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("appliedBeforeFailing");  // places, visibility, board were applied
        QTest::addColumn<bool>("filmShown");             // film 0 was applied before the failure
        QTest::newRow("roll speed 1001") << int(Speed0) << "1001" << true << false;
        QTest::newRow("door speed 65537, 1 in 16 bits") << int(Door1) << "65537" << true << false;
        QTest::newRow("mode 3") << int(Mode) << "3" << true << true;
        QTest::newRow("word in a number field") << int(Door1) << "fast" << false << false;
        QTest::newRow("no file") << int(NoFile) << "" << false << false;
    }
    void fallbacks() {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(bool, appliedBeforeFailing);
        QFETCH(bool, filmShown);
        QByteArrayList r = record(film0_, {}, kanban_);
        if (field >= 0)
            r[field] = value.toUtf8();
        auto form = testsupport::startForm(field == NoFile ? std::nullopt : std::optional(line(r)));
        frmSet& panel = form->panel();
        const testsupport::PanelControls controls(panel);
        QCOMPARE(form->pos(), QPoint(0, 0));
        QCOMPARE(panel.Left(), 0.0f);
        // Right below the bus window: with no window manager to tell its frame, a title bar of the
        // style's height and borders of a pixel.
        const int title = form->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, form.get());
        QCOMPARE(panel.Top(), float((218 + title + 2) * 15));
        const QList<int> speeds{controls.HScroll1->Value(), controls.HScroll2->Value(),
                                controls.scllMakuSpeed(0)->Value(), controls.scllMakuSpeed(1)->Value()};
        QCOMPARE(speeds, (QList<int>{10000, 6000, 1, 1}));
        QVERIFY(controls.Option1(0)->isChecked());
        QCOMPARE(form->PicKanban->scaleRect(), (core::ScaleRect{8790, 1680, 1410, 450}));
        QVERIFY(form->PicKanban->picture().isNull());
        QCOMPARE(form->shpK_Waku(2)->rect(), (core::ScaleRect{8715, 2130, 1560, 60}));
        // What was applied before the failure stays; the fallback does not touch visibility.
        const QList<bool> shown{form->PicKanban->isVisibleTo(form.get()), form->MnuViewKanban->Checked(),
                                form->MnuViewWaku->Checked(), form->shpK_Waku(1)->Visible()};
        QCOMPARE(shown, QList<bool>(4, !appliedBeforeFailing));
        QCOMPARE(form->imgMaku1(0)->picture().isNull(), !filmShown);
        // Paths read before the failing field are kept, whether or not their pictures loaded.
        if (field >= 0) {
            QCOMPARE(form->MakuPath[0], film0_);
            QCOMPARE(form->KanbanPath, kanban_);
        }
        // The broken record gives way, at the close, to the arrangement shown.
        const QByteArray saved = testsupport::savedRecord(*form);
        QVERIFY2(saved.startsWith("0,0,0,") && saved.endsWith("\r\n"), saved.constData());
    }

    // A window stored where its title bar is off every screen (800 x 600 here) comes back onto it,
    // moved no further than it must; the panel keeps its place under the bus when both were
    // off the screen and fit on it. One whose title bar is partly on the screen stays. Without a
    // window manager to tell the frame, the bus window's frame counts as 760 x 244 pixels before
    // it is shown, the panel's as 267 x 170.
    void storedPlacesKeptReachable_data() {
        QTest::addColumn<QPoint>("storedBus");  // in pixels
        QTest::addColumn<QPoint>("storedPanel");
        QTest::addColumn<QPoint>("bus");
        QTest::addColumn<QPoint>("panel");
        QTest::newRow("from a wider desktop")
            << QPoint(900, 80) << QPoint(900, 302) << QPoint(40, 80) << QPoint(40, 302);
        QTest::newRow("above the screen") << QPoint(20, -300) << QPoint(20, -78) << QPoint(20, 0) << QPoint(20, 222);
        QTest::newRow("700 left: the bus window's title bar shows")
            << QPoint(-700, 80) << QPoint(-700, 302) << QPoint(-700, 80) << QPoint(0, 302);
        QTest::newRow("too far apart to move together")
            << QPoint(900, 80) << QPoint(1700, 80) << QPoint(40, 80) << QPoint(533, 80);
    }
    void storedPlacesKeptReachable() {
        QFETCH(QPoint, storedBus);
        QFETCH(QPoint, storedPanel);
        QByteArrayList r = record(film0_, film1_, kanban_);
        r[FormLeft] = QByteArray::number(storedBus.x() * 15);
        r[FormTop] = QByteArray::number(storedBus.y() * 15);
        r[PanelLeft] = QByteArray::number(storedPanel.x() * 15);
        r[PanelTop] = QByteArray::number(storedPanel.y() * 15);
        auto form = testsupport::startForm(line(r));
        QTEST(form->pos(), "bus");
        QTEST(form->panel().pos(), "panel");
        // What the close writes is where they were brought.
        const QByteArrayList saved = testsupport::savedRecord(*form).split(',');
        QFETCH(QPoint, bus);
        QFETCH(QPoint, panel);
        QCOMPARE(saved.mid(0, 4),
                 (QByteArrayList{QByteArray::number(bus.x() * 15), QByteArray::number(bus.y() * 15),
                                 QByteArray::number(panel.x() * 15), QByteArray::number(panel.y() * 15)}));
    }

    // A film and a board in a folder whose name is not valid UTF-8 ("café" in Latin-1): shown,
    // whether read from the file or chosen in the dialog (which shows the name with a
    // replacement character), and stored byte for byte.
    void pathsThatAreNotText() {
        const QByteArray folder = QFile::encodeName(dir_.path()) + "/caf\xE9";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0 || errno == EEXIST);
        const QByteArray film = folder + "/\xC8\xFE.bmp";  // a name as a legacy encoding spells it
        const QByteArray board = folder + "/board.bmp";
        QCOMPARE(::rename(QFile::encodeName(testsupport::writePicture(dir_.path(), "f.bmp", {30, 300}, Qt::red)), film),
                 0);
        QCOMPARE(
            ::rename(QFile::encodeName(testsupport::writePicture(dir_.path(), "b.bmp", {80, 30}, Qt::green)), board),
            0);

        QByteArrayList r = record({}, {}, {});
        r[Film1] = '"' + film + '"';
        r[Kanban] = '"' + board + '"';
        auto form = testsupport::startForm(line(r));
        QCOMPARE(form->imgMaku1(1)->pixelRect().size(), QSize(30, 300));
        QVERIFY(!form->PicKanban->picture().isNull());
        QCOMPARE(testsupport::savedRecord(*form), line(r));

        testsupport::DialogScript script;
        const QString shown = QFile::decodeName(film);
        QVERIFY(shown.contains(QChar::ReplacementCharacter));
        script.choose(shown);
        form->imgMaku1_DblClick(0);
        QCOMPARE(script.messages.size(), std::size_t(0));
        QCOMPARE(form->MakuPath[0], film);
        QCOMPARE(form->imgMaku1(0)->pixelRect().size(), QSize(30, 300));
        r[Film0] = '"' + film + '"';
        QCOMPARE(testsupport::savedRecord(*form), line(r));
    }

    // Among several screens the nearest takes a window in, within the part that task bars leave;
    // a window larger than the screen goes to its top-left corner.
    void nearestScreen_data() {
        QTest::addColumn<QRect>("bus");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("right of the second screen") << QRect(3300, 100, 400, 200) << QPoint(2800, 100);
        QTest::newRow("below the first, under its task bar") << QRect(100, 1300, 400, 200) << QPoint(100, 832);
        QTest::newRow("larger than the screen") << QRect(-3000, 100, 2000, 1500) << QPoint(0, 0);
        QTest::newRow("title bar on the second screen") << QRect(3100, 100, 400, 200) << QPoint(3100, 100);
    }
    void nearestScreen() {
        QFETCH(QRect, bus);
        const QList<placement::Screen> screens{{{0, 0, 1600, 1080}, {0, 0, 1600, 1032}},
                                               {{1600, 0, 1600, 1200}, {1600, 0, 1600, 1200}}};
        const placement::Window panel{{200, 300, 100, 100}, {200, 300, 100, 20}};  // on the first screen
        const placement::Window busWindow{bus, {bus.topLeft(), QSize(bus.width(), 20)}};
        const placement::Corners corners = placement::reachableCorners(busWindow, panel, screens);
        QTEST(corners.bus, "expected");
        QCOMPARE(corners.panel, QPoint(200, 300));
        QCOMPARE(placement::reachableCorners(busWindow, panel, {}).bus, bus.topLeft());
    }

    // A stored record is applied whole, speeds at the ends of their bars too, and written back unchanged. A stored picture that cannot
    // be loaded costs only that picture: its path is kept and written again, so the picture comes
    // back with the file.
    void storedRecordAndUnloadablePictures_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("path");
        QTest::newRow("every picture loads") << int(NoField) << QString();
        QTest::newRow("speeds at the ends of their bars") << int(Ends) << QString();
        QTest::newRow("deleted film") << int(Film0) << gone_;
        QTest::newRow("film that is no picture") << int(Film1) << notAPicture_;
        QTest::newRow("missing board picture") << int(Kanban) << gone_;
    }
    void storedRecordAndUnloadablePictures() {
        QFETCH(int, field);
        QFETCH(QString, path);
        QByteArrayList r = record(film0_, film1_, kanban_);
        if (field == Ends)
            r[Speed0] = "1000", r[Speed1] = "0", r[Door1] = "30000", r[Door2] = "1";
        else if (field >= 0)
            r[field] = quoted(path);
        auto form = testsupport::startForm(line(r));
        frmSet& panel = form->panel();
        const testsupport::PanelControls controls(panel);
        QCOMPARE(form->imgMaku1(0)->picture().isNull(), field == Film0);
        QCOMPARE(form->imgMaku1(1)->picture().isNull(), field == Film1);
        QCOMPARE(form->PicKanban->picture().isNull(), field == Kanban);
        const QStringList labels{controls.lblMakuSpeed(0)->text(), controls.lblMakuSpeed(1)->text(),
                                 controls.lblMaeSpeed->text(), controls.lblNakaSpeed->text()};
        QCOMPARE(labels, (QStringList{r[Speed0], r[Speed1], r[Door1], r[Door2]}));
        QVERIFY(controls.Option1(1)->isChecked());
        QVERIFY(!form->PicKanban->isVisibleTo(form.get()) && !form->shpK_Waku(1)->Visible());
        if (field == NoField) {  // at its stored place, sized by its 80 x 30 pixel picture, the frame around it
            QCOMPARE(form->PicKanban->scaleRect(), (core::ScaleRect{4028, 898, 1200, 450}));
            QCOMPARE(form->PicKanban->geometry(), QRect(269, 60, 80, 30));  // 268.53 and 59.87 pixels, rounded
            QCOMPARE(form->shpK_Waku(2)->rect(), (core::ScaleRect{3953, 1348, 1350, 60}));
            QCOMPARE(form->imgMaku1(1)->picture().size(), QSize(40, 200));
        }
        QCOMPARE(testsupport::savedRecord(*form), line(r));
    }
};

QTEST_MAIN(TestSettingsApply)
#include "tst_settings_apply.moc"
