#include "pictures/MetafileRenderers.h"

#include "core/FileDescriptor.h"
#include "core/RuntimeError.h"
#include "pictures/MetafileWire.h"
#include "pictures/PictureLimits.h"
#include "platform/ElfCheck.h"
#include "platform/Executable.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QProcess>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <memory>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace pictures {


namespace {

// The renderer's own needs in address space (Qt, the parsers' libraries, the font cache),
// beyond a picture's budget and the input it keeps two copies of.
constexpr rlim_t kRendererOwnBytes = 512ULL * 1024 * 1024;
rlim_t addressSpaceFor(std::uint64_t inputBytes) { return kRendererOwnBytes + rlim_t(kMaxBytes) + 2 * inputBytes; }

core::RuntimeError rendererMissing(const QString& reason) {
    return core::RuntimeError(core::err::kDllNotFound,
                             QStringLiteral("メタファイルを読むためのファイル '%1' を読み込めません。(%2)")
                                 .arg(QLatin1String(kRendererProgram), reason));
}

std::unique_ptr<QProcess> launchRenderer(const QDeadlineTimer& deadline) {
    // Only the program beside this one, by its full path. QProcess takes a path as text, which
    // cannot spell a folder whose name is not UTF-8: the program is opened here by its bytes
    // and started through the descriptor.
    const QByteArray path = platform::besideExecutable(kRendererProgram);
    const core::FileDescriptor program(::open(path.constData(), O_PATH | O_CLOEXEC));
    if (!program.valid())
        throw rendererMissing(QString::fromLocal8Bit(std::strerror(errno)));
    if (!platform::isWholeElfFile(path))
        throw rendererMissing(QStringLiteral("プログラムが壊れているか、途中で切れています。"));

    auto renderer = std::make_unique<QProcess>();
    renderer->setProgram(QStringLiteral("/proc/self/fd/%1").arg(program.get()));
    renderer->setStandardErrorFile(QProcess::nullDevice());
    renderer->setChildProcessModifier([] {
        // The largest input's limit; each metafile lowers it to what its size needs.
        const rlim_t most = addressSpaceFor(std::uint64_t(kMaxBytes));
        const rlimit memory{most, most};
        ::setrlimit(RLIMIT_AS, &memory);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    renderer->start();
    if (!renderer->waitForStarted(std::max(1, int(deadline.remainingTime()))))
        throw rendererMissing(renderer->errorString());
    return renderer;
}

// Starting a renderer costs as much as drawing a small metafile several times over, so the
// one that drew the last picture well is kept for the next, as a child of the application
// object (which ends it). One that failed in any way is never used again: a file that sent
// the parsers astray must not leave its traces in the next picture.
QPointer<QProcess>& keptRenderer() {
    static QPointer<QProcess> kept;
    return kept;
}

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && app->thread() == QThread::currentThread();
}

std::unique_ptr<QProcess> renderer(const QDeadlineTimer& deadline) {
    QPointer<QProcess>& kept = keptRenderer();
    if (onApplicationThread() && kept) {
        std::unique_ptr<QProcess> process(kept.data());
        kept.clear();
        process->setParent(nullptr);
        if (process->state() == QProcess::Running)
            return process;
    }
    return launchRenderer(deadline);
}

void keep(std::unique_ptr<QProcess> process) {
    if (!onApplicationThread())
        return;
    process->setParent(QCoreApplication::instance());
    keptRenderer() = process.release();  // owned by the application object from here
}

template <typename T>
void put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// Waits until `count` bytes of the answer are there; false when the renderer ended or the
// time is up first.
bool waitForAnswer(QProcess& renderer, qint64 count, const QDeadlineTimer& deadline) {
    while (renderer.bytesAvailable() < count)
        if (!renderer.waitForReadyRead(int(deadline.remainingTime())))
            return renderer.bytesAvailable() >= count;
    return true;
}

MetafileRenderer& currentRenderer() {
    static MetafileRenderer renderer = &renderMetafile;
    return renderer;
}

}  // namespace

void setMetafileRenderer(MetafileRenderer renderer) { currentRenderer() = renderer; }

core::Picture drawMetafile(const QByteArray& data, Format format, const QString& name) {
    return currentRenderer()(data, format, name);
}

core::Picture renderMetafile(const QByteArray& data, Format format, const QString& name) {
    // Waiting runs no event loop: the loader is called from handlers that block.
    const QDeadlineTimer deadline(kRenderTime);
    std::unique_ptr<QProcess> process = renderer(deadline);
    const rlim_t addressSpace = addressSpaceFor(std::uint64_t(data.size()));
    const rlimit memory{addressSpace, addressSpaceFor(std::uint64_t(kMaxBytes))};
    if (const qint64 pid = process->processId(); pid > 0)  // 0 would be this process itself
        ::prlimit(pid_t(pid), RLIMIT_AS, &memory, nullptr);

    QByteArray request;
    const QByteArray shownName = name.toUtf8();
    put<std::uint32_t>(request, std::uint32_t(shownName.size()));
    request += shownName;
    put<std::uint64_t>(request, std::uint64_t(data.size()));
    process->write(request);
    process->write(data);

    const auto end = [&] {
        process->kill();
        process->waitForFinished(-1);
    };
    const auto failed = [&] {
        const bool ended = process->state() != QProcess::Running;
        end();
        return ended ? corrupt(name, format) : tooLargeToDraw(name, format);
    };
    constexpr qint64 kLengthBytes = sizeof(std::uint64_t);
    if (!waitForAnswer(*process, kLengthBytes, deadline))
        throw failed();
    std::uint64_t length = 0;
    process->read(reinterpret_cast<char*>(&length), kLengthBytes);
    length = qFromLittleEndian(length);
    // Two images within the limits and their headers at most.
    if (length > std::uint64_t(2 * kMaxBytes + 64)) {
        end();
        throw corrupt(name, format);
    }
    if (!waitForAnswer(*process, qint64(length), deadline))
        throw failed();
    const QByteArray answer = process->read(qint64(length));
    try {
        core::Picture picture = decodeRendered(answer, name, format);
        keep(std::move(process));
        return picture;
    } catch (const core::RuntimeError&) {
        end();
        throw;
    }
}

}  // namespace pictures
