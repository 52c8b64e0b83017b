// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The maker's resource library, loaded at run time from beside the executable.

#include <QByteArray>
#include <QString>

namespace platform {

// Asks the maker's library for the homepage address (its function LumoraHpURL).
// The library is loaded by its full path in the executable's folder on first
// use and stays loaded. Throws core::RuntimeError when the library is missing or
// cannot be loaded (err::kDllNotFound), lacks the function
// (err::kDllEntryNotFound) or gives no text back (err::kInvalidProcedureCall).
QString callLumoraHpURL();

// The same with the library at libraryPath (as the file system spells it), which must be an
// absolute path: a bare or relative name is refused rather than looked up anywhere. A file
// that is not a whole ELF file (a copy cut short) is refused like one that cannot be loaded.
QString callLumoraHpURL(const QByteArray& libraryPath);

}  // namespace platform
