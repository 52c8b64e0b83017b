// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Any bytes, as a picture file: the loader gives a picture or its error, never a crash.
// Pictures are read here rather than by the renderer program, so the parsers are fed too.

#include "core/RuntimeError.h"
#include "pictures/renderer/Decoders.h"
#include "pictures/RendererProcess.h"
#include "pictures/PictureLoader.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Qt SVG and the image readers want an application object.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "picture_loader_fuzz";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");  // nothing is shown
    static const std::unique_ptr<QGuiApplication> app =
        QGuiApplication::instance() ? nullptr : std::make_unique<QGuiApplication>(argc, argv);
    pictures::setPictureRenderer(&pictures::renderPictureHere);
}

const QString& inputPath() {
    static const QString path =
        QDir::temp().filePath(QStringLiteral("picture_loader_fuzz_%1.bin").arg(QCoreApplication::applicationPid()));
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureApplication();
    {
        QFile file(inputPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        pictures::loadPicture(inputPath());
    } catch (const core::RuntimeError&) {
    }
    return 0;
}
