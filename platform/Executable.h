// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The program's own folder and name, as the window caption, the settings file, the modules
// and the version dialog use them. Paths are kept as the file system spells them (bytes): a
// folder unpacked from an archive made elsewhere may have a name that is not valid UTF-8,
// and a decoded name would lead somewhere else.

#include <QByteArray>
#include <QString>

namespace platform {

// The running executable's path, from /proc/self/exe.
QByteArray executablePath();

// The folder that holds the executable, without a trailing separator (except "/").
QByteArray executableDir();

// The path of fileName in the executable's folder.
QByteArray besideExecutable(const char* fileName);

// The executable's file name without its folder and without its extension, for display.
QString executableName();

// The name without extension of a file name ("runbus.exe" → "runbus", "tarvola" → "tarvola").
QByteArray nameWithoutExtension(const QByteArray& fileName);

}  // namespace platform
