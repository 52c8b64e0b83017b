#pragma once
// Runs code inside the version dialog's modal loop, as a user would act on it,
// and makes sure the loop ends even when a check inside it fails.

#include "panels/frmShowVersion.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include <functional>

struct ModalRun {
    int result = -1;
    bool closedByUser = false;  // false: the driver had to close it
};

inline ModalRun execWith(frmShowVersion& dialog, const std::function<void()>& actions) {
    ModalRun run;
    bool forced = false;
    QTimer::singleShot(0, &dialog, [&] {
        actions();
        if (dialog.isVisible()) {
            forced = true;
            dialog.reject();
        }
    });
    run.result = dialog.exec();
    run.closedByUser = !forced;
    return run;
}

// A key pressed by the user goes to the widget that has the keyboard focus.
inline void pressKey(Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key);
}
