// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Time to load a picture file of each format at the sizes the program meets: a sign's film
// (50 × 250), a photo on the signboard (1000 × 1000), metafiles of a few hundred records; and
// what reading a picture in the renderer program adds to reading it in this process. Every
// picture is read by the renderer under a processor-time limit; the other way, decoding raster
// pictures here behind a check that bounds their cost (a cap on the scans of a progressive JPEG),
// is measured beside it: what the cap would still let through, against what the limit refuses.

#include "testing/SamplePictures.h"
#include "pictures/renderer/EmfDecoder.h"
#include "pictures/renderer/WmfDecoder.h"
#include "core/RuntimeError.h"
#include "pictures/PictureLoader.h"
#include "pictures/renderer/RasterDecoder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

template <typename Load>
double medianMs(const QString& what, int runs, Load load) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const core::Picture picture = load();
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (picture.isNull())
            std::printf("error: %s gave no picture\n", qPrintable(what));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double medianMs(const QString& path, int runs) {
    return medianMs(path, runs, [&] { return pictures::loadPicture(path); });
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");  // nothing is shown
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    };
    const QImage film = samples::rasterScene({50, 250});
    const QImage photo = samples::rasterScene({1000, 1000});
    struct Case {
        const char* format;
        const char* size;
        QString path;
    };
    const std::vector<Case> cases = {
        {"bmp", "50x250", write("film.bmp", samples::encode(film, "bmp"))},
        {"gif", "50x250", write("film.gif", samples::encodeGif(film))},
        {"jpeg", "50x250", write("film.jpg", samples::encode(film, "jpeg"))},
        {"png", "50x250", write("film.png", samples::encode(film, "png"))},
        {"bmp", "1000x1000", write("photo.bmp", samples::encode(photo, "bmp"))},
        {"gif", "1000x1000", write("photo.gif", samples::encodeGif(photo))},
        {"jpeg", "1000x1000", write("photo.jpg", samples::encode(photo, "jpeg"))},
        {"png", "1000x1000", write("photo.png", samples::encode(photo, "png"))},
        {"wmf", "100x50/300rec", write("many.wmf", samples::wmf(true, {}, 300))},
        {"emf", "100x50/300rec", write("many.emf", samples::emf(300))},
    };
    for (const Case& c : cases)
        std::printf("load %s %s: %.2f ms (goal: < 20 ms for a film)\n", c.format, c.size, medianMs(c.path, 9));

    // The renderer program against the same renderers in this process, for the sample page.
    const QByteArray wmf = samples::wmf(true), emf = samples::emf();
    const QString wmfPath = write("small.wmf", wmf), emfPath = write("small.emf", emf);
    using namespace pictures;
    const double wmfAdded = medianMs(wmfPath, 21) - medianMs("wmf", 21, [&] { return renderWmf(wmf, "small.wmf"); });
    const double emfAdded = medianMs(emfPath, 21) - medianMs("emf", 21, [&] { return renderEmf(emf, "small.emf"); });
    std::printf("metafile renderer program adds, wmf 100x50: %.2f ms (goal: < 30 ms)\n", wmfAdded);
    std::printf("metafile renderer program adds, emf 100x50: %.2f ms (goal: < 30 ms)\n", emfAdded);
    // A refused metafile ends its renderer: the next one starts a new one, as the first of a run does.
    const QString refused = write("cut.wmf", wmf.left(wmf.size() - 10));
    const auto startedFor = [&](const QString& path) {
        std::vector<double> times;
        for (int i = 0; i < 9; ++i) {
            try {
                pictures::loadPicture(refused);
            } catch (const core::RuntimeError&) {
            }
            QElapsedTimer timer;
            timer.start();
            pictures::loadPicture(path);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    std::printf("metafile renderer program adds when started for it, wmf 100x50: %.2f ms (goal: < 30 ms)\n",
                startedFor(wmfPath) - medianMs("wmf", 21, [&] { return renderWmf(wmf, "small.wmf"); }));
    std::printf("metafile renderer program adds when started for it, emf 100x50: %.2f ms (goal: < 30 ms)\n",
                startedFor(emfPath) - medianMs("emf", 21, [&] { return renderEmf(emf, "small.emf"); }));

    // A film decoded here, against the renderer program started for it (as at a start with a
    // stored film).
    const QByteArray filmBmp = samples::encode(film, "bmp");
    const QString filmPath = write("film2.bmp", filmBmp);
    std::printf("bitmap film 50x250 decoded in this process: %.2f ms\n",
                medianMs("here", 21, [&] { return core::Picture(decodeRaster(filmBmp, Format::Bmp, "film.bmp")); }));
    std::printf("bitmap film 50x250 read by the renderer program started for it: %.2f ms\n", startedFor(filmPath));
    // A progressive JPEG of the largest size: what a cap of 64 scans (more than the encoders
    // write: libjpeg's progression has 10 for colour, 18 for CMYK) lets through in this process,
    // and the 20000 scans that the renderer's processor-time limit refuses.
    const auto peakMb = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return double(usage.ru_maxrss) / 1024;
    };
    const double before = peakMb();
    QElapsedTimer timer;
    timer.start();
    const QByteArray capped = samples::manyScanJpeg(8192, 64);
    try {
        decodeRaster(capped, Format::Jpeg, "capped.jpg");
    } catch (const core::RuntimeError&) {
    }
    std::printf("progressive jpeg 8192x8192 of 64 empty scans decoded in this process: %.0f ms\n",
                timer.nsecsElapsed() / 1e6);
    std::printf("progressive jpeg 8192x8192 of 64 empty scans, memory it takes in this process: %.0f MB\n",
                peakMb() - before);
    const QString bomb = write("scans.jpg", samples::manyScanJpeg(8192, 20000));
    timer.restart();
    try {
        pictures::loadPicture(bomb);
    } catch (const core::RuntimeError&) {
    }
    std::printf("progressive jpeg 8192x8192 of 20000 scans refused by the renderer after: %.0f ms (goal: < 2500 ms)\n",
                timer.nsecsElapsed() / 1e6);
    return 0;
}
