#pragma once
// Drawing a metafile in the calling process, with the parsers linked in: what the renderer
// program does for each request, and what a fuzzing build puts in the renderer's place.

#include "core/Picture.h"
#include "pictures/PictureErrors.h"

#include <QByteArray>
#include <QString>

namespace pictures {

// Draws a Windows or enhanced metafile (enhanced ones need a QGuiApplication for their text).
// Throws the renderers' errors; unknownFormat for any other format.
core::Picture renderMetafileHere(const QByteArray& data, Format format, const QString& name);

}  // namespace pictures
