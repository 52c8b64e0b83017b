#include "platform/SoundModule.h"

#include "platform/Wave.h"

#include <alsa/asoundlib.h>

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

Pcm openDefault() {
    snd_lib_error_set_handler(quiet);
    snd_pcm_t* raw = nullptr;
    // Non-blocking open: a device held by someone else must fail now, not wait for it.
    if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    Pcm pcm(raw);
    if (snd_pcm_nonblock(pcm.get(), 0) < 0)
        return nullptr;
    return pcm;
}

bool configure(snd_pcm_t* pcm, const WaveFormat& format) {
    const snd_pcm_format_t sampleFormat = format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    return snd_pcm_set_params(pcm, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                              format.sampleRate, 1 /* resample if the device needs it */, kLatencyUs) == 0;
}

bool writeAll(snd_pcm_t* pcm, const WaveView& wave) {
    const std::byte* next = wave.samples.data();
    snd_pcm_uframes_t left = wave.frameCount();
    bool recovered = false;
    while (left > 0) {
        const snd_pcm_sframes_t written = snd_pcm_writei(pcm, next, left);
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

}  // namespace

bool playWaveThroughAlsa(QByteArrayView riff) {
    const std::optional<WaveView> wave =
        parseWave(std::as_bytes(std::span<const char>(riff.data(), static_cast<std::size_t>(riff.size()))));
    if (!wave)
        return false;
    const Pcm pcm = openDefault();
    if (!pcm || !configure(pcm.get(), wave->format) || !writeAll(pcm.get(), *wave))
        return false;
    // Drain returns when the last frame has left the speaker, not when it was queued.
    return snd_pcm_drain(pcm.get()) == 0;
}

}  // namespace platform

extern "C" __attribute__((visibility("default"))) bool tarvola_play_wave(const char* data, long long size) {
    return platform::playWaveThroughAlsa(QByteArrayView(data, static_cast<qsizetype>(size)));
}
