// The version dialog's link with the maker's library beside the program.

#include "VersionDialogDriver.h"

#include "platform/Executable.h"
#include "platform/MakerLibrary.h"
#include "platform/MessageBox.h"
#include "platform/WebAddress.h"

#include <QFile>
#include <QLabel>

class VersionLinkTest : public QObject {
    Q_OBJECT

private slots:
    void eachClickOnTheLinkOpensTheHomepage() {
        QVERIFY(QFile::exists(platform::executableDir() + QStringLiteral("/libSorrel3Res.so")));
        int boxes = 0;
        QList<QUrl> opened;
        QList<QWidget*> owners;
        platform::setMessageBoxHook([&](const platform::MessageBoxRequest&) { ++boxes; });
        platform::setWebOpenerHook([&](const QUrl& url, QWidget* owner) { opened.append(url), owners.append(owner); });
        frmShowVersion dialog;
        QVERIFY(execWith(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            // A press on the link released outside it is no click.
            QTest::mousePress(dialog.Label5, Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseRelease(dialog.Label5, Qt::LeftButton, {}, QPoint(5, -8));
            QVERIFY(opened.isEmpty());
            QTest::mouseClick(dialog.Label5, Qt::LeftButton);
            QTest::mouseClick(dialog.Label5, Qt::LeftButton);
            QVERIFY(dialog.isVisible());
            pressKey(Qt::Key_Return);
        }));
        platform::setMessageBoxHook({});
        platform::setWebOpenerHook({});
        QCOMPARE(boxes, 0);
        const QUrl homepage(platform::callLumoraHpURL());
        QCOMPARE(opened, QList<QUrl>({homepage, homepage}));
        QCOMPARE(owners.at(0), static_cast<QWidget*>(&dialog));
    }
};

QTEST_MAIN(VersionLinkTest)
#include "tst_versionlink.moc"
