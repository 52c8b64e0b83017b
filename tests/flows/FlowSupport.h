#pragma once
// Answers for the dialogs and message boxes of the bus window, and pictures to choose.

#include "TestSupport.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QStringList>
#include <optional>
#include <vector>

namespace ctl {
// Readable failures for places in twips.
inline char* toString(const ScaleRect& r) {
    return QTest::toString(QStringLiteral("{%1, %2, %3, %4}").arg(r.left).arg(r.top).arg(r.width).arg(r.height));
}
}  // namespace ctl

namespace flows {

// Answers every open-file dialog with the next queued answer (nullopt = cancel) and records the
// initial file name each dialog was offered. Records every message box. Uninstalls on destruction.
class DialogScript {
public:
    DialogScript() {
        platform::CommonDialog::setOpenHook([this](const QString& initial, const QStringList&) {
            offered.push_back(initial);
            if (answers.empty())
                return std::optional<QString>();
            const Answer next = answers.front();
            answers.erase(answers.begin());
            return next.cancel ? std::optional<QString>() : std::optional<QString>(next.path);
        });
        platform::setMessageBoxHook([this](const platform::MessageBoxRequest& r) { messages.push_back(r); });
    }
    ~DialogScript() {
        platform::CommonDialog::setOpenHook({});
        platform::setMessageBoxHook({});
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void choose(const QString& path) { answers.push_back({false, path}); }
    void cancel() { answers.push_back({true, {}}); }

    struct Answer {
        bool cancel = false;
        QString path;
    };
    std::vector<Answer> answers;
    QStringList offered;
    std::vector<platform::MessageBoxRequest> messages;
};

// A bitmap of the given size with a colour of its own, so two pictures are told apart.
inline QString writePicture(const QDir& dir, const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    if (!image.save(path, "BMP"))
        qFatal("cannot write test picture %s", qPrintable(path));
    return path;
}

inline QString writeText(const QDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

}  // namespace flows
