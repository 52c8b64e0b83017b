// Only well-formed http and https addresses reach the desktop.

#include "platform/WebAddress.h"

#include <QWidget>
#include <QtTest>

class WebAddressTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { platform::setWebOpenerHook({}); }

    void handedOnOnlyWhenWebAddress_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("handedOn");

        QTest::newRow("http") << QStringLiteral("http://www.example.com/") << true;
        QTest::newRow("https") << QStringLiteral("https://www.example.com/lumora/") << true;
        QTest::newRow("https with query") << QStringLiteral("https://www.example.com/a?b=c#d") << true;
        QTest::newRow("upper-case scheme") << QStringLiteral("HTTPS://www.example.com/") << true;
        QTest::newRow("port") << QStringLiteral("http://www.example.com:8080/") << true;
        QTest::newRow("no path") << QStringLiteral("https://example.com") << true;
        QTest::newRow("percent-encoded") << QStringLiteral("https://www.example.com/a%20b") << true;

        QTest::newRow("ftp") << QStringLiteral("ftp://ftp.example.com/file") << false;
        QTest::newRow("file url") << QStringLiteral("file:///etc/passwd") << false;
        QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << false;
        QTest::newRow("mailto") << QStringLiteral("mailto:someone@example.com") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blank") << QStringLiteral(" ") << false;
        QTest::newRow("absolute path") << QStringLiteral("/usr/bin/xterm") << false;
        QTest::newRow("relative path") << QStringLiteral("bin/xterm") << false;
        QTest::newRow("command line") << QStringLiteral("rm -rf /") << false;
        QTest::newRow("scheme only") << QStringLiteral("https://") << false;
        QTest::newRow("no authority") << QStringLiteral("http:www.example.com") << false;
        QTest::newRow("one slash") << QStringLiteral("https:/www.example.com") << false;
        QTest::newRow("host only") << QStringLiteral("www.example.com") << false;
        QTest::newRow("space inside") << QStringLiteral("https://www.example.com/a b") << false;
        QTest::newRow("leading space") << QStringLiteral(" https://www.example.com/") << false;
        QTest::newRow("trailing newline") << QStringLiteral("https://www.example.com/\n") << false;
        QTest::newRow("ideographic space") << QStringLiteral("https://www.example.com/\u3000") << false;
        QTest::newRow("tab in host") << QStringLiteral("https://www.exa\tmple.com/") << false;
        QTest::newRow("command after address") << QStringLiteral("https://www.example.com/;xterm") << true;
        QTest::newRow("bad host") << QStringLiteral("https://exa mple.com/") << false;
        QTest::newRow("bad port") << QStringLiteral("https://www.example.com:99999999/") << false;
        QTest::newRow("nul inside") << QStringLiteral("https://www.example.com/") + QChar(0) + QStringLiteral("x")
                                    << false;
    }

    void handedOnOnlyWhenWebAddress() {
        QFETCH(QString, address);
        QFETCH(bool, handedOn);

        QList<QUrl> opened;
        QWidget owner;
        QWidget* seenOwner = nullptr;
        platform::setWebOpenerHook([&](const QUrl& url, QWidget* o) {
            opened.append(url);
            seenOwner = o;
        });

        QCOMPARE(platform::openWebAddress(address, &owner), handedOn);
        QCOMPARE(opened.size(), handedOn ? 1 : 0);
        if (handedOn) {
            QCOMPARE(seenOwner, &owner);
            // What reaches the desktop is the address given, not a repaired one.
            QCOMPARE(opened.first().toString(QUrl::FullyEncoded).compare(address, Qt::CaseInsensitive), 0);
        }
    }
};

QTEST_MAIN(WebAddressTest)
#include "tst_webaddress.moc"
