// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/MakerLibrary.h"

#include "core/PathParts.h"
#include "core/RuntimeError.h"
#include "platform/Executable.h"
#include "platform/Modules.h"

#include <QFile>

#include <cstring>

namespace platform {

namespace {

constexpr char kFunctionName[] = "LumoraHpURL";
constexpr char kLibraryFileName[] = "libSorrel3Res.so";

// Longer than any sensible address; a library that hands back more (or forgets
// the terminating NUL) is reported instead of being read without end.
constexpr std::size_t kMaxAddressBytes = 8192;

using LumoraHpURLFunction = const char* (*)();

QString shownFileName(const QByteArray& path) { return QFile::decodeName(core::fileNameOf(path)); }

// The library, or the error the caller reports: not found, or not loadable with the reason.
QFunctionPointer lumoraHpURL(const QByteArray& path) {
    const QString fileName = shownFileName(path);
    if (!path.startsWith('/'))
        throw core::RuntimeError(
            core::err::kDllNotFound,
            QStringLiteral("ファイル '%1' の場所が絶対パスで指定されていません。").arg(QFile::decodeName(path)));
    const ModuleFunction f = moduleFunction(path, kFunctionName);
    using Failure = ModuleFunction::Failure;
    switch (f.failure) {
    case Failure::None:
        return f.function;
    case Failure::NotFound:
        throw core::RuntimeError(core::err::kDllNotFound,
                                 QStringLiteral("ファイル '%1' が見つかりません。").arg(fileName));
    case Failure::NotWhole:
        throw core::RuntimeError(
            core::err::kDllNotFound,
            QStringLiteral("ファイル '%1' を読み込めません。(ライブラリが壊れているか、途中で切れています。)")
                .arg(fileName));
    case Failure::NotLoaded:
        throw core::RuntimeError(core::err::kDllNotFound,
                                 QStringLiteral("ファイル '%1' を読み込めません。(%2)").arg(fileName, f.reason));
    case Failure::NoFunction:
        break;
    }
    throw core::RuntimeError(
        core::err::kDllEntryNotFound,
        QStringLiteral("関数 '%1' がファイル '%2' に見つかりません。").arg(QLatin1String(kFunctionName), fileName));
}

}  // namespace

QString callLumoraHpURL() { return callLumoraHpURL(besideExecutable(kLibraryFileName)); }

QString callLumoraHpURL(const QByteArray& libraryPath) {
    const QString fileName = shownFileName(libraryPath);
    const auto function = reinterpret_cast<LumoraHpURLFunction>(lumoraHpURL(libraryPath));
    const char* const text = function();
    if (!text)
        throw core::RuntimeError(core::err::kInvalidProcedureCall,
                                 QStringLiteral("関数 '%1' (ファイル '%2') がアドレスを返しませんでした。")
                                     .arg(QLatin1String(kFunctionName), fileName));

    const std::size_t length = strnlen(text, kMaxAddressBytes + 1);
    if (length > kMaxAddressBytes)
        throw core::RuntimeError(core::err::kInvalidProcedureCall,
                                 QStringLiteral("関数 '%1' (ファイル '%2') の返したアドレスが長すぎます。")
                                     .arg(QLatin1String(kFunctionName), fileName));
    return QString::fromUtf8(text, static_cast<qsizetype>(length));
}

}  // namespace platform
