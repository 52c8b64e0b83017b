// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The settings record and its file. The record: what SaveIni writes reads back through LoadIni's
// reader, the bytes keep the record's layout, and every malformed file fails with the error
// number that sends LoadIni to its fallback. The file: where it lies, reading odd files without
// hanging, and replacing it so that a failed save leaves the previous file whole.

#include "TestFiles.h"
#include "core/PathParts.h"
#include "settings/OtherUsers.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <csignal>
#include <limits>
#include <tuple>
#include <dlfcn.h>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using settings::Record;
Q_DECLARE_METATYPE(Record)

namespace {

const Record kTypical{
    -75,   0,     4050, 3600, QByteArray("/home/user/\xE5\xB9\x95/film.bmp"), {}, 1, 1, {}, 8850, 1620, true,
    false, 10000, 6000, 0};
// Written by hand, not produced by the code under test.
const QByteArray kTypicalLine =
    "-75,0,4050,3600,\"/home/user/\xE5\xB9\x95/film.bmp\",\"\",1,1,\"\",8850,1620,#TRUE#,#FALSE#,10000,6000,0\r\n";

QByteArray withField(int number, const QByteArray& value) {
    QList<QByteArray> fields = kTypicalLine.chopped(2).split(',');
    fields[number - 1] = value;
    return fields.join(',') + "\r\n";
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QStringList entriesOf(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The order in which a save reaches the disk: these stand in for the C library's calls while
// tracing, and hand them on.
bool tracing = false;
QStringList trace;

}  // namespace

extern "C" int fsync(int fd) {
    if (tracing)
        trace << QStringLiteral("fsync ") + QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget();
    return reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"))(fd);
}

extern "C" int rename(const char* from, const char* to) {
    if (tracing)
        trace << QStringLiteral("rename ") + QString::fromLocal8Bit(to);
    return reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"))(from, to);
}

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theRecordsLayout() {
        QCOMPARE(settings::formatRecord(kTypical), kTypicalLine);
        QCOMPARE(settings::parseRecord(kTypicalLine), kTypical);
        // A byte order mark before it, more fields and lines after it change nothing.
        QCOMPARE(settings::parseRecord("\xEF\xBB\xBF" + kTypicalLine.chopped(2) + ",17,\"x\"\r\n1,2\r\n"), kTypical);
    }

    // Each number or flag field read alone, the others as they were; fractions round half to even.
    void numberFields_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<Record>("record");
        const auto row = [](const char* name, int field, const char* text, auto member, double value) {
            Record r = kTypical;
            r.*member = static_cast<std::remove_reference_t<decltype(r.*member)>>(value);
            QTest::newRow(name) << withField(field, text) << r;
        };
        row("2.5 to even", 1, "2.5", &Record::formLeft, 2);
        row("3.5 to even", 2, "3.5", &Record::formTop, 4);
        row("a fraction alone", 2, "0.75", &Record::formTop, 1);
        row("exponent", 11, "1.25E2", &Record::kanbanTop, 125);
        row("roll speed beyond 16 bits", 8, "40000", &Record::makuSpeed1, 40000);
        row("int32 minimum, rounded back", 1, "-2147483648.5", &Record::formLeft, -2147483648.0);
        row("#FALSE# in blanks", 12, "  #FALSE#\t", &Record::viewKanban, 0);
        row("-1 is true", 13, "-1", &Record::viewWaku, 1);
        row("below the smallest double", 1, "1e-330", &Record::formLeft, 0);
        row("zero, however large its exponent", 1, "0e999", &Record::formLeft, 0);
    }
    void numberFields() {
        QFETCH(QByteArray, line);
        QTEST(settings::parseRecord(line), "record");
    }

    void errors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        const QList<QByteArray> fields = kTypicalLine.chopped(2).split(',');
        QTest::newRow("empty file") << QByteArray() << 62;
        for (int present = 1; present < 16; ++present)
            QTest::addRow("field %d missing", present + 1) << fields.mid(0, present).join(',') + "\r\n" << 62;
        QTest::newRow("unterminated quote") << fields.mid(0, 8).join(',') + ",\"/tmp/x,1,2\r\n" << 62;
        for (const auto& [field, text] : {std::pair{1, "abc"},
                                          {7, "12x"},
                                          {10, "1 2"},
                                          {14, ""},
                                          {4, "1e"},
                                          {4, "1e999x"},
                                          {1, "inf"},
                                          {8, "0x10"},
                                          {14, "\"\""},
                                          {12, "True"},
                                          {13, "#TRUE"}})
            QTest::addRow("field %d: %s", field, text) << withField(field, text) << 13;
        for (const auto& [field, text] : {std::pair{16, "32768"},
                                          {16, "32767.5"},
                                          {1, "2147483648"},
                                          {11, "-2147483649"},
                                          {15, "-1e400"},
                                          {15, "1e309"}})
            QTest::addRow("field %d: %s", field, text) << withField(field, text) << 6;
    }
    void errors() {
        QFETCH(QByteArray, bytes);
        QTEST(testfiles::errorOf([&] { settings::parseRecord(bytes); }).number(), "number");
    }

    // Whatever the record holds, the line written reads back as that record, positions rounded
    // half to even and held within the 32-bit range the reader takes them in; a line the reader
    // would stop short of is not made at all.
    void writtenRecordsReadBack() {
        QRandomGenerator random(20261207);
        // 2^31 - 1 is held as 2^31 in single precision; 2^31 - 128 is the float just below it.
        constexpr float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
        const float positions[] = {0.0f,          -0.0f,          1.5f,           2.5f,   -75.0f, 2147483647.0f,
                                   2147483520.0f, -2147483648.0f, -2147483904.0f, 1e-40f, inf,    -inf,
                                   nan,           4194304.5f,     16777217.0f};
        // Each read as the reader takes it: written by hand, not computed by the code under test.
        const float read[] = {0.0f,          0.0f,           2.0f,           2.0f,           -75.0f,
                              2147483648.0f, 2147483520.0f,  -2147483648.0f, -2147483648.0f, 0.0f,
                              2147483648.0f, -2147483648.0f, 0.0f,           4194304.0f,     16777216.0f};
        // Paths are bytes: valid UTF-8 or not (a folder "caf\xE9" named in Latin-1, a lone
        // continuation byte), and whatever else a file name may hold.
        const QByteArray nul(1, '\0');
        const QByteArray pieces[] = {
            "\"", ",",      "\r\n",         " ",  "\t",       "a",       "幕",  "\xF0\x9F\x9A\x8C",
            nul,  "#TRUE#", "\xEF\xBB\xBF", "1e", "\xC2\xA0", "caf\xE9", "\x80"};
        const auto text = [&] {
            QByteArray t;
            for (int n = int(random.bounded(12)); n > 0; --n)
                t += pieces[random.bounded(int(std::size(pieces)))];
            return t;
        };
        for (int round = 0; round < 3000; ++round) {
            Record w;
            std::array<float, 6> expected{};
            float* const places[] = {&w.formLeft, &w.formTop, &w.panelLeft, &w.panelTop, &w.kanbanLeft, &w.kanbanTop};
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const int pick = random.bounded(int(std::size(positions)));
                *places[i] = positions[pick];
                expected[i] = read[pick];
            }
            for (std::int32_t* p : {&w.makuSpeed0, &w.makuSpeed1, &w.hScroll1, &w.hScroll2})
                *p = std::int32_t(random.generate());
            w.nakaMode = std::int16_t(random.generate());
            w.viewKanban = random.bounded(2) == 1;
            w.viewWaku = random.bounded(2) == 1;
            w.makuPath0 = text();
            w.makuPath1 = text();
            w.kanbanPath = text();

            const QByteArray line = settings::formatRecord(w);
            const Record r = settings::parseRecord(line);
            Record want = w;
            std::tie(want.formLeft, want.formTop, want.panelLeft, want.panelTop, want.kanbanLeft, want.kanbanTop) =
                std::tuple_cat(expected);
            QVERIFY2(r == want, line.constData());
            QCOMPARE(settings::formatRecord(r), settings::formatRecord(want));
        }
    }

    void overlongRecordIsNotMade() {
        Record r = kTypical;
        r.makuPath1 = QByteArray(60 * 1024, 'x');  // within the reader's 64 KB, written or not
        QVERIFY(settings::formatRecord(r).size() < 64 * 1024);
        r.kanbanPath = QByteArray(4 * 1024, '"');  // each quote written twice: past 64 KB
        const core::RuntimeError e = testfiles::errorOf([&] { settings::formatRecord(r); });
        QCOMPARE(e.number(), 75);
        QVERIFY2(e.description().contains(u"65536"), qPrintable(e.description()));
        r.kanbanPath = QByteArray(1024 * 1024, '/');
        QCOMPARE(testfiles::errorOf([&] { settings::formatRecord(r); }).number(), 75);
    }

    // The file beside the program takes its name, the last extension replaced. A program folder
    // its user cannot write keeps the settings in the configuration folder: XDG_CONFIG_HOME's when
    // it is absolute, else the home's; without a home there is none, rather than one at the root.
    void paths() {
        QCOMPARE(settings::settingsPathFor("/opt/bus", "runbus"), QByteArray("/opt/bus/runbus.ini"));
        QCOMPARE(settings::settingsPathFor("/opt", "my.bus.bin"), QByteArray("/opt/my.bus.ini"));
        // A one-letter name keeps its letter; a hidden name has no extension to replace.
        QCOMPARE(settings::settingsPathFor("/opt", "b.x"), QByteArray("/opt/b.ini"));
        QCOMPARE(settings::settingsPathFor("/opt", ".bus"), QByteArray("/opt/.bus.ini"));
        QCOMPARE(settings::configFolder("/srv/conf", "/home/u"), QByteArray("/srv/conf/tarvola"));
        QCOMPARE(settings::configFolder("/srv/conf", {}), QByteArray("/srv/conf/tarvola"));
        QCOMPARE(settings::configFolder({}, "/home/u"), QByteArray("/home/u/.config/tarvola"));
        QCOMPARE(settings::configFolder("conf", "/home/u"), QByteArray("/home/u/.config/tarvola"));
        QCOMPARE(settings::configFolder({}, {}), QByteArray());
        QCOMPARE(settings::configFolder("conf", {}), QByteArray());
        // HOME unset, empty or relative: the home is the password database's. As root that is
        // /root, not the root folder (where a folder /.config would be made); nobody's is /nonexistent.
        QCOMPARE(settings::homeFolder("/home/u"), QByteArray("/home/u"));
        const passwd* me = ::getpwuid(::geteuid());
        QVERIFY(me);
        for (const QByteArray& home : {QByteArray(), QByteArray("home/u")}) {
            QCOMPARE(settings::homeFolder(home), QByteArray(me->pw_dir));
            if (::geteuid() == 0)
                QCOMPARE(settings::homeFolder(home), QByteArray("/root"));
            if (const passwd* user = testfiles::nobody())
                QCOMPARE(
                    testfiles::asNobody(user, [&] { return settings::homeFolder(home) == "/nonexistent" ? 0 : 1; }), 0);
        }
    }

    void reading() {
        QTemporaryDir dir;
        const auto errorReading = [](const QString& path) {
            return testfiles::errorOf([&] { settings::readSettingsFile(QFile::encodeName(path)); });
        };
        QCOMPARE(errorReading(dir.filePath("none.ini")).number(), 53);
        QCOMPARE(errorReading(dir.path()).number(), 75);
        QVERIFY(errorReading(dir.path()).description().contains(dir.path()));
        // A FIFO without a writer would block an ordinary open for ever.
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo.ini")).constData(), 0600), 0);
        QCOMPARE(errorReading(dir.filePath("fifo.ini")).number(), 75);
        // An empty file is read, as nothing: its record is broken, not unreadable, and is replaced.
        testfiles::write(dir.filePath("empty.ini"), {});
        QCOMPARE(errorReading(dir.filePath("empty.ini")).number(), 0);
    }

    void replacing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvola.ini"));
        const mode_t mask = ::umask(022);
        ::umask(mask);
        // The data reaches the disk before the new file takes the name, and the name after.
        tracing = true;
        settings::writeFileAtomically(QFile::encodeName(path), "old contents that are longer than the new ones\r\n");
        tracing = false;
        QCOMPARE(trace.size(), 3);
        QVERIFY2(trace[0].startsWith(QStringLiteral("fsync ") + dir.path() + "/.tarvola.ini.tmp-"),
                 qPrintable(trace[0]));
        QCOMPARE(trace.mid(1), (QStringList{"rename " + path, "fsync " + dir.path()}));
        QCOMPARE(modeOf(path), mode_t(0666 & ~mask));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
        settings::writeFileAtomically(QFile::encodeName(path), "new\r\n");
        QCOMPARE(testfiles::read(path), QByteArray("new\r\n"));
        QCOMPARE(modeOf(path), mode_t(0640));
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("tarvola.ini")});
        // A first save into a home without its configuration folders makes each of them.
        const QTemporaryDir home;
        const QByteArray nested = QFile::encodeName(home.filePath(QStringLiteral(".config/tarvola/tarvola.ini")));
        settings::makeFolderFor(nested);
        settings::writeFileAtomically(nested, "new\r\n");
        QCOMPARE(testfiles::read(QFile::decodeName(nested)), QByteArray("new\r\n"));
        // Temporary files of killed saves go once they are a minute old; anything else stays.
        for (const QString name :
             {".tarvola.ini.tmp-old1", ".tarvola.ini.tmp-new1", ".other.ini.tmp-old2", ".tarvola.ini.tmp-OLD"}) {
            testfiles::write(dir.filePath(name), "partial");
            if (name.contains(u"old", Qt::CaseInsensitive)) {
                const timespec times[2] = {{::time(nullptr) - 61, 0}, {::time(nullptr) - 61, 0}};
                QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), times, 0), 0);
            }
        }
        settings::writeFileAtomically(QFile::encodeName(path), "new\r\n");
        QStringList left = entriesOf(dir.path());
        left.sort();
        QCOMPARE(left,
                 (QStringList{".other.ini.tmp-old2", ".tarvola.ini.tmp-OLD", ".tarvola.ini.tmp-new1", "tarvola.ini"}));

        QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("link.ini"))));
        settings::writeFileAtomically(QFile::encodeName(dir.filePath(QStringLiteral("link.ini"))), "via link");
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("link.ini"))).isSymLink());
        QCOMPARE(testfiles::read(path), QByteArray("via link"));
    }

    // What the file stands for is kept: a FIFO stays a FIFO, a read-only file is not replaced.
    void respected_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("saved");
        QTest::newRow("link to a FIFO with a reader") << "fifo link" << true;
        // The link in the user's folder, the FIFO where only root may write (as a device in /dev).
        QTest::newRow("link to a FIFO, ordinary user") << "fifo link nobody" << true;
        QTest::newRow("FIFO without a reader") << "fifo" << false;
        QTest::newRow("mode 444") << "0444" << false;
        QTest::newRow("link to a read-only file") << "0444 link" << false;
    }
    void respected() {
        QFETCH(QString, how);
        QFETCH(bool, saved);
        const passwd* user = how.endsWith(u"nobody") ? testfiles::nobody() : nullptr;
        if (how.endsWith(u"nobody") && !user)
            QSKIP("dropping to an ordinary user needs root and the user nobody");
        QTemporaryDir dir;
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        const QString target = dir.filePath(QStringLiteral("target"));
        const QByteArray targetName = QFile::encodeName(target);
        const bool fifo = how.startsWith(u"fifo");
        if (fifo) {
            QCOMPARE(::mkfifo(targetName.constData(), 0600), 0);
            QCOMPARE(::chmod(targetName.constData(), 0666), 0);
        } else {
            testfiles::write(target, "frozen\r\n");
            QCOMPARE(::chmod(targetName.constData(), how.left(4).toUInt(nullptr, 8)), 0);
        }
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("user")));
        if (user)
            QCOMPARE(
                ::chown(QFile::encodeName(dir.filePath(QStringLiteral("user"))).constData(), user->pw_uid, gid_t(-1)),
                0);
        const QString path = how.contains(u"link") ? dir.filePath(QStringLiteral("user/tarvola.ini")) : target;
        if (path != target)
            QVERIFY(QFile::link(target, path));
        const int reader = how.startsWith(u"fifo link") ? ::open(targetName.constData(), O_RDONLY | O_NONBLOCK) : -1;

        const auto save = [&] {
            return testfiles::errorOf([&] { settings::writeFileAtomically(QFile::encodeName(path), "record\r\n"); })
                .number();
        };
        QCOMPARE(user ? testfiles::asNobody(user, save) : save(), saved ? 0 : 75);
        struct stat st {};
        QCOMPARE(::stat(targetName.constData(), &st), 0);
        QCOMPARE(S_ISFIFO(st.st_mode), fifo);
        if (reader >= 0) {
            char got[16] = {};
            QCOMPARE(::read(reader, got, sizeof got), ssize_t(8));
            ::close(reader);
            QCOMPARE(QByteArray(got), QByteArray("record\r\n"));
        }
        if (!fifo) {
            QCOMPARE(modeOf(target), mode_t(how.left(4).toUInt(nullptr, 8)));
            QVERIFY(::chmod(targetName.constData(), 0600) == 0);
            QCOMPARE(testfiles::read(target), QByteArray("frozen\r\n"));
        }
        QCOMPARE(QFileInfo(path).isSymLink(), path != target);
    }

    // Another user (here root) may write the folder the settings lie in; the program runs as
    // nobody. A link is followed only when it is nobody's own or the folder is not sticky and
    // open to all; a file of another user's is never replaced, through a link or not.
    void otherUsers_data() {
        QTest::addColumn<int>("folderMode");  // of the folder that holds tarvola.ini
        QTest::addColumn<QString>("entry");   // "root link", "own link", "root file", "own link to root file"
        QTest::addColumn<bool>("saved");
        QTest::newRow("root's link in a sticky folder") << 01777 << "root link" << false;
        QTest::newRow("own link in a sticky folder") << 01777 << "own link" << true;
        QTest::newRow("root's link in an open folder, not sticky") << 0777 << "root link" << true;
        QTest::newRow("root's link in a sticky folder only root may write") << 01755 << "root link" << true;
        QTest::newRow("root's file in an open folder") << 0777 << "root file" << false;
        QTest::newRow("own link to root's file") << 0777 << "own link to root file" << false;
    }
    void otherUsers() {
        QFETCH(int, folderMode);
        QFETCH(QString, entry);
        QFETCH(bool, saved);
        const passwd* user = testfiles::nobody();
        if (!user)
            QSKIP("two users need root and the user nobody");
        QTemporaryDir dir;
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        // nobody's own file, as ~/.profile, in a folder of nobody's; root's file beside it.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("home")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("shared")));
        const QByteArray home = QFile::encodeName(dir.filePath(QStringLiteral("home")));
        const QByteArray shared = QFile::encodeName(dir.filePath(QStringLiteral("shared")));
        const QString own = testfiles::write(dir.filePath(QStringLiteral("home/profile")), "nobody's\n");
        const QString roots = testfiles::write(dir.filePath(QStringLiteral("shared/roots")), "root's\n");
        QCOMPARE(::chmod(QFile::encodeName(roots).constData(), 0666), 0);
        QCOMPARE(::chown(home.constData(), user->pw_uid, user->pw_gid), 0);
        QCOMPARE(::chown(QFile::encodeName(own).constData(), user->pw_uid, user->pw_gid), 0);
        QCOMPARE(::chmod(shared.constData(), mode_t(folderMode)), 0);

        const QString path = dir.filePath(QStringLiteral("shared/tarvola.ini"));
        const QByteArray name = QFile::encodeName(path);
        const QString target = entry == u"root file" ? path : entry.contains(u"root file") ? roots : own;
        if (target == path) {
            testfiles::write(path, "root's\n");
            QCOMPARE(::chmod(name.constData(), 0666), 0);
        } else {
            QVERIFY(QFile::link(target, path));
        }
        if (entry.startsWith(u"own link"))
            QCOMPARE(::lchown(name.constData(), user->pw_uid, user->pw_gid), 0);
        const QByteArray before = testfiles::read(target);

        // nobody reports what reading found (0 or the error number) and what saving did, in its home.
        const QString reportFile = QFile::decodeName(home) + QStringLiteral("/report");
        const auto readAndSave = [&] {
            const int read = testfiles::errorOf([&] { settings::readSettingsFile(name); }).number();
            const core::RuntimeError e = testfiles::errorOf([&] { settings::writeFileAtomically(name, "record\r\n"); });
            testfiles::write(reportFile, QByteArray::number(read) + ' ' + QByteArray::number(e.number()) + ' ' +
                                             e.description().toUtf8());
            return 0;
        };
        QCOMPARE(testfiles::asNobody(user, readAndSave), 0);
        const QByteArray report = testfiles::read(reportFile);
        const QList<QByteArray> got = report.split(' ');
        const bool followed = !entry.startsWith(u"root link") || saved;
        // A link that may not be followed is not read either; the target the link leads to is.
        QCOMPARE(got.value(0), QByteArray(followed || entry == u"root file" ? "0" : "75"));
        QCOMPARE(got.value(1), QByteArray(saved ? "0" : "75"));
        QCOMPARE(testfiles::read(target), saved ? QByteArray("record\r\n") : before);
        QCOMPARE(QFileInfo(path).isSymLink(), entry != u"root file");
        if (!saved)
            QVERIFY2(QString::fromUtf8(report).contains(u"他のユーザー"), report.constData());
    }

    // Who else may write the folder: its group, everyone, or an owner who is neither the user
    // nor root (and may open it to anyone). Asked by root, or by nobody.
    void sharedFolders_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("nobodysOwn");
        QTest::addColumn<bool>("byNobody");
        QTest::addColumn<bool>("shared");
        QTest::newRow("0755, the user's") << 0755 << false << false << false;
        QTest::newRow("1777, as /tmp") << 01777 << false << false << true;
        QTest::newRow("0775, group may write") << 0775 << false << false << true;
        QTest::newRow("0757, others may write") << 0757 << false << false << true;
        QTest::newRow("0755, another user's") << 0755 << true << false << true;
        QTest::newRow("0755, nobody's, asked by nobody") << 0755 << true << true << false;
        QTest::newRow("0755, root's, asked by nobody") << 0755 << false << true << false;
    }
    void sharedFolders() {
        QFETCH(int, mode);
        QFETCH(bool, nobodysOwn);
        QFETCH(bool, byNobody);
        const passwd* user = testfiles::nobody();
        if ((nobodysOwn || byNobody) && !user)
            QSKIP("another user's folder needs root and the user nobody");
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path());
        QCOMPARE(::chmod(folder.constData(), mode_t(mode)), 0);
        if (nobodysOwn)
            QCOMPARE(::chown(folder.constData(), user->pw_uid, gid_t(-1)), 0);
        const auto othersMayWrite = [&] { return int(settings::othersMayWrite(folder)); };
        QTEST(bool(byNobody ? testfiles::asNobody(user, othersMayWrite) : othersMayWrite()), "shared");
        // The configuration folder before the first save: it will be made for this user alone.
        QVERIFY(!settings::othersMayWrite(folder + "/not yet"));
        QCOMPARE(core::folderOf(folder + "/tarvola.ini"), folder);
        QCOMPARE(core::folderOf("/tarvola.ini"), QByteArray("/"));
        QCOMPARE(core::folderOf("tarvola.ini"), QByteArray("."));
    }

    // Each failure: error 75 naming the cause, the old file whole, no temporary file left.
    void failedSaves_data() {
        QTest::addColumn<bool>("folderIsAFile");  // else the file grows past the process's limit
        QTest::newRow("folder is a file") << true;
        QTest::newRow("file too large") << false;
    }
    void failedSaves() {
        QFETCH(bool, folderIsAFile);
        QTemporaryDir dir;
        const QString old = dir.filePath(folderIsAFile ? "plain" : "tarvola.ini");
        const QString path = folderIsAFile ? old + "/tarvola.ini" : old;
        testfiles::write(old, "previous\r\n");
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit lowered = saved;
        lowered.rlim_cur = folderIsAFile ? saved.rlim_cur : 16;
        std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &lowered);
        const core::RuntimeError e =
            testfiles::errorOf([&] { settings::writeFileAtomically(QFile::encodeName(path), QByteArray(4096, 'n')); });
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(e.number(), 75);
        const QString cause = QString::fromLocal8Bit(std::strerror(folderIsAFile ? ENOTDIR : EFBIG));
        QVERIFY2(e.description().contains(path) && e.description().contains(cause), qPrintable(e.description()));
        QCOMPARE(entriesOf(dir.path()), QStringList{QFileInfo(old).fileName()});
        QCOMPARE(testfiles::read(old), QByteArray("previous\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
