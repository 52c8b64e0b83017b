// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Rolling the destination sign with the keyboard and choosing its film.

#include "app/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using testsupport::DialogScript;
using testsupport::startForm;

namespace {
enum class Choice { Cancel, TextFile, NewFilm, SameFileAgain };
}  // namespace

class TestSigns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each arrow press sets the film's Top from the position, even with step 0; other keys touch neither.
    void keysRoll_data() {
        QTest::addColumn<QList<int>>("keys");  // Qt keys, pressed in turn
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("expected");  // the position; Top stays 9 unless an arrow was pressed
        const int up = Qt::Key_Up, down = Qt::Key_Down;
        QTest::newRow("three ups, one down") << QList<int>{up, up, up, down} << 0 << 5 << 10;
        QTest::newRow("step 0") << QList<int>{up} << 0 << 0 << 0;
        QTest::newRow("shift") << QList<int>{up, up, down} << int(Qt::ShiftModifier) << 4 << 4;
        QTest::newRow("other keys") << QList<int>{Qt::Key_Left, Qt::Key_PageUp, Qt::Key_A} << 0 << 5 << 0;
    }
    void keysRoll() {
        QFETCH(QList<int>, keys);
        QFETCH(int, modifiers);
        QFETCH(int, step);
        QFETCH(int, expected);
        auto form = startForm();
        testsupport::PanelControls(form->panel()).scllMakuSpeed(0)->setValueChecked(step);
        // A click on the sign's window beside its film, or on the film, gives the window the keyboard.
        QApplication::setActiveWindow(form.get());
        for (const QPoint at : {QPoint(52, 16), QPoint(20, 15)}) {  // the film spans 1 to 50
            form->PicKanban->setFocus();
            QTRY_VERIFY(form->PicKanban->hasFocus());
            QTest::mouseClick(form->picWaku1(0), Qt::LeftButton, {}, at);
            QTRY_VERIFY(form->picWaku1(0)->hasFocus());
        }
        form->imgMaku1(0)->setTop(9);
        for (int key : keys)
            QTest::keyClick(form->picWaku1(0), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        const int top = keys.contains(Qt::Key_Up) || keys.contains(Qt::Key_Down) ? expected : 9;
        QCOMPARE(form->MakuPos[0], expected);
        // Sign window 0 measures in pixels; its film stands one pixel in from the left.
        QCOMPARE(form->imgMaku1(0)->pixelRect().topLeft(), QPoint(1, top));
    }

    // A new film, or the same file again, shows from the top at the picture's own size. A failed
    // choice keeps the old film where it was; only a load failure is reported, and its file name is
    // remembered. One dialog serves both choosers, offering the name it returned last.
    void choosingAFilm_data() {
        QTest::addColumn<Choice>("choice");
        QTest::newRow("cancel") << Choice::Cancel;
        QTest::newRow("text file") << Choice::TextFile;
        QTest::newRow("new film") << Choice::NewFilm;
        QTest::newRow("same file again") << Choice::SameFileAgain;
    }
    void choosingAFilm() {
        QFETCH(Choice, choice);
        QTemporaryDir dir;
        const QString film = testsupport::writePicture(dir.path(), "film.bmp", {40, 300}, Qt::red);
        const QString chosen =
            choice == Choice::TextFile  ? testfiles::write(dir.filePath("bad.bmp"), "not a picture\r\n")
            : choice == Choice::NewFilm ? testsupport::writePicture(dir.path(), "tall.bmp", {45, 520}, Qt::blue)
                                        : film;
        auto form = startForm();
        DialogScript script;
        script.choose(film);
        form->picWaku1_DblClick(0);
        testsupport::PanelControls(form->panel()).scllMakuSpeed(0)->setValueChecked(5);
        form->picWaku1_KeyDown(0, 40, 0);
        choice == Choice::Cancel ? script.cancel() : script.choose(chosen);
        form->imgMaku1_DblClick(0);
        const bool reported = choice == Choice::TextFile, kept = reported || choice == Choice::Cancel;
        QCOMPARE(script.messages.size(), std::size_t(reported ? 1 : 0));
        if (reported)
            QVERIFY(!script.messages[0].text.isEmpty() && script.messages[0].title.isEmpty());
        QCOMPARE(form->MakuPath[0], choice == Choice::Cancel ? film : chosen);
        QCOMPARE(form->MakuPos[0], kept ? -5 : 0);
        QCOMPARE(form->imgMaku1(0)->pixelRect().top(), kept ? -5 : 0);
        QCOMPARE(form->imgMaku1(0)->pixelRect().size(), choice == Choice::NewFilm ? QSize(45, 520) : QSize(40, 300));
        form->picWaku1_KeyDown(0, 40, 0);  // the next press rolls from there
        QCOMPARE(form->MakuPos[0], kept ? -10 : -5);
        script.cancel();
        form->MnuSetKanban_Click();
        QCOMPARE(script.offered, (QStringList{QString(), film, choice == Choice::Cancel ? film : chosen}));
    }
};

QTEST_MAIN(TestSigns)
#include "tst_signs.moc"
