#pragma once
// The errors the picture loader raises, with descriptions in the run time's words.
// `name` is what the description shows of the file: its file name, or its path where
// the path is the point (a missing file).

#include "controls/RuntimeError.h"

#include <QSize>
#include <QString>

namespace platform::pictures {

enum class Format { Unknown, Bmp, Gif, Jpeg, Png, Wmf, Emf };

// How a description names each format ("JPEG", "ビットマップ", ...).
QString formatName(Format format);

ctl::RuntimeError fileNotFound(const QString& path);
ctl::RuntimeError isFolder(const QString& name);
ctl::RuntimeError notRegularFile(const QString& name);
ctl::RuntimeError cannotRead(const QString& name, const QString& reason);
ctl::RuntimeError emptyFile(const QString& name);
ctl::RuntimeError unknownFormat(const QString& name);
ctl::RuntimeError corrupt(const QString& name, Format format);
ctl::RuntimeError noExtent(const QString& name, Format format);
ctl::RuntimeError fileTooLarge(const QString& name);
ctl::RuntimeError pictureTooLarge(const QString& name, QSize claimed);
// A drawn picture that needs more time or memory than a picture may take.
ctl::RuntimeError tooLargeToDraw(const QString& name, Format format);

}  // namespace platform::pictures
