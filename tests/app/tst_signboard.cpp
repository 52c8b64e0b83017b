// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The signboard: its frame, its picture, and dragging.

// Mouse input goes through the window system as a user's does, so that the application
// knows which buttons are down while the board is dragged.
#define QTEST_QPA_MOUSE_HANDLING

#include "app/TestSupport.h"

#include "signboard/FrameFit.h"

#include <QCursor>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using core::ScaleRect;
using signboard::Bars;
using testsupport::startForm;

namespace {

Bars barsOf(const Form1& form) {
    return {form.shpK_Waku(0)->rect(), form.shpK_Waku(1)->rect(), form.shpK_Waku(2)->rect()};
}

// The frame fitted to the board: side bars 15 taller than the board, the bottom bar 75 wider each side.
Bars fullFitOf(const ScaleRect& b) {
    return {{{b.left - 75, b.top, 75, b.height + 15},
             {b.left + b.width, b.top, 75, b.height + 15},
             {b.left - 75, b.top + b.height, b.width + 150, 60}}};
}

// A drag of the board by the left button from (10, 10) on it. The press runs the drag's loop until
// the release, so what the drag takes is queued first, as offsets of the pointer from the press.
class BoardDrag {
public:
    explicit BoardDrag(ctl::PictureBox* board) : board_(board), global_(board->mapToGlobal(kLocal)) {}
    void mouse(QEvent::Type type, QPoint by, Qt::MouseButton button, Qt::MouseButtons held) const {
        QCoreApplication::postEvent(
            board_, new QMouseEvent(type, QPointF(kLocal + by), QPointF(global_ + by), button, held, Qt::NoModifier));
    }
    void move(QPoint by) const { mouse(QEvent::MouseMove, by, Qt::NoButton, Qt::LeftButton); }
    void key(Qt::Key key) const {
        QCoreApplication::postEvent(board_, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    }
    // Queues the release where the pointer is let go, then presses; returns when the drag has ended.
    void releaseAt(QPoint by) const {
        mouse(QEvent::MouseButtonRelease, by, Qt::LeftButton, Qt::NoButton);
        QCursor::setPos(global_);
        QTest::mousePress(board_, Qt::LeftButton, {}, kLocal);
        QTest::mouseRelease(board_, Qt::LeftButton, {}, kLocal);  // keeps the test's button state tidy
    }

    static constexpr QPoint kLocal{10, 10};

private:
    ctl::PictureBox* board_;
    QPoint global_;
};

}  // namespace

class TestSignboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every item of the pop-up menu chosen as a user chooses it: a right click on the bus picture,
    // then a left click on the item. A marked item hides what it shows and clears its mark, and the
    // next choice brings both back; the record stores what is shown at each close. A picture
    // resizes the board and refits the frame; a failed choice changes nothing, silently; a reset
    // empties the board at its first place but keeps the path.
    void menuItemsChosenByTheMouse() {
        QTemporaryDir dir;
        const QString picture = testsupport::writePicture(dir.path(), "board.bmp", {120, 40}, Qt::cyan);
        auto form = startForm();
        testsupport::DialogScript script;
        const auto choose = [&form](QAction* item) {
            bool clicked = false;
            QTimer::singleShot(0, form.get(), [&] {  // inside the menu's loop, which ends even when no menu came
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu && QTest::qWaitForWindowExposed(menu)) {
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
                    clicked = !menu->isVisible();
                }
                if (QWidget* left = QApplication::activePopupWidget())
                    left->close();
            });
            QTest::mouseClick(form.get(), Qt::RightButton, {},
                              QPoint(450, 100));  // between the middle door and the board
            return clicked;
        };
        // A field of the record the close writes, from 1.
        const auto stored = [&form](int field) { return testsupport::savedRecord(*form).split(',').value(field - 1); };
        QVERIFY(choose(form->MnuViewKanban));
        QVERIFY(!form->PicKanban->isVisibleTo(form.get()) && !form->MnuViewKanban->Checked());
        QCOMPARE(stored(12), QByteArray("#FALSE#"));
        QVERIFY(choose(form->MnuViewKanban));
        QVERIFY(form->PicKanban->isVisibleTo(form.get()) && form->MnuViewKanban->Checked());
        QCOMPARE(stored(12), QByteArray("#TRUE#"));

        QVERIFY(choose(form->MnuViewWaku));
        QVERIFY(!form->shpK_Waku(0)->Visible() && !form->shpK_Waku(2)->Visible() && !form->MnuViewWaku->Checked());
        QCOMPARE(stored(13), QByteArray("#FALSE#"));
        QVERIFY(choose(form->MnuViewWaku));
        QVERIFY(form->shpK_Waku(1)->Visible() && form->MnuViewWaku->Checked());
        QCOMPARE(stored(13), QByteArray("#TRUE#"));

        script.choose(picture);
        QVERIFY(choose(form->MnuSetKanban));
        QCOMPARE(form->PicKanban->scaleRect(), (ScaleRect{8790, 1680, 1800, 600}));  // 120 x 40 pixels
        QVERIFY(barsOf(*form) == fullFitOf(ScaleRect{8790, 1680, 1800, 600}));
        QCOMPARE(stored(9), ('"' + QFile::encodeName(picture) + '"'));
        form->PicKanban->Move(300, 900, 1800, 600);  // the bars stay behind
        const auto state = [&] {
            return std::tuple(form->PicKanban->picture().image(), form->PicKanban->scaleRect(), barsOf(*form),
                              stored(9));
        };
        const auto before = state();
        script.cancel();
        script.choose(QString());
        script.choose(QDir(dir.path()).filePath("nowhere.bmp"));
        script.choose(testfiles::write(dir.filePath("notes.bmp"), "plain text\r\n"));
        for (int i = 0; i < 4; ++i)
            QVERIFY(choose(form->MnuSetKanban));
        QVERIFY(script.messages.empty());
        QVERIFY(state() == before);
        QVERIFY(choose(form->MnuViewWaku));  // hiding fits them to the board where it now is
        QVERIFY(barsOf(*form) == fullFitOf(ScaleRect{300, 900, 1800, 600}));
        QVERIFY(choose(form->MnuViewWaku));
        QVERIFY(choose(form->MnuKanbanReset));
        QVERIFY(form->PicKanban->picture().isNull());
        QCOMPARE(form->PicKanban->scaleRect(), (ScaleRect{8790, 1680, 1410, 450}));
        QVERIFY(barsOf(*form) == fullFitOf(ScaleRect{8790, 1680, 1410, 450}));
        QCOMPARE(stored(10) + ',' + stored(11), QByteArray("8790,1680"));
        QCOMPARE(stored(9), ('"' + QFile::encodeName(picture) + '"'));
    }

    // The board follows the pointer, which acts only inside the window's client area (758 x 218):
    // grabbed 10 pixels into it, the board stops with that point on the window's last column and row.
    // (A move within the window is the journey's, under X.)
    void dragMovesBoardNotFrameUntilDoubleClick_data() {
        QTest::addColumn<QPoint>("pointerMove");
        QTest::addColumn<QPoint>("boardPlace");
        QTest::newRow("far right and down") << QPoint(2000, 2000) << QPoint(757 - 10, 217 - 10);
        QTest::newRow("far left and up") << QPoint(-2000, -2000) << QPoint(-10, -10);
    }
    void dragMovesBoardNotFrameUntilDoubleClick() {
        QFETCH(QPoint, pointerMove);
        QFETCH(QPoint, boardPlace);
        auto form = startForm();
        QApplication::setActiveWindow(form.get());
        ctl::PictureBox* board = form->PicKanban;
        const Bars barsBefore = barsOf(*form);
        const BoardDrag drag(board);
        drag.move(pointerMove);
        drag.releaseAt(pointerMove);
        QCOMPARE(board->pos(), boardPlace);
        const ScaleRect moved{boardPlace.x() * 15.0f, boardPlace.y() * 15.0f, 1410, 450};
        QCOMPARE(board->scaleRect(), moved);
        QVERIFY(barsOf(*form) == barsBefore);
        const QPoint local = BoardDrag::kLocal;
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(local), QPointF(board->mapToGlobal(local)), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board, &dbl);
        QVERIFY(barsOf(*form) == fullFitOf(moved));
        QCOMPARE(board->scaleRect(), moved);
    }

    // While the left button drags the board, a press of another button is the drag's: a right
    // press on the board opens no menu.
    void rightPressDuringTheDrag() {
        auto form = startForm();
        QApplication::setActiveWindow(form.get());
        QSignalSpy menuShown(&form->MnuTempMenu1.get(), &QMenu::aboutToShow);
        QTimer::singleShot(100, [] {  // a menu that did open would hold the drag's loop
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        });
        const BoardDrag drag(form->PicKanban);
        drag.mouse(QEvent::MouseButtonPress, {}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        drag.releaseAt({});
        QCOMPARE(menuShown.count(), 0);
    }

    // Keys other than Esc are the drag's too: Up for the sign rolls no film.
    void keysDuringTheDrag() {
        auto form = startForm();
        QApplication::setActiveWindow(form.get());
        const int before = form->MakuPos[0];
        const BoardDrag drag(form->PicKanban);
        QCoreApplication::postEvent(form->picWaku1(0), new QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier));
        drag.releaseAt({});
        QCOMPARE(form->MakuPos[0], before);
    }

    // Esc ends the drag with the board put back: the pointer's later moves leave it there.
    void escapeEndsTheDrag() {
        auto form = startForm();
        QApplication::setActiveWindow(form.get());
        const QPoint start = form->PicKanban->pos();
        const BoardDrag drag(form->PicKanban);
        drag.move({30, 20});
        drag.key(Qt::Key_Escape);
        drag.move({60, 40});
        drag.releaseAt({60, 40});
        QCOMPARE(form->PicKanban->pos(), start);
    }

    // A bar of the frame is a one-pixel grey outline around its light fill. A press on a bar is the
    // bus window's own, as on its picture; one on a door picture is the door's, which takes the mouse.
    void pressesOnBarsAndDoors() {
        auto form = startForm();
        const QRect bar = form->shpK_Waku(2)->pixelRect();
        const QImage shot = form->grab().toImage();
        const QColor outline(0x80, 0x80, 0x80), fill(0xE0, 0xE0, 0xE0);
        const int x = bar.center().x(), y = bar.center().y();
        const QList<QColor> seen{shot.pixelColor(bar.left(), y),   shot.pixelColor(bar.left() + 1, y),
                                 shot.pixelColor(x, bar.top()),    shot.pixelColor(x, bar.top() + 1),
                                 shot.pixelColor(bar.right(), y),  shot.pixelColor(bar.right() - 1, y),
                                 shot.pixelColor(x, bar.bottom()), shot.pixelColor(x, bar.bottom() - 1)};
        QCOMPARE(seen, (QList<QColor>{outline, fill, outline, fill, outline, fill, outline, fill}));
        QSignalSpy windowPresses(form.get(), &ctl::Surface::MouseDown);
        QList<int> counts;
        for (const QPoint at : {form->shpK_Waku(2)->pixelRect().center(), form->Image1(2)->pixelRect().center()}) {
            QTest::mousePress(form.get(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(form.get(), Qt::LeftButton, {}, at);
            counts.append(int(windowPresses.count()));
        }
        QCOMPARE(counts, (QList<int>{1, 1}));
    }
};

QTEST_MAIN(TestSignboard)
#include "tst_signboard.moc"
