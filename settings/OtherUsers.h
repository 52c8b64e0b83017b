// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What other users of the machine can do to the settings file. A program run from a folder
// they may write (/tmp, a shared folder) would otherwise follow a link one of them placed there
// to any file of this user's, and replace it at the close.

#include <QByteArray>

namespace settings {

// True when a user other than this one and the superuser may add, remove or rename entries in
// the folder: it is writable by its group or by everyone, or it belongs to someone else, who
// may make it so. A folder that is not there (yet) is not.
bool othersMayWrite(const QByteArray& folder);

// The kernel's protected-symlinks rule, applied whatever the system's setting: a symbolic link
// is followed only when this user owns it or its folder is not both sticky and writable by
// everyone. Anything that is not a link may be opened as it is.
bool mayFollow(const QByteArray& path);

}  // namespace settings
