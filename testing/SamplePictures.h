// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Small pictures made on the spot for the loader's tests, the fuzz corpus and the bench:
// each shows known colours at known places, so a test can check what was drawn.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QtEndian>
#include <initializer_list>

namespace samples {

// A red picture with a blue box over (20,10)-(40,20), for raster formats.
QImage rasterScene(QSize size = {60, 30});

QByteArray encode(const QImage& image, const char* format);  // bmp, jpeg, png
QByteArray encodeGif(const QImage& image);                   // two colours: red and blue
QByteArray encodeOs2Bmp(const QImage& image);                // the 12-byte header of OS/2 1.x: 16-bit sizes
QByteArray encodeRunLengthBmp(const QImage& image);          // RLE8, two colours: red and blue

// Metafiles of a 100 × 50 pixel page at 96 dpi, white or empty around a red rectangle
// over (10,10)-(50,40) and a blue ellipse over (60,10)-(90,40), no outlines.
// `extraRecords` adds that many small rectangles inside the red one (for the bench); `setsOrigin`
// false leaves out the record that sets the window origin; `oddShapesPenPixels` adds shapes that
// show nothing on the page: a line 200 pixels above it in a pen that wide, and an ellipse of no
// width at x 55, between the two shapes.
QByteArray wmf(bool placeable, QPoint originUnits = {}, int extraRecords = 0, bool setsOrigin = true,
               int oddShapesPenPixels = 0);
// text: "AB" 12 pixels high at (76, 38); scale: device pixels a pixel of the page (96 dpi each)
QByteArray emf(int extraRecords = 0, bool text = false, int scale = 1);
// A placeable Windows metafile of the same page with a blue chord of the ellipse over (20,0)-(80,50)
// (centre (50,25)), from the radial through `startRadial` to the one through `endRadial`.
QByteArray wmfChord(QPoint startRadial, QPoint endRadial);
// A placeable Windows metafile of the same page that writes `characters` letters in a font
// `fontHeight` units (1440 an inch) high.
QByteArray wmfText(int fontHeight, int characters);

// A grey progressive JPEG of side × side pixels made of `scans` scans with no data in them: a DC
// scan, then single-coefficient AC scans (from the 64th on, bands seen before). libjpeg passes over
// every block of the picture for each scan, so the work grows with scans × side².
QByteArray manyScanJpeg(int side, int scans);

// Header surgery for the size checks: little-endian values written one after another from `at`.
template <typename T>
QByteArray patched(QByteArray bytes, qsizetype at, std::initializer_list<T> values) {
    for (const T value : values) {
        qToLittleEndian(value, bytes.data() + at);
        at += qsizetype(sizeof(T));
    }
    return bytes;
}
QByteArray withPngSize(QByteArray png, quint32 width, quint32 height);  // keeps the CRC valid

}  // namespace samples
