// The version dialog, run from a folder without the maker's library.

#include "VersionDialogDriver.h"

#include "assets/AssetPaths.h"
#include "panels/frmShowVersion.h"
#include "platform/Executable.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/WebAddress.h"

#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

const QString kModelPrefix = QStringLiteral("型番・製造番号：");
const QString kRequest = QStringLiteral(" 上記内容をLumoraHP関係者まで報告してください。");

QStringList allTexts(const frmShowVersion& d) {
    return {d.windowTitle(), d.Label1[0]->text(), d.Label1[1]->text(), d.Label2->text(),
            d.Label3[0]->text(), d.Label3[1]->text(), d.Label3[2]->text(), d.Label4->text(),
            d.Label5->text(), d.Command1->text()};
}

// Through the window, as the window system delivers a click, so that a modal
// dialog can hold it back.
void clickLikeTheWindowSystem(QWidget* widget) {
    QWindow* window = widget->window()->windowHandle();
    QVERIFY(window);
    QTest::mouseClick(window, Qt::LeftButton, {}, widget->mapTo(widget->window(), widget->rect().center()));
}

bool isDarkGrey(QColor c) { return c.rgb() == qRgb(0x4E, 0x4E, 0x4E); }

}  // namespace

class FrmShowVersionTest : public QObject {
    Q_OBJECT

    QList<platform::MessageBoxRequest> boxes_;
    int webOpenings_ = 0;

private slots:
    void initTestCase() {
        platform::installFontSubstitutions();
        // The link must meet a missing library here.
        QVERIFY(!QFile::exists(platform::executableDir() + QStringLiteral("/libSorrel3Res.so")));
    }

    void init() {
        boxes_.clear();
        webOpenings_ = 0;
        platform::setMessageBoxHook([this](const platform::MessageBoxRequest& r) { boxes_.append(r); });
        platform::setWebOpenerHook([this](const QUrl&, QWidget*) { ++webOpenings_; });
    }

    void cleanup() {
        platform::setMessageBoxHook({});
        platform::setWebOpenerHook({});
    }

    void openingTwiceShowsTheSameTexts() {
        QStringList first;
        QStringList second;
        for (QStringList* texts : {&first, &second}) {
            frmShowVersion dialog;
            const ModalRun run = execWith(dialog, [&] {
                *texts = allTexts(dialog);
                QVERIFY(QTest::qWaitForWindowActive(&dialog));
                pressKey(Qt::Key_Return);
            });
            QVERIFY(run.closedByUser);
        }
        QCOMPARE(second, first);
        QCOMPARE(first.at(0), QStringLiteral("Tarvolaのバージョン情報"));
        QCOMPARE(first.at(1), QStringLiteral("Tarvola"));
        QCOMPARE(first.at(2), kModelPrefix + platform::executableName());
        QCOMPARE(first.at(3), QStringLiteral("Varsion\u30001.0.0"));
        QCOMPARE(first.at(8), QStringLiteral("ここをクリックするとLumoraHPが開きます。"));
        QCOMPARE(first.at(9), QStringLiteral("OK"));
    }

    void modelLineNamesThisProgram() {
        frmShowVersion dialog;
        QCOMPARE(dialog.Label1[1]->text(), kModelPrefix + QStringLiteral("tst_frmshowversion"));
    }

    void modelLineFollowsRenamedExecutable() {
        if (qEnvironmentVariableIsSet("VERSION_TEST_RENAMED")) {
            // Running as the renamed copy started below.
            frmShowVersion dialog;
            QCOMPARE(dialog.Label1[1]->text(), kModelPrefix + QStringLiteral("runbus"));
            return;
        }
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("runbus.exe"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VERSION_TEST_RENAMED"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(copy, {QStringLiteral("modelLineFollowsRenamedExecutable")});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAllStandardOutput();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
        QVERIFY2(output.contains("PASS   : FrmShowVersionTest::modelLineFollowsRenamedExecutable()"),
                 output.constData());
    }

    void linkWithoutLibraryReportsOnceAndStaysOpen() {
        frmShowVersion dialog;
        const ModalRun run = execWith(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::mouseClick(dialog.Label5, Qt::LeftButton);
            QCOMPARE(boxes_.size(), 1);
            const platform::MessageBoxRequest& box = boxes_.first();
            QCOMPARE(box.title, QStringLiteral("Lumhpurl.dllのエラー"));
            QCOMPARE(box.icon, platform::MessageIcon::Critical);
            QVERIFY2(box.text.endsWith(QStringLiteral("\r\n\r\n") + kRequest), qPrintable(box.text));
            // The loader's description comes first and names the missing file.
            const QString description = box.text.left(box.text.size() - kRequest.size() - 4);
            QVERIFY2(description.contains(u"libSorrel3Res.so"), qPrintable(description));
            QVERIFY(!description.contains(u'\r'));
            QCOMPARE(webOpenings_, 0);

            QVERIFY(dialog.isVisible());
            QTest::mouseClick(dialog.Label5, Qt::LeftButton);
            QCOMPARE(boxes_.size(), 2);  // nothing keeps a second click from trying again
            QCOMPARE(boxes_.at(1).text, boxes_.at(0).text);

            // Still usable: OK has kept the focus and Enter closes.
            QCOMPARE(QApplication::focusWidget(), dialog.Command1);
            pressKey(Qt::Key_Return);
        });
        QVERIFY(run.closedByUser);
    }

    void linkReactsToALeftClickOnly() {
        frmShowVersion dialog;
        dialog.show();
        QTest::mouseClick(dialog.Label5, Qt::RightButton);
        QTest::mouseClick(dialog.Label5, Qt::MiddleButton);
        QCOMPARE(boxes_.size(), 0);
        // Pressed on the link, released elsewhere: no click.
        QTest::mousePress(dialog.Label5, Qt::LeftButton);
        QTest::mouseRelease(dialog.Label5, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(boxes_.size(), 0);
        // Clicks elsewhere on the dialog do not reach the link.
        QTest::mouseClick(dialog.Label2, Qt::LeftButton);
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(boxes_.size(), 0);
    }

    void enterClosesAndEscDoesNot() {
        frmShowVersion dialog;
        const ModalRun run = execWith(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QCOMPARE(QApplication::focusWidget(), dialog.Command1);
            pressKey(Qt::Key_Escape);
            QVERIFY(dialog.isVisible());
            pressKey(Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(run.closedByUser);
        QCOMPARE(run.result, int(QDialog::Accepted));
    }

    void okButtonClickCloses() {
        frmShowVersion dialog;
        const ModalRun run = execWith(dialog, [&] { QTest::mouseClick(dialog.Command1, Qt::LeftButton); });
        QVERIFY(run.closedByUser);
        QCOMPARE(run.result, int(QDialog::Accepted));
    }

    void closeBoxClosesLikeOk() {
        frmShowVersion dialog;
        const ModalRun run = execWith(dialog, [&] { QVERIFY(dialog.close()); });
        QVERIFY(run.closedByUser);
    }

    void isModalForTheWholeApplication() {
        // Another window of the program, with a button of its own.
        QWidget mainWindow;
        QPushButton button(QStringLiteral("x"), &mainWindow);
        button.resize(60, 30);
        int buttonClicks = 0;
        connect(&button, &QPushButton::clicked, [&] { ++buttonClicks; });
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

        frmShowVersion dialog;
        QVERIFY(!dialog.parentWidget());
        const ModalRun run = execWith(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
            QCOMPARE(QApplication::activeModalWidget(), &dialog);
            clickLikeTheWindowSystem(&button);
            QCOMPARE(buttonClicks, 0);
            pressKey(Qt::Key_Return);
        });
        QVERIFY(run.closedByUser);
        QVERIFY(!QApplication::activeModalWidget());
        clickLikeTheWindowSystem(&button);
        QCOMPARE(buttonClicks, 1);  // the window takes input again once the dialog is gone
    }

    void onlyOkTakesTheFocus() {
        frmShowVersion dialog;
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            if (child == dialog.Command1)
                QVERIFY(child->focusPolicy() & Qt::TabFocus);
            else
                QCOMPARE(child->focusPolicy(), Qt::NoFocus);
        }
        QCOMPARE(dialog.focusWidget(), dialog.Command1);
        QVERIFY(dialog.Command1->isDefault());
    }

    void controlPlaces_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Command1") << QStringLiteral("Command1") << QRect(238, 196, 82, 23);
        QTest::newRow("Image1") << QStringLiteral("Image1") << QRect(19, 11, 32, 32);
        QTest::newRow("Label1(0)") << QStringLiteral("Label1(0)") << QRect(60, 16, 256, 22);
        QTest::newRow("Label1(1)") << QStringLiteral("Label1(1)") << QRect(11, 48, 307, 18);
        QTest::newRow("Label3(2)") << QStringLiteral("Label3(2)") << QRect(10, 124, 310, 59);
        QTest::newRow("Label4") << QStringLiteral("Label4") << QRect(1, 189, 331, 4);
        QTest::newRow("Label5") << QStringLiteral("Label5") << QRect(16, 199, 221, 15);
    }

    void controlPlaces() {
        QFETCH(QString, control);
        QFETCH(QRect, pixels);
        frmShowVersion dialog;
        const QHash<QString, QWidget*> controls{
            {QStringLiteral("Command1"), dialog.Command1}, {QStringLiteral("Image1"), dialog.Image1},
            {QStringLiteral("Label1(0)"), dialog.Label1[0]}, {QStringLiteral("Label1(1)"), dialog.Label1[1]},
            {QStringLiteral("Label3(2)"), dialog.Label3[2]}, {QStringLiteral("Label4"), dialog.Label4},
            {QStringLiteral("Label5"), dialog.Label5}};
        QCOMPARE(controls.value(control)->geometry(), pixels);
    }

    void windowFrame() {
        frmShowVersion dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.size(), QSize(333, 223));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        const Qt::WindowFlags flags = dialog.windowFlags();
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
        // No icon of its own and not the application's: the one it carries is blank.
        const QImage icon = dialog.windowIcon().pixmap(16, 16).toImage();
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                QCOMPARE(qAlpha(icon.pixel(x, y)), 0);
    }

    void textsFitTheirLabels() {
        frmShowVersion dialog;
        QVERIFY(dialog.Label3[2]->isHidden());  // the licence note is never shown, but would fit
        for (QLabel* label : {dialog.Label1[0], dialog.Label1[1], dialog.Label2, dialog.Label3[0],
                              dialog.Label3[1], dialog.Label3[2], dialog.Label5}) {
            const QRect needed = QFontMetrics(label->font())
                                     .boundingRect(QRect(0, 0, label->width(), 10000),
                                                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
            QVERIFY2(needed.height() <= label->height() && needed.width() <= label->width(),
                     qPrintable(label->text()));
        }
    }

    void fontsResolveToTheInstalledFont() {
        frmShowVersion dialog;
        for (QLabel* label : {dialog.Label1[0], dialog.Label1[1], dialog.Label2, dialog.Label5})
            QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("IPAPGothic"));
        QVERIFY(QFontInfo(dialog.Label1[0]->font()).bold());
        QCOMPARE(dialog.Label1[0]->font().pointSizeF(), 14.25);
        QCOMPARE(dialog.Label1[1]->font().pointSizeF(), 9.75);
        QVERIFY(QFontInfo(dialog.Label5->font()).underline());
    }

    void colours() {
        frmShowVersion dialog;
        dialog.show();
        const QImage image = dialog.grab().toImage();
        auto at = [&](QPoint p) { return QColor(image.pixel(p)); };
        auto within = [&](QWidget* w, auto predicate) {
            const QRect r = w->geometry();
            int count = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    count += predicate(at(QPoint(x, y))) ? 1 : 0;
            return count;
        };

        QCOMPARE(at(QPoint(3, 3)), QColor(Qt::white));
        QCOMPARE(at(QPoint(330, 220)), QColor(Qt::white));
        for (QWidget* label : {static_cast<QWidget*>(dialog.Label1[0]), static_cast<QWidget*>(dialog.Label1[1]),
                               static_cast<QWidget*>(dialog.Label2), static_cast<QWidget*>(dialog.Label3[0]),
                               static_cast<QWidget*>(dialog.Label3[1])})
            QVERIFY2(isDarkGrey(at(label->geometry().bottomRight())), qPrintable(label->objectName()));

        auto yellow = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() < 80; };
        auto white = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
        QVERIFY(within(dialog.Label1[0], yellow) > 20);
        QVERIFY(within(dialog.Label2, yellow) > 10);
        QVERIFY(within(dialog.Label3[0], white) > 10);

        // The link: blue text straight on the white window, no background of its own.
        auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; };
        auto onWhite = [](QColor c) { return c.blue() == 255 && c.red() == c.green(); };
        const int area = dialog.Label5->width() * dialog.Label5->height();
        QCOMPARE(within(dialog.Label5, onWhite), area);
        QVERIFY(within(dialog.Label5, blue) > 20);
        QVERIFY(within(dialog.Label5, white) > area / 2);
    }

    void pictures() {
        frmShowVersion dialog;
        const QPixmap icon = dialog.Image1->pixmap();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.deviceIndependentSize().toSize(), QSize(32, 32));

        const QCursor cursor = dialog.Label5->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.pixmap().deviceIndependentSize().toSize(), QSize(32, 32));
        QCOMPARE(cursor.hotSpot(), QPoint(assets::kHandHotspotX, assets::kHandHotspotY));
    }
};

QTEST_MAIN(FrmShowVersionTest)
#include "tst_frmshowversion.moc"
