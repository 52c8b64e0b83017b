// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Controls as they are made, before any code has set them: a switch reads off, a scroll bar
// reports the user's first change (and then each value code sets, once), a windowless part
// shown is painted (one changed while hidden is not), so is a picture set, and one whose window
// is being torn down is no longer described to a screen reader.

#include "PaintCount.h"
#include "controls/Accessibility.h"
#include "controls/GraphicalCheckBox.h"
#include "controls/HScrollBar.h"
#include "controls/Surface.h"
#include "controls/WindowlessControl.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A plain picture, 8 x 4 pixels.
core::Picture facePicture() {
    QImage face(8, 4, QImage::Format_RGB32);
    face.fill(Qt::red);
    return core::Picture(face);
}

}  // namespace

class TestFreshControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void switchStartsOff() {
        ctl::GraphicalCheckBox sw(nullptr, facePicture());
        QSignalSpy clicks(&sw, &ctl::GraphicalCheckBox::Click);
        QCOMPARE(sw.Value(), std::int16_t(0));
        sw.click();
        QCOMPARE(sw.Value(), std::int16_t(1));
        QCOMPARE(clicks.count(), 1);
    }

    void scrollBarReportsTheFirstChange() {
        ctl::HScrollBar bar(nullptr, 1, 30000, 6000);
        QSignalSpy changes(&bar, &ctl::HScrollBar::Change);
        QTest::keyClick(&bar, Qt::Key_Right);
        QCOMPARE(bar.Value(), std::int16_t(6001));
        QCOMPARE(changes.count(), 1);
        bar.setValueChecked(7);  // code too: once for a new value, once for the same one
        bar.setValueChecked(7);
        QCOMPARE(changes.count(), 3);
    }

    void windowlessPartShownIsPainted() {
        ctl::Surface host(nullptr, ctl::ScaleMode::Pixels);
        host.resize(40, 40);
        ctl::Shape bar(&host, {5, 5, 10, 10}, false, Qt::red, Qt::black);
        ctl::Image door(&host, {20, 20, 10, 10}, false, true);
        door.setPicture(facePicture());  // hidden parts changed: nothing to paint
        bar.Move(6, 6, 10, 10);
        QVERIFY(!host.hasPendingPaint());
        bar.setVisible(true);
        QVERIFY(host.hasPendingPaint());
        // A bar beside a board two pixels tall: three pixels tall, its middle row filled.
        const ctl::Shape thin(&host, {20, 30, 5, 3}, true, Qt::red, Qt::black);
        const QImage shot = host.grab().toImage();
        QCOMPARE(shot.pixelColor(22, 31), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(22, 32), QColor(Qt::black));
    }

    void pictureSetIsPainted() {
        ctl::Surface host(nullptr, ctl::ScaleMode::Pixels);
        host.resize(40, 40);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        const testsupport::PaintCount paints(&host);
        host.setPicture(facePicture());
        QTRY_VERIFY(paints.n > 0);
    }

    // The window's children go after its own body: a screen reader asking in between must be told
    // the part is gone rather than be sent to a window that no longer answers.
    void windowlessPartOutlivingItsWindowIsInvalid() {
        ctl::installAccessibleInterfaces();
        auto host = std::make_unique<ctl::Surface>(nullptr, ctl::ScaleMode::Pixels);
        const QObject* before = new QObject(host.get());  // deleted first of the children
        auto* door = new ctl::Shape(host.get(), {5, 5, 10, 10}, true, Qt::red, Qt::black);
        door->setAccessibleName(QStringLiteral("door"));
        QAccessibleInterface* told = QAccessible::queryAccessibleInterface(door);
        QVERIFY(told->isValid());
        std::optional<bool> validInTeardown;
        connect(before, &QObject::destroyed, this, [&] { validInTeardown = told->isValid(); });
        host.reset();
        QCOMPARE(validInTeardown, std::optional(false));
    }
};

QTEST_MAIN(TestFreshControls)
#include "tst_fresh_controls.moc"
