// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Turns one entry of the asset list into the bytes of its output files.

#include "assets/gen/AssetList.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QDir;
class QImage;

namespace assetgen {

struct OutputFile {
    QString path;  // relative to the assets folder
    QByteArray bytes;
};

struct BuildResult {
    std::vector<OutputFile> files;  // empty when error is set
    QString error;
};

// The font family the switch pictures are lettered in.
inline constexpr const char* kLetteringFamily = "IPAPGothic";

// Empty when the fonts the sources name are installed; otherwise what is missing.
QString missingFonts();

// The image one output is made from: the source rendered at size, before encoding.
QImage renderForFormat(const QByteArray& svg, const QSize& size, Format format, QString* error);

// Encodes a rendered image in the format; empty for Copy or a null image.
QByteArray encode(const QImage& image, Format format);

// Reads the entry's source from assetsDir and makes its outputs.
BuildResult build(const QDir& assetsDir, const AssetEntry& asset);

}  // namespace assetgen
