// The version dialog, run from a folder without the maker's library.

#include "VersionDialogDriver.h"

#include "assets/AssetPaths.h"
#include "platform/Executable.h"
#include "platform/MessageBox.h"
#include "platform/WebAddress.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

const QString kModelPrefix = QStringLiteral("型番・製造番号：");
const QString kRequest = QStringLiteral(" 上記内容をLumoraHP関係者まで報告してください。");

}  // namespace

class FrmShowVersionTest : public QObject {
    Q_OBJECT
    QList<platform::MessageBoxRequest> boxes_;
    int webOpenings_ = 0;

private slots:
    void init() {
        QVERIFY(!QFile::exists(QFile::decodeName(platform::besideExecutable("libSorrel3Res.so"))));
        boxes_.clear();
        webOpenings_ = 0;
        platform::setMessageBoxHook([this](const platform::MessageBoxRequest& r) { boxes_.append(r); });
        platform::setWebOpenerHook([this](const QUrl&, QWidget*) { ++webOpenings_; });
    }
    void cleanup() {
        platform::setMessageBoxHook({});
        platform::setWebOpenerHook({});
    }

    // Built afresh on each opening; the model line names the executable, renamed or not.
    void textsOnEachOpening() {
        if (qEnvironmentVariableIsSet("VERSION_TEST_RENAMED")) {
            QCOMPARE(frmShowVersion().Label1[1]->text(), kModelPrefix + QStringLiteral("runbus"));
            return;
        }
        QList<QStringList> texts;
        for (int i = 0; i < 2; ++i) {
            frmShowVersion d;
            texts.append({d.windowTitle(), d.Label1[0]->text(), d.Label1[1]->text(), d.Label2->text(),
                          d.Label5->text(), d.Command1->text(), d.Label3[0]->text(), d.Label3[1]->text()});
            d.Label1[1]->setText(QString());
        }
        QCOMPARE(texts.at(1), texts.at(0));
        QCOMPARE(texts.at(0).mid(0, 6), QStringList({QStringLiteral("Tarvolaのバージョン情報"), QStringLiteral("Tarvola"),
                                                     kModelPrefix + QStringLiteral("tst_frmshowversion"),
                                                     QStringLiteral("Varsion\u30001.0.0"),
                                                     QStringLiteral("ここをクリックするとLumoraHPが開きます。"),
                                                     QStringLiteral("OK")}));
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("runbus.exe"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VERSION_TEST_RENAMED"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(copy, {QStringLiteral("textsOnEachOpening")});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAllStandardOutput();
        QVERIFY2(child.exitCode() == 0 && output.contains("PASS   : FrmShowVersionTest::textsOnEachOpening()"),
                 output.constData());
    }

    void linkWithoutLibraryReportsEachClickAndStaysOpen() {
        frmShowVersion dialog;
        QVERIFY(execWith(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::mouseClick(dialog.Label5, Qt::LeftButton);
            QCOMPARE(boxes_.size(), 1);
            const platform::MessageBoxRequest& box = boxes_.first();
            QCOMPARE(box.title, QStringLiteral("Lumhpurl.dllのエラー"));
            QCOMPARE(box.icon, platform::MessageIcon::Critical);
            QVERIFY2(box.text.endsWith(QStringLiteral("\r\n\r\n") + kRequest), qPrintable(box.text));
            // The loader's description comes first and names the missing file.
            const QString description = box.text.chopped(kRequest.size() + 4);
            QVERIFY2(description.contains(u"libSorrel3Res.so") && !description.contains(u'\r'), qPrintable(box.text));
            QTest::mouseClick(dialog.Label5, Qt::RightButton);
            QTest::mouseClick(dialog.Label5, Qt::LeftButton);
            QCOMPARE(boxes_.size(), 2);
            QCOMPARE(webOpenings_, 0);
            QCOMPARE(QApplication::focusWidget(), dialog.Command1);
            pressKey(Qt::Key_Return);
        }));
    }

    // OK alone takes the focus; Esc is left to the OK button's default role.
    void closes_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Enter") << 0;
        QTest::newRow("OK clicked") << 1;
        QTest::newRow("close box") << 2;
    }
    void closes() {
        QFETCH(int, how);
        frmShowVersion dialog;
        for (QWidget* child : dialog.findChildren<QWidget*>())
            QCOMPARE(child->focusPolicy() == Qt::NoFocus, child != dialog.Command1);
        QVERIFY(execWith(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QCOMPARE(QApplication::focusWidget(), dialog.Command1);
            pressKey(Qt::Key_Escape);
            QVERIFY(dialog.isVisible());
            how == 0 ? pressKey(Qt::Key_Return) : how == 1 ? QTest::mouseClick(dialog.Command1, Qt::LeftButton)
                                                          : void(dialog.close());
        }));
    }

    void isModalForTheWholeApplication() {
        QPushButton other(QStringLiteral("x"));
        int clicks = 0;
        connect(&other, &QPushButton::clicked, [&] { ++clicks; });
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        // Through the window, as the window system delivers it, so that the modal dialog can hold it back.
        const auto click = [&] { QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, other.rect().center()); };
        frmShowVersion dialog;
        QVERIFY(!dialog.parentWidget());
        QVERIFY(execWith(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            click();
            QCOMPARE(clicks, 0);
            pressKey(Qt::Key_Return);
        }));
        click();
        QCOMPARE(clicks, 1);
    }

    void windowAndPictures() {
        frmShowVersion dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.size(), QSize(333, 223));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(dialog.Command1->geometry(), QRect(238, 196, 82, 23));
        QCOMPARE(dialog.Label5->geometry(), QRect(16, 199, 221, 15));
        QVERIFY(dialog.Label3[2]->isHidden());
        QCOMPARE(dialog.Image1->pixmap().deviceIndependentSize().toSize(), QSize(32, 32));
        QCOMPARE(dialog.Label5->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(dialog.Label5->cursor().hotSpot(), QPoint(assets::kHandHotspotX, assets::kHandHotspotY));
    }
};

QTEST_MAIN(FrmShowVersionTest)
#include "tst_frmshowversion.moc"
