// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The bus window started as the program starts it, answers for its dialogs and message boxes, and
// pictures to choose.

#include "TestFiles.h"
#include "app/Form1.h"
#include "controls/Frame.h"
#include "controls/GraphicalCheckBox.h"
#include "controls/HScrollBar.h"
#include "panels/frmSet.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>
#include <optional>
#include <vector>

namespace testsupport {

// What the doors of a test's bus window do after each step and for their sound: nothing and
// at once, unless the test says otherwise.
struct DoorProbe {
    std::function<void(int count)> afterStep = [](int) {};
    std::function<void(std::int16_t id)> sound = [](std::int16_t) {};
};

// A bus window started the way the program starts it: from the given settings file, or with
// none (the fallback), with the doors' waits and sound given to the probe (or silenced).
inline std::unique_ptr<Form1> startForm(const std::optional<QByteArray>& settingsFile = std::nullopt,
                                        DoorProbe* probe = nullptr) {
    QFile::remove(QFile::decodeName(settings::settingsFilePath()));
    if (settingsFile)
        testfiles::write(QFile::decodeName(settings::settingsFilePath()), *settingsFile);
    static DoorProbe silent;
    DoorProbe* const p = probe ? probe : &silent;
    auto form = std::make_unique<Form1>(
        Form1::DoorHooks{[p](std::chrono::steady_clock::time_point, int count) { p->afterStep(count); },
                         [p](std::int16_t id) { p->sound(id); }});
    form->Form_Load();
    form->show();
    return form;
}

// The record the close writes: the settings file as SaveIni leaves it.
inline QByteArray savedRecord(Form1& form) {
    form.SaveIni();
    return testfiles::read(QFile::decodeName(settings::settingsFilePath()));
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

// The settings panel's controls, found as a user finds them: by their names.
struct PanelControls {
    explicit PanelControls(frmSet& p) : panel(p) {}

    template <class Control>
    Control* find(const QString& name) const {
        auto* control = panel.findChild<Control*>(name);
        if (!control)
            qFatal("the panel has no control %s", qPrintable(name));
        return control;
    }

    frmSet& panel;
    ctl::GraphicalCheckBox* const Check1 = find<ctl::GraphicalCheckBox>(QStringLiteral("Check1"));
    ctl::HScrollBar* const HScroll1 = find<ctl::HScrollBar>(QStringLiteral("HScroll1"));
    QLabel* const lblMaeSpeed = find<QLabel>(QStringLiteral("lblMaeSpeed"));
    ctl::GraphicalCheckBox* const Check2 = find<ctl::GraphicalCheckBox>(QStringLiteral("Check2"));
    ctl::HScrollBar* const HScroll2 = find<ctl::HScrollBar>(QStringLiteral("HScroll2"));
    QLabel* const lblNakaSpeed = find<QLabel>(QStringLiteral("lblNakaSpeed"));
    ctl::Frame* const Frame2 = find<ctl::Frame>(QStringLiteral("Frame2"));
    QPushButton* const Command3 = find<QPushButton>(QStringLiteral("Command3"));
    QRadioButton* Option1(int i) const { return find<QRadioButton>(QStringLiteral("Option1(%1)").arg(i)); }
    ctl::HScrollBar* scllMakuSpeed(int i) const {
        return find<ctl::HScrollBar>(QStringLiteral("scllMakuSpeed(%1)").arg(i));
    }
    QLabel* lblMakuSpeed(int i) const { return find<QLabel>(QStringLiteral("lblMakuSpeed(%1)").arg(i)); }
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
