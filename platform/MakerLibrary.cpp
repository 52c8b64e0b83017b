#include "platform/MakerLibrary.h"

#include "controls/RuntimeError.h"
#include "platform/ElfCheck.h"
#include "platform/Executable.h"

#include <QFile>

#include <cstring>
#include <map>
#include <mutex>

#include <dlfcn.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kFunctionName[] = "LumoraHpURL";
constexpr char kLibraryFileName[] = "libSorrel3Res.so";

// Longer than any sensible address; a library that hands back more (or forgets
// the terminating NUL) is reported instead of being read without end.
constexpr std::size_t kMaxAddressBytes = 8192;

using LumoraHpURLFunction = const char* (*)();

QString fileNameOf(const QByteArray& path) { return QFile::decodeName(path.mid(path.lastIndexOf('/') + 1)); }

// Loaded libraries by full path. They are never unloaded: the text a library
// returned must stay valid, and loading once is what the caller expects.
std::map<QByteArray, void*>& loadedLibraries() {
    static std::map<QByteArray, void*> libraries;
    return libraries;
}

std::mutex& loaderMutex() {
    static std::mutex m;
    return m;
}

void* loadLibrary(const QByteArray& path) {
    const QString fileName = fileNameOf(path);
    if (!path.startsWith('/'))
        throw ctl::RuntimeError(ctl::err::kDllNotFound,
                                QStringLiteral("ファイル '%1' の場所が絶対パスで指定されていません。")
                                    .arg(QFile::decodeName(path)));

    auto& libraries = loadedLibraries();
    if (const auto it = libraries.find(path); it != libraries.end())
        return it->second;

    if (::access(path.constData(), F_OK) != 0)
        throw ctl::RuntimeError(ctl::err::kDllNotFound,
                                QStringLiteral("ファイル '%1' が見つかりません。").arg(fileName));
    // A copy cut short would be mapped all the same, and the first touch past its end kills
    // the program: it counts as a library that cannot be loaded.
    if (!isWholeElfFile(path))
        throw ctl::RuntimeError(ctl::err::kDllNotFound,
                                QStringLiteral("ファイル '%1' を読み込めません。(ライブラリが壊れているか、途中で切れています。)")
                                    .arg(fileName));

    // A full path never goes through the loader's search path, so no other copy
    // of the library can stand in for this one.
    dlerror();
    void* handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
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

QString makerLibraryFileName() { return QString::fromLatin1(kLibraryFileName); }

QString callLumoraHpURL() {
    return callLumoraHpURL(besideExecutable(kLibraryFileName));
}

QString callLumoraHpURL(const QByteArray& libraryPath) {
    const std::lock_guard lock(loaderMutex());
    const QString fileName = fileNameOf(libraryPath);
    void* const handle = loadLibrary(libraryPath);

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
