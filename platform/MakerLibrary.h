#pragma once
// The maker's resource library, loaded at run time from beside the executable.

#include <QString>

namespace platform {

// The file name of the maker's library in the executable's folder.
QString makerLibraryFileName();

// Asks the maker's library for the homepage address (its function LumoraHpURL).
// The library is loaded by its full path in the executable's folder on first
// use and stays loaded. Throws ctl::RuntimeError when the library is missing or
// cannot be loaded (err::kDllNotFound), lacks the function
// (err::kDllEntryNotFound) or gives no text back (err::kInvalidProcedureCall).
QString callLumoraHpURL();

// The same with the library at libraryPath, which must be an absolute path: a
// bare or relative name is refused rather than looked up anywhere.
QString callLumoraHpURL(const QString& libraryPath);

}  // namespace platform
