// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// assetgen: renders the SVG sources of the pictures, icon and cursor into the
// files the program carries. Run it through the build target "assets".
//
//   assetgen <assets folder>
//
// A file is rewritten only when its bytes change, so an unchanged source
// leaves the resources (and the build) alone.

#include "assets/gen/AssetList.h"
#include "assets/gen/Generator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace {

enum class Written { Unchanged, Updated, Failed };

Written writeIfChanged(const QString& path, const QByteArray& bytes, QString* error) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return Written::Unchanged;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).path())) {
        *error = QStringLiteral("%1: cannot create the folder").arg(path);
        return Written::Failed;
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, out.errorString());
        return Written::Failed;
    }
    return Written::Updated;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Fonts need a GUI application, but no screen is wanted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        err << "usage: assetgen <assets folder>\n";
        return 2;
    }
    const QDir assetsDir(args.at(1));
    if (!assetsDir.exists(QStringLiteral("src"))) {
        err << "assetgen: " << assetsDir.path() << " has no src folder\n";
        return 1;
    }
    if (const QString missing = assetgen::missingFonts(); !missing.isEmpty()) {
        err << "assetgen: " << missing << '\n';
        return 1;
    }

    int failures = 0;
    for (const assetgen::AssetEntry& asset : assetgen::assetList()) {
        const assetgen::BuildResult result = assetgen::build(assetsDir, asset);
        if (!result.error.isEmpty()) {
            err << "assetgen: " << result.error << '\n';
            ++failures;
            continue;
        }
        for (const assetgen::OutputFile& file : result.files) {
            QString error;
            switch (writeIfChanged(assetsDir.filePath(file.path), file.bytes, &error)) {
            case Written::Failed:
                err << "assetgen: " << error << '\n';
                ++failures;
                break;
            case Written::Updated:
                out << "updated   " << file.path << " (" << file.bytes.size() << " bytes)\n";
                break;
            case Written::Unchanged:
                out << "unchanged " << file.path << '\n';
                break;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
