// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/PictureErrors.h"

#include "pictures/PictureLimits.h"

namespace pictures {

using core::RuntimeError;
namespace err = core::err;

QString formatName(Format format) {
    switch (format) {
    case Format::Bmp:
        return QStringLiteral("ビットマップ");
    case Format::Gif:
        return QStringLiteral("GIF");
    case Format::Jpeg:
        return QStringLiteral("JPEG");
    case Format::Png:
        return QStringLiteral("PNG");
    case Format::Wmf:
        return QStringLiteral("メタファイル");
    case Format::Emf:
        return QStringLiteral("拡張メタファイル");
    case Format::Unknown:
        break;
    }
    return QStringLiteral("ピクチャ");
}

RuntimeError fileNotFound(const QString& path) {
    return {err::kFileNotFound, QStringLiteral("ファイルが見つかりません。「%1」はありません。").arg(path)};
}

RuntimeError isFolder(const QString& name) {
    return {err::kPathFileAccess, QStringLiteral("「%1」はフォルダーなので、ピクチャとして読み込めません。").arg(name)};
}

RuntimeError notRegularFile(const QString& name) {
    return {err::kPathFileAccess, QStringLiteral("「%1」は通常のファイルではないので、読み込めません。").arg(name)};
}

RuntimeError cannotRead(const QString& name, const QString& reason) {
    return {err::kPathFileAccess, QStringLiteral("ファイル「%1」を読み込めません。%2").arg(name, reason)};
}

RuntimeError emptyFile(const QString& name) {
    return {err::kInvalidPicture, QStringLiteral("ピクチャが不正です。「%1」は空のファイルです。").arg(name)};
}

RuntimeError unknownFormat(const QString& name) {
    return {err::kInvalidPicture,
            QStringLiteral("ピクチャが不正です。「%1」はビットマップ、GIF、JPEG、PNG、メタファイル、"
                           "拡張メタファイルのどの形式でもありません。")
                .arg(name)};
}

RuntimeError corrupt(const QString& name, Format format) {
    return {err::kInvalidPicture,
            QStringLiteral("ピクチャが不正です。「%1」の%2のデータが壊れているか、途中で切れています。")
                .arg(name, formatName(format))};
}

RuntimeError noExtent(const QString& name, Format format) {
    return {err::kInvalidPicture,
            QStringLiteral("ピクチャが不正です。「%1」の%2には大きさがありません。").arg(name, formatName(format))};
}

RuntimeError fileTooLarge(const QString& name) {
    return {err::kOutOfMemory, QStringLiteral("ファイルが大きすぎます。「%1」は読み込める上限の %2 MB を超えています。")
                                   .arg(name)
                                   .arg(kMaxBytes / (1024 * 1024))};
}

RuntimeError pictureTooLarge(const QString& name, QSize claimed) {
    return {err::kOutOfMemory, QStringLiteral("ピクチャが大きすぎます。「%1」は %2 × %3 ピクセルで、読み込める大きさ"
                                              "（一辺 %4 ピクセル、%5 MB まで）を超えています。")
                                   .arg(name)
                                   .arg(claimed.width())
                                   .arg(claimed.height())
                                   .arg(kMaxSide)
                                   .arg(kMaxBytes / (1024 * 1024))};
}

RuntimeError tooLargeToDraw(const QString& name, Format format) {
    return {
        err::kOutOfMemory,
        QStringLiteral("ピクチャが大きすぎます。「%1」の%2は、描くのに読み込める上限を超える時間かメモリが要ります。")
            .arg(name, formatName(format))};
}

}  // namespace pictures
