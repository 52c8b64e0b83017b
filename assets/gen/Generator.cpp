// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "assets/gen/Generator.h"

#include "assets/gen/BmpWriter.h"
#include "assets/gen/IcoWriter.h"
#include "assets/gen/SvgRender.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QImageWriter>

namespace assetgen {

QString missingFonts() {
    const QString family = QString::fromLatin1(kLetteringFamily);
    if (QFontDatabase::families().contains(family))
        return {};
    return QStringLiteral("font %1 is not installed (Debian package fonts-ipafont-gothic)").arg(family);
}

QImage renderForFormat(const QByteArray& svg, const QSize& size, Format format, QString* error) {
    const QImage image = renderSvg(svg, size, error);
    if (format == Format::Bmp24)
        return flattened(image, Qt::white);
    return image;
}

namespace {
QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Straight alpha and no text chunks: only the pixels decide the bytes.
    if (!writer.write(image.convertToFormat(QImage::Format_ARGB32)))
        return {};
    return bytes;
}
}  // namespace

QByteArray encode(const QImage& image, Format format) {
    if (image.isNull())
        return {};
    switch (format) {
    case Format::Bmp24:
        return encodeBmp24(image);
    case Format::Png:
        return encodePng(image);
    case Format::Ico16:
        return encodeIco16(image);
    case Format::Copy:
        break;
    }
    return {};
}

BuildResult build(const QDir& assetsDir, const AssetEntry& asset) {
    const QString sourcePath = assetsDir.filePath(QString::fromLatin1(asset.source));
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("%1: %2").arg(sourcePath, file.errorString())};
    const QByteArray svg = file.readAll();
    const QString output = QString::fromLatin1(asset.output);
    if (asset.format == Format::Copy)
        return {{{output, svg}}, {}};

    BuildResult result;
    const auto add = [&](const QString& path, const QSize& size) {
        QString why;
        const QByteArray bytes = encode(renderForFormat(svg, size, asset.format, &why), asset.format);
        if (bytes.isEmpty()) {
            result.error = QStringLiteral("%1: cannot make %2: %3")
                               .arg(sourcePath, path, why.isEmpty() ? QStringLiteral("encoding failed") : why);
            return false;
        }
        result.files.push_back({path, bytes});
        return true;
    };
    if (!add(output, asset.size))
        return {{}, result.error};
    if (asset.doubleRes && !add(doubleResPath(output), asset.size * 2))
        return {{}, result.error};
    return result;
}

}  // namespace assetgen
