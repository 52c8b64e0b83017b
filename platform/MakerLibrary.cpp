#include "platform/MakerLibrary.h"

#include "controls/RuntimeError.h"
#include "platform/Executable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <map>
#include <mutex>

#include <dlfcn.h>

namespace platform {

namespace {

constexpr char kFunctionName[] = "LumoraHpURL";

// Longer than any sensible address; a library that hands back more (or forgets
// the terminating NUL) is reported instead of being read without end.
constexpr std::size_t kMaxAddressBytes = 8192;

using LumoraHpURLFunction = const char* (*)();

// Loaded libraries by full path. They are never unloaded: the text a library
// returned must stay valid, and loading once is what the caller expects.
std::map<QString, void*>& loadedLibraries() {
    static std::map<QString, void*> libraries;
    return libraries;
}

std::mutex& loaderMutex() {
    static std::mutex m;
    return m;
}

void* loadLibrary(const QString& path) {
    const QString fileName = QFileInfo(path).fileName();
    if (!QDir::isAbsolutePath(path))
        throw ctl::RuntimeError(ctl::err::kDllNotFound,
                                QStringLiteral("ファイル '%1' の場所が絶対パスで指定されていません。").arg(path));

    auto& libraries = loadedLibraries();
    if (const auto it = libraries.find(path); it != libraries.end())
        return it->second;

    if (!QFileInfo::exists(path))
        throw ctl::RuntimeError(ctl::err::kDllNotFound,
                                QStringLiteral("ファイル '%1' が見つかりません。").arg(fileName));

    // A full path never goes through the loader's search path, so no other copy
    // of the library can stand in for this one.
    dlerror();
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        throw ctl::RuntimeError(ctl::err::kDllNotFound,
                                QStringLiteral("ファイル '%1' を読み込めません。(%2)")
                                    .arg(fileName, reason ? QString::fromLocal8Bit(reason)
                                                          : QStringLiteral("理由不明")));
    }
    libraries.emplace(path, handle);
    return handle;
}

}  // namespace

QString makerLibraryFileName() { return QStringLiteral("libSorrel3Res.so"); }

QString callLumoraHpURL() {
    return callLumoraHpURL(executableDir() + QLatin1Char('/') + makerLibraryFileName());
}

QString callLumoraHpURL(const QString& libraryPath) {
    const std::lock_guard lock(loaderMutex());
    const QString fileName = QFileInfo(libraryPath).fileName();
    void* const handle = loadLibrary(QDir::cleanPath(libraryPath));

    dlerror();
    void* const symbol = dlsym(handle, kFunctionName);
    if (!symbol)
        throw ctl::RuntimeError(ctl::err::kDllEntryNotFound,
                                QStringLiteral("関数 '%1' がファイル '%2' に見つかりません。")
                                    .arg(QLatin1String(kFunctionName), fileName));

    const auto function = reinterpret_cast<LumoraHpURLFunction>(symbol);
    const char* const text = function();
    if (!text)
        throw ctl::RuntimeError(ctl::err::kInvalidProcedureCall,
                                QStringLiteral("関数 '%1' (ファイル '%2') がアドレスを返しませんでした。")
                                    .arg(QLatin1String(kFunctionName), fileName));

    const std::size_t length = strnlen(text, kMaxAddressBytes + 1);
    if (length > kMaxAddressBytes)
        throw ctl::RuntimeError(ctl::err::kInvalidProcedureCall,
                                QStringLiteral("関数 '%1' (ファイル '%2') の返したアドレスが長すぎます。")
                                    .arg(QLatin1String(kFunctionName), fileName));
    return QString::fromUtf8(text, static_cast<qsizetype>(length));
}

}  // namespace platform
