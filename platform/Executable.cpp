// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/Executable.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

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

QByteArray executableDir() {
    QByteArray path = executablePath();
    const qsizetype slash = path.lastIndexOf('/');
    path.truncate(std::max<qsizetype>(slash, 1));
    return path;
}

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
    return QFile::decodeName(nameWithoutExtension(path.mid(path.lastIndexOf('/') + 1)));
}

}  // namespace platform
