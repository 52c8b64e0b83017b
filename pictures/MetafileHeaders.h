// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What marks a Windows or an enhanced metafile, read the same way where a file's format is told
// from its content and where the renderer decodes it.

#include "pictures/PictureBytes.h"

#include <cstdint>

namespace pictures {

// A placeable Windows metafile starts with this key (little-endian) and a header of this size
// before the standard one.
inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr std::int64_t kPlaceableHeaderBytes = 22;

// The standard Windows metafile header at `at`: type 1 (in memory) or 2 (on disk), nine words
// long, version 1.0 or 3.0.
inline bool isStandardWmfHeader(const Bytes& b, std::int64_t at) {
    const auto type = b.u16(at), headerWords = b.u16(at + 2), version = b.u16(at + 4);
    return type && headerWords && version && (*type == 1 || *type == 2) && *headerWords == 9 &&
           (*version == 0x0100 || *version == 0x0300);
}

// An enhanced metafile starts with its header record, type 1, whose signature at byte 40 is " EMF".
inline constexpr std::uint32_t kEmrHeader = 1;
inline constexpr std::int64_t kEmfSignatureOffset = 40;
inline constexpr std::uint32_t kEmfSignature = 0x464D4520;

}  // namespace pictures
