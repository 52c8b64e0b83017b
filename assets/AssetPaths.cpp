// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "assets/AssetPaths.h"

#include "core/ResourceImages.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace assets {

QIcon programIcon() {
    QIcon icon;
    for (const char* path : kIconPictures) {
        QImage image = core::readResourceImage(QString::fromLatin1(path));
        // In real pixels: Qt's reader gives an "@2x" picture a pixel ratio of 2, which would
        // make the 64-pixel icon a second 32-pixel one, also for the window manager.
        image.setDevicePixelRatio(1.0);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace assets
