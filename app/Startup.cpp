#include "app/Startup.h"

#include "app/Form1.h"
#include "app/SessionEnd.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Window places and the topmost panel need X11; on a Wayland desktop the program runs
// through XWayland. A platform chosen explicitly (tests use offscreen) is kept.
bool chooseX11() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    qputenv("QT_QPA_PLATFORM", "xcb");
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (!reachable) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, "tarvola: cannot open the X display%s%s; start it from a desktop session.\n",
                     display.isEmpty() ? " (DISPLAY is not set)" : " ",
                     display.isEmpty() ? "" : display.constData());
    }
    return reachable;
}

}  // namespace

int runTarvola(int argc, char** argv) {
    if (!chooseX11())
        return EXIT_FAILURE;
    // The program reads no command-line arguments: the toolkit gets the program's name only,
    // so its own options (-reverse, -platform, -style...) change nothing either.
    char fallbackName[] = "tarvola";
    char* toolkitArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, toolkitArgv);
    platform::installProgramFont();

    Form1 form;
    endWithTheSession(form);
    form.Form_Load();
    form.show();
    form.activateWindow();
    return app.exec();
}
