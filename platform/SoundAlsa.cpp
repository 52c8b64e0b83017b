// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/SoundModule.h"

#include "platform/Wave.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <span>

namespace platform {

namespace {

// ALSA reports every failure on stderr unless told otherwise; a sound that cannot be
// played is not worth a word.
void quiet(const char*, int, const char*, int, const char*, ...) {}

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using Pcm = std::unique_ptr<snd_pcm_t, PcmCloser>;

constexpr unsigned kLatencyUs = 100'000;

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, 0 once it has passed.
int millisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Opened without blocking, so that a device held by someone else fails now instead of being
// waited for; then the writes block as the sound plays. A sound server that does not answer may
// still hold the open or a write for half a minute: the caller does not wait for that, and the
// deadline keeps the sound from playing on late once it answers again.
Pcm openDefault() {
    snd_lib_error_set_handler(quiet);
    snd_pcm_t* raw = nullptr;
    if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    Pcm pcm(raw);
    if (snd_pcm_nonblock(pcm.get(), 0) < 0)
        return nullptr;
    return pcm;
}

bool configure(snd_pcm_t* pcm, const WaveFormat& format) {
    const snd_pcm_format_t sampleFormat = format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    return snd_pcm_set_params(pcm, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels, format.sampleRate,
                              1 /* resample if the device needs it */, kLatencyUs) == 0;
}

// In pieces of a tenth of a second, so that a sound the output held up stops within a piece
// of the deadline rather than playing on late.
bool writeAll(snd_pcm_t* pcm, const WaveView& wave, Clock::time_point deadline) {
    const std::byte* next = wave.samples.data();
    snd_pcm_uframes_t left = wave.frameCount();
    const snd_pcm_uframes_t piece = std::max(1u, wave.format.sampleRate / 10);
    bool recovered = false;
    while (left > 0) {
        if (millisecondsLeft(deadline) == 0)
            return false;
        const snd_pcm_sframes_t written = snd_pcm_writei(pcm, next, std::min(left, piece));
        if (written == -EPIPE && !recovered) {
            // One underrun (the system stalled us) is survivable; a device that keeps
            // failing is not.
            recovered = true;
            if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0)
                return false;
            continue;
        }
        if (written < 0)
            return false;
        left -= static_cast<snd_pcm_uframes_t>(written);
        next += static_cast<std::size_t>(written) * wave.format.blockAlign;
    }
    return true;
}

// Waits until the last frame has left the speaker, not only until it was queued.
bool drain(snd_pcm_t* pcm, Clock::time_point deadline) {
    return millisecondsLeft(deadline) > 0 && snd_pcm_drain(pcm) == 0;
}

}  // namespace

bool playWaveThroughAlsa(QByteArrayView riff, Clock::time_point deadline) {
    const std::optional<WaveView> wave =
        parseWave(std::as_bytes(std::span<const char>(riff.data(), static_cast<std::size_t>(riff.size()))));
    if (!wave)
        return false;
    const Pcm pcm = openDefault();
    // An output that took until the deadline to open plays nothing: the leaves have moved on.
    if (!pcm || millisecondsLeft(deadline) == 0 || !configure(pcm.get(), wave->format))
        return false;
    // Cut short, the sound stops where it is: closing the output drops what it still holds.
    return writeAll(pcm.get(), *wave, deadline) && drain(pcm.get(), deadline);
}

}  // namespace platform

extern "C" __attribute__((visibility("default"))) bool tarvola_play_wave(const char* data, long long size,
                                                                         long long deadline) {
    const platform::Clock::time_point until{std::chrono::nanoseconds(deadline)};
    return platform::playWaveThroughAlsa(QByteArrayView(data, static_cast<qsizetype>(size)), until);
}
