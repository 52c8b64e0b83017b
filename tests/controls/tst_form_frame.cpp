// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// A window's place on a real X server with a window manager: the place given before the show
// is the one read back, also in the moment after the show before the window manager has framed
// the window, which is when a session that ends during a slow start saves it.

#include "controls/Form.h"

#include <QApplication>
#include <QtTest>

class TestFormFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void placeGivenIsPlaceRead() {
        ctl::Form form;
        form.resize(300, 200);
        form.Move(100 * 15, 120 * 15);
        QCOMPARE(form.Left(), 1500.0f);
        QCOMPARE(form.Top(), 1800.0f);
        const QMargins announced = form.frameMargins();
        QVERIFY2(announced.top() > 1, "no window manager announced a title bar");

        form.show();
        // No event handled yet: Qt does not know the frame and takes the client area for it.
        QCOMPARE(form.frameGeometry(), form.geometry());
        QCOMPARE(form.Left(), 1500.0f);
        QCOMPARE(form.Top(), 1800.0f);

        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(form.frameGeometry() != form.geometry());
        QCOMPARE(form.frameMargins(), announced);
        QCOMPARE(form.Left(), 1500.0f);
        QCOMPARE(form.Top(), 1800.0f);
        QCOMPARE(form.frameGeometry().topLeft(), QPoint(100, 120));
    }
};

QTEST_MAIN(TestFormFrame)
#include "tst_form_frame.moc"
