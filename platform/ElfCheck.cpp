// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/ElfCheck.h"

#include "core/FileDescriptor.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The ELF types of this build's class (ElfW from <link.h>): a module of another class could
// not be loaded anyway.
using Ehdr = ElfW(Ehdr);
using Phdr = ElfW(Phdr);

constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kData = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// Program headers further in than this are not a module the build made.
constexpr std::uint64_t kMaxHeadBytes = 64 * 1024;

bool within(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
    return offset <= size && count <= size - offset;
}

}  // namespace

bool elfFitsWithin(QByteArrayView head, std::uint64_t fileSize) {
    Ehdr eh{};
    if (head.size() < qsizetype(sizeof eh))
        return false;
    std::memcpy(&eh, head.data(), sizeof eh);
    if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != kClass ||
        eh.e_ident[EI_DATA] != kData || eh.e_phentsize != sizeof(Phdr) || eh.e_phnum == 0)
        return false;
    const std::uint64_t tableBytes = std::uint64_t{eh.e_phnum} * sizeof(Phdr);
    if (!within(eh.e_phoff, tableBytes, fileSize) || !within(eh.e_phoff, tableBytes, std::uint64_t(head.size())))
        return false;
    for (std::uint16_t i = 0; i < eh.e_phnum; ++i) {
        Phdr ph{};
        std::memcpy(&ph, head.data() + eh.e_phoff + i * sizeof(Phdr), sizeof ph);
        if (!within(ph.p_offset, ph.p_filesz, fileSize))
            return false;
    }
    return true;
}

bool isWholeElfFile(const QByteArray& path) {
    const core::FileDescriptor fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    QByteArray head(qsizetype(std::min<std::uint64_t>(std::uint64_t(st.st_size), kMaxHeadBytes)), Qt::Uninitialized);
    const long long n = core::readUpTo(fd.get(), head.data(), std::size_t(head.size()));
    head.truncate(n < 0 ? 0 : qsizetype(n));
    return !head.isEmpty() && elfFitsWithin(head, std::uint64_t(st.st_size));
}

}  // namespace platform
