// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Controls as they are made, before any code has set them: a switch reads off, a scroll bar
// reports the user's first change, and a windowless part shown is painted.

#include "controls/GraphicalCheckBox.h"
#include "controls/HScrollBar.h"
#include "controls/Surface.h"
#include "controls/WindowlessControl.h"

#include <QSignalSpy>
#include <QtTest>

class TestFreshControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void switchStartsOff() {
        QImage face(8, 4, QImage::Format_RGB32);
        face.fill(Qt::gray);
        ctl::GraphicalCheckBox sw(nullptr, core::Picture(face));
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
    }

    void windowlessPartShownIsPainted() {
        ctl::Surface host(nullptr, ctl::ScaleMode::Pixels);
        host.resize(40, 40);
        ctl::Shape bar(&host, {5, 5, 10, 10}, false, Qt::red, Qt::black);
        QVERIFY(!host.hasPendingPaint());
        bar.setVisible(true);
        QVERIFY(host.hasPendingPaint());
    }
};

QTEST_MAIN(TestFreshControls)
#include "tst_fresh_controls.moc"
