#include "core/ResourceImages.h"

#include <QFileInfo>
#include <QImageReader>

namespace core {

QImage readResourceImage(const QString& path) {
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace core
