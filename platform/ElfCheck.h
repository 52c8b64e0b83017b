// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A module beside the program may be a half-finished copy. The dynamic loader maps its
// segments without comparing them with the file's length, and the first touch of a page
// past the end kills the program with SIGBUS: so a module is looked at before it is loaded.

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace platform {

// True when head (the file's first bytes, at least its ELF header and program headers)
// describes an ELF file of this machine's class and byte order whose program headers, and
// the file ranges of the segments they describe, all lie within fileSize bytes.
bool elfFitsWithin(QByteArrayView head, std::uint64_t fileSize);

// The same for the file at path (as the file system spells it); false when it cannot be read.
bool isWholeElfFile(const QByteArray& path);

}  // namespace platform
