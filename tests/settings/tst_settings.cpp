// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The settings record and its file. The record: what SaveIni writes reads back through LoadIni's
// reader, the bytes keep the record's layout, and every malformed file fails with the error
// number that sends LoadIni to its fallback. The file: where it lies, reading odd files without
// hanging, and replacing it so that a failed save leaves the previous file whole.

#include "TestFiles.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
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

namespace {

const Record kTypical{-75, 0, 4050, 3600, QStringLiteral("/home/user/幕/film.bmp"), {}, 1, 1, {},
                      8850, 1620, true, false, 10000, 6000, 0};
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

QStringList entriesOf(const QString& dir) { return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

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

    // Each number or flag field read alone; fractions round half to even.
    void numberFields_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("field");
        QTest::addColumn<double>("value");
        QTest::newRow("2.5 to even") << QByteArray("2.5") << 1 << 2.0;
        QTest::newRow("3.5 to even") << QByteArray("3.5") << 2 << 4.0;
        QTest::newRow("exponent") << QByteArray("1.25E2") << 11 << 125.0;
        QTest::newRow("roll speed beyond 16 bits") << QByteArray("40000") << 8 << 40000.0;
        QTest::newRow("int32 minimum, rounded back") << QByteArray("-2147483648.5") << 1 << -2147483648.0;
        QTest::newRow("#FALSE# in blanks") << QByteArray("  #FALSE#\t") << 12 << 0.0;
        QTest::newRow("-1 is true") << QByteArray("-1") << 13 << 1.0;
        QTest::newRow("below the smallest double") << QByteArray("1e-330") << 1 << 0.0;
    }
    void numberFields() {
        QFETCH(QByteArray, text);
        QFETCH(int, field);
        const Record r = settings::parseRecord(withField(field, text));
        const double byField[] = {r.formLeft,         r.formTop,          r.panelLeft,   r.panelTop,  0, 0,
                                  double(r.makuSpeed0), double(r.makuSpeed1), 0,             r.kanbanLeft,
                                  r.kanbanTop,        double(r.viewKanban), double(r.viewWaku), double(r.hScroll1),
                                  double(r.hScroll2), double(r.nakaMode)};
        QTEST(byField[field - 1], "value");
    }

    void errors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        const QList<QByteArray> fields = kTypicalLine.chopped(2).split(',');
        QTest::newRow("empty file") << QByteArray() << 62;
        for (int present = 1; present < 16; ++present)
            QTest::addRow("field %d missing", present + 1) << fields.mid(0, present).join(',') + "\r\n" << 62;
        QTest::newRow("unterminated quote") << fields.mid(0, 8).join(',') + ",\"/tmp/x,1,2\r\n" << 62;
        for (const auto& [field, text] : {std::pair{1, "abc"}, {7, "12x"}, {10, "1 2"}, {14, ""}, {4, "1e"},
                                          {1, "inf"}, {8, "0x10"}, {14, "\"\""}, {12, "True"}, {13, "#TRUE"}})
            QTest::addRow("field %d: %s", field, text) << withField(field, text) << 13;
        for (const auto& [field, text] : {std::pair{16, "32768"}, {16, "32767.5"}, {1, "2147483648"},
                                          {11, "-2147483649"}, {15, "-1e400"}, {15, "1e309"}})
            QTest::addRow("field %d: %s", field, text) << withField(field, text) << 6;
    }
    void errors() {
        QFETCH(QByteArray, bytes);
        QTEST(testfiles::errorOf([&] { settings::parseRecord(bytes); }).number(), "number");
    }

    void pathFor_data() {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("exe");
        QTest::addColumn<QString>("path");
        QTest::newRow("folder") << "/opt/bus" << "runbus" << "/opt/bus/runbus.ini";
        QTest::newRow("last extension only") << "/opt" << "my.bus.bin" << "/opt/my.bus.ini";
    }
    void pathFor() {
        QFETCH(QString, dir);
        QFETCH(QString, exe);
        QTEST(QFile::decodeName(settings::settingsPathFor(QFile::encodeName(dir), QFile::encodeName(exe))), "path");
    }

    // A program folder its user cannot write keeps the settings in the configuration folder.
    void configFolder_data() {
        QTest::addColumn<QByteArray>("xdgConfigHome");
        QTest::addColumn<QByteArray>("folder");
        QTest::newRow("XDG_CONFIG_HOME") << QByteArray("/srv/conf") << QByteArray("/srv/conf/tarvola");
        QTest::newRow("unset") << QByteArray() << QByteArray("/home/u/.config/tarvola");
        QTest::newRow("relative, so ignored") << QByteArray("conf") << QByteArray("/home/u/.config/tarvola");
    }
    void configFolder() {
        QFETCH(QByteArray, xdgConfigHome);
        QTEST(settings::configFolder(xdgConfigHome, "/home/u"), "folder");
    }

    void reading() {
        QTemporaryDir dir;
        const auto errorReading = [](const QString& path) { return testfiles::errorOf([&] { settings::readSettingsFile(QFile::encodeName(path)); }); };
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
        QVERIFY2(trace[0].startsWith(QStringLiteral("fsync ") + dir.path() + "/.tarvola.ini.tmp-"), qPrintable(trace[0]));
        QCOMPARE(trace.mid(1), (QStringList{"rename " + path, "fsync " + dir.path()}));
        QCOMPARE(modeOf(path), mode_t(0666 & ~mask));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
        settings::writeFileAtomically(QFile::encodeName(path), "new\r\n");
        QCOMPARE(testfiles::read(path), QByteArray("new\r\n"));
        QCOMPARE(modeOf(path), mode_t(0640));
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("tarvola.ini")});

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
        const bool nobody = how.endsWith(u"nobody");
        const passwd* user = ::getpwnam("nobody");
        if (nobody && (::geteuid() != 0 || !user))
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
        if (nobody)
            QCOMPARE(::chown(QFile::encodeName(dir.filePath(QStringLiteral("user"))).constData(), user->pw_uid, gid_t(-1)), 0);
        const QString path = how.contains(u"link") ? dir.filePath(QStringLiteral("user/tarvola.ini")) : target;
        if (path != target)
            QVERIFY(QFile::link(target, path));
        const int reader = how.startsWith(u"fifo link") ? ::open(targetName.constData(), O_RDONLY | O_NONBLOCK) : -1;

        const auto save = [&] { return testfiles::errorOf([&] { settings::writeFileAtomically(QFile::encodeName(path), "record\r\n"); }).number(); };
        int number = -1;
        if (nobody) {
            const pid_t child = ::fork();
            if (child == 0) {
                const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(user->pw_gid) == 0 && ::setuid(user->pw_uid) == 0;
                ::_exit(dropped ? save() : 255);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            number = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        } else {
            number = save();
        }
        QCOMPARE(number, saved ? 0 : 75);
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

    // Temporary files of killed saves go once they are a minute old; anything else stays.
    void leftovers() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvola.ini"));
        const QStringList names{".tarvola.ini.tmp-old1", ".tarvola.ini.tmp-new1", ".other.ini.tmp-old2",
                                ".tarvola.ini.tmp-OLD"};
        for (const QString& name : names) {
            testfiles::write(dir.filePath(name), "partial");
            if (name.contains(u"old", Qt::CaseInsensitive)) {
                const timespec times[2] = {{::time(nullptr) - 61, 0}, {::time(nullptr) - 61, 0}};
                QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), times, 0), 0);
            }
        }
        settings::writeFileAtomically(QFile::encodeName(path), "new\r\n");
        QStringList left = entriesOf(dir.path());
        left.sort();
        QCOMPARE(left, (QStringList{".other.ini.tmp-old2", ".tarvola.ini.tmp-OLD", ".tarvola.ini.tmp-new1", "tarvola.ini"}));
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
        const core::RuntimeError e = testfiles::errorOf([&] { settings::writeFileAtomically(QFile::encodeName(path), QByteArray(4096, 'n')); });
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
