// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Answers for the dialogs and message boxes of the bus window, and pictures to choose.

#include "../app/TestSupport.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QImage>
#include <vector>

namespace flows {

// Answers each open-file dialog with the next queued answer (nullopt or none left: cancel), records
// the initial file name each dialog was offered and every message box.
struct DialogScript {
    DialogScript() {
        platform::CommonDialog::setOpenHook([this](const QString& initial, const QStringList&) {
            offered.push_back(initial);
            return answers.isEmpty() ? std::optional<QString>() : answers.takeFirst();
        });
        platform::setMessageBoxHook([this](const platform::MessageBoxRequest& r) { messages.push_back(r); });
    }
    ~DialogScript() {
        platform::CommonDialog::setOpenHook({});
        platform::setMessageBoxHook({});
    }
    void choose(const QString& path) { answers.append(path); }
    void cancel() { answers.append(std::nullopt); }

    QList<std::optional<QString>> answers;
    QStringList offered;
    std::vector<platform::MessageBoxRequest> messages;
};

inline QString writeFile(const QDir& dir, const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(f.fileName()));
    return f.fileName();
}

// A bitmap of one colour, so that two pictures are told apart.
inline QString writePicture(const QDir& dir, const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(dir.filePath(name), "BMP"))
        qFatal("cannot write test picture %s", qPrintable(name));
    return dir.filePath(name);
}

}  // namespace flows
