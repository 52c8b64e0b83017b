// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/Executable.h"

#include "core/PathParts.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

namespace platform {

QByteArray executablePath() {
    QByteArray path(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), size_t(path.size()));
        if (n < 0)  // no /proc: Qt's own answer, right whenever the path is valid UTF-8
            return QFile::encodeName(QCoreApplication::applicationFilePath());
        if (n < path.size()) {
            path.truncate(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

QByteArray executableDir() { return core::folderOf(executablePath()); }

QByteArray besideExecutable(const char* fileName) {
    QByteArray dir = executableDir();
    if (!dir.endsWith('/'))
        dir += '/';
    return dir + fileName;
}

QByteArray nameWithoutExtension(const QByteArray& fileName) {
    const qsizetype dot = fileName.lastIndexOf('.');
    return dot > 0 ? fileName.left(dot) : fileName;  // a leading dot names a hidden file, not an extension
}

QString executableName() {
    const QByteArray path = executablePath();
    return QFile::decodeName(nameWithoutExtension(core::fileNameOf(path)));
}

}  // namespace platform
