// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/RendererProcess.h"

#include "core/FileDescriptor.h"
#include "core/RuntimeError.h"
#include "pictures/RendererWire.h"
#include "pictures/PictureLimits.h"
#include "platform/ElfCheck.h"
#include "platform/Executable.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <memory>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pictures {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::nanoseconds;

// The renderer's own needs in address space (Qt, the parsers' libraries, the font cache),
// beyond a picture's budget and the input it keeps two copies of.
constexpr rlim_t kRendererOwnBytes = 512ULL * 1024 * 1024;
rlim_t addressSpaceFor(std::uint64_t inputBytes) { return kRendererOwnBytes + rlim_t(kMaxBytes) + 2 * inputBytes; }

// How long a wait goes without news before it looks whether the renderer is still running.
constexpr auto kLook = std::chrono::milliseconds(50);

core::RuntimeError rendererError(const QString& what) {
    return core::RuntimeError(
        core::err::kDllNotFound,
        QStringLiteral("ピクチャを読むためのプログラム '%1' %2").arg(QLatin1String(kRendererProgram), what));
}
core::RuntimeError rendererMissing(const QString& reason) {
    return rendererError(QStringLiteral("を読み込めません。(%1)").arg(reason));
}
core::RuntimeError rendererSilent() { return rendererError(QStringLiteral("が応答しません。")); }

// A kept renderer found not answering before it took the picture: replaced, and tried again.
struct NoAnswer {};

// A running renderer: its process and the socket that is its standard input and output (a socket,
// so that writing to a renderer that has ended fails with EPIPE instead of a signal). It leads a
// process group of its own, which ends with it whole: a replaced renderer that forks leaves no
// processes behind.
class Renderer {
public:
    Renderer(pid_t pid, core::FileDescriptor socket) : pid_(pid), socket_(std::move(socket)) {
        if (::clock_getcpuclockid(pid_, &cpuClock_) != 0)
            cpuClock_ = -1;
    }
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;
    ~Renderer() {
        ::kill(-pid_, SIGKILL);
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }

    pid_t pid() const { return pid_; }
    int socket() const { return socket_.get(); }

    enum class State { Running, Stopped, Ended };
    // A stopped renderer answers nothing until someone lets it go on, which may be never. An
    // ended one is left for the destructor to reap.
    State state() const {
        siginfo_t info{};
        if (::waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0)
            return State::Ended;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid_));
        if (!stat.open(QIODevice::ReadOnly))
            return State::Ended;
        const QByteArray line = stat.read(512);
        const qsizetype end = line.lastIndexOf(')');  // the name in brackets may hold anything
        const char state = end >= 0 && end + 2 < line.size() ? line[end + 2] : 'X';
        return state == 'T' || state == 't'   ? State::Stopped
               : state == 'Z' || state == 'X' ? State::Ended
                                              : State::Running;
    }

    // How long it was ready to run while other processes had the processor: the machine's
    // business, not the renderer's. Zero when the kernel does not tell.
    nanoseconds waitedForProcessor() const {
        QFile schedstat(QStringLiteral("/proc/%1/schedstat").arg(pid_));
        if (!schedstat.open(QIODevice::ReadOnly))
            return nanoseconds::zero();
        const QList<QByteArray> fields = schedstat.read(128).split(' ');  // run, waited, time slices
        return nanoseconds(fields.size() >= 2 ? fields[1].toLongLong() : 0);
    }

    // Zero when it cannot be told: then the wall clock and the renderer's own limit stand.
    nanoseconds processorTime() const {
        timespec t{};
        if (cpuClock_ == -1 || ::clock_gettime(cpuClock_, &t) != 0)
            return nanoseconds::zero();
        return std::chrono::seconds(t.tv_sec) + nanoseconds(t.tv_nsec);
    }

private:
    pid_t pid_;
    core::FileDescriptor socket_;
    clockid_t cpuClock_ = -1;
};

std::unique_ptr<Renderer> launchRenderer() {
    // Only the program beside this one, by its full path: opened here by its bytes (a folder whose
    // name is not UTF-8 is no obstacle) and started through the descriptor.
    const QByteArray path = platform::besideExecutable(kRendererProgram);
    const core::FileDescriptor program(::open(path.constData(), O_PATH | O_CLOEXEC));
    if (!program.valid())
        throw rendererMissing(QString::fromLocal8Bit(std::strerror(errno)));
    if (!platform::isWholeElfFile(path))
        throw rendererMissing(QStringLiteral("プログラムが壊れているか、途中で切れています。"));
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        throw rendererMissing(QString::fromLocal8Bit(std::strerror(errno)));
    core::FileDescriptor mine(ends[0]);
    const core::FileDescriptor its(ends[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, its.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, its.get(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Signals this program handles or ignores are the renderer's to take as usual.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, usual;
    sigemptyset(&none);
    sigfillset(&usual);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &usual);
    posix_spawnattr_setpgroup(&attributes, 0);  // a group of its own, led by the renderer
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    const QByteArray started = "/proc/self/fd/" + QByteArray::number(program.get());
    char name[] = "tarvola-metafile";
    char* argv[] = {name, nullptr};
    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, started.constData(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0)
        throw rendererMissing(QString::fromLocal8Bit(std::strerror(failed)));
    ::fcntl(mine.get(), F_SETFL, O_NONBLOCK);
    return std::make_unique<Renderer>(pid, std::move(mine));
}

// Starting a renderer costs as much as reading a small picture several times over, so the one
// that read the last picture well is kept for the next (and ended with the program). One that
// failed in any way is never used again: a file that sent the parsers astray must not leave its
// traces in the next picture.
std::unique_ptr<Renderer>& keptRenderer() {
    static std::unique_ptr<Renderer> kept;
    return kept;
}

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && app->thread() == QThread::currentThread();
}

// One picture's exchange with a renderer, within its processor time and the wall-clock backstop.
class Exchange {
public:
    Exchange(Renderer& renderer, bool kept, Format format, const QString& name)
        : renderer_(renderer),
          kept_(kept),
          format_(format),
          name_(name),
          processorEnd_(renderer.processorTime() + kRenderProcessorTime),
          wallEnd_(Clock::now() + kRenderWallTime),
          waitedAtStart_(renderer.waitedForProcessor()) {}

    void send(QByteArrayView bytes) {
        while (!bytes.isEmpty()) {
            const ssize_t n = ::send(renderer_.socket(), bytes.data(), std::size_t(bytes.size()), MSG_NOSIGNAL);
            if (n > 0)
                bytes = bytes.sliced(n);
            else if (errno == EAGAIN)
                wait(POLLOUT);
            else if (errno != EINTR)
                throw ended();
        }
    }

    void receive(char* into, qsizetype count) {
        while (count > 0) {
            const ssize_t n = ::recv(renderer_.socket(), into, std::size_t(count), 0);
            if (n > 0)
                into += n, count -= n, answered_ = true;
            else if (n < 0 && errno == EAGAIN)
                wait(POLLIN);
            else if (n == 0 || errno != EINTR)
                throw ended();
        }
    }

private:
    // The renderer ended (or closed its output) before answering in full. A kept one that said
    // nothing may have ended since its last picture, however shortly before: it is replaced and
    // the picture tried once more. Otherwise the picture sent it astray.
    core::RuntimeError ended() {
        if (kept_ && !answered_)
            throw NoAnswer{};
        return corrupt(name_, format_);
    }

    void wait(short events) {
        for (;;) {
            const nanoseconds processorLeft = processorEnd_ - renderer_.processorTime();
            if (processorLeft <= nanoseconds::zero())
                throw tooLargeToDraw(name_, format_);
            // The backstop is for a renderer that sleeps or hangs; one that a busy machine kept
            // waiting for the processor is given that time on top, asked once the backstop is near.
            nanoseconds wallLeft = wallEnd_ - Clock::now();
            if (wallLeft <= nanoseconds::zero()) {
                wallLeft += renderer_.waitedForProcessor() - waitedAtStart_;
                if (wallLeft <= nanoseconds::zero())
                    throw rendererSilent();
            }
            const auto timeout =
                std::chrono::ceil<std::chrono::milliseconds>(std::min({processorLeft, wallLeft, nanoseconds(kLook)}));
            pollfd fd{renderer_.socket(), events, 0};
            if (::poll(&fd, 1, int(timeout.count())) > 0)
                return;
            // Nothing for a while. Stopped, it answers nothing until someone lets it go on, which
            // may be never: not for the window to wait for. Ended, it has said all it will, even
            // where a process it started still holds the socket open and so hides the end of its
            // output.
            const Renderer::State state = renderer_.state();
            if (state == Renderer::State::Ended)
                throw ended();
            if (state == Renderer::State::Stopped) {
                if (kept_)
                    throw NoAnswer{};
                throw rendererSilent();
            }
        }
    }

    Renderer& renderer_;
    const bool kept_;
    const Format format_;
    const QString& name_;
    const nanoseconds processorEnd_;
    const Clock::time_point wallEnd_;
    const nanoseconds waitedAtStart_;
    bool answered_ = false;
};

core::Picture renderWith(Renderer& renderer, bool kept, const QByteArray& data, Format format, const QString& name) {
    const rlimit memory{addressSpaceFor(std::uint64_t(data.size())), addressSpaceFor(std::uint64_t(kMaxBytes))};
    ::prlimit(renderer.pid(), RLIMIT_AS, &memory, nullptr);
    Exchange exchange(renderer, kept, format, name);
    exchange.send(requestHead(name, std::uint64_t(data.size())));
    exchange.send(data);
    return readRendered([&](char* into, qsizetype count) { exchange.receive(into, count); }, name, format);
}

PictureRenderer& currentRenderer() {
    static PictureRenderer renderer = &renderPicture;
    return renderer;
}

}  // namespace

void setPictureRenderer(PictureRenderer renderer) { currentRenderer() = renderer; }

core::Picture drawPicture(const QByteArray& data, Format format, const QString& name) {
    return currentRenderer()(data, format, name);
}

core::Picture renderPicture(const QByteArray& data, Format format, const QString& name) {
    // Waiting runs no event loop: the loader is called from handlers that block.
    const bool keeping = onApplicationThread();
    std::unique_ptr<Renderer> renderer = keeping ? std::move(keptRenderer()) : nullptr;
    if (renderer && renderer->state() != Renderer::State::Running)
        renderer.reset();
    for (bool kept = renderer != nullptr;; kept = false) {
        if (!renderer)
            renderer = launchRenderer();
        try {
            core::Picture picture = renderWith(*renderer, kept, data, format, name);
            if (keeping)
                keptRenderer() = std::move(renderer);
            return picture;
        } catch (const NoAnswer&) {
            renderer.reset();  // a fresh one, once
        } catch (...) {
            renderer.reset();
            throw;
        }
    }
}

}  // namespace pictures
