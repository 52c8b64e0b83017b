// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// pixels: stores a picture in the form the program reads its compiled-in pictures in (see
// core/ResourceImages.h), at build time, so that the program never decodes them.
//
//   pixels <picture (bmp, png, ico)> <out>

#include "core/ResourceImages.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);  // image plugins (the .ico reader) are found through it
    if (argc != 3) {
        std::fprintf(stderr, "usage: pixels <picture> <out>\n");
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "pixels: %s: %s\n", argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(core::encodePixels(image)) < 0 || !out.commit()) {
        std::fprintf(stderr, "pixels: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
