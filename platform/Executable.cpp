#include "platform/Executable.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace platform {

QString executableDir() { return QCoreApplication::applicationDirPath(); }

QString nameWithoutExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;  // a leading dot names a hidden file, not an extension
}

QString executableName() {
    return nameWithoutExtension(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

}  // namespace platform
