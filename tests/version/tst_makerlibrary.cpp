// The loader of the maker's library: the real library answers; a missing,
// broken or incomplete one gives an error with its number and cause; whatever
// text comes back, only a web address reaches the desktop.

#include "controls/RuntimeError.h"
#include "platform/MakerLibrary.h"
#include "platform/WebAddress.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kRealLibrary = QStringLiteral(TARVOLA_BINARY_DIR "/bin/libSorrel3Res.so");

// The error a call raises, or number 0 (which no check accepts) when it raises none.
ctl::RuntimeError callError(const QString& path) {
    try {
        const QString address = platform::callLumoraHpURL(path);
        return ctl::RuntimeError(0, QStringLiteral("no error, the address was ") + address);
    } catch (const ctl::RuntimeError& error) {
        return error;
    }
}

// The address a call returns, or the error's description in place of it.
struct CallResult {
    bool ok = false;
    QString text;
};

CallResult call(const QString& path) {
    try {
        return {true, platform::callLumoraHpURL(path)};
    } catch (const ctl::RuntimeError& error) {
        return {false, error.description()};
    }
}

}  // namespace

class MakerLibraryTest : public QObject {
    Q_OBJECT

private slots:
    void realLibraryGivesAWebAddress() {
        const CallResult result = call(kRealLibrary);
        QVERIFY2(result.ok, qPrintable(result.text));
        const QString address = result.text;
        const QUrl url = platform::parseWebAddress(address);
        QVERIFY2(url.isValid(), qPrintable(address));
        // The address is a reserved example address, never a real site.
        QVERIFY2(url.host() == u"example.com" || url.host().endsWith(u".example.com"), qPrintable(address));
    }

    void libraryStaysLoadedAfterFirstUse() {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("libSorrel3Res.so"));
        QVERIFY(QFile::copy(kRealLibrary, copy));
        const CallResult first = call(copy);
        QVERIFY2(first.ok, qPrintable(first.text));
        QVERIFY(QFile::remove(copy));
        const CallResult second = call(copy);
        QVERIFY2(second.ok, qPrintable(second.text));
        QCOMPARE(second.text, first.text);
    }

    void failedLoadIsRetried() {
        // A library put in place after a failure is found on the next call.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("libSorrel3Res.so"));
        QCOMPARE(callError(path).number(), ctl::err::kDllNotFound);
        QVERIFY(QFile::copy(kRealLibrary, path));
        const CallResult retried = call(path);
        QVERIFY2(retried.ok, qPrintable(retried.text));
        QVERIFY(platform::parseWebAddress(retried.text).isValid());
    }

    void missingLibrary() {
        QTemporaryDir dir;
        const ctl::RuntimeError error = callError(dir.filePath(QStringLiteral("libSorrel3Res.so")));
        QCOMPARE(error.number(), ctl::err::kDllNotFound);
        QVERIFY2(error.description().contains(u"'libSorrel3Res.so'"), qPrintable(error.description()));
        QVERIFY2(error.description().contains(u"見つかりません"), qPrintable(error.description()));
    }

    void notALibrary_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("https://www.example.com/\n");
        QFile real(kRealLibrary);
        QVERIFY(real.open(QIODevice::ReadOnly));
        QTest::newRow("truncated library") << real.read(200);
        QByteArray garbled = real.readAll();
        garbled.replace(0, 4, "\x7f" "ELG");
        QTest::newRow("bad magic") << garbled;
    }

    void notALibrary() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("libSorrel3Res.so"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        const ctl::RuntimeError error = callError(path);
        QCOMPARE(error.number(), ctl::err::kDllNotFound);
        QVERIFY2(error.description().contains(u"'libSorrel3Res.so'"), qPrintable(error.description()));
        // The loader's own reason follows in brackets.
        const qsizetype open = error.description().indexOf(u'(');
        QVERIFY2(open > 0 && error.description().endsWith(u')') &&
                     error.description().size() - open > 2,
                 qPrintable(error.description()));
    }

    void libraryWithoutTheFunction() {
        const ctl::RuntimeError error = callError(QStringLiteral(FAKE_WITHOUT_FUNCTION_PATH));
        QCOMPARE(error.number(), ctl::err::kDllEntryNotFound);
        QVERIFY2(error.description().contains(u"LumoraHpURL"), qPrintable(error.description()));
        QVERIFY2(error.description().contains(u"libSorrel3Res.so"), qPrintable(error.description()));
    }

    void functionReturningNothing() {
        const ctl::RuntimeError error = callError(QStringLiteral(FAKE_NULL_RESULT_PATH));
        QVERIFY(error.number() != 0);
        QVERIFY2(error.description().contains(u"LumoraHpURL"), qPrintable(error.description()));
    }

    void bareOrRelativeNameIsNotSearchedFor_data() {
        QTest::addColumn<QString>("path");
        // The test runs with the real library's folder on LD_LIBRARY_PATH: a search
        // would find it there.
        QTest::newRow("bare name") << QStringLiteral("libSorrel3Res.so");
        QTest::newRow("relative") << QStringLiteral("bin/libSorrel3Res.so");
        QTest::newRow("empty") << QString();
    }

    void bareOrRelativeNameIsNotSearchedFor() {
        QFETCH(QString, path);
        QVERIFY(qEnvironmentVariable("LD_LIBRARY_PATH").contains(u"/bin"));
        QVERIFY(QDir::setCurrent(QStringLiteral(TARVOLA_BINARY_DIR)));
        QCOMPARE(callError(path).number(), ctl::err::kDllNotFound);
    }

    void nonWebAddressIsNotHandedOn_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file url") << QStringLiteral(FAKE_FILE_URL_PATH) << QStringLiteral("file:///bin/sh");
        QTest::newRow("command") << QStringLiteral(FAKE_COMMAND_PATH) << QStringLiteral("/usr/bin/xterm -e sh");
    }

    void nonWebAddressIsNotHandedOn() {
        QFETCH(QString, library);
        QFETCH(QString, expected);
        int opened = 0;
        platform::setWebOpenerHook([&](const QUrl&, QWidget*) { ++opened; });
        const CallResult result = call(library);
        QVERIFY2(result.ok, qPrintable(result.text));
        const QString address = result.text;
        QCOMPARE(address, expected);
        QVERIFY(!platform::openWebAddress(address, nullptr));
        platform::setWebOpenerHook({});
        QCOMPARE(opened, 0);
    }
};

QTEST_GUILESS_MAIN(MakerLibraryTest)
#include "tst_makerlibrary.moc"
