// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/Sound.h"

#include "platform/Executable.h"
#include "platform/Modules.h"
#include "platform/SoundModule.h"
#include "platform/Wave.h"

#include <QByteArray>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// What the window waits for beyond the sound's own length.
constexpr auto kMargin = std::chrono::milliseconds(500);

// One sound handed to the output, shared by the window and the thread that plays it: a sound
// server that does not answer (stopped, hung) may hold the open or the writes for half a minute,
// so the window stops waiting at the deadline and the thread finishes on its own.
struct Playback {
    QByteArray riff;  // its own copy: the window's may be replaced by the next sound
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool played = false;
};

void play(const std::shared_ptr<Playback>& playback, Clock::time_point deadline) {
    // Without the module there is no audio output: the sound is skipped, as with no sound card.
    const auto entry =
        reinterpret_cast<SoundEntry>(moduleFunction(besideExecutable(kSoundModule), kSoundEntry).function);
    const bool played = entry && entry(playback->riff.constData(), playback->riff.size(),
                                       std::chrono::nanoseconds(deadline.time_since_epoch()).count());
    const std::lock_guard lock(playback->mutex);
    playback->done = true;
    playback->played = played;
    playback->ended.notify_all();
}

}  // namespace

bool playWaveSync(QByteArrayView riff) {
    const auto wave = parseWave(std::as_bytes(std::span<const char>(riff.data(), std::size_t(riff.size()))));
    if (!wave)
        return false;
    const auto length = std::chrono::microseconds(wave->frameCount() * 1'000'000 / wave->format.sampleRate);
    const Clock::time_point deadline = Clock::now() + length + kMargin;

    // An output still holding the previous sound is not asked again: this one is silent.
    static std::shared_ptr<Playback> last;
    if (last) {
        const std::lock_guard lock(last->mutex);
        if (!last->done)
            return false;
    }
    last = std::make_shared<Playback>();
    last->riff = QByteArray(riff.data(), riff.size());
    std::thread(play, last, deadline).detach();

    std::unique_lock lock(last->mutex);
    last->ended.wait_until(lock, deadline, [&] { return last->done; });
    return last->played;
}

}  // namespace platform
