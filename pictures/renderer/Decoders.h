// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Reading a picture in the calling process, with the parsers and decoders linked in: what the
// renderer program does for each request, and what a fuzzing build puts in the renderer's place.

#include "core/Picture.h"
#include "pictures/PictureErrors.h"

#include <QByteArray>
#include <QString>

namespace pictures {

// Draws a Windows or enhanced metafile (enhanced ones need a QGuiApplication for their text) or
// decodes a raster picture. Throws the renderers' and decoders' errors; unknownFormat for an
// unknown format.
core::Picture renderPictureHere(const QByteArray& data, Format format, const QString& name);

}  // namespace pictures
