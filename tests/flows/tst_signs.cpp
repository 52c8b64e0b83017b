// Rolling the destination sign with the keyboard and choosing its film.

#include "FlowSupport.h"

#include "controls/RuntimeError.h"
#include "platform/PictureLoader.h"

#include <QTemporaryDir>
#include <QtTest>

using flows::DialogScript;
using testsupport::startForm;

namespace {

// Clicks the film of sign 0 so that its window takes the keyboard, as the user does.
void focusSignZero(Form1& form) {
    QApplication::setActiveWindow(&form);
    QTest::mouseClick(form.picWaku1(0), Qt::LeftButton, {}, QPoint(20, 15));
    QTRY_VERIFY(form.picWaku1(0)->hasFocus());
}

void setStep(Form1& form, std::int16_t index, int step) { form.panel().scllMakuSpeed(index)->setValueChecked(step); }

}  // namespace

class TestSigns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::installFontSubstitutions(); }

    void arrowKeysRoll_data() {
        QTest::addColumn<QList<int>>("keys");  // Qt keys, pressed in turn
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("expected");
        QTest::newRow("three ups") << QList<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Up} << 5 << 15;
        QTest::newRow("three ups, one down")
            << QList<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down} << 5 << 10;
        QTest::newRow("down goes negative") << QList<int>{Qt::Key_Down, Qt::Key_Down} << 7 << -14;
        QTest::newRow("up then down") << QList<int>{Qt::Key_Up, Qt::Key_Down} << 13 << 0;
        QTest::newRow("largest step") << QList<int>{Qt::Key_Up, Qt::Key_Up} << 1000 << 2000;
    }
    void arrowKeysRoll() {
        QFETCH(QList<int>, keys);
        QFETCH(int, step);
        QFETCH(int, expected);
        auto form = startForm();
        setStep(*form, 0, step);
        focusSignZero(*form);
        for (int key : keys)
            QTest::keyClick(form->picWaku1(0), static_cast<Qt::Key>(key));
        QCOMPARE(form->MakuPos[0], expected);
        QCOMPARE(form->imgMaku1(0)->Top(), float(expected));
        // Sign window 0 measures in pixels: the film moves by the position in pixels.
        QCOMPARE(form->imgMaku1(0)->pixelRect().top(), expected);
        QCOMPARE(form->MakuPos[1], 0);
    }

    void otherKeysChangeNothing_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("left") << int(Qt::Key_Left) << 0;
        QTest::newRow("right") << int(Qt::Key_Right) << 0;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 0;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 0;
        QTest::newRow("letter") << int(Qt::Key_A) << 0;
        QTest::newRow("digit") << int(Qt::Key_8) << 0;
        QTest::newRow("ctrl+letter") << int(Qt::Key_U) << int(Qt::ControlModifier);
    }
    void otherKeysChangeNothing() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        auto form = startForm();
        setStep(*form, 0, 5);
        focusSignZero(*form);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Up);
        // Move the film behind the position's back: a key that does nothing must not set Top.
        form->imgMaku1(0)->setTop(3);
        QTest::keyClick(form->picWaku1(0), static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(form->MakuPos[0], 5);
        QCOMPARE(form->imgMaku1(0)->Top(), 3.0f);
    }

    void shiftedArrowsRollAsPlainOnes() {
        auto form = startForm();
        setStep(*form, 0, 4);
        focusSignZero(*form);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(form->MakuPos[0], 8);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(form->MakuPos[0], 4);
        QCOMPARE(form->imgMaku1(0)->Top(), 4.0f);
    }

    void stepZeroKeepsPositionButSetsTop() {
        auto form = startForm();
        setStep(*form, 0, 0);
        focusSignZero(*form);
        form->imgMaku1(0)->setTop(9);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Up);
        QCOMPARE(form->MakuPos[0], 0);
        QCOMPARE(form->imgMaku1(0)->Top(), 0.0f);
    }

    void signOneRollsInTwips() {
        auto form = startForm();
        setStep(*form, 1, 20);
        setStep(*form, 0, 3);
        form->picWaku1_KeyDown(1, 38, 0);
        form->picWaku1_KeyDown(1, 38, 1);
        QCOMPARE(form->MakuPos[1], 40);
        QCOMPARE(form->imgMaku1(1)->Top(), 40.0f);
        QCOMPARE(form->imgMaku1(1)->pixelRect().top(), 3);  // 40 twips, nearest pixel
        form->picWaku1_KeyDown(1, 40, 0);
        QCOMPARE(form->MakuPos[1], 20);
        // Each sign rolls with its own step and leaves the other alone.
        QCOMPARE(form->MakuPos[0], 0);
        form->picWaku1_KeyDown(0, 38, 0);
        QCOMPARE(form->MakuPos[0], 3);
        QCOMPARE(form->MakuPos[1], 20);
    }

    void panelSpeedTakesEffectAtTheNextPress() {
        auto form = startForm();
        setStep(*form, 0, 2);
        focusSignZero(*form);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Up);
        // The user drags the panel's scroll bar between two presses.
        form->panel().scllMakuSpeed(0)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        const int newStep = form->panel().scllMakuSpeed(0)->Value();
        QVERIFY(newStep != 2);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Up);
        QCOMPARE(form->MakuPos[0], 2 + newStep);
    }

    // --- choosing the film -------------------------------------------------------------------

    void cancelChangesNothing() {
        QTemporaryDir dir;
        const QString film = flows::writePicture(dir.path(), "film.bmp", {40, 300}, Qt::red);
        auto form = startForm();
        DialogScript script;
        script.choose(film);
        form->Load方向幕(0);
        setStep(*form, 0, 6);
        form->picWaku1_KeyDown(0, 38, 0);
        const QImage before = form->imgMaku1(0)->picture().image();
        script.cancel();
        form->Load方向幕(0);
        QCOMPARE(script.offered.size(), 2);
        QVERIFY(script.messages.empty());
        QCOMPARE(Common::MakuPath[0], film);
        QCOMPARE(form->MakuPos[0], 6);
        QCOMPARE(form->imgMaku1(0)->Top(), 6.0f);
        QCOMPARE(form->imgMaku1(0)->picture().image(), before);
    }

    void unloadableFileShowsItsDescription_data() {
        QTest::addColumn<QByteArray>("content");  // empty: the file does not exist
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("text file") << QByteArray("not a picture at all\r\n");
        QTest::newRow("truncated bitmap") << QByteArray("BM\x10\x00\x00\x00", 6);
    }
    void unloadableFileShowsItsDescription() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString film = flows::writePicture(dir.path(), "film.bmp", {40, 300}, Qt::red);
        const QString bad = content.isEmpty() ? QDir(dir.path()).filePath("gone.bmp")
                                              : flows::writeText(dir.path(), "bad.bmp", content);
        QString expectedText;
        try {
            platform::loadPicture(bad);
            QFAIL("the loader accepted a file that is no picture");
        } catch (const ctl::RuntimeError& e) {
            expectedText = e.description();
        }
        QVERIFY(!expectedText.isEmpty());

        auto form = startForm();
        DialogScript script;
        script.choose(film);
        form->Load方向幕(0);
        setStep(*form, 0, 5);
        form->picWaku1_KeyDown(0, 40, 0);
        script.choose(bad);
        form->Load方向幕(0);

        QCOMPARE(script.messages.size(), std::size_t(1));
        QCOMPARE(script.messages[0].text, expectedText);
        QCOMPARE(script.messages[0].icon, platform::MessageIcon::None);
        QVERIFY(script.messages[0].title.isEmpty());
        // The failing name is remembered; the old film stays where it was.
        QCOMPARE(Common::MakuPath[0], bad);
        QCOMPARE(form->MakuPos[0], -5);
        QCOMPARE(form->imgMaku1(0)->Top(), -5.0f);
        QCOMPARE(form->imgMaku1(0)->picture().size(), QSize(40, 300));
        QCOMPARE(form->imgMaku1(0)->picture().image().pixelColor(0, 0), QColor(Qt::red));
    }

    void validPictureShowsFromTheTop() {
        QTemporaryDir dir;
        const QString film = flows::writePicture(dir.path(), "tall.bmp", {45, 520}, Qt::blue);
        auto form = startForm();
        DialogScript script;
        setStep(*form, 0, 5);
        focusSignZero(*form);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Up);
        QTest::keyClick(form->picWaku1(0), Qt::Key_Up);
        script.choose(film);
        form->imgMaku1_DblClick(0);
        QVERIFY(script.messages.empty());
        QCOMPARE(Common::MakuPath[0], film);
        QCOMPARE(form->MakuPos[0], 0);
        QCOMPARE(form->imgMaku1(0)->Top(), 0.0f);
        // The film does not stretch: it takes the picture's size (pixels in sign window 0).
        QCOMPARE(form->imgMaku1(0)->Width(), 45.0f);
        QCOMPARE(form->imgMaku1(0)->Height(), 520.0f);
        QCOMPARE(form->imgMaku1(0)->pixelRect().size(), QSize(45, 520));
        QCOMPARE(form->imgMaku1(0)->picture().image().pixelColor(10, 10), QColor(Qt::blue));
        // The next key rolls from the top.
        QTest::keyClick(form->picWaku1(0), Qt::Key_Down);
        QCOMPARE(form->MakuPos[0], -5);

        // The same file again reloads it and resets the position.
        script.choose(film);
        form->picWaku1_DblClick(0);
        QCOMPARE(form->MakuPos[0], 0);
        QCOMPARE(form->imgMaku1(0)->Top(), 0.0f);
        QCOMPARE(script.offered.last(), film);
    }

    void signOneChoosesItsOwnFilm() {
        QTemporaryDir dir;
        const QString film = flows::writePicture(dir.path(), "one.bmp", {30, 100}, Qt::green);
        auto form = startForm();
        DialogScript script;
        form->picWaku1_KeyDown(1, 38, 0);  // step 1 after the fallback
        script.choose(film);
        form->Load方向幕(1);
        QCOMPARE(Common::MakuPath[1], film);
        QVERIFY(Common::MakuPath[0].isEmpty());
        QCOMPARE(form->MakuPos[1], 0);
        // Sign window 1 measures in twips: 30 × 100 pixels are 450 × 1500 twips.
        QCOMPARE(form->imgMaku1(1)->Width(), 450.0f);
        QCOMPARE(form->imgMaku1(1)->Height(), 1500.0f);
    }

    void filmAndSignboardShareTheLastFileName() {
        QTemporaryDir dir;
        const QString film = flows::writePicture(dir.path(), "film.bmp", {40, 300}, Qt::red);
        const QString board = flows::writePicture(dir.path(), "board.bmp", {60, 20}, Qt::yellow);
        auto form = startForm();
        DialogScript script;
        script.choose(film);
        form->Load方向幕(0);
        script.choose(board);
        form->MnuSetKanban_Click();
        script.cancel();
        form->Load方向幕(0);
        const QStringList expected = {QString(), film, board};
        QCOMPARE(script.offered, expected);
        // A cancel keeps the name the dialog returned last.
        script.cancel();
        form->MnuSetKanban_Click();
        QCOMPARE(script.offered.last(), board);
    }
};

QTEST_MAIN(TestSigns)
#include "tst_signs.moc"
