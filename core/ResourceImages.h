// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Pictures compiled into the program (":/..." paths). They are stored as the pixels Qt
// paints from: reading one needs no image reader, so no image plugin is looked for or loaded
// and nothing is decoded; one stored uncompressed (those every start reads) is used in place,
// not copied.
//
// The stored form: "TVPX", then width, height and QImage format (32-bit little-endian),
// then the rows, four bytes a pixel without padding.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace core {

// The stored form of an image (converted to RGB32, or premultiplied ARGB32 when it has alpha).
QByteArray encodePixels(const QImage& image);

// The image stored in data, or a null image when the bytes are not one in the stored form.
// With inPlace, aligned pixels are used where they lie, and must outlive the image.
QImage decodePixels(const uchar* data, qint64 size, bool inPlace);

// The compiled-in picture at path, compressed or not; a null image when there is none or it
// is not in the stored form. The image refers to the program's own read-only data where it can.
QImage readResourceImage(const QString& path);

}  // namespace core
