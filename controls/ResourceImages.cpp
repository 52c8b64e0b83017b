#include "controls/ResourceImages.h"

#include "controls/Bitmap24.h"

#include <QFileInfo>
#include <QImageReader>
#include <QResource>

#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace ctl {

namespace {

// The program's own bitmaps, read by its own decoder: safe on any thread.
QImage readBitmap(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid())
        return {};
    if (resource.compressionAlgorithm() == QResource::NoCompression)
        return decodeBitmap24(QByteArrayView(resource.data(), resource.size()));
    return decodeBitmap24(resource.uncompressedData());
}

QImage readNow(const QString& path) {
    if (QImage bitmap = readBitmap(path); !bitmap.isNull())
        return bitmap;
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

struct ReadAhead {
    std::mutex mutex;
    std::map<QString, std::shared_future<QImage>> pending;
};

ReadAhead& readAhead() {
    static ReadAhead instance;
    return instance;
}

}  // namespace

QImage readResourceImage(const QString& path) {
    std::shared_future<QImage> ahead;
    {
        ReadAhead& r = readAhead();
        const std::lock_guard lock(r.mutex);
        if (const auto it = r.pending.find(path); it != r.pending.end()) {
            ahead = it->second;
            r.pending.erase(it);
        }
    }
    if (ahead.valid()) {
        try {
            if (QImage image = ahead.get(); !image.isNull())
                return image;
        } catch (const std::future_error&) {
            // The work was dropped before it ran.
        }
    }
    return readNow(path);
}

std::function<void()> readAheadResourceImages(std::span<const char* const> paths, ReadAheadBy by) {
    auto tasks = std::make_shared<std::vector<std::packaged_task<QImage()>>>();
    tasks->reserve(paths.size());
    ReadAhead& r = readAhead();
    const std::lock_guard lock(r.mutex);
    for (const char* p : paths) {
        const QString path = QString::fromLatin1(p);
        tasks->emplace_back([path, by] { return by == ReadAheadBy::OwnDecoder ? readBitmap(path) : readNow(path); });
        r.pending[path] = tasks->back().get_future().share();
    }
    return [tasks] {
        for (auto& task : *tasks)
            task();
    };
}

void dropReadAheadResourceImages() {
    ReadAhead& r = readAhead();
    const std::lock_guard lock(r.mutex);
    r.pending.clear();
}

}  // namespace ctl
