// Only well-formed http and https addresses reach the desktop, exactly as given.

#include "platform/WebAddress.h"

#include <QWidget>
#include <QtTest>

class WebAddressTest : public QObject {
    Q_OBJECT

private slots:
    void handedOnOnlyWhenWebAddress_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("handedOn");
        for (const char* ok : {"http://www.example.com/", "https://www.example.com/a?b=c#d", "HTTPS://www.example.com/",
                               "http://www.example.com:8080/", "https://example.com", "https://www.example.com/a%20b",
                               "https://www.example.com/;xterm"})
            QTest::newRow(ok) << QString::fromLatin1(ok) << true;
        for (const char* bad : {"ftp://ftp.example.com/file", "file:///etc/passwd", "javascript:alert(1)", "", " ",
                                "/usr/bin/xterm", "rm -rf /", "https://", "http:www.example.com",
                                "https:/www.example.com", "www.example.com", "https://www.example.com/a b",
                                " https://www.example.com/", "https://www.example.com/\n", "https://exa mple.com/",
                                "https://www.example.com:99999999/"})
            QTest::newRow(bad) << QString::fromLatin1(bad) << false;
        QTest::newRow("ideographic space") << QStringLiteral("https://www.example.com/\u3000") << false;
        QTest::newRow("nul inside") << QStringLiteral("https://www.example.com/") + QChar(0) + u'x' << false;
    }
    void handedOnOnlyWhenWebAddress() {
        QFETCH(QString, address);
        QFETCH(bool, handedOn);
        QList<QUrl> opened;
        QWidget owner;
        QWidget* seenOwner = nullptr;
        platform::setWebOpenerHook([&](const QUrl& url, QWidget* o) { opened.append(url), seenOwner = o; });
        QCOMPARE(platform::openWebAddress(address, &owner), handedOn);
        platform::setWebOpenerHook({});
        QCOMPARE(opened.size(), handedOn ? 1 : 0);
        if (handedOn) {
            QCOMPARE(seenOwner, &owner);
            QCOMPARE(opened.first().toString(QUrl::FullyEncoded).compare(address, Qt::CaseInsensitive), 0);
        }
    }
};

QTEST_MAIN(WebAddressTest)
#include "tst_webaddress.moc"
