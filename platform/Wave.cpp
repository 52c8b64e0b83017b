// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/Wave.h"

#include <cstring>

namespace platform {

namespace {

constexpr std::size_t kRiffHeader = 12;  // "RIFF", size, "WAVE"
constexpr std::size_t kChunkHeader = 8;  // tag, size
constexpr std::size_t kPcmFormatSize = 16;

std::uint16_t le16(const std::byte* p) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) | std::to_integer<unsigned>(p[1]) << 8);
}

std::uint32_t le32(const std::byte* p) {
    return static_cast<std::uint32_t>(le16(p)) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}

bool hasTag(const std::byte* p, const char (&tag)[5]) { return std::memcmp(p, tag, 4) == 0; }

WaveError checkFormat(const WaveFormat& f) {
    if (f.formatTag != 1)
        return WaveError::NotPcm;
    if (f.channels < 1 || f.channels > 2)
        return WaveError::BadChannels;
    if (f.sampleRate < 8000 || f.sampleRate > 192000)
        return WaveError::BadSampleRate;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16)
        return WaveError::BadBitsPerSample;
    if (f.blockAlign != f.channels * (f.bitsPerSample / 8))
        return WaveError::BadBlockAlign;
    if (f.byteRate != f.sampleRate * f.blockAlign)
        return WaveError::BadByteRate;
    return WaveError::None;
}

std::optional<WaveView> parse(std::span<const std::byte> bytes, WaveError& error) {
    if (bytes.size() < kRiffHeader)
        return error = WaveError::TooShort, std::nullopt;
    if (!hasTag(bytes.data(), "RIFF"))
        return error = WaveError::NotRiff, std::nullopt;
    if (!hasTag(bytes.data() + 8, "WAVE"))
        return error = WaveError::NotWave, std::nullopt;
    // 64-bit sums throughout: no size field can wrap an offset around.
    const std::uint64_t riffEnd = std::uint64_t{8} + le32(bytes.data() + 4);
    if (riffEnd < kRiffHeader || riffEnd > bytes.size())
        return error = WaveError::BadRiffSize, std::nullopt;

    std::optional<WaveFormat> format;
    std::optional<std::span<const std::byte>> data;
    std::uint64_t at = kRiffHeader;
    while (at < riffEnd) {
        if (riffEnd - at < kChunkHeader)
            return error = WaveError::ChunkHeaderTruncated, std::nullopt;
        const std::byte* header = bytes.data() + at;
        const std::uint64_t size = le32(header + 4);
        const std::uint64_t body = at + kChunkHeader;
        if (size > riffEnd - body)
            return error = WaveError::ChunkBeyondEnd, std::nullopt;
        const std::span<const std::byte> contents = bytes.subspan(body, size);

        if (hasTag(header, "fmt ")) {
            if (format)
                return error = WaveError::DuplicateChunk, std::nullopt;
            if (size < kPcmFormatSize)
                return error = WaveError::FormatTooShort, std::nullopt;
            const std::byte* p = contents.data();
            format = WaveFormat{le16(p), le16(p + 2), le32(p + 4), le32(p + 8), le16(p + 12), le16(p + 14)};
        } else if (hasTag(header, "data")) {
            if (data)
                return error = WaveError::DuplicateChunk, std::nullopt;
            data = contents;
        }
        // Chunks start on even offsets. Writers often leave out the pad byte of an odd
        // last chunk; the form then simply ends there.
        at = body + size + (size & 1);
    }

    if (!format)
        return error = WaveError::MissingFormat, std::nullopt;
    if (const WaveError bad = checkFormat(*format); bad != WaveError::None)
        return error = bad, std::nullopt;
    if (!data)
        return error = WaveError::MissingData, std::nullopt;
    if (data->size() % format->blockAlign != 0)
        return error = WaveError::PartialFrame, std::nullopt;
    error = WaveError::None;
    return WaveView{*format, *data};
}

}  // namespace

std::optional<WaveView> parseWave(std::span<const std::byte> bytes, WaveError* error) {
    WaveError why = WaveError::None;
    std::optional<WaveView> wave = parse(bytes, why);
    if (error)
        *error = why;
    return wave;
}

}  // namespace platform
