// The version dialog, run from a folder without the maker's library.

#include "VersionDialogDriver.h"

#include "platform/MessageBox.h"
#include "platform/WebAddress.h"

#include <QLabel>
#include <QPushButton>

class FrmShowVersionTest : public QObject {
    Q_OBJECT

private slots:
    // Each click on the link reports the loader's error, naming the missing file, and the dialog
    // stays open; OK alone has the focus, Esc is left to its default role and Enter closes.
    void linkWithoutLibraryReportsEachClick() {
        QList<platform::MessageBoxRequest> boxes;
        int webOpenings = 0;
        platform::setMessageBoxHook([&](const platform::MessageBoxRequest& r) { boxes.append(r); });
        platform::setWebOpenerHook([&](const QUrl&, QWidget*) { ++webOpenings; });
        const QString request = QStringLiteral("\r\n\r\n 上記内容をLumoraHP関係者まで報告してください。");
        frmShowVersion dialog;
        QCOMPARE(dialog.Label1[1]->text(), QStringLiteral("型番・製造番号：tst_frmshowversion"));
        for (QWidget* child : dialog.findChildren<QWidget*>())
            QCOMPARE(child->focusPolicy() == Qt::NoFocus, child != dialog.Command1);
        QVERIFY(execWith(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::mouseClick(dialog.Label5, Qt::LeftButton);
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes[0].title, QStringLiteral("Lumhpurl.dllのエラー"));
            QCOMPARE(boxes[0].icon, platform::MessageIcon::Critical);
            const QString description = boxes[0].text.chopped(request.size());
            QVERIFY2(boxes[0].text.endsWith(request) && description.contains(u"libSorrel3Res.so") &&
                         !description.contains(u'\r'), qPrintable(boxes[0].text));
            QTest::mouseClick(dialog.Label5, Qt::RightButton);
            QTest::mouseClick(dialog.Label5, Qt::LeftButton);
            QCOMPARE(boxes.size(), 2);
            QCOMPARE(QApplication::focusWidget(), dialog.Command1);
            pressKey(Qt::Key_Escape);
            QVERIFY(dialog.isVisible());
            pressKey(Qt::Key_Return);
        }));
        platform::setMessageBoxHook({});
        platform::setWebOpenerHook({});
        QCOMPARE(webOpenings, 0);
    }
};

QTEST_MAIN(FrmShowVersionTest)
#include "tst_frmshowversion.moc"
