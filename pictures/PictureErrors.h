// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The errors the picture loader raises, with descriptions in the run time's words.
// `name` is what the description shows of the file: its file name, or its path where
// the path is the point (a missing file).

#include "core/RuntimeError.h"

#include <QSize>
#include <QString>

namespace pictures {

enum class Format { Unknown, Bmp, Gif, Jpeg, Png, Wmf, Emf };

// How a description names each format ("JPEG", "ビットマップ", ...).
QString formatName(Format format);

core::RuntimeError fileNotFound(const QString& path);
core::RuntimeError isFolder(const QString& name);
core::RuntimeError notRegularFile(const QString& name);
core::RuntimeError cannotRead(const QString& name, const QString& reason);
core::RuntimeError emptyFile(const QString& name);
core::RuntimeError unknownFormat(const QString& name);
core::RuntimeError corrupt(const QString& name, Format format);
core::RuntimeError noExtent(const QString& name, Format format);
core::RuntimeError fileTooLarge(const QString& name);
core::RuntimeError pictureTooLarge(const QString& name, QSize claimed);
// A drawn picture that needs more time or memory than a picture may take.
core::RuntimeError tooLargeToDraw(const QString& name, Format format);

}  // namespace pictures
