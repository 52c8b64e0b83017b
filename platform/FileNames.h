// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// File names are bytes; the toolkit shows them as text. A name that is not valid UTF-8 comes
// out of the toolkit (its file dialog among others) with replacement characters, which name
// no file: the bytes are found again in the folders themselves.

#include <QByteArray>
#include <QString>

namespace platform {

// The path as the file system spells it, for a path the toolkit decoded: each part that does
// not name an entry as encoded is taken as the folder's entry that decodes to it. A path
// whose parts cannot all be found so is encoded as it is.
QByteArray fileSystemPath(const QString& decoded);

}  // namespace platform
