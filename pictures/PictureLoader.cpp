// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/PictureLoader.h"

#include "pictures/RendererProcess.h"
#include "pictures/PictureErrors.h"
#include "pictures/PictureFormat.h"
#include "pictures/PictureLimits.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace pictures {

namespace {


// Reads the whole file once. The file's type is checked first: opening a FIFO or a
// device would block or never end.
QByteArray readPictureFile(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName().isEmpty() ? path : info.fileName();
    if (!info.exists())
        throw fileNotFound(path);
    if (info.isDir())
        throw isFolder(name);
    if (!info.isFile())
        throw notRegularFile(name);
    if (info.size() > kMaxBytes)
        throw fileTooLarge(name);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotRead(name, file.error() == QFileDevice::PermissionsError
                                   ? QStringLiteral("読み取りが許可されていません。")
                                   : QStringLiteral("ファイルを開けません。"));
    // The read buffer is as large as asked for, so ask for the size found, plus one byte
    // to tell a file that grew past the cap since the check.
    QByteArray data = file.read(std::min<qint64>(info.size(), kMaxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        throw cannotRead(name, QStringLiteral("読み取りの途中でエラーが起きました。"));
    if (data.size() > kMaxBytes)
        throw fileTooLarge(name);
    return data;
}

}  // namespace

core::Picture loadPicture(const QString& path) {
    if (path.isEmpty())
        return {};
    const QByteArray data = readPictureFile(path);
    const QString name = QFileInfo(path).fileName();
    if (data.isEmpty())
        throw emptyFile(name);

    const Format format = detectFormat(data);
    if (format == Format::Unknown)
        throw unknownFormat(name);
    return drawPicture(data, format, name);
}

}  // namespace pictures
