// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The version dialog's link with the maker's library beside the program.

#include "panels/frmShowVersion.h"
#include "platform/Executable.h"
#include "platform/MakerLibrary.h"
#include "platform/MessageBox.h"
#include "platform/WebAddress.h"

#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtTest>

class VersionLinkTest : public QObject {
    Q_OBJECT

private slots:
    // Each click on the link opens the homepage, the dialog staying open; a press on the link
    // released outside it is no click.
    void eachClickOnTheLinkOpensTheHomepage() {
        QVERIFY(QFile::exists(QFile::decodeName(platform::besideExecutable("libSorrel3Res.so"))));
        int boxes = 0;
        QList<QUrl> opened;
        QList<QWidget*> owners;
        platform::setMessageBoxHook([&](const platform::MessageBoxRequest&) { ++boxes; });
        platform::setWebOpenerHook([&](const QUrl& url, QWidget* owner) { opened.append(url), owners.append(owner); });
        frmShowVersion dialog;
        QCOMPARE(dialog.Label2->text().toUtf8(), QByteArray("Varsion\xe3\x80\x80" "1.0.0"));  // an ideographic space
        bool stillOpen = false;
        QTimer::singleShot(0, &dialog, [&] {  // inside the dialog's modal loop, which ends even when a check fails
            if (QTest::qWaitForWindowActive(&dialog)) {
                QTest::mousePress(dialog.Label5, Qt::LeftButton, {}, QPoint(5, 5));
                QTest::mouseRelease(dialog.Label5, Qt::LeftButton, {}, QPoint(5, -8));
                QTest::mouseClick(dialog.Label5, Qt::LeftButton);
                QTest::mouseClick(dialog.Label5, Qt::LeftButton);
                stillOpen = dialog.isVisible();
                if (QWidget* focus = QApplication::focusWidget())
                    QTest::keyClick(focus, Qt::Key_Return);
            }
            if (dialog.isVisible())
                dialog.reject();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));  // Enter on OK
        platform::setMessageBoxHook({});
        platform::setWebOpenerHook({});
        QVERIFY(stillOpen);
        QCOMPARE(boxes, 0);
        const QUrl homepage(platform::callLumoraHpURL());
        QCOMPARE(opened, QList<QUrl>({homepage, homepage}));
        QCOMPARE(owners.at(0), static_cast<QWidget*>(&dialog));
        // Shown, it names the program's file; the link is underlined, at 9 points.
        QCOMPARE(dialog.Label1[1]->text(), QStringLiteral("型番・製造番号：tst_versionlink"));
        QVERIFY(dialog.Label5->font().underline() && !dialog.Label5->font().bold());
        QCOMPARE(dialog.Label5->font().pointSizeF(), 9.0);
    }
};

QTEST_MAIN(VersionLinkTest)
#include "tst_versionlink.moc"
