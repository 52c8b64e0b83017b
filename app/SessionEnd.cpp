// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "app/SessionEnd.h"

#include "app/Form1.h"
#include "platform/Display.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

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

// When the X connection breaks, the toolkit warns and ends the program with exit(1) at once, on
// the event loop's thread. The warning is the last moment at which everything the program holds
// is still whole, so the save happens there. It touches no window system: the values are in the
// controls, the windows' places as they were last moved.
void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && runningForm && qGuiApp && QThread::currentThread() == qGuiApp->thread() &&
        platform::displayConnectionBroken())
        std::exchange(runningForm, nullptr)->saveWithoutDisplay();
    handlerBeforeSessionWatch(type, context, message);
}

// A request to quit (the session manager's die among others) ends the run as the close does.
// Left to the toolkit, it would close the top-level windows in no fixed order and give up at
// the first that stays open: the panel first, and the program went on running.
class QuitEndsTheRun : public QObject {
public:
    explicit QuitEndsTheRun(Form1& form) : QObject(&form), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != qGuiApp || event->type() != QEvent::Quit)
            return false;
        form_.endRun();
        return true;
    }

private:
    Form1& form_;
};

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
    // The session manager asks for the data at a checkpoint and before a log-out, which the user
    // may still cancel: the arrangement is saved and the run goes on. The session ends with the
    // manager's die, which quits the event loop. Any way out of it ends the run the same way, once.
    QObject::connect(
        qGuiApp, &QGuiApplication::commitDataRequest, &form, [&form](QSessionManager&) { form.saveForSession(); },
        Qt::DirectConnection);
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, &form, [&form] { form.endRun(); });
    qGuiApp->installEventFilter(new QuitEndsTheRun(form));
    QObject::connect(&form, &QObject::destroyed, [] { runningForm = nullptr; });
    runningForm = &form;
    handlerBeforeSessionWatch = qInstallMessageHandler(onMessage);
}
