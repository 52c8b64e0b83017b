// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Enhanced metafiles, converted to SVG by libemf2svg and drawn by Qt SVG.

#include "core/Picture.h"

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <optional>

namespace pictures {

class Bytes;

// What the header record says, once the record chain has been found whole.
struct EmfLayout {
    QRectF bounds;        // device units: the drawing's extent, the SVG's origin
    QRectF frame;         // 0.01 mm: the picture's page
    QSizeF devicePerHmm;  // reference device units per 0.01 mm
};

// Empty when the header is not an enhanced metafile's or the records do not chain to the
// end-of-file record within the data.
std::optional<EmfLayout> readEmfLayout(const Bytes& bytes);

// Draws the metafile's frame at its natural size at 96 dpi and at twice that size.
core::Picture renderEmf(const QByteArray& data, const QString& name);

}  // namespace pictures
