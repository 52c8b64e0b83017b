// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// tarvola-metafile: reads every picture for the program beside it, one after another: draws
// Windows and enhanced metafiles and decodes bitmaps, GIF, JPEG and PNG. Each request on
// standard input is the name to show in descriptions (32-bit little-endian length, UTF-8) and
// the picture file's bytes (64-bit length, bytes); each answer on standard output is the
// picture or the renderer's error (RendererWire.h). The end of the input ends the program.
// The parsers and decoders are C libraries that a hostile file can send into endless work or a
// crash (a progressive JPEG of thousands of scans keeps libjpeg busy for minutes): running them
// here, under the limits the parent sets, costs a refused picture at worst.

#include "core/FileDescriptor.h"
#include "pictures/renderer/Decoders.h"
#include "pictures/RendererWire.h"
#include "pictures/PictureFormat.h"
#include "pictures/PictureLimits.h"

#include <QGuiApplication>
#include <QtEndian>

#include <algorithm>
#include <new>
#include <optional>
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace pictures;

// Processor time for one picture. The parent's count of this program's processor time is the
// limit that counts; this one ends the work should the parent be stopped and unable to.
constexpr rlim_t kCpuSecondsEach = 4;

void limitProcessorTime() {
    rusage used{};
    ::getrusage(RUSAGE_SELF, &used);
    const rlim_t spent = rlim_t(used.ru_utime.tv_sec + used.ru_stime.tv_sec) + 1;
    rlimit cpu{};
    if (::getrlimit(RLIMIT_CPU, &cpu) != 0)
        return;
    cpu.rlim_cur = std::min(spent + kCpuSecondsEach, cpu.rlim_max);
    ::setrlimit(RLIMIT_CPU, &cpu);
}

bool readExactly(char* into, std::uint64_t count) {
    return core::readUpTo(STDIN_FILENO, into, count) == static_cast<long long>(count);
}

template <typename T>
std::optional<T> readNumber() {
    char bytes[sizeof(T)];
    if (!readExactly(bytes, sizeof bytes))
        return std::nullopt;
    return qFromLittleEndian<T>(bytes);
}

bool toOutput(QByteArrayView bytes) { return core::writeAll(STDOUT_FILENO, bytes); }

bool render(const QByteArray& data, const QString& name, char** argv) {
    const Format format = detectFormat(data);
    try {
        if (format == Format::Emf) {
            // Qt SVG draws text through the font database, which needs a GUI application; no
            // display is wanted, and only the program's own name goes to Qt as its arguments.
            static int qtArgc = 1;
            static std::optional<QGuiApplication> app;
            if (!app) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
                app.emplace(qtArgc, argv);
            }
        }
        const core::Picture picture = renderPictureHere(data, format, name);
        return writeRendered(picture, toOutput);
    } catch (const core::RuntimeError& e) {
        return writeRenderError(e, toOutput);
    } catch (const std::bad_alloc&) {
        return writeRenderError(tooLargeToDraw(name, format), toOutput);
    }
}

}  // namespace

int main(int, char** argv) {
    // Ends with the program that started it, which reads its answers.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    for (;;) {
        const auto nameBytes = readNumber<std::uint32_t>();
        if (!nameBytes || *nameBytes > 64 * 1024)
            return 0;
        QByteArray name(qsizetype(*nameBytes), Qt::Uninitialized);
        const auto dataBytes = readExactly(name.data(), *nameBytes) ? readNumber<std::uint64_t>() : std::nullopt;
        if (!dataBytes || *dataBytes > std::uint64_t(kMaxBytes))
            return 0;
        QByteArray data(qsizetype(*dataBytes), Qt::Uninitialized);
        if (!readExactly(data.data(), *dataBytes))
            return 0;
        limitProcessorTime();
        if (!render(data, QString::fromUtf8(name), argv))
            return 1;
    }
}
