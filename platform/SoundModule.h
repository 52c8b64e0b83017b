#pragma once
// Audio output lives in a module of its own beside the program (libtarvola_sound.so),
// loaded on the first sound: the audio libraries then cost nothing at start-up.

#include <QByteArrayView>

namespace platform {

inline constexpr const char* kSoundModule = "libtarvola_sound.so";
inline constexpr const char* kSoundEntry = "tarvola_play_wave";
using SoundEntry = bool (*)(const char* data, long long size);

// Inside the module: plays through ALSA's default device, to the end.
bool playWaveThroughAlsa(QByteArrayView riff);

}  // namespace platform
