// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Libraries loaded at run time by their full path: the maker's library and the sound output
// beside the program. No search path is used, so no other copy can stand in for the one
// meant; a file that is not a whole ELF file (a copy cut short, which would kill the program
// when touched) counts as one that cannot be loaded. A library once loaded stays loaded for
// the rest of the run: what it handed back must stay valid. A failed load is tried again at
// the next call.

#include <QByteArray>
#include <QFunctionPointer>
#include <QString>

namespace platform {

struct ModuleFunction {
    enum class Failure { None, NotFound, NotWhole, NotLoaded, NoFunction };
    QFunctionPointer function = nullptr;
    Failure failure = Failure::None;
    QString reason;  // the system's words, when it gave any
};

// The function `name` of the library at path (absolute, as the file system spells it).
ModuleFunction moduleFunction(const QByteArray& path, const char* name);

}  // namespace platform
