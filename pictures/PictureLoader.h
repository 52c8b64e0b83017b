// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The run time's picture loader: a picture file in, a picture out.

#include "core/Picture.h"

#include <QString>

namespace pictures {

// The empty path gives no picture (a null core::Picture) and no error. Otherwise returns the picture or
// throws core::RuntimeError with a number and a Japanese description that names the cause.
// Reads Windows bitmaps, GIF (first frame), JPEG, PNG, Windows metafiles and enhanced metafiles,
// recognised by their content whatever the file's extension.
core::Picture loadPicture(const QString& path);
// The same for a path as the file system spells it (a folder whose name is not valid text).
core::Picture loadPicture(const QByteArray& path);

}  // namespace pictures
