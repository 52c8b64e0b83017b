// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "app/Startup.h"

#include "app/Form1.h"
#include "app/SessionEnd.h"
#include "controls/Accessibility.h"
#include "platform/Display.h"
#include "platform/Fonts.h"
#include "platform/Translations.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

QtMessageHandler handlerBeforeConnection = nullptr;

// While the toolkit connects to the display its platform messages are held back. When it
// gives up, a display it could not reach gets the program's own one line and an ordinary
// failure instead of the toolkit's advice about reinstalling and its abort. The display is
// asked only then: asking beforehand would cost every start a connection.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage> held;

void passOn(const HeldMessage& m) {
    const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
    handlerBeforeConnection(m.type, context, m.text);
}

void duringConnection(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && qgetenv("QT_QPA_PLATFORM") == "xcb" && !platform::displayReachable()) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, "tarvola: cannot open the X display%s%s; start it from a desktop session.\n",
                     display.isEmpty() ? " (DISPLAY is not set)" : " ", display.constData());
        std::_Exit(EXIT_FAILURE);
    }
    if (type != QtFatalMsg && context.category && std::strncmp(context.category, "qt.qpa.", 7) == 0) {
        held.push_back({type, context.category, message});
        return;
    }
    for (const HeldMessage& m : held)
        passOn(m);
    held.clear();
    handlerBeforeConnection(type, context, message);
}

}  // namespace

int runTarvola(int argc, char** argv) {
    // Window places and the topmost panel need X11; on a Wayland desktop the program runs
    // through XWayland. A platform chosen explicitly (tests use offscreen) is kept.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // The program reads no command-line arguments: the toolkit gets the program's name only,
    // so its own options (-reverse, -platform, -style...) change nothing either.
    char fallbackName[] = "tarvola";
    char* toolkitArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int toolkitArgc = 1;
    handlerBeforeConnection = qInstallMessageHandler(duringConnection);
    QApplication app(toolkitArgc, toolkitArgv);
    qInstallMessageHandler(handlerBeforeConnection);
    for (const HeldMessage& m : held)
        passOn(m);
    held.clear();
    platform::installToolkitTranslations();
    ctl::installAccessibleInterfaces();
    platform::installProgramFont();

    Form1 form;
    endWithTheSession(form);
    form.Form_Load();
    form.show();
    form.activateWindow();
    return app.exec();
}
