// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The folder and the file name of a path, kept as bytes like every path here.

#include <QByteArray>

namespace core {

// The folder that holds path, without a trailing separator: "." for a bare name, "/" for a
// file at the root.
inline QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// What follows the last separator: the whole of a bare name, nothing for a path ending in one.
inline QByteArray fileNameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

}  // namespace core
