// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/FileNames.h"

#include <QFile>

#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace platform {

namespace {

bool exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

QByteArray joined(const QByteArray& folder, const QByteArray& name) {
    return folder.isEmpty() ? name : folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// The entry of folder that the toolkit shows as `shown`.
std::optional<QByteArray> entryShownAs(const QByteArray& folder, const QString& shown) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.isEmpty() ? "." : folder.constData()), &::closedir);
    if (!dir)
        return std::nullopt;
    while (const dirent* entry = ::readdir(dir.get()))
        if (QFile::decodeName(entry->d_name) == shown)
            return QByteArray(entry->d_name);
    return std::nullopt;
}

}  // namespace

QByteArray fileSystemPath(const QString& decoded) {
    const QByteArray encoded = QFile::encodeName(decoded);
    if (encoded.isEmpty() || exists(encoded))
        return encoded;  // the usual case: every name is valid text
    QByteArray path = decoded.startsWith(u'/') ? QByteArray("/") : QByteArray();
    for (const QString& part : decoded.split(u'/', Qt::SkipEmptyParts)) {
        const QByteArray asEncoded = joined(path, QFile::encodeName(part));
        if (exists(asEncoded)) {
            path = asEncoded;
            continue;
        }
        const std::optional<QByteArray> entry = entryShownAs(path, part);
        if (!entry)
            return encoded;
        path = joined(path, *entry);
    }
    return path;
}

}  // namespace platform
