// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The bus window started as the program starts it, answers for its dialogs and message boxes, and
// pictures to choose.

#include "TestFiles.h"
#include "app/Common.h"
#include "app/Form1.h"
#include "panels/frmSet.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QtTest>
#include <memory>
#include <optional>
#include <vector>

namespace testsupport {

// A bus window started the way the program starts it: from the given settings file, or with
// none (the fallback), with the doors' waits and sound replaced.
inline std::unique_ptr<Form1> startForm(const std::optional<QByteArray>& settingsFile = std::nullopt) {
    QFile::remove(QFile::decodeName(settings::settingsFilePath()));
    if (settingsFile)
        testfiles::write(QFile::decodeName(settings::settingsFilePath()), *settingsFile);
    Common::MakuPath = {};
    Common::KanbanPath.clear();
    auto form = std::make_unique<Form1>();
    form->doorWait = [](int) {};
    form->playWave = [](std::int16_t) {};
    form->Form_Load();
    form->show();
    return form;
}

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

// A bitmap of one colour, so that two pictures are told apart.
inline QString writePicture(const QDir& dir, const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(dir.filePath(name), "BMP"))
        qFatal("cannot write test picture %s", qPrintable(name));
    return dir.filePath(name);
}

}  // namespace testsupport
