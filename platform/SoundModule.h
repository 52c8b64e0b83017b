// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Audio output lives in a module of its own beside the program (libtarvola_sound.so),
// loaded on the first sound: the audio libraries then cost nothing at start-up.

#include <QByteArrayView>
#include <chrono>

namespace platform {

inline constexpr const char* kSoundModule = "libtarvola_sound.so";
inline constexpr const char* kSoundEntry = "tarvola_play_wave";
// deadline: nanoseconds of std::chrono::steady_clock (CLOCK_MONOTONIC).
using SoundEntry = bool (*)(const char* data, long long size, long long deadline);

// Inside the module: plays through ALSA's default device, to the end; once the deadline has
// passed it hands the output nothing more (what the output has taken may still play out).
bool playWaveThroughAlsa(QByteArrayView riff, std::chrono::steady_clock::time_point deadline);

}  // namespace platform
