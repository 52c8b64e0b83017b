#pragma once
// The program's own pictures are Windows bitmaps of 24 bits a pixel, uncompressed. This
// reads them straight into an image, without Qt's image reader and its plugins, so that
// it can run on any thread, also before the application object exists.

#include <QByteArrayView>
#include <QImage>

namespace ctl {

// Decodes a whole bitmap file of that kind (rows bottom-up or top-down) into an RGB32
// image. Anything else, or a file cut short, gives a null image: Qt's reader takes those.
QImage decodeBitmap24(QByteArrayView file);

}  // namespace ctl
