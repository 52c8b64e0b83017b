#pragma once
// The program's own folder and name, as the window caption, the settings file
// and the version dialog use them.

#include <QString>

namespace platform {

// The folder that holds the executable, without a trailing separator (except "/").
QString executableDir();

// The executable's file name without its folder and without its extension.
QString executableName();

// For tests: the name without extension of a file name ("runbus.exe" → "runbus", "tarvola" → "tarvola").
QString nameWithoutExtension(const QString& fileName);

}  // namespace platform
