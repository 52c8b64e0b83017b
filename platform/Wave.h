// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Reading an in-memory RIFF WAVE image: the format and where the samples lie.
// Only what the player can hand to the sound card unchanged is accepted (PCM, 8 or
// 16 bits, mono or stereo); anything inconsistent is refused without reading past the end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace platform {

struct WaveFormat {
    std::uint16_t formatTag = 0;  // 1: PCM
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;  // frames per second
    std::uint32_t byteRate = 0;    // bytes per second
    std::uint16_t blockAlign = 0;  // bytes per frame
    std::uint16_t bitsPerSample = 0;
};

struct WaveView {
    WaveFormat format;
    std::span<const std::byte> samples;  // the "data" chunk's contents, inside the parsed bytes

    std::size_t frameCount() const { return samples.size() / format.blockAlign; }
};

enum class WaveError {
    None,
    TooShort,     // not even a RIFF header
    NotRiff,      // no "RIFF" tag
    NotWave,      // the form type is not "WAVE"
    BadRiffSize,  // the RIFF size claims more bytes than there are, or too few for "WAVE"
    ChunkHeaderTruncated,
    ChunkBeyondEnd,  // a chunk's size runs past the end of the form
    DuplicateChunk,  // a second "fmt " or "data"
    MissingFormat,
    FormatTooShort,  // "fmt " shorter than the 16 bytes of a PCM format
    NotPcm,
    BadChannels,
    BadSampleRate,
    BadBitsPerSample,
    BadBlockAlign,
    BadByteRate,
    MissingData,
    PartialFrame,  // the sample bytes do not make whole frames
};

// Parses `bytes`; on failure returns nothing and, when `error` is given, says why.
std::optional<WaveView> parseWave(std::span<const std::byte> bytes, WaveError* error = nullptr);

}  // namespace platform
