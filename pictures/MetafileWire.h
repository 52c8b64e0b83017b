#pragma once
// What the metafile renderer program hands back on its standard output: the rendered
// picture as raw pixels (no encoding to pay for on either side), or the error the renderer
// raised. Both ends are this program's own, but the parent reads the child's output as
// untrusted: a renderer that went wrong may have written anything.

#include "core/Picture.h"
#include "core/RuntimeError.h"
#include "pictures/PictureErrors.h"

#include <QByteArray>
#include <QString>

namespace pictures {

// "TVMP", then the base and the double-resolution image, each as width, height and
// QImage format (32-bit little-endian) followed by its rows of 4-byte pixels; an image
// that is absent has width and height 0.
QByteArray encodeRendered(const core::Picture& picture);

// "TVME", then the error's number and its description's length (32-bit little-endian)
// and the description in UTF-8.
QByteArray encodeRenderError(const core::RuntimeError& error);

// The picture, or throws the error that was handed back. Output that is neither (cut short,
// images beyond the limits, anything else) throws corrupt(name, format).
core::Picture decodeRendered(const QByteArray& output, const QString& name, Format format);

}  // namespace pictures
