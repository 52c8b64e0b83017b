#include "platform/MetafileRenderers.h"

#include "platform/PictureLimits.h"

#ifdef TARVOLA_METAFILES_BUILT_IN
#include "platform/MetafileEmf.h"
#include "platform/MetafileWmf.h"
#else
#include "controls/RuntimeError.h"
#include "platform/ElfCheck.h"
#include "platform/Executable.h"
#include "platform/MetafileWire.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace platform::pictures {

#ifdef TARVOLA_METAFILES_BUILT_IN

// Fuzz builds draw in the process itself, so the fuzzer sees the renderers' branches.
ctl::Picture renderMetafile(const QByteArray& data, Format format, const QString& name) {
    return format == Format::Wmf ? renderWmf(data, name) : renderEmf(data, name);
}

#else

namespace {

// The renderer's own needs in address space (Qt, the parsers' libraries, the font cache),
// beyond a picture's budget and the input it keeps two copies of.
constexpr rlim_t kRendererOwnBytes = 512ULL * 1024 * 1024;
// Should the parent be stopped and never kill it, the processor time limit ends it.
constexpr rlim_t kRendererCpuSeconds = 4;

ctl::RuntimeError rendererMissing(const QString& reason) {
    return ctl::RuntimeError(ctl::err::kDllNotFound,
                             QStringLiteral("メタファイルを読むためのファイル '%1' を読み込めません。(%2)")
                                 .arg(QLatin1String(kRendererProgram), reason));
}

// Owns the descriptor the renderer program is started through.
struct ProgramFd {
    int fd;
    ~ProgramFd() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

ctl::Picture renderMetafile(const QByteArray& data, Format format, const QString& name) {
    // Only the program beside this one, by its full path. QProcess takes a path as text, which
    // cannot spell a folder whose name is not UTF-8: the program is opened here by its bytes
    // and started through the descriptor.
    const QByteArray path = besideExecutable(kRendererProgram);
    const ProgramFd program{::open(path.constData(), O_PATH | O_CLOEXEC)};
    if (program.fd < 0)
        throw rendererMissing(QString::fromLocal8Bit(std::strerror(errno)));
    if (!isWholeElfFile(path))
        throw rendererMissing(QStringLiteral("プログラムが壊れているか、途中で切れています。"));

    const rlim_t addressSpace = kRendererOwnBytes + rlim_t(kMaxBytes) + 2 * rlim_t(data.size());
    QProcess renderer;
    renderer.setProgram(QStringLiteral("/proc/self/fd/%1").arg(program.fd));
    renderer.setArguments({name});
    renderer.setStandardErrorFile(QProcess::nullDevice());
    renderer.setChildProcessModifier([addressSpace] {
        const rlimit memory{addressSpace, addressSpace};
        const rlimit cpu{kRendererCpuSeconds, kRendererCpuSeconds};
        ::setrlimit(RLIMIT_AS, &memory);
        ::setrlimit(RLIMIT_CPU, &cpu);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });

    // Waiting runs no event loop: the loader is called from handlers and the start-up thread.
    const QDeadlineTimer deadline(kRenderTime);
    const auto remaining = [&] { return static_cast<int>(deadline.remainingTime()); };
    renderer.start();
    if (!renderer.waitForStarted(remaining()))
        throw rendererMissing(renderer.errorString());
    renderer.write(data);
    renderer.closeWriteChannel();
    if (!renderer.waitForFinished(remaining())) {
        renderer.kill();
        renderer.waitForFinished(-1);
        throw tooLargeToDraw(name, format);
    }
    if (renderer.exitStatus() != QProcess::NormalExit || renderer.exitCode() != 0)
        throw corrupt(name, format);
    return decodeRendered(renderer.readAllStandardOutput(), name, format);
}

#endif

}  // namespace platform::pictures
