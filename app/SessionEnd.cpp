// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "app/SessionEnd.h"

#include "app/Form1.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// The signal handler only writes a byte into a pipe, the one thing it may safely do; the event
// loop reads it and ends the run. A save under way is not cut short: it is not the handler's.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);  // a full pipe says enough
    errno = saved;
}

Form1* runningForm = nullptr;
QtMessageHandler handlerBeforeSessionWatch = nullptr;

bool displayGone() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 && x11->connection() && xcb_connection_has_error(x11->connection()) != 0;
}

// When the X connection breaks, the toolkit warns and ends the program with exit(1) at once, on
// the event loop's thread. The warning is the last moment at which everything the program holds
// is still whole, so the save happens there. It touches no window system: the values are in the
// controls, the windows' places as they were last moved.
void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && runningForm && qGuiApp && QThread::currentThread() == qGuiApp->thread() &&
        displayGone())
        std::exchange(runningForm, nullptr)->saveWithoutDisplay();
    handlerBeforeSessionWatch(type, context, message);
}

}  // namespace

void endWithTheSession(Form1& form) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &form);
        QObject::connect(notifier, &QSocketNotifier::activated, &form, [&form] {
            char bytes[64];
            while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
            }
            form.endRun();
        });
        struct sigaction action {};
        action.sa_handler = onSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (const int signal : {SIGTERM, SIGHUP, SIGINT})
            ::sigaction(signal, &action, nullptr);
    }
    // The session manager asks for the data before the session ends: the close's save, and the
    // end of the run. Any other way out of the event loop ends the run the same way, once.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &form, [&form](QSessionManager&) { form.endRun(); },
                     Qt::DirectConnection);
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, &form, [&form] { form.endRun(); });
    QObject::connect(&form, &QObject::destroyed, [] { runningForm = nullptr; });
    runningForm = &form;
    handlerBeforeSessionWatch = qInstallMessageHandler(onMessage);
}
