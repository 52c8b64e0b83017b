// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The door sound played to its last frame: through the sound module into ALSA's file plugin, the
// frames written are the WAVE's own, all of them, in order, and the output is drained at the end
// (the file plugin writes frames as they are queued, so a drop would not show in the file).

#include "TestFiles.h"
#include "doors/DoorSound.h"
#include "platform/Executable.h"
#include "platform/Modules.h"
#include "platform/Sound.h"
#include "platform/SoundModule.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>

// How the module writes and ends the sound: these stand in for ALSA's calls (the test exports
// them, so the module finds them first) and hand them on to the file plugin.
//
// What they keep of a sound card, which the file plugin alone does not: the card takes frames at
// the sound's own rate into a buffer of the latency the module asks for, so a write waits while
// the buffer is full (or, the output still in the non-blocking mode it was opened in, fails
// with EAGAIN) and a drain until the last frame has played; a stalled card takes nothing and
// holds the write until it is let go. So a player that ends its sound before the card has
// played it, or cuts it short at a deadline, is seen here as it would be heard.
namespace {
QStringList endings;
int underrunsToCome = 0;  // the next writes that fail as after an underrun

using Clock = std::chrono::steady_clock;
struct SoundCard {
    std::mutex mutex;
    std::condition_variable letGo;
    double rate = 0;            // frames a second, as the module set it
    double bufferFrames = 0;    // the latency it asked for, in frames
    Clock::time_point started;  // when the first frame began to play
    long long taken = 0;        // frames written so far
    bool stalled = false;       // takes nothing until let go
    bool writing = false;       // a write is held
    bool blocking = false;      // opened non-blocking: a full buffer fails a write at once

    // Frames played by the time given: the card plays without a gap from its first frame on.
    double playedBy(Clock::time_point t) const {
        const double since = std::chrono::duration<double>(t - started).count();
        return taken == 0 ? 0.0 : std::min(double(taken), since * rate);
    }
    Clock::time_point whenPlayed(double frames) const {
        return started + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(frames / rate));
    }
};
SoundCard card;

// ALSA's own function of that name, loaded with the module.
template <typename Function>
Function alsa(const char* name) {
    return reinterpret_cast<Function>(::dlsym(::dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD), name));
}
}  // namespace
extern "C" int snd_pcm_set_params(void* pcm, int format, int access, unsigned channels, unsigned rate, int resample,
                                  unsigned latencyUs) {
    {
        const std::lock_guard lock(card.mutex);
        card.rate = rate;
        card.bufferFrames = rate * (latencyUs / 1e6);
        card.taken = 0;
    }
    return alsa<int (*)(void*, int, int, unsigned, unsigned, int, unsigned)>("snd_pcm_set_params")(
        pcm, format, access, channels, rate, resample, latencyUs);
}
extern "C" int snd_pcm_nonblock(void* pcm, int nonblock) {
    {
        const std::lock_guard lock(card.mutex);
        card.blocking = nonblock == 0;
    }
    return alsa<int (*)(void*, int)>("snd_pcm_nonblock")(pcm, nonblock);
}
extern "C" int snd_pcm_drain(void* pcm) {
    endings << QStringLiteral("drain");
    std::unique_lock lock(card.mutex);
    card.letGo.wait_until(lock, card.whenPlayed(double(card.taken)), [] { return false; });
    lock.unlock();
    return alsa<int (*)(void*)>("snd_pcm_drain")(pcm);
}
extern "C" int snd_pcm_drop(void* pcm) {
    return endings << QStringLiteral("drop"), alsa<int (*)(void*)>("snd_pcm_drop")(pcm);
}
extern "C" long snd_pcm_writei(void* pcm, const void* frames, unsigned long count) {
    if (underrunsToCome > 0)
        return --underrunsToCome, -EPIPE;
    std::unique_lock lock(card.mutex);
    if (card.stalled) {
        card.writing = true;
        card.letGo.wait(lock, [] { return !card.stalled; });
        card.writing = false;
        card.letGo.notify_all();
        return -EIO;
    }
    if (card.taken == 0)
        card.started = Clock::now();
    // Room in the buffer once enough of what it holds has played.
    const double mustHavePlayed = double(card.taken) + double(count) - card.bufferFrames;
    if (mustHavePlayed > 0) {
        if (!card.blocking)
            return -EAGAIN;
        card.letGo.wait_until(lock, card.whenPlayed(mustHavePlayed), [] { return false; });
    }
    card.taken += static_cast<long long>(count);
    lock.unlock();
    return alsa<long (*)(void*, const void*, unsigned long)>("snd_pcm_writei")(pcm, frames, count);
}

class TestSoundOutput : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString output_;
    QByteArray riff_, frames_;  // the door sound's asset file, and the frames of its data chunk

    QByteArray written() const { return testfiles::read(output_); }

private Q_SLOTS:
    void initTestCase() {
        riff_ = testfiles::read(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/sounds/door101.wav"));
        const qsizetype data = riff_.indexOf("data", 12);
        QVERIFY(data > 0);
        frames_ = riff_.mid(data + 8, qFromLittleEndian<quint32>(riff_.constData() + data + 4));
        output_ = dir_.filePath(QStringLiteral("output.raw"));
        testfiles::write(dir_.filePath(QStringLiteral("asound.conf")),
                         QStringLiteral("pcm.!default { type file slave.pcm { type null } file \"%1\" format raw }\n")
                             .arg(output_)
                             .toUtf8());
    }

    void init() {
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(dir_.filePath(QStringLiteral("asound.conf"))));
        QFile::remove(output_);
        endings.clear();
        underrunsToCome = 0;
        const std::lock_guard lock(card.mutex);
        card.taken = 0;
        card.stalled = false;
        card.blocking = false;
    }

    // The sound cut to six tenths of a second (8-bit mono at 22050 Hz) and one frame more, so that
    // the last piece written is a single frame. Played as it is, every frame reaches the output and what is queued plays to its end.
    // One underrun (the system stalled the player) is recovered from and the sound plays whole; an
    // output that keeps failing ends the sound instead of being retried.
    void framesAndEnding_data() {
        QTest::addColumn<int>("underruns");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("two in a row") << 2;
    }
    void framesAndEnding() {
        QFETCH(int, underruns);
        // Its format chunk kept; the data chunk odd in length without the pad byte, as writers often leave it.
        const QByteArray frames = frames_.left(6 * 2205 + 1);
        const auto le32 = [](qsizetype n) {  // a RIFF size field
            QByteArray b(4, '\0');
            qToLittleEndian(quint32(n), b.data());
            return b;
        };
        const QByteArray chunks = riff_.mid(12, riff_.indexOf("data", 12) - 12) + "data" + le32(frames.size()) + frames;
        const QByteArray riff = "RIFF" + le32(4 + chunks.size()) + "WAVE" + chunks;
        underrunsToCome = underruns;
        const bool whole = underruns < 2;
        QCOMPARE(platform::playWaveSync(riff), whole);
        const Clock::time_point returned = Clock::now();
        QCOMPARE(written() == frames, whole);
        QCOMPARE(endings.value(0), whole ? QStringLiteral("drain") : QStringLiteral("drop"));
        if (whole) {  // the doors move on only once the card has played the last frame
            const std::lock_guard lock(card.mutex);
            QCOMPARE(card.taken, frames.size());
            QCOMPARE(card.playedBy(returned), double(frames.size()));
        }
    }

    // A sound whose time has run out before the card is open plays nothing: the leaves have moved on;
    // one whose time runs out while it plays stops there.
    void deadlines_data() {
        QTest::addColumn<int>("fromNow");  // milliseconds
        QTest::newRow("passed before the card opens") << -1000;
        QTest::newRow("reached while it plays") << 300;
    }
    void deadlines() {
        QFETCH(int, fromNow);
        const auto play = reinterpret_cast<platform::SoundEntry>(
            platform::moduleFunction(platform::besideExecutable(platform::kSoundModule), platform::kSoundEntry)
                .function);
        QVERIFY(play);
        const auto deadline = Clock::now() + std::chrono::milliseconds(fromNow);
        QVERIFY(!play(riff_.constData(), riff_.size(), std::chrono::nanoseconds(deadline.time_since_epoch()).count()));
        const std::lock_guard lock(card.mutex);
        QVERIFY2(fromNow > 0 ? card.taken > 0 && card.taken < frames_.size() : card.taken == 0,
                 qPrintable(QString::number(card.taken)));
    }

    // No sound card: nothing is played and the doors do not wait out the sound's length (1.5 s).
    void noSoundCard() {
        const QString config =
            testfiles::write(dir_.filePath(QStringLiteral("nocard.conf")), "pcm.!default { type hw card 31 }\n");
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config));  // another file: ALSA reads it anew
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!platform::playWaveSync(riff_));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    }

    // The doors ask for their sound by number: number 101 plays the door sound's own frames and
    // keeps its bytes as the sound played last. (Played to its end: framesAndEnding.)
    void theDoorSoundByItsNumber() {
        doors::DoorSound sound;
        sound.PlayWave(101);
        QVERIFY(sound.waveData() == riff_);
        QVERIFY(written() == frames_);  // the whole sound, not cut at a deadline shorter than it
    }

    // A card that takes no frame: the doors wait for the sound's length and the margin, not for the
    // card, and the next sound is played once the card has let go of the first.
    void aStalledCard() {
        const double length = double(frames_.size()) / 22050;  // 8-bit mono at 22050 Hz
        card.stalled = true;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!platform::playWaveSync(riff_));
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= 1000 * length && waited < 1000 * length + 5000, qPrintable(QString::number(waited)));
        {
            std::unique_lock lock(card.mutex);
            QVERIFY(card.writing);
            card.stalled = false;
            card.letGo.notify_all();
            QVERIFY(card.letGo.wait_for(lock, std::chrono::seconds(5), [] { return !card.writing; }));
        }
        QTest::qWait(100);  // the player's thread ends after its write has failed
        QFile::remove(output_);
        QVERIFY(platform::playWaveSync(riff_));
        QVERIFY(written() == frames_);
    }
};

QTEST_GUILESS_MAIN(TestSoundOutput)
#include "tst_sound_output.moc"
