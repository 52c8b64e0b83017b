// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Any byte string through the RIFF WAVE parser: it must refuse or accept, never read
// outside the input. Every sample of an accepted image is read, so that a view reaching
// past the end shows up under the address sanitizer.

#include "platform/Wave.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    const std::optional<platform::WaveView> wave = platform::parseWave(bytes);
    if (!wave)
        return 0;
    const auto* const begin = reinterpret_cast<const std::byte*>(data);
    if (wave->samples.data() < begin || wave->samples.data() + wave->samples.size() > begin + size)
        std::abort();
    if (wave->format.blockAlign == 0 || wave->samples.size() % wave->format.blockAlign != 0)
        std::abort();
    unsigned sum = 0;
    for (const std::byte b : wave->samples)
        sum += std::to_integer<unsigned>(b);
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
