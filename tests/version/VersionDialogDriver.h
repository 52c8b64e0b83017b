#pragma once
// Acts inside the version dialog's modal loop as a user would, and ends the loop
// even when a check inside fails. True when the actions closed the dialog themselves.

#include "panels/frmShowVersion.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include <functional>

inline bool execWith(frmShowVersion& dialog, const std::function<void()>& actions) {
    bool forced = false;
    QTimer::singleShot(0, &dialog, [&] {
        actions();
        if ((forced = dialog.isVisible()))
            dialog.reject();
    });
    dialog.exec();
    return !forced;
}

// A key goes to the widget with the keyboard focus.
inline void pressKey(Qt::Key key) {
    QVERIFY(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), key);
}
