// The signboard: its frame, its picture, showing and hiding, dragging and its menu.

// Mouse input goes through the window system as a user's does, so that the application
// knows which buttons are down while the board is dragged.
#define QTEST_QPA_MOUSE_HANDLING

#include "FlowSupport.h"

#include "signboard/FrameFit.h"

#include <QCursor>
#include <QTemporaryDir>
#include <QtTest>

using ctl::ScaleRect;
using flows::DialogScript;
using signboard::Bars;
using testsupport::captureMenu;
using testsupport::startForm;

Q_DECLARE_METATYPE(ctl::ScaleRect)
Q_DECLARE_METATYPE(signboard::Bars)

// Bar by bar, so that a failure names the bar and its place.
#define CHECK_BARS(actual, expected)                      \
    do {                                                  \
        const Bars a_ = (actual), e_ = (expected);        \
        for (std::size_t i_ = 0; i_ < a_.size(); ++i_)    \
            QCOMPARE(a_[i_], e_[i_]);                     \
    } while (false)

#define CHECK_STATE(actual, expected)                       \
    do {                                                    \
        const BoardState got_ = (actual), want_ = (expected); \
        QCOMPARE(got_.place, want_.place);                  \
        QCOMPARE(got_.path, want_.path);                    \
        QCOMPARE(got_.picture, want_.picture);              \
        CHECK_BARS(got_.bars, want_.bars);                  \
    } while (false)

namespace {

constexpr ScaleRect kResetPlace{8790, 1680, 1410, 450};
// The bars as laid out, drawn for the board's first place but with side bars 495 high.
constexpr Bars kInitialBars{{{8775, 1605, 75, 495}, {10260, 1605, 75, 495}, {8775, 2070, 1560, 60}}};

Bars barsOf(const Form1& form) {
    return {form.shpK_Waku(0)->rect(), form.shpK_Waku(1)->rect(), form.shpK_Waku(2)->rect()};
}

Bars fullFitOf(const ScaleRect& b) {
    return {{{b.left - 75, b.top, 75, b.height + 15},
             {b.left + b.width, b.top, 75, b.height + 15},
             {b.left - 75, b.top + b.height, b.width + 150, 60}}};
}

bool barsVisible(const Form1& form, bool visible) {
    for (std::int16_t i = 0; i < 3; ++i)
        if (form.shpK_Waku(i)->Visible() != visible)
            return false;
    return true;
}

// Everything a failed choice must leave alone.
struct BoardState {
    QImage picture;
    ScaleRect place;
    QString path;
    Bars bars;
};
BoardState stateOf(const Form1& form) {
    return {form.PicKanban->picture().image(), form.PicKanban->scaleRect(), Common::KanbanPath, barsOf(form)};
}

}  // namespace

class TestSignboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::installFontSubstitutions(); }

    void fits_data() {
        QTest::addColumn<ScaleRect>("board");
        QTest::addColumn<Bars>("before");
        QTest::addColumn<Bars>("full");
        QTest::addColumn<Bars>("quick");
        QTest::newRow("first place, laid-out bars")
            << ScaleRect{8850, 1620, 1410, 450} << kInitialBars
            << Bars{{{8775, 1620, 75, 465}, {10260, 1620, 75, 465}, {8775, 2070, 1560, 60}}}
            << Bars{{{8775, 1620, 75, 495}, {10260, 1620, 75, 495}, {8775, 2070, 1560, 60}}};
        QTest::newRow("tall board")
            << ScaleRect{100, 200, 3000, 1500} << kInitialBars
            << Bars{{{25, 200, 75, 1515}, {3100, 200, 75, 1515}, {25, 1700, 3150, 60}}}
            << Bars{{{25, 200, 75, 495}, {3100, 200, 75, 495}, {25, 1700, 3150, 60}}};
        // Bar thicknesses are whatever the bars have; no fit changes them.
        QTest::newRow("odd bar thicknesses")
            << ScaleRect{0, 0, 300, 90} << Bars{{{1, 2, 30, 40}, {5, 6, 45, 80}, {9, 10, 11, 12}}}
            << Bars{{{-75, 0, 30, 105}, {300, 0, 45, 105}, {-75, 90, 450, 12}}}
            << Bars{{{-75, 0, 30, 40}, {300, 0, 45, 80}, {-75, 90, 450, 12}}};
        QTest::newRow("dragged off the left edge")
            << ScaleRect{-600, -45, 1410, 450} << kInitialBars
            << Bars{{{-675, -45, 75, 465}, {810, -45, 75, 465}, {-675, 405, 1560, 60}}}
            << Bars{{{-675, -45, 75, 495}, {810, -45, 75, 495}, {-675, 405, 1560, 60}}};
        QTest::newRow("fractional twips")
            << ScaleRect{10.5f, 20.25f, 7.5f, 2.5f} << kInitialBars
            << Bars{{{-64.5f, 20.25f, 75, 17.5f}, {18, 20.25f, 75, 17.5f}, {-64.5f, 22.75f, 157.5f, 60}}}
            << Bars{{{-64.5f, 20.25f, 75, 495}, {18, 20.25f, 75, 495}, {-64.5f, 22.75f, 157.5f, 60}}};
    }
    void fits() {
        QFETCH(ScaleRect, board);
        QFETCH(Bars, before);
        QFETCH(Bars, full);
        QFETCH(Bars, quick);
        CHECK_BARS(signboard::fullFit(board, before), full);
        CHECK_BARS(signboard::quickFollow(board, before), quick);
    }

    void resetPlacesBoardAndFrame() {
        auto form = startForm();
        QCOMPARE(form->PicKanban->scaleRect(), kResetPlace);
        CHECK_BARS(barsOf(*form), fullFitOf(kResetPlace));
        QVERIFY(form->PicKanban->picture().isNull());
        QCOMPARE(form->PicKanban->geometry(), QRect(586, 112, 94, 30));
    }

    void largerPictureResizesBoardAndFrame() {
        QTemporaryDir dir;
        const QString big = flows::writePicture(dir.path(), "big.bmp", {200, 70}, Qt::cyan);
        auto form = startForm();
        DialogScript script;
        script.choose(big);
        form->MnuSetKanban_Click();
        QVERIFY(script.messages.empty());
        QCOMPARE(Common::KanbanPath, big);
        const ScaleRect board{8790, 1680, 3000, 1050};
        QCOMPARE(form->PicKanban->scaleRect(), board);
        QCOMPARE(form->PicKanban->geometry(), QRect(586, 112, 200, 70));
        CHECK_BARS(barsOf(*form), fullFitOf(board));
        QCOMPARE(form->shpK_Waku(0)->Height(), 1065.0f);
        QCOMPARE(form->shpK_Waku(2)->rect(), (ScaleRect{8715, 2730, 3150, 60}));
    }

    void quickFollowAloneKeepsSideBarHeights() {
        auto form = startForm();
        form->PicKanban->Move(8790, 1680, 2000, 600);
        QCOMPARE(form->shpK_Waku(0)->rect(), (ScaleRect{8715, 1680, 75, 465}));
        QCOMPARE(form->shpK_Waku(1)->rect(), (ScaleRect{10790, 1680, 75, 465}));
        QCOMPARE(form->shpK_Waku(2)->rect(), (ScaleRect{8715, 2280, 2150, 60}));
        // A move that keeps the size is no resize: the bars stay.
        form->PicKanban->Move(1000, 1000, 2000, 600);
        QCOMPARE(form->shpK_Waku(0)->rect(), (ScaleRect{8715, 1680, 75, 465}));
    }

    void failedChoicesChangeNothing_data() {
        QTest::addColumn<int>("kind");  // 0 cancel, 1 empty name, 2 missing file, 3 text file
        QTest::newRow("cancel") << 0;
        QTest::newRow("empty name") << 1;
        QTest::newRow("missing file") << 2;
        QTest::newRow("text file") << 3;
    }
    void failedChoicesChangeNothing() {
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString good = flows::writePicture(dir.path(), "good.bmp", {120, 40}, Qt::magenta);
        auto form = startForm();
        DialogScript script;
        script.choose(good);
        form->MnuSetKanban_Click();
        form->PicKanban->Move(5000, 900, form->PicKanban->Width(), form->PicKanban->Height());  // bars stay behind
        const BoardState before = stateOf(*form);
        QCOMPARE(before.path, good);
        switch (kind) {
        case 0: script.cancel(); break;
        case 1: script.choose(QString()); break;
        case 2: script.choose(QDir(dir.path()).filePath("nowhere.bmp")); break;
        default: script.choose(flows::writeText(dir.path(), "notes.bmp", "plain text\r\n")); break;
        }
        form->MnuSetKanban_Click();
        QVERIFY(script.messages.empty());
        CHECK_STATE(stateOf(*form), before);
    }

    void resetKeepsThePath() {
        QTemporaryDir dir;
        const QString pic = flows::writePicture(dir.path(), "pic.bmp", {50, 50}, Qt::darkGreen);
        auto form = startForm();
        DialogScript script;
        script.choose(pic);
        form->MnuSetKanban_Click();
        form->PicKanban->setLeft(300);
        form->MnuKanbanReset->trigger();
        QVERIFY(form->PicKanban->picture().isNull());
        QCOMPARE(form->PicKanban->scaleRect(), kResetPlace);
        CHECK_BARS(barsOf(*form), fullFitOf(kResetPlace));
        QCOMPARE(Common::KanbanPath, pic);
    }

    void boardToggleTwiceReturns() {
        auto form = startForm();
        QVERIFY(form->PicKanban->isVisibleTo(form.get()));
        form->MnuViewKanban->trigger();
        QVERIFY(!form->PicKanban->isVisibleTo(form.get()));
        QVERIFY(!form->MnuViewKanban->Checked());
        QVERIFY(!form->MnuViewKanban->isChecked());
        // The frame stands on its own where it was.
        QVERIFY(barsVisible(*form, true));
        CHECK_BARS(barsOf(*form), fullFitOf(kResetPlace));
        form->MnuViewKanban->trigger();
        QVERIFY(form->PicKanban->isVisibleTo(form.get()));
        QVERIFY(form->MnuViewKanban->Checked());
        QVERIFY(form->MnuViewKanban->isChecked());
    }

    void frameToggleTwiceReturnsAroundTheBoard() {
        auto form = startForm();
        form->MnuViewWaku->trigger();
        QVERIFY(barsVisible(*form, false));
        QVERIFY(!form->MnuViewWaku->Checked());
        QVERIFY(!form->MnuViewWaku->isChecked());
        QVERIFY(form->PicKanban->isVisibleTo(form.get()));
        // Moved while the frame is hidden: showing it again fits the new place.
        form->PicKanban->Move(3000, 600, 1410, 450);
        form->MnuViewWaku->trigger();
        QVERIFY(barsVisible(*form, true));
        QVERIFY(form->MnuViewWaku->Checked());
        CHECK_BARS(barsOf(*form), fullFitOf(ScaleRect{3000, 600, 1410, 450}));
    }

    void dragMovesBoardNotFrameUntilDoubleClick() {
        auto form = startForm();
        QApplication::setActiveWindow(form.get());
        ctl::PictureBox* board = form->PicKanban;
        const Bars barsBefore = barsOf(*form);
        const QPoint local(10, 10);
        const QPoint global = board->mapToGlobal(local);
        QCursor::setPos(global);
        const QPoint delta(-40, 25);
        const QPoint to = global + delta;
        // The press runs the drag loop until the release: queue the pointer's way first.
        QCoreApplication::postEvent(board, new QMouseEvent(QEvent::MouseMove, board->mapFromGlobal(to), to,
                                                           Qt::NoButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(board, new QMouseEvent(QEvent::MouseButtonRelease, board->mapFromGlobal(to),
                                                           to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        QTest::mousePress(board, Qt::LeftButton, {}, local);
        QTest::mouseRelease(board, Qt::LeftButton, {}, local);  // keeps the test's button state tidy
        const ScaleRect moved{8790 - 600, 1680 + 375, 1410, 450};
        QCOMPARE(board->scaleRect(), moved);
        QCOMPARE(board->pos(), QPoint(586 - 40, 112 + 25));
        CHECK_BARS(barsOf(*form), barsBefore);

        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(local), QPointF(board->mapToGlobal(local)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board, &dbl);
        CHECK_BARS(barsOf(*form), fullFitOf(moved));
        QCOMPARE(board->scaleRect(), moved);
    }

    void rightClickOpensTheMenuMiddleDoesNothing() {
        auto form = startForm();
        const QStringList expected = {QStringLiteral("看板の表示"), QStringLiteral("枠の表示"),
                                      QStringLiteral("看板の画像を設定..."), QStringLiteral("-"),
                                      QStringLiteral("看板のリセット")};
        QCOMPARE(captureMenu([&] { QTest::mouseClick(form->PicKanban, Qt::RightButton, {}, QPoint(20, 10)); }),
                 expected);
        const BoardState before = stateOf(*form);
        QVERIFY(captureMenu([&] { QTest::mouseClick(form->PicKanban, Qt::MiddleButton, {}, QPoint(20, 10)); })
                    .isEmpty());
        CHECK_STATE(stateOf(*form), before);
    }
};

QTEST_MAIN(TestSignboard)
#include "tst_signboard.moc"
