// The settings file on disk: where it lies, reading it without hanging on odd files, and
// replacing it so that a failed save leaves the previous file whole.

#include "controls/RuntimeError.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

void writePlain(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// The error a call throws, or number 0 when it throws none.
template <typename F>
ctl::RuntimeError errorOf(F&& f) {
    try {
        f();
    } catch (const ctl::RuntimeError& e) {
        return e;
    }
    return ctl::RuntimeError(0, QString());
}

QStringList entriesOf(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool runningAsRoot() { return ::geteuid() == 0; }

// Lowers the largest file this process may write; writes past it fail with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

}  // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void pathFor_data() {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("exe");
        QTest::addColumn<QString>("path");
        QTest::newRow("folder") << "/opt/bus" << "tarvola" << "/opt/bus/tarvola.ini";
        QTest::newRow("renamed copy") << "/opt/bus" << "runbus" << "/opt/bus/runbus.ini";
        QTest::newRow("trailing slash kept single") << "/opt/bus/" << "runbus" << "/opt/bus/runbus.ini";
        QTest::newRow("root folder") << "/" << "tarvola" << "/tarvola.ini";
        QTest::newRow("extension dropped") << "/opt" << "runbus.exe" << "/opt/runbus.ini";
        QTest::newRow("last extension only") << "/opt" << "my.bus.bin" << "/opt/my.bus.ini";
        QTest::newRow("hidden name has no extension") << "/opt" << ".bus" << "/opt/.bus.ini";
        QTest::newRow("Japanese folder") << "/home/利用者/バス" << "tarvola" << "/home/利用者/バス/tarvola.ini";
    }
    void pathFor() {
        QFETCH(QString, dir);
        QFETCH(QString, exe);
        QFETCH(QString, path);
        QCOMPARE(settings::settingsPathFor(dir, exe), path);
    }

    void pathOfThisProgram() {
        QCOMPARE(settings::settingsFilePath(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/tst_settings_file.ini"));
    }

    void readErrors() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString missing = dir.filePath(QStringLiteral("none.ini"));
        QCOMPARE(errorOf([&] { settings::readSettingsFile(missing); }).number(), ctl::err::kFileNotFound);
        QCOMPARE(errorOf([&] { settings::readSettingsFile(dir.filePath("no/such/folder.ini")); }).number(),
                 ctl::err::kFileNotFound);

        const ctl::RuntimeError folder = errorOf([&] { settings::readSettingsFile(dir.path()); });
        QCOMPARE(folder.number(), ctl::err::kPathFileAccess);
        QVERIFY2(folder.description().contains(dir.path()), qPrintable(folder.description()));

        // A FIFO without a writer would block an ordinary open for ever.
        const QString fifo = dir.filePath(QStringLiteral("fifo.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(errorOf([&] { settings::readSettingsFile(fifo); }).number(), ctl::err::kPathFileAccess);
    }

    void unreadableFile() {
        if (runningAsRoot())
            QSKIP("permission bits do not stop root");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("locked.ini"));
        writePlain(path, "1,2\r\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QCOMPARE(errorOf([&] { settings::readSettingsFile(path); }).number(), ctl::err::kPathFileAccess);
    }

    void readsABoundedPrefix() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.ini"));
        QByteArray big(settings::kMaxSettingsBytes + 5000, 'x');
        for (qsizetype i = 0; i < big.size(); i += 7)
            big[i] = char('0' + i % 10);
        writePlain(path, big);
        QCOMPARE(settings::readSettingsFile(path), big.left(settings::kMaxSettingsBytes));

        writePlain(path, QByteArray());
        QCOMPARE(settings::readSettingsFile(path), QByteArray());
    }

    void savedRecordReadsBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvola.ini"));
        settings::SettingsToWrite w;
        w.formLeft = 1200;
        w.makuPath0 = QStringLiteral("/pics/幕, \"1\".bmp");
        w.hScroll1 = 3000;
        w.hScroll2 = 4000;
        w.nakaMode = 1;
        settings::writeFileAtomically(path, settings::formatRecord(w));
        const settings::SettingsRead r = settings::parseRecord(settings::readSettingsFile(path));
        QCOMPARE(r.formLeft, 1200);
        QCOMPARE(r.makuPath0, w.makuPath0);
        QCOMPARE(r.hScroll2, 4000);
        QCOMPARE(r.nakaMode, std::int16_t(1));
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("tarvola.ini")});
    }

    void newFileGetsTheUsualPermissions() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.ini"));
        const mode_t mask = ::umask(022);
        ::umask(mask);
        settings::writeFileAtomically(path, "abc");
        QCOMPARE(contentsOf(path), QByteArray("abc"));
        QCOMPARE(modeOf(path), mode_t(0666 & ~mask));
    }

    void replacingKeepsPermissions_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("0640") << 0640;
        QTest::newRow("0600") << 0600;
        QTest::newRow("0755") << 0755;
    }
    void replacingKeepsPermissions() {
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.ini"));
        writePlain(path, "old contents that are longer than the new ones\r\n");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        settings::writeFileAtomically(path, "new\r\n");
        QCOMPARE(contentsOf(path), QByteArray("new\r\n"));
        QCOMPARE(modeOf(path), mode_t(mode));
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("kept.ini")});
    }

    void symlinkStaysALink() {
        QTemporaryDir dir;
        const QString real = dir.filePath(QStringLiteral("real.ini"));
        const QString link = dir.filePath(QStringLiteral("link.ini"));
        writePlain(real, "old");
        QVERIFY(QFile::link(real, link));
        settings::writeFileAtomically(link, "new");
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contentsOf(real), QByteArray("new"));
    }

    void tempCannotBeCreated() {
        QTemporaryDir dir;
        const QString notAFolder = dir.filePath(QStringLiteral("plain"));
        writePlain(notAFolder, "I am a file");
        const QString path = notAFolder + QStringLiteral("/tarvola.ini");
        const ctl::RuntimeError e = errorOf([&] { settings::writeFileAtomically(path, "x"); });
        QCOMPARE(e.number(), ctl::err::kPathFileAccess);
        QVERIFY2(e.description().contains(path), qPrintable(e.description()));
        QVERIFY2(e.description().contains(QString::fromLocal8Bit(std::strerror(ENOTDIR))),
                 qPrintable(e.description()));
        QCOMPARE(contentsOf(notAFolder), QByteArray("I am a file"));
    }

    void readOnlyFolderKeepsOldFile() {
        if (runningAsRoot())
            QSKIP("permission bits do not stop root");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvola.ini"));
        writePlain(path, "previous\r\n");
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const ctl::RuntimeError e = errorOf([&] { settings::writeFileAtomically(path, "next\r\n"); });
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner));
        QCOMPARE(e.number(), ctl::err::kPathFileAccess);
        QCOMPARE(contentsOf(path), QByteArray("previous\r\n"));
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("tarvola.ini")});
    }

    void failedWriteKeepsOldFileAndLeavesNoTemp() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvola.ini"));
        writePlain(path, "previous\r\n");
        ctl::RuntimeError e(0, QString());
        {
            const FileSizeLimit limit(16);
            e = errorOf([&] { settings::writeFileAtomically(path, QByteArray(4096, 'n')); });
        }
        QCOMPARE(e.number(), ctl::err::kPathFileAccess);
        QVERIFY2(e.description().contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(e.description()));
        QCOMPARE(contentsOf(path), QByteArray("previous\r\n"));
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("tarvola.ini")});
    }

    void failedRenameLeavesNoTemp() {
        QTemporaryDir dir;
        // A folder in the file's place, not empty, so it cannot be replaced.
        const QString path = dir.filePath(QStringLiteral("tarvola.ini"));
        QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
        const ctl::RuntimeError e = errorOf([&] { settings::writeFileAtomically(path, "x"); });
        QCOMPARE(e.number(), ctl::err::kPathFileAccess);
        QVERIFY(QFileInfo(path + QStringLiteral("/inside")).isDir());
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("tarvola.ini")});
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
