// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Where the settings file lies, reading it without blocking, and replacing it so that a
// failed save never leaves a half-written file behind.

#include "settings/SettingsRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace settings {

// Only the first record matters; a larger file is read up to this many bytes.

// Paths here are as the file system spells them (bytes), so that a folder whose name is not
// valid UTF-8 is still the folder meant; descriptions show them decoded.

// exeDir + "/" (unless it already ends with one) + the executable's file name without its
// last extension + ".ini": ("/opt/bus", "runbus") → "/opt/bus/runbus.ini",
// ("/", "tarvola") → "/tarvola.ini", ("C:/x/", "runbus.exe") → "C:/x/runbus.ini".
QByteArray settingsPathFor(const QByteArray& exeDir, const QByteArray& exeFileName);

// The user's home: $HOME when it is an absolute path, otherwise (unset, empty, relative) the
// home the password database gives this user; empty when neither has one.
QByteArray homeFolder(const QByteArray& homeVariable);

// Where an installed program keeps its settings, and a copied one whose folder cannot be
// written: $XDG_CONFIG_HOME/tarvola, or <home>/.config/tarvola when that is unset or not an
// absolute path, as the XDG base directory rules say; empty when home is not absolute either.
QByteArray configFolder(const QByteArray& xdgConfigHome, const QByteArray& home);

// The path for the running program, computed afresh on each call: beside the program whenever
// its folder can be written and holds no file "tarvola-installed", otherwise the same name in
// configFolder() (of homeFolder()); empty when there is no such folder, and then nothing is
// read or written.
QByteArray settingsFilePath();

// Makes the folder that holds path, and its missing parents, readable by the user only (the
// configuration folder may not exist yet). Failures show when the file is written.
void makeFolderFor(const QByteArray& path);

// The file's first kMaxRecordBytes bytes. Throws core::RuntimeError: kFileNotFound when
// there is no such file, kPathFileAccess when it is a folder, a FIFO or another
// non-regular file, a link that mayFollow() refuses, or cannot be opened or read.
QByteArray readSettingsFile(const QByteArray& path);

// True when path leads to a regular file (links followed), whether or not it can be read.
bool isRegularFile(const QByteArray& path);

// Writes bytes to a new file beside path, flushes it to disk and renames it over path.
// The new file takes the old one's permission bits. A symbolic link is followed: the file
// it leads to is replaced and the link stays. A device or a FIFO (or a link to one) gets
// the bytes written straight into it; a FIFO without a reader is not waited for. A file
// without write permission for its owner, a file of another user's and a link that
// mayFollow() refuses are left alone, whoever runs the program. Leftover
// temporary files of earlier saves that were killed are removed. On failure the temporary
// file is removed, the old file is left as it was, and core::RuntimeError (kPathFileAccess)
// names the file and the reason.
void writeFileAtomically(const QByteArray& path, QByteArrayView bytes);

}  // namespace settings
