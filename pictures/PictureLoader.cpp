// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/PictureLoader.h"

#include "pictures/RendererProcess.h"
#include "pictures/PictureErrors.h"
#include "pictures/PictureFormat.h"
#include "pictures/PictureLimits.h"

#include "core/FileDescriptor.h"
#include "core/PathParts.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictures {

namespace {

// Reads the whole file once. It is opened first, without waiting, and only then asked what it
// is: a name checked before the open may lead elsewhere by the time of the open (a FIFO put in
// the picture's place would block the start for good).
QByteArray readPictureFile(const QByteArray& path, const QString& name) {
    const core::FileDescriptor fd(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw fileNotFound(QFile::decodeName(path));
        throw cannotRead(name, errno == EACCES || errno == EPERM ? QStringLiteral("読み取りが許可されていません。")
                                                                 : QStringLiteral("ファイルを開けません。"));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw cannotRead(name, QStringLiteral("ファイルを開けません。"));
    if (S_ISDIR(st.st_mode))
        throw isFolder(name);
    if (!S_ISREG(st.st_mode))
        throw notRegularFile(name);
    if (st.st_size > kMaxBytes)
        throw fileTooLarge(name);

    // The size found, plus one byte to tell a file that grew past the cap since the check.
    QByteArray data(qsizetype(std::min<std::int64_t>(st.st_size, kMaxBytes) + 1), Qt::Uninitialized);
    const long long filled = core::readUpTo(fd.get(), data.data(), std::size_t(data.size()));
    if (filled < 0)
        throw cannotRead(name, QStringLiteral("読み取りの途中でエラーが起きました。"));
    data.truncate(qsizetype(filled));
    if (data.size() > kMaxBytes)
        throw fileTooLarge(name);
    return data;
}

}  // namespace

core::Picture loadPicture(const QString& path) { return loadPicture(QFile::encodeName(path)); }

core::Picture loadPicture(const QByteArray& path) {
    if (path.isEmpty())
        return {};
    // What descriptions show of the file: its name, decoded.
    const QString fileName = QFile::decodeName(core::fileNameOf(path));
    const QString name = fileName.isEmpty() ? QFile::decodeName(path) : fileName;
    const QByteArray data = readPictureFile(path, name);
    if (data.isEmpty())
        throw emptyFile(name);

    const Format format = detectFormat(data);
    if (format == Format::Unknown)
        throw unknownFormat(name);
    return drawPicture(data, format, name);
}

}  // namespace pictures
