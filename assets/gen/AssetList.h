// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What the generator makes: every output file, the SVG it comes from, its
// size and its format. Paths are relative to the assets folder.

#include <QSize>

#include <span>

class QString;

namespace assetgen {

enum class Format {
    Bmp24,  // 24-bit Windows bitmap, drawn over white
    Png,    // 32-bit PNG with alpha
    Ico16,  // one-image icon in the sixteen standard colours
    Copy,   // the source itself, byte for byte
};

struct AssetEntry {
    const char* source;
    const char* output;
    QSize size;  // pixels of the plain output; unused for Copy
    Format format;
    bool doubleRes;  // also "<name>@2x.<ext>" at twice the size, for HiDPI screens
};

std::span<const AssetEntry> assetList();

// "pictures/bus.bmp" -> "pictures/bus@2x.bmp"
QString doubleResPath(const QString& path);

}  // namespace assetgen
