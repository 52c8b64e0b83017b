// Time to load a picture file of each format at the sizes the program meets: a sign's film
// (50 × 250), a photo on the signboard (1000 × 1000), metafiles of a few hundred records.

#include "SamplePictures.h"
#include "platform/PictureLoader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianMs(const QString& path, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const ctl::Picture picture = platform::loadPicture(path);
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (picture.isNull())
            std::printf("error: %s gave no picture\n", qPrintable(path));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    return 0;
}
