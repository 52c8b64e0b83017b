#include "settings/SettingsFile.h"

#include "controls/RuntimeError.h"
#include "platform/Executable.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

namespace {

// Owns a file descriptor; closes it unless it was closed on purpose.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing can report a late write error, so it is checked where it matters.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

[[noreturn]] void fileError(int number, const QString& what, const QString& path, int error) {
    throw ctl::RuntimeError(number, QStringLiteral("%1: %2 (%3)").arg(what, path, reason(error)));
}

[[noreturn]] void readError(const QString& path, int error) {
    const bool missing = error == ENOENT || error == ENOTDIR;
    fileError(missing ? ctl::err::kFileNotFound : ctl::err::kPathFileAccess,
              missing ? QStringLiteral("ファイルが見つかりません。") : QStringLiteral("ファイルを読み込めません。"),
              path, error);
}

[[noreturn]] void writeError(const QString& path, int error) {
    fileError(ctl::err::kPathFileAccess, QStringLiteral("設定ファイルを書き込めません。"), path, error);
}

bool writeAll(int fd, QByteArrayView bytes) {
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Creates a file that did not exist, beside the target, so that the rename stays within
// one file system.
Fd createTemporary(const QString& target, QString& tempPath) {
    const QFileInfo info(target);
    const QString stem = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tmp-");
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = stem + QString::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(QFile::encodeName(tempPath).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return Fd(fd);
    }
    errno = EEXIST;
    return Fd(-1);
}

// The file to replace: a symbolic link is followed, so the link itself stays in place.
QString replacedFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

}  // namespace

QString settingsPathFor(const QString& exeDir, const QString& exeFileName) {
    QString path = exeDir;
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + platform::nameWithoutExtension(exeFileName) + QStringLiteral(".ini");
}

QString settingsFilePath() {
    return settingsPathFor(platform::executableDir(),
                           QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

QByteArray readSettingsFile(const QString& path) {
    // Non-blocking, so that opening a FIFO returns at once; it is refused below.
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid())
        readError(path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        readError(path, errno);
    if (!S_ISREG(st.st_mode))
        readError(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);

    QByteArray bytes(kMaxSettingsBytes, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            readError(path, errno);
        }
        if (n == 0)
            break;
        filled += n;
    }
    bytes.truncate(filled);
    return bytes;
}

void writeFileAtomically(const QString& path, QByteArrayView bytes) {
    const QString target = replacedFile(path);
    const QByteArray targetName = QFile::encodeName(target);

    struct stat old {};
    const bool hadFile = ::stat(targetName.constData(), &old) == 0 && S_ISREG(old.st_mode);

    QString tempPath;
    Fd fd = createTemporary(target, tempPath);
    if (!fd.valid())
        writeError(path, errno);
    const QByteArray tempName = QFile::encodeName(tempPath);

    const auto failAndRemove = [&](int error) {
        ::unlink(tempName.constData());
        writeError(path, error);
    };
    if (hadFile && ::fchmod(fd.get(), old.st_mode & 07777) != 0)
        failAndRemove(errno);
    if (!writeAll(fd.get(), bytes))
        failAndRemove(errno);
    if (::fsync(fd.get()) != 0)
        failAndRemove(errno);
    if (fd.close() != 0)
        failAndRemove(errno);
    if (::rename(tempName.constData(), targetName.constData()) != 0)
        failAndRemove(errno);

    // The new name must reach the disk too. The file is already in place by now, so a
    // folder that cannot be synced (some file systems refuse) is no reason to fail.
    const Fd dir(::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

}  // namespace settings
