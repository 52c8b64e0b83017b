// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Rendering of the SVG sources. Everything is drawn by Qt's software
// rasteriser into a fresh image, so the same source gives the same pixels.

#include <QImage>
#include <QString>

class QByteArray;
class QColor;
class QSize;

namespace assetgen {

// Renders the whole SVG document stretched to size on a transparent canvas.
// Gives a null image and says why in error when the data is not a usable SVG
// document or the size is empty.
QImage renderSvg(const QByteArray& svg, const QSize& size, QString* error);

// The image drawn over an opaque background, for formats without alpha.
QImage flattened(const QImage& image, const QColor& background);

}  // namespace assetgen
