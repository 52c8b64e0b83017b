// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The loader of the maker's library: the real library answers; a missing, broken or
// incomplete one gives an error with its number and cause. Only web addresses are handed on.

#include "TestFiles.h"
#include "testing/SamplePictures.h"
#include "platform/MakerLibrary.h"
#include "platform/Modules.h"
#include "platform/SoundModule.h"
#include "platform/WebAddress.h"

#include <QFile>
#include <cstring>
#include <elf.h>
#include <sys/stat.h>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

namespace {

const QString kRealLibrary = QStringLiteral(TARVOLA_BINARY_DIR "/bin/libSorrel3Res.so");

// The address, or number 0 (which no check accepts) when the call raised no error.
core::RuntimeError call(const QString& path, QString* address = nullptr) {
    QString result;
    const core::RuntimeError error =
        testfiles::errorOf([&] { result = platform::callLumoraHpURL(QFile::encodeName(path)); });
    if (address)
        *address = result;
    return error;
}

// Where the last of the segments the loader maps ends in the file.
qsizetype segmentsEnd(const QByteArray& elf) {
    Elf64_Ehdr eh{};
    std::memcpy(&eh, elf.constData(), sizeof eh);
    qsizetype end = 0;
    for (int i = 0; i < eh.e_phnum; ++i) {
        Elf64_Phdr ph{};
        std::memcpy(&ph, elf.constData() + eh.e_phoff + i * sizeof ph, sizeof ph);
        if (ph.p_type == PT_LOAD)
            end = std::max<qsizetype>(end, qsizetype(ph.p_offset + ph.p_filesz));
    }
    return end;
}

}  // namespace

class MakerLibraryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadFails_data() {
        QTest::addColumn<QByteArray>("content");  // written under the library's name; "-" for no file,
                                                  // "fifo" and "folder" for those under its name
        const QByteArray bytes = testfiles::read(kRealLibrary);
        QTest::newRow("missing") << QByteArray("-");
        // Opening a FIFO that nobody writes would wait for ever; neither is a library.
        QTest::newRow("fifo") << QByteArray("fifo");
        QTest::newRow("folder") << QByteArray("folder");
        QTest::newRow("shorter than an ELF header") << bytes.left(40);
        QTest::newRow("truncated library") << bytes.left(200);
        // Mapped all the same by the loader; the first touch past the end would be SIGBUS.
        QTest::newRow("cut 8 bytes short of its data") << bytes.left(segmentsEnd(bytes) - 8);
        // Its first program header claims data far past the end of the file.
        Elf64_Ehdr eh{};
        std::memcpy(&eh, bytes.constData(), sizeof eh);
        QTest::newRow("first program header past the end")
            << samples::patched<quint64>(bytes, qsizetype(eh.e_phoff + offsetof(Elf64_Phdr, p_filesz)), {1ULL << 40});
        QTest::newRow("no program headers") << samples::patched<quint16>(bytes, offsetof(Elf64_Ehdr, e_phnum), {0});
        // Its program headers copied to 70,000 bytes in, past the part of a module that is read.
        const QByteArray table = bytes.mid(qsizetype(eh.e_phoff), eh.e_phnum * qsizetype(sizeof(Elf64_Phdr)));
        QTest::newRow("program headers past the part read") << samples::patched<quint64>(
            bytes.leftJustified(70000, '\0') + table, offsetof(Elf64_Ehdr, e_phoff), {70000});
        // Whole, but for another machine (ARM): the loader's own reason, naming the file by its path.
        QTest::newRow("another machine's library") << samples::patched<quint16>(bytes, 18, {40});
        // Marked big-endian: its program headers cannot be read as this machine's.
        QTest::newRow("the other byte order") << samples::patched<quint8>(bytes, 5, {2});
    }
    void loadFails() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("libSorrel3Res.so"));
        if (content == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (content == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (content != "-")
            testfiles::write(path, content);
        const core::RuntimeError error = call(path);
        QCOMPARE(error.number(), 48);
        QVERIFY2(error.description().contains(u"'libSorrel3Res.so'"), qPrintable(error.description()));
        const QString& d = error.description();
        const QString cause = content.size() < 8 ? QStringLiteral("見つかりません")
                              : QTest::currentDataTag() == QByteArray("another machine's library")
                                  ? "library " + path + ": "
                                  : QStringLiteral("(ライブラリが壊れているか");
        QVERIFY2(d.contains(cause) && d.endsWith(content.size() < 8 ? u'。' : u')'), qPrintable(d));
    }

    // The loader keeps each library by its own path: one loaded after another is found too,
    // and the first still answers.
    void aModuleLoadedAfterTheMakersLibrary() {
        QString address;
        QCOMPARE(call(kRealLibrary, &address).number(), 0);
        const platform::ModuleFunction sound = platform::moduleFunction(
            QByteArrayLiteral(TARVOLA_BINARY_DIR "/bin/") + platform::kSoundModule, platform::kSoundEntry);
        QCOMPARE(sound.failure, platform::ModuleFunction::Failure::None);
        QString again;
        QCOMPARE(call(kRealLibrary, &again).number(), 0);
        QCOMPARE(again, address);
        QCOMPARE(address, testfiles::kMakersHomepage);
    }

    void callFails() {
        const core::RuntimeError missing = call(QStringLiteral(FAKE_WITHOUT_FUNCTION_PATH));
        QCOMPARE(missing.number(), 453);
        QVERIFY(missing.description().contains(u"LumoraHpURL") && missing.description().contains(u"libSorrel3Res.so"));
        // A function it needs is missing: refused when loaded, not when called (which would end the program).
        const core::RuntimeError unresolved = call(QStringLiteral(FAKE_UNRESOLVED_PATH));
        QVERIFY2(unresolved.number() == 48 && unresolved.description().contains(u"lumoraMissing"),
                 qPrintable(unresolved.description()));
        const core::RuntimeError null = call(QStringLiteral(FAKE_NULL_RESULT_PATH));
        QVERIFY(null.number() == 5 && null.description().contains(u"LumoraHpURL"));
        // The longest address taken is 8192 bytes; one a byte longer is refused, not read on.
        QString longest;
        QCOMPARE(call(QStringLiteral(FAKE_ADDRESS_8192_PATH), &longest).number(), 0);
        QVERIFY(longest.size() == 8192 && longest.startsWith(u"https://www.example.com/aaa") && longest.endsWith(u'a'));
        const core::RuntimeError tooLong = call(QStringLiteral(FAKE_ADDRESS_8193_PATH));
        QVERIFY2(tooLong.number() == 5 && tooLong.description().contains(u"長すぎます"),
                 qPrintable(tooLong.description()));
    }

    // Only well-formed http and https addresses reach the desktop, exactly as given; `make fuzz`
    // tries many more.
    void handedOnOnlyWhenWebAddress_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("handedOn");
        for (const char* ok : {"https://www.example.com/a?b=c#d", "HTTPS://www.example.com:8080/;xterm"})
            QTest::newRow(ok) << QString::fromLatin1(ok) << true;
        for (const char* bad : {"ftp://ftp.example.com/file", "https://", "http:www.example.com", "www.example.com",
                                "https://www.example.com/a b", "https://www.example.com:99999999/"})
            QTest::newRow(bad) << QString::fromLatin1(bad) << false;
        QTest::newRow("nul inside") << QStringLiteral("https://www.example.com/") + QChar(0) + u'x' << false;
        // Blanks and invisible marks that the address parser would take and show differently.
        QTest::newRow("soft hyphen in the host") << QStringLiteral("https://www.exam\u00ADple.com/") << false;
        QTest::newRow("right-to-left override") << QStringLiteral("https://www.example.com/\u202Egnp.exe") << false;
        QTest::newRow("ideographic space") << QStringLiteral("https://www.example.com/\u3000") << false;
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

QTEST_MAIN(MakerLibraryTest)
#include "tst_makerlibrary.moc"
