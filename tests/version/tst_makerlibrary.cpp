// The loader of the maker's library: the real library answers; a missing, broken or
// incomplete one gives an error with its number and cause.

#include "controls/RuntimeError.h"
#include "platform/MakerLibrary.h"
#include "platform/WebAddress.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kRealLibrary = QStringLiteral(TARVOLA_BINARY_DIR "/bin/libSorrel3Res.so");

// The address, or number 0 (which no check accepts) when the call raised no error.
ctl::RuntimeError call(const QString& path, QString* address = nullptr) {
    try {
        const QString result = platform::callLumoraHpURL(path);
        if (address)
            *address = result;
        return ctl::RuntimeError(0, QStringLiteral("no error, the address was ") + result);
    } catch (const ctl::RuntimeError& error) {
        return error;
    }
}

}  // namespace

class MakerLibraryTest : public QObject {
    Q_OBJECT

private slots:
    // A reserved example address; a failed load is retried; a loaded library stays loaded.
    void realLibrary() {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("libSorrel3Res.so"));
        QCOMPARE(call(copy).number(), ctl::err::kDllNotFound);
        QVERIFY(QFile::copy(kRealLibrary, copy));
        QString first, second;
        QCOMPARE(call(copy, &first).number(), 0);
        const QUrl url = platform::parseWebAddress(first);
        QVERIFY2(url.isValid() && (url.host() == u"example.com" || url.host().endsWith(u".example.com")),
                 qPrintable(first));
        QVERIFY(QFile::remove(copy));
        QCOMPARE(call(copy, &second).number(), 0);
        QCOMPARE(second, first);
    }

    void loadFails_data() {
        QTest::addColumn<QByteArray>("content");  // written under the library's name; "-" for no file
        QTest::addColumn<QString>("path");        // used as given when not empty
        QFile real(kRealLibrary);
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QByteArray bytes = real.readAll();
        QTest::newRow("missing") << QByteArray("-") << QString();
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("text") << QByteArray("https://www.example.com/\n") << QString();
        QTest::newRow("truncated library") << bytes.left(200) << QString();
        QTest::newRow("bad magic") << QByteArray(bytes).replace(0, 4, "\x7f" "ELG") << QString();
        // The real library's folder is on LD_LIBRARY_PATH: a search would find it there.
        QTest::newRow("bare name, not searched for") << QByteArray("-") << QStringLiteral("libSorrel3Res.so");
        QTest::newRow("relative name") << QByteArray("-") << QStringLiteral("bin/libSorrel3Res.so");
    }
    void loadFails() {
        QFETCH(QByteArray, content);
        QFETCH(QString, path);
        QTemporaryDir dir;
        const bool searchable = !path.isEmpty();
        if (!searchable)
            path = dir.filePath(QStringLiteral("libSorrel3Res.so"));
        QFile file(path);
        if (content != "-")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QVERIFY(qEnvironmentVariable("LD_LIBRARY_PATH").contains(u"/bin"));
        QVERIFY(QDir::setCurrent(QStringLiteral(TARVOLA_BINARY_DIR)));
        const ctl::RuntimeError error = call(path);
        QCOMPARE(error.number(), ctl::err::kDllNotFound);
        if (searchable)
            return;
        QVERIFY2(error.description().contains(u"'libSorrel3Res.so'"), qPrintable(error.description()));
        if (content == "-")
            QVERIFY2(error.description().contains(u"見つかりません"), qPrintable(error.description()));
        else  // the loader's own reason follows in brackets
            QVERIFY2(error.description().endsWith(u')') && error.description().indexOf(u'(') > 0,
                     qPrintable(error.description()));
    }

    void callFails() {
        const ctl::RuntimeError missing = call(QStringLiteral(FAKE_WITHOUT_FUNCTION_PATH));
        QCOMPARE(missing.number(), ctl::err::kDllEntryNotFound);
        QVERIFY(missing.description().contains(u"LumoraHpURL") && missing.description().contains(u"libSorrel3Res.so"));
        const ctl::RuntimeError null = call(QStringLiteral(FAKE_NULL_RESULT_PATH));
        QVERIFY(null.number() != 0 && null.description().contains(u"LumoraHpURL"));
    }

    // Whatever text comes back, only a web address reaches the desktop.
    void nonWebAddressIsNotHandedOn_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file url") << QStringLiteral(FAKE_FILE_URL_PATH) << QStringLiteral("file:///bin/sh");
        QTest::newRow("command") << QStringLiteral(FAKE_COMMAND_PATH) << QStringLiteral("/usr/bin/xterm -e sh");
    }
    void nonWebAddressIsNotHandedOn() {
        QFETCH(QString, library);
        QString address;
        QCOMPARE(call(library, &address).number(), 0);
        QTEST(address, "expected");
        int opened = 0;
        platform::setWebOpenerHook([&](const QUrl&, QWidget*) { ++opened; });
        QVERIFY(!platform::openWebAddress(address, nullptr));
        platform::setWebOpenerHook({});
        QCOMPARE(opened, 0);
    }
};

QTEST_GUILESS_MAIN(MakerLibraryTest)
#include "tst_makerlibrary.moc"
