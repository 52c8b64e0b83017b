// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/Modules.h"

#include "core/FileDescriptor.h"
#include "platform/ElfCheck.h"

#include <QFile>
#include <QLibrary>

#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

ModuleFunction moduleFunction(const QByteArray& path, const char* name) {
    using Failure = ModuleFunction::Failure;
    static std::mutex mutex;
    static std::map<QByteArray, std::unique_ptr<QLibrary>> loaded;
    const std::lock_guard lock(mutex);

    auto it = loaded.find(path);
    if (it == loaded.end()) {
        // Opened by its bytes and loaded through the open file, so a folder whose name is no
        // valid text is no obstacle, and what was checked is what is loaded. Without blocking:
        // a FIFO in the module's place would hold the window for good. Only a regular file can
        // be a module; anything else counts as a missing one.
        core::FileDescriptor fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
        struct stat st {};
        if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
            return {nullptr, Failure::NotFound, {}};
        const QString opened = QStringLiteral("/proc/self/fd/%1").arg(fd.get());
        auto library = std::make_unique<QLibrary>(opened);
        library->setLoadHints(QLibrary::ResolveAllSymbolsHint);  // a library missing a symbol fails here, not later
        const bool whole = isWholeElfFile(opened.toLatin1());
        if (!whole || !library->load()) {
            // The loader's words name the open file; the user knows the library by its path.
            const QString reason = whole ? library->errorString().replace(opened, QFile::decodeName(path)) : QString();
            return {nullptr, whole ? Failure::NotLoaded : Failure::NotWhole, reason};
        }
        // The descriptor stays open with its library: Qt knows a library by its name, and
        // a number given back could name another library later.
        fd.release();
        it = loaded.emplace(path, std::move(library)).first;
    }
    const QFunctionPointer function = it->second->resolve(name);
    return {function, function ? Failure::None : Failure::NoFunction, {}};
}

}  // namespace platform
