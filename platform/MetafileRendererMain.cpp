// tarvola-metafile: draws one Windows or enhanced metafile for the program beside it.
// The metafile's bytes come on standard input, the name to show in descriptions as the one
// argument; the picture or the renderer's error goes to standard output (MetafileWire.h).
// The parsers are C libraries that a hostile file can send into endless work or a crash:
// running them here, under the limits the parent sets, costs a refused picture at worst.

#include "platform/MetafileEmf.h"
#include "platform/MetafileWire.h"
#include "platform/MetafileWmf.h"
#include "platform/PictureFormat.h"
#include "platform/PictureLimits.h"

#include <QGuiApplication>

#include <cerrno>
#include <new>
#include <optional>
#include <unistd.h>

namespace {

using namespace platform::pictures;

QByteArray readInput() {
    QByteArray data;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || data.size() + n > kMaxBytes)
            return data;
        data.append(buffer, n);
    }
}

bool writeOutput(const QByteArray& bytes) {
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + at, static_cast<size_t>(bytes.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const QString name = argc > 1 ? QString::fromUtf8(argv[1]) : QString();
    const QByteArray data = readInput();
    const Format format = detectFormat(data);

    // Qt SVG draws text through the font database, which needs a GUI application; no display
    // is wanted, and the name argument is not offered to Qt as options.
    std::optional<QGuiApplication> app;
    int qtArgc = 1;
    if (format == Format::Emf) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app.emplace(qtArgc, argv);
    }

    QByteArray output;
    try {
        switch (format) {
        case Format::Wmf: output = encodeRendered(renderWmf(data, name)); break;
        case Format::Emf: output = encodeRendered(renderEmf(data, name)); break;
        default: throw unknownFormat(name);
        }
    } catch (const ctl::RuntimeError& e) {
        output = encodeRenderError(e);
    } catch (const std::bad_alloc&) {
        output = encodeRenderError(tooLargeToDraw(name, format));
    }
    return writeOutput(output) ? 0 : 1;
}
