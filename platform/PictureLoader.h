#pragma once
// The run time's picture loader: a picture file in, a picture out.

#include "controls/Picture.h"

#include <QString>

namespace platform {

// The empty path gives no picture (a null ctl::Picture) and no error. Otherwise returns the picture or
// throws ctl::RuntimeError with a number and a Japanese description that names the cause.
// Reads Windows bitmaps, GIF (first frame), JPEG, PNG, Windows metafiles and enhanced metafiles,
// recognised by their content whatever the file's extension.
ctl::Picture loadPicture(const QString& path);

}  // namespace platform
