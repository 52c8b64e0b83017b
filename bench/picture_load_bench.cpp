// Time to load a picture file of each format at the sizes the program meets: a sign's film
// (50 × 250), a photo on the signboard (1000 × 1000), metafiles of a few hundred records; and
// what drawing a small metafile in the renderer program adds to drawing it in this process.

#include "testing/SamplePictures.h"
#include "pictures/MetafileEmf.h"
#include "pictures/MetafileWmf.h"
#include "core/RuntimeError.h"
#include "pictures/PictureLoader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
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
    return 0;
}
