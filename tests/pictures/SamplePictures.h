#pragma once
// Small pictures made on the spot for the loader's tests, the fuzz corpus and the bench:
// each shows known colours at known places, so a test can check what was drawn.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>

namespace samples {

// A red picture with a blue box at kBox, for raster formats.
inline const QRect kBox(20, 10, 20, 10);
QImage rasterScene(QSize size = {60, 30});

QByteArray encode(const QImage& image, const char* format);  // bmp, jpeg, png
QByteArray encodeGif(const QImage& image);                    // two colours: red and blue

// Metafiles of a 100 × 50 pixel page at 96 dpi, white or empty around a red rectangle
// over (10,10)-(50,40) and a blue ellipse over (60,10)-(90,40), no outlines.
// `extraRecords` adds that many more rectangles outside the page's picture area checks
// (for the bench's "few hundred records").
// `setsOrigin` false leaves out the record that sets the window origin.
QByteArray wmf(bool placeable, QPoint originUnits = {}, int extraRecords = 0, bool setsOrigin = true);
QByteArray emf(int extraRecords = 0);

// Header surgery for the size checks.
QByteArray withBmpSize(QByteArray bmp, qint32 width, qint32 height);
QByteArray withPngSize(QByteArray png, quint32 width, quint32 height);  // keeps the CRC valid
QByteArray withGifSize(QByteArray gif, quint16 width, quint16 height);
QByteArray withJpegSize(QByteArray jpeg, quint16 width, quint16 height);
QByteArray withPlaceableBox(QByteArray wmf, qint16 right, qint16 bottom, quint16 unitsPerInch);
QByteArray withEmfFrame(QByteArray emf, qint32 right, qint32 bottom);

}  // namespace samples
