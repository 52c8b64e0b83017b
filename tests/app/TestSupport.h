// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Helpers shared by the widget tests of the bus window.

#include "app/Common.h"
#include "app/Form1.h"
#include "panels/frmSet.h"
#include "platform/Fonts.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QFile>
#include <QtTest>
#include <memory>
#include <optional>

namespace testsupport {

// A bus window started the way the program starts it: from the given settings file, or with
// none (the fallback), with the doors' waits and sound replaced.
inline std::unique_ptr<Form1> startForm(const std::optional<QByteArray>& settingsFile = std::nullopt) {
    QFile::remove(QFile::decodeName(settings::settingsFilePath()));
    QFile file(QFile::decodeName(settings::settingsFilePath()));
    if (settingsFile && file.open(QIODevice::WriteOnly))
        file.write(*settingsFile), file.close();
    Common::MakuPath = {};
    Common::KanbanPath.clear();
    auto form = std::make_unique<Form1>();
    form->doorWait = [](int) {};
    form->playWave = [](std::int16_t) {};
    form->Form_Load();
    form->show();
    return form;
}

}  // namespace testsupport
