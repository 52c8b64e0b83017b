// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/SoundModule.h"

#include "platform/Wave.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <memory>
#include <span>
#include <thread>

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

// Non-blocking, and it stays so: a device held by someone else fails now, and a full or stalled
// output makes the writes wait only as long as the deadline allows. (A sound server that does
// not answer may still hold the open itself; the caller does not wait for that.)
Pcm openDefault() {
    snd_lib_error_set_handler(quiet);
    snd_pcm_t* raw = nullptr;
    if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    return Pcm(raw);
}

bool configure(snd_pcm_t* pcm, const WaveFormat& format) {
    const snd_pcm_format_t sampleFormat = format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    return snd_pcm_set_params(pcm, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                              format.sampleRate, 1 /* resample if the device needs it */, kLatencyUs) == 0;
}

bool writeAll(snd_pcm_t* pcm, const WaveView& wave, Clock::time_point deadline) {
    const std::byte* next = wave.samples.data();
    snd_pcm_uframes_t left = wave.frameCount();
    bool recovered = false;
    while (left > 0) {
        const snd_pcm_sframes_t written = snd_pcm_writei(pcm, next, left);
        if (written == -EAGAIN) {
            const int wait = millisecondsLeft(deadline);
            if (wait == 0 || snd_pcm_wait(pcm, wait) < 0)
                return false;
            continue;
        }
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
    const int result = snd_pcm_drain(pcm);
    if (result != -EAGAIN)
        return result == 0;
    while (snd_pcm_state(pcm) == SND_PCM_STATE_DRAINING) {
        if (millisecondsLeft(deadline) == 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
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
    if (writeAll(pcm.get(), *wave, deadline) && drain(pcm.get(), deadline))
        return true;
    snd_pcm_drop(pcm.get());
    return false;
}

}  // namespace platform

extern "C" __attribute__((visibility("default"))) bool tarvola_play_wave(const char* data, long long size,
                                                                         long long deadline) {
    const platform::Clock::time_point until{std::chrono::nanoseconds(deadline)};
    return platform::playWaveThroughAlsa(QByteArrayView(data, static_cast<qsizetype>(size)), until);
}
