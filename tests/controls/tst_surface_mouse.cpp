// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// A click on a window and on the windowless pictures it paints: a left press and its release over
// the same thing, whatever else happens between them, and only once; a double click's second press
// is its DblClick.

#include "controls/Surface.h"
#include "controls/WindowlessControl.h"

#include <QSignalSpy>
#include <QtTest>
#include <optional>

class TestSurfaceMouse : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clicks() {
        ctl::Surface surface(nullptr, ctl::ScaleMode::Pixels);
        surface.resize(100, 50);
        ctl::Image door(&surface, {10, 10, 20, 20}, true, false);
        std::optional<ctl::Image> leaf(std::in_place, &surface, core::ScaleRect{60, 10, 20, 20}, true, false);
        surface.show();
        QVERIFY(QTest::qWaitForWindowExposed(&surface));
        QSignalSpy surfaceClicks(&surface, &ctl::Surface::Click), doorClicks(&door, &ctl::WindowlessControl::Click);
        const QPoint onSurface(50, 40), onDoor(15, 15);
        QTest::mouseRelease(&surface, Qt::LeftButton, {}, onSurface);  // pressed before the window came
        // The right button pressed and let go while the left is held does not undo the click.
        QTest::mousePress(&surface, Qt::LeftButton, {}, onSurface);
        QTest::mousePress(&surface, Qt::RightButton, {}, onSurface);
        QTest::mouseRelease(&surface, Qt::RightButton, {}, onSurface);
        QTest::mouseRelease(&surface, Qt::LeftButton, {}, onSurface);
        QCOMPARE(surfaceClicks.count(), 1);
        // A release with no press of its own (the press went to a window now gone) is no click, nor
        // one let go outside the window or over the door.
        QTest::mouseRelease(&surface, Qt::LeftButton, {}, onSurface);
        QTest::mousePress(&surface, Qt::LeftButton, {}, onSurface);
        QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(150, 40));
        QTest::mousePress(&surface, Qt::LeftButton, {}, onSurface);
        QTest::mouseRelease(&surface, Qt::LeftButton, {}, onDoor);
        QCOMPARE(surfaceClicks.count(), 1);
        QCOMPARE(doorClicks.count(), 0);
        // Another picture taken away during a click on the door leaves the click to the door, and
        // where it was is the window's own.
        QTest::mousePress(&surface, Qt::LeftButton, {}, onDoor);
        QVERIFY(!surface.hasPendingPaint());
        leaf.reset();
        QVERIFY(surface.hasPendingPaint());  // where it was is painted again
        QTest::mouseRelease(&surface, Qt::LeftButton, {}, onDoor);
        QCOMPARE(doorClicks.count(), 1);
        QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(70, 20));
        QCOMPARE(surfaceClicks.count(), 2);
        // A double click as the toolkit sends it: press, release, the second press as the double
        // click alone, release. With the left button a Click and a DblClick; with the right, a
        // MouseDown for each press and no click.
        QSignalSpy doubleClicks(&surface, &ctl::Surface::DblClick), presses(&surface, &ctl::Surface::MouseDown);
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            QTest::mouseClick(&surface, button, {}, onSurface);
            QTest::mouseDClick(&surface, button, {}, onSurface);
            QTest::mouseRelease(&surface, button, {}, onSurface);
        }
        QCOMPARE(surfaceClicks.count(), 3);
        QCOMPARE(doubleClicks.count(), 1);
        QCOMPARE(presses.count(), 3);
    }
};

QTEST_MAIN(TestSurfaceMouse)
#include "tst_surface_mouse.moc"
