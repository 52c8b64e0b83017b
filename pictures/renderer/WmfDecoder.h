// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Windows metafiles (placeable or not), played by libwmf's gd layer.

#include "core/Picture.h"

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <optional>

namespace pictures {

class Bytes;

// What the header and record chain of a metafile say before anything is played.
struct WmfLayout {
    bool placeable = false;
    QRectF frame;                   // placeable: the header's box, in metafile units
    int unitsPerInch = 0;           // placeable only
    bool setsWindowOrigin = false;  // a record places the window origin itself
};

// Empty when the headers are not a metafile's or the records run past the end of the
// data (truncated) or are malformed in a way the player does not survive.
std::optional<WmfLayout> readWmfLayout(const Bytes& bytes);

// Plays the metafile at its natural size at 96 dpi and at twice that size.
core::Picture renderWmf(const QByteArray& data, const QString& name);

}  // namespace pictures
