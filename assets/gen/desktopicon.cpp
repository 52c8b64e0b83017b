// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// desktopicon: renders the program's SVG icon into a square PNG of one size,
// for the icon theme folders that `make install` fills (the program itself
// carries only the 16-colour .ico and the 64-pixel PNG).
//
//   desktopicon <icon.svg> <size in pixels> <out.png>

#include "assets/gen/SvgRender.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSize>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Fonts need a GUI application, but no screen is wanted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    QTextStream err(stderr);

    const QStringList args = QGuiApplication::arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args.at(2).toInt(&sizeOk) : 0;
    if (!sizeOk || size < 1 || size > 1024) {
        err << "usage: desktopicon <icon.svg> <size 1..1024> <out.png>\n";
        return 2;
    }
    QFile source(args.at(1));
    if (!source.open(QIODevice::ReadOnly)) {
        err << "desktopicon: " << args.at(1) << ": " << source.errorString() << '\n';
        return 1;
    }
    QString error;
    const QImage image = assetgen::renderSvg(source.readAll(), QSize(size, size), &error);
    if (image.isNull()) {
        err << "desktopicon: " << args.at(1) << ": " << error << '\n';
        return 1;
    }
    QSaveFile out(args.at(3));
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
        err << "desktopicon: " << args.at(3) << ": " << out.errorString() << '\n';
        return 1;
    }
    return 0;
}
