#pragma once
// Helpers shared by the widget tests of the bus window.

#include "app/Common.h"
#include "app/Form1.h"
#include "panels/frmSet.h"
#include "platform/Fonts.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QtTest>
#include <QFile>
#include <QMenu>
#include <QTimer>
#include <memory>
#include <optional>

namespace testsupport {

// A bus window started the way the program starts it: from the given settings file, or with
// none (the fallback) when there is no file to write.
inline std::unique_ptr<Form1> startForm(const std::optional<QByteArray>& settingsFile = std::nullopt) {
    QFile::remove(QFile::decodeName(settings::settingsFilePath()));
    if (settingsFile) {
        QFile file(QFile::decodeName(settings::settingsFilePath()));
        if (file.open(QIODevice::WriteOnly))
            file.write(*settingsFile);
    }
    Common::MakuPath = {};
    Common::KanbanPath.clear();
    auto form = std::make_unique<Form1>();
    form->doorWait = [](int) {};
    form->playWave = [](std::int16_t) {};
    form->Form_Load();
    form->show();
    return form;
}

// Runs action; if a pop-up menu opens meanwhile, records its title-less item captions and
// closes it. Returns the captions of the menu that was shown (empty if none).
template <class Action>
QStringList captureMenu(Action&& action) {
    QStringList captions;
    bool shown = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = true;
            for (QAction* a : menu->actions())
                captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
            menu->close();
        }
    });
    poll.start();
    action();
    // The menu runs its own loop inside the click; by now it has been closed.
    poll.stop();
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    Q_UNUSED(shown);
    return captions;
}

}  // namespace testsupport
