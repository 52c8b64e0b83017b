// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The toolkit's dialogs in the user's language; run with LANG=ja_JP.UTF-8 and nothing overriding it.

#include "platform/Translations.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestTranslations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void standardButtonsInJapanese() {
        platform::installToolkitTranslations();
        QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Open | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Open)->text(), QStringLiteral("開く"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
