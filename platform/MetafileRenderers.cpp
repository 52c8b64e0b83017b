#include "platform/MetafileRenderers.h"

#include "controls/RuntimeError.h"
#include "platform/ElfCheck.h"
#include "platform/Executable.h"

#include <QFile>

#include <dlfcn.h>

#ifdef TARVOLA_METAFILES_BUILT_IN
#include "platform/MetafileEmf.h"
#include "platform/MetafileWmf.h"
#endif

namespace platform::pictures {

const MetafileRenderers& metafileRenderers() {
#ifdef TARVOLA_METAFILES_BUILT_IN
    // Fuzz builds link the renderers in, so the fuzzer sees their branches.
    static const MetafileRenderers builtIn{&renderWmf, &renderEmf};
    return builtIn;
#else
    static const MetafileRenderers* renderers = nullptr;
    if (renderers)
        return *renderers;
    // Only the module beside the program is loaded, by its full path: no search path is used.
    // A copy cut short would be mapped all the same and kill the program when touched.
    const QByteArray path = besideExecutable(kMetafileModule);
    void* module = isWholeElfFile(path) ? dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (!module)
        throw ctl::RuntimeError(ctl::err::kDllNotFound,
                                QStringLiteral("メタファイルを読むためのファイル '%1' を読み込めません。(%2)")
                                    .arg(QLatin1String(kMetafileModule), QString::fromLocal8Bit(dlerror())));
    const auto entry = reinterpret_cast<MetafileEntry>(dlsym(module, kMetafileEntry));
    if (!entry || !entry())
        throw ctl::RuntimeError(ctl::err::kDllEntryNotFound,
                                QStringLiteral("ファイル '%1' にメタファイルの読み込み口がありません。")
                                    .arg(QLatin1String(kMetafileModule)));
    renderers = entry();  // the module stays loaded for the rest of the run
    return *renderers;
#endif
}

}  // namespace platform::pictures
