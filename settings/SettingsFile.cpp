// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "settings/SettingsFile.h"

#include "core/FileDescriptor.h"
#include "core/PathParts.h"
#include "core/RuntimeError.h"
#include "platform/Executable.h"
#include "settings/OtherUsers.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <memory>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

namespace {

using Fd = core::FileDescriptor;
using core::writeAll;

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

[[noreturn]] void fileError(int number, const QString& what, const QByteArray& path, const QString& why) {
    throw core::RuntimeError(number, QStringLiteral("%1: %2 (%3)").arg(what, QFile::decodeName(path), why));
}

[[noreturn]] void fileError(int number, const QString& what, const QByteArray& path, int error) {
    fileError(number, what, path, reason(error));
}

// Another user may have put a link here to one of this user's files, to have it replaced.
QString othersLink() { return QStringLiteral("他のユーザーが置いたリンクはたどりません"); }

[[noreturn]] void readError(const QByteArray& path, int error) {
    const bool missing = error == ENOENT || error == ENOTDIR;
    fileError(missing ? core::err::kFileNotFound : core::err::kPathFileAccess,
              missing ? QStringLiteral("ファイルが見つかりません。") : QStringLiteral("ファイルを読み込めません。"),
              path, error);
}

template <typename Why>
[[noreturn]] void writeError(const QByteArray& path, Why why) {
    fileError(core::err::kPathFileAccess, QStringLiteral("設定ファイルを書き込めません。"), path, why);
}

// The temporary files of a save are named ".<file name>.tmp-<base 36 number>".
QByteArray temporaryStem(const QByteArray& fileName) { return '.' + fileName + ".tmp-"; }

bool isTemporaryOf(const QByteArray& entry, const QByteArray& stem) {
    if (!entry.startsWith(stem) || entry.size() == stem.size())
        return false;
    for (const char c : QByteArrayView(entry).sliced(stem.size()))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
            return false;
    return true;
}

// A save that was killed between creating its temporary file and the rename leaves the file
// behind. One older than this cannot belong to a save still running.
constexpr time_t kStaleTemporarySeconds = 60;

void removeStaleTemporaries(const QByteArray& folder, const QByteArray& fileName) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.constData()), &::closedir);
    if (!dir)
        return;
    const QByteArray stem = temporaryStem(fileName);
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isTemporaryOf(QByteArray(entry->d_name), stem))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime > kStaleTemporarySeconds)
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

// Creates a file that did not exist, beside the target, so that the rename stays within
// one file system.
Fd createTemporary(const QByteArray& folder, const QByteArray& fileName, QByteArray& tempPath) {
    const QByteArray stem = folder + '/' + temporaryStem(fileName);
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return Fd(fd);
    }
    errno = EEXIST;
    return Fd(-1);
}

// The file to write: a symbolic link is followed, so the link itself stays in place. A link
// that leads nowhere is replaced, as before links were followed.
QByteArray followedLink(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    const std::unique_ptr<char, void (*)(void*)> target(::realpath(path.constData(), nullptr), &std::free);
    return target ? QByteArray(target.get()) : path;
}

// A device or a FIFO stands for something other than a file's contents (a link to /dev/null
// to keep the settings from being saved, a pipe a script reads): the record goes straight
// into it, as an ordinary open for output would. A FIFO without a reader is not waited for.
void writeInto(const QByteArray& shownPath, const QByteArray& target, QByteArrayView bytes) {
    Fd fd(::open(target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid())
        writeError(shownPath, errno);
    if (!writeAll(fd.get(), bytes) || fd.close() != 0)
        writeError(shownPath, errno);
}

void replaceRegularFile(const QByteArray& shownPath, const QByteArray& target, const struct stat* old,
                        QByteArrayView bytes) {
    const QByteArray folder = core::folderOf(target);
    const QByteArray fileName = core::fileNameOf(target);
    removeStaleTemporaries(folder, fileName);

    QByteArray tempName;
    Fd fd = createTemporary(folder, fileName, tempName);
    if (!fd.valid())
        writeError(shownPath, errno);

    const auto failAndRemove = [&](int error) {
        ::unlink(tempName.constData());
        writeError(shownPath, error);
    };
    if (old && ::fchmod(fd.get(), old->st_mode & 07777) != 0)
        failAndRemove(errno);
    if (!writeAll(fd.get(), bytes))
        failAndRemove(errno);
    if (::fsync(fd.get()) != 0)
        failAndRemove(errno);
    if (fd.close() != 0)
        failAndRemove(errno);
    if (::rename(tempName.constData(), target.constData()) != 0)
        failAndRemove(errno);

    // The new name must reach the disk too. The file is already in place by now, so a
    // folder that cannot be synced (some file systems refuse) is no reason to fail.
    const Fd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

}  // namespace

QByteArray settingsPathFor(const QByteArray& exeDir, const QByteArray& exeFileName) {
    QByteArray path = exeDir;
    if (!path.endsWith('/'))
        path += '/';
    return path + platform::nameWithoutExtension(exeFileName) + ".ini";
}

QByteArray homeFolder(const QByteArray& homeVariable) {
    if (homeVariable.startsWith('/'))
        return homeVariable;
    // A session without HOME (a service, `env -i`, a cron job) still has its user's home.
    const passwd* user = ::getpwuid(::geteuid());
    return user && user->pw_dir && user->pw_dir[0] == '/' ? QByteArray(user->pw_dir) : QByteArray();
}

QByteArray configFolder(const QByteArray& xdgConfigHome, const QByteArray& home) {
    if (xdgConfigHome.startsWith('/'))
        return xdgConfigHome + "/tarvola";
    return home.startsWith('/') ? home + "/.config/tarvola" : QByteArray();
}

QByteArray settingsFilePath() {
    const QByteArray exe = platform::executablePath();
    const QByteArray name = core::fileNameOf(exe);
    const QByteArray dir = core::folderOf(exe);
    // The install rules put this file beside an installed program (the package, make install),
    // whose settings belong to each user, root too; a copied folder lacks it.
    const bool installed = ::access(platform::besideExecutable("tarvola-installed").constData(), F_OK) == 0;
    if (!installed && ::access(dir.constData(), W_OK) == 0)
        return settingsPathFor(dir, name);
    const QByteArray folder = configFolder(qgetenv("XDG_CONFIG_HOME"), homeFolder(qgetenv("HOME")));
    return folder.isEmpty() ? QByteArray() : settingsPathFor(folder, name);
}

void makeFolderFor(const QByteArray& path) {
    const QByteArray folder = core::folderOf(path);
    for (qsizetype slash = folder.indexOf('/', 1);; slash = folder.indexOf('/', slash + 1)) {
        ::mkdir(folder.left(slash < 0 ? folder.size() : slash).constData(), 0700);  // EEXIST is fine
        if (slash < 0)
            break;
    }
}

QByteArray readSettingsFile(const QByteArray& path) {
    if (!mayFollow(path))
        fileError(core::err::kPathFileAccess, QStringLiteral("ファイルを読み込めません。"), path, othersLink());
    // Non-blocking, so that opening a FIFO returns at once; it is refused below.
    Fd fd(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid())
        readError(path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        readError(path, errno);
    if (!S_ISREG(st.st_mode))
        readError(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);

    QByteArray bytes(kMaxRecordBytes, Qt::Uninitialized);
    const long long filled = core::readUpTo(fd.get(), bytes.data(), std::size_t(bytes.size()));
    if (filled < 0)
        readError(path, errno);
    bytes.truncate(qsizetype(filled));
    return bytes;
}

bool isRegularFile(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void writeFileAtomically(const QByteArray& path, QByteArrayView bytes) {
    if (!mayFollow(path))
        writeError(path, othersLink());
    const QByteArray target = followedLink(path);
    struct stat st {};
    if (::stat(target.constData(), &st) != 0) {
        replaceRegularFile(path, target, nullptr, bytes);
        return;
    }
    if (S_ISDIR(st.st_mode))
        writeError(path, EISDIR);
    if (!S_ISREG(st.st_mode)) {
        writeInto(path, target, bytes);
        return;
    }
    // A file its owner may not write was made read-only on purpose, to keep an arrangement:
    // the mode bits decide, not access(), which lets the superuser through.
    if ((st.st_mode & S_IWUSR) == 0)
        writeError(path, EACCES);
    // Replacing it would hand the file to this user; the superuser too leaves it to its owner.
    if (st.st_uid != ::geteuid())
        writeError(path, QStringLiteral("他のユーザーのファイルは書き換えません"));
    replaceRegularFile(path, target, &st, bytes);
}

}  // namespace settings
