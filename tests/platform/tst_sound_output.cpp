// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The door sound: its RIFF WAVE read, and played to its last frame: through the sound module into
// ALSA's file plugin, the frames written are the WAVE's own, all of them, in order, and the output
// is drained at the end (the file plugin writes frames as they are queued, so a drop would not
// show in the file).

#include "TestFiles.h"
#include "doors/DoorSound.h"
#include "platform/Sound.h"
#include "platform/Wave.h"

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
#include <thread>

// How the module writes and ends the sound: these stand in for ALSA's calls (the test exports
// them, so the module finds them first) and hand them on to the file plugin.
//
// What they keep of a sound card, which the file plugin alone does not: the card takes frames at
// the sound's own rate into a buffer of the latency the module asks for, so a write waits while
// the buffer is full and a drain until the last frame has played; a stalled card takes nothing
// and holds the write until it is let go. So a player that ends its sound before the card has
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
    if (mustHavePlayed > 0)
        card.letGo.wait_until(lock, card.whenPlayed(mustHavePlayed), [] { return false; });
    card.taken += static_cast<long long>(count);
    lock.unlock();
    return alsa<long (*)(void*, const void*, unsigned long)>("snd_pcm_writei")(pcm, frames, count);
}

// RIFF WAVE files built byte by byte.
namespace {
QByteArray le(quint32 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        out[i] = char(value >> (8 * i));
    return out;
}

QByteArray waveChunk(const char* tag, const QByteArray& body, bool pad = true) {
    return QByteArray(tag, 4) + le(quint32(body.size()), 4) + body + QByteArray(pad && body.size() % 2 ? 1 : 0, '\0');
}

// channels, rate, bits, then block align and byte rate as they should be unless given.
QByteArray fmt(int channels, quint32 rate, int bits, int align = -1, qint64 byteRate = -1, int tag = 1) {
    align = align < 0 ? channels * bits / 8 : align;
    return waveChunk("fmt ", le(tag, 2) + le(channels, 2) + le(rate, 4) +
                                 le(byteRate < 0 ? rate * align : byteRate, 4) + le(align, 2) + le(bits, 2));
}

QByteArray waveFile(const QByteArray& chunks, qint64 sizeChange = 0) {
    return "RIFF" + le(quint32(4 + chunks.size() + sizeChange), 4) + "WAVE" + chunks;
}

const QByteArray kSamples("\x01\x02\x03\x04\x05\x06", 6);
}  // namespace

Q_DECLARE_METATYPE(platform::WaveError)

class TestSoundOutput : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString output_;

    // The frames of the door sound's asset file.
    static QByteArray doorFrames(QByteArray* riff = nullptr) {
        const QByteArray bytes = testfiles::read(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/sounds/door101.wav"));
        if (riff)
            *riff = bytes;
        const qsizetype chunk = bytes.indexOf("data", 12);
        return chunk > 0 ? bytes.mid(chunk + 8, qFromLittleEndian<quint32>(bytes.constData() + chunk + 4))
                         : QByteArray();
    }

    QByteArray written() const { return testfiles::read(output_); }

private Q_SLOTS:
    // What the reader takes (the form's chunks in any order, pads, odd endings) and, one fault at
    // a time, what it refuses and why, each at the edge of what is allowed.
    void waveRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<platform::WaveError>("error");
        QTest::addColumn<int>("frames");
        using E = platform::WaveError;
        const QByteArray mono8 = fmt(1, 8000, 8), data = waveChunk("data", kSamples);
        QTest::newRow("8-bit mono at 8000 Hz") << waveFile(mono8 + data) << E::None << 6;
        QTest::newRow("16-bit stereo at 192000 Hz")
            << waveFile(fmt(2, 192000, 16) + waveChunk("data", kSamples + "\7\7")) << E::None << 2;
        QTest::newRow("data before fmt, an odd chunk padded between")
            << waveFile(data + waveChunk("LIST", "abc") + mono8) << E::None << 6;
        QTest::newRow("odd last chunk without its pad")
            << waveFile(mono8 + waveChunk("data", "abc", false)) << E::None << 3;
        QTest::newRow("11 bytes") << waveFile({}).left(11) << E::TooShort << 0;
        QTest::newRow("RIFX") << "RIFX" + waveFile(mono8 + data).mid(4) << E::NotRiff << 0;
        QTest::newRow("AVI form") << waveFile(mono8 + data).replace("WAVE", "AVI ") << E::NotWave << 0;
        QTest::newRow("RIFF size a byte past the end") << waveFile(mono8 + data, 1) << E::BadRiffSize << 0;
        QTest::newRow("RIFF size 3") << waveFile(mono8 + data, -(mono8 + data).size() - 1) << E::BadRiffSize << 0;
        QTest::newRow("chunk header of 7 bytes")
            << waveFile(mono8 + data + QByteArray("LIST\0\0\0", 7)) << E::ChunkHeaderTruncated << 0;
        QTest::newRow("chunk a byte too long")
            << waveFile(mono8 + "data" + le(7, 4) + kSamples) << E::ChunkBeyondEnd << 0;
        QTest::newRow("two fmt") << waveFile(mono8 + mono8 + data) << E::DuplicateChunk << 0;
        QTest::newRow("two data") << waveFile(mono8 + data + data) << E::DuplicateChunk << 0;
        QTest::newRow("no fmt") << waveFile(data) << E::MissingFormat << 0;
        QTest::newRow("fmt of 15 bytes") << waveFile(waveChunk("fmt ", mono8.mid(8, 15)) + data) << E::FormatTooShort
                                         << 0;
        QTest::newRow("not PCM") << waveFile(fmt(1, 8000, 8, -1, -1, 3) + data) << E::NotPcm << 0;
        QTest::newRow("no channel") << waveFile(fmt(0, 8000, 8, 1, 8000) + data) << E::BadChannels << 0;
        QTest::newRow("3 channels") << waveFile(fmt(3, 8000, 8) + data) << E::BadChannels << 0;
        QTest::newRow("7999 Hz") << waveFile(fmt(1, 7999, 8) + data) << E::BadSampleRate << 0;
        QTest::newRow("192001 Hz") << waveFile(fmt(1, 192001, 8) + data) << E::BadSampleRate << 0;
        QTest::newRow("24 bits") << waveFile(fmt(1, 8000, 24) + data) << E::BadBitsPerSample << 0;
        QTest::newRow("block align 2 for 8-bit mono") << waveFile(fmt(1, 8000, 8, 2) + data) << E::BadBlockAlign << 0;
        QTest::newRow("byte rate one short") << waveFile(fmt(1, 8000, 8, -1, 7999) + data) << E::BadByteRate << 0;
        QTest::newRow("no data") << waveFile(mono8) << E::MissingData << 0;
        QTest::newRow("half a 16-bit stereo frame")
            << waveFile(fmt(2, 8000, 16) + waveChunk("data", kSamples)) << E::PartialFrame << 0;
    }
    void waveRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(platform::WaveError, error);
        QFETCH(int, frames);
        const auto span = std::as_bytes(std::span<const char>(bytes.constData(), std::size_t(bytes.size())));
        auto why = platform::WaveError(-1);
        const auto wave = platform::parseWave(span, &why);
        QCOMPARE(int(why), int(error));
        QCOMPARE(wave.has_value(), error == platform::WaveError::None);
        if (!wave)
            return;
        QCOMPARE(int(wave->frameCount()), frames);
        // The samples are the data chunk's own bytes.
        const qsizetype at = bytes.indexOf("data") + 8;
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(wave->samples.data()), qsizetype(wave->samples.size())),
                 bytes.mid(at, frames * wave->format.blockAlign));
    }

    void initTestCase() {
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
    }

    // The sound cut to a prime count of (8-bit mono) frames, so that the last piece is not a whole
    // period. Played as it is, every frame reaches the output and what is queued plays to its end.
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
        QByteArray riff;
        const QByteArray frames = doorFrames(&riff).left(16639);
        riff = waveFile(riff.mid(12, riff.indexOf("data", 12) - 12) +
                        waveChunk("data", frames, false));  // its format chunk kept
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

    // No sound card: nothing is played and the doors do not wait out the sound's length (1.5 s).
    void noSoundCard() {
        QByteArray riff;
        doorFrames(&riff);
        const QString config =
            testfiles::write(dir_.filePath(QStringLiteral("nocard.conf")), "pcm.!default { type hw card 31 }\n");
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config));  // another file: ALSA reads it anew
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!platform::playWaveSync(riff));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    }

    // The doors ask for their sound by number: number 101 plays the door sound's own frames and
    // keeps its bytes as the sound played last.
    void theDoorSoundByItsNumber() {
        QByteArray riff;
        const QByteArray frames = doorFrames(&riff);
        doors::DoorSound sound;
        sound.PlayWave(101);
        const Clock::time_point returned = Clock::now();
        QVERIFY(sound.waveData() == riff);
        QVERIFY(written() == frames);  // the whole sound, not cut at a deadline shorter than it
        const std::lock_guard lock(card.mutex);
        QCOMPARE(card.playedBy(returned), double(card.taken));
    }

    // A card that takes no frame: the doors wait for the sound's length and the margin, not for the
    // card, and the next sound is played once the card has let go of the first.
    void aStalledCard() {
        QByteArray riff;
        const QByteArray frames = doorFrames(&riff);
        const double length = double(frames.size()) / 22050;  // 8-bit mono at 22050 Hz
        card.stalled = true;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!platform::playWaveSync(riff));
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
        QVERIFY(platform::playWaveSync(riff));
        QVERIFY(written() == frames);
    }
};

QTEST_GUILESS_MAIN(TestSoundOutput)
#include "tst_sound_output.moc"
