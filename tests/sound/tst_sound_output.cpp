// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The door sound reaches the output to its last frame: played through the sound module into
// ALSA's file plugin, the frames written are the WAVE's own, all of them, in order, and the output
// is drained at the end (the file plugin writes frames as they are queued, so a drop would not
// show in the file).

#include "TestFiles.h"
#include "doors/PlayWave.h"
#include "platform/Sound.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cerrno>
#include <dlfcn.h>

// How the module writes and ends the sound: these stand in for ALSA's calls (the test exports
// them, so the module finds them first) and hand them on.
namespace {
QStringList endings;
int underrunsToCome = 0;  // the next writes that fail as after an underrun
// ALSA's own function of that name, loaded with the module.
template <typename Function> Function alsa(const char* name) {
    return reinterpret_cast<Function>(::dlsym(::dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD), name));
}
}  // namespace
extern "C" int snd_pcm_drain(void* pcm) { return endings << QStringLiteral("drain"), alsa<int (*)(void*)>("snd_pcm_drain")(pcm); }
extern "C" int snd_pcm_drop(void* pcm) { return endings << QStringLiteral("drop"), alsa<int (*)(void*)>("snd_pcm_drop")(pcm); }
extern "C" long snd_pcm_writei(void* pcm, const void* frames, unsigned long count) {
    if (underrunsToCome > 0)
        return --underrunsToCome, -EPIPE;
    return alsa<long (*)(void*, const void*, unsigned long)>("snd_pcm_writei")(pcm, frames, count);
}

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
        return chunk > 0 ? bytes.mid(chunk + 8, qFromLittleEndian<quint32>(bytes.constData() + chunk + 4)) : QByteArray();
    }

    QByteArray written() const { return testfiles::read(output_); }

private slots:
    void initTestCase() {
        output_ = dir_.filePath(QStringLiteral("output.raw"));
        testfiles::write(dir_.filePath(QStringLiteral("asound.conf")),
                         QStringLiteral("pcm.!default { type file slave.pcm { type null } file \"%1\" format raw }\n")
                             .arg(output_).toUtf8());
    }

    void init() {
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(dir_.filePath(QStringLiteral("asound.conf"))));
        QFile::remove(output_);
        endings.clear();
        underrunsToCome = 0;
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
        doorFrames(&riff);
        const qsizetype chunk = riff.indexOf("data", 12);
        QVERIFY(chunk > 0 && riff.size() > chunk + 8 + 16639);
        const QByteArray frames = riff.mid(chunk + 8, 16639);
        riff = riff.left(chunk + 8) + frames;
        qToLittleEndian<quint32>(quint32(frames.size()), riff.data() + chunk + 4);
        qToLittleEndian<quint32>(quint32(riff.size() - 8), riff.data() + 4);
        underrunsToCome = underruns;
        const bool whole = underruns < 2;
        QCOMPARE(platform::playWaveSync(riff), whole);
        QCOMPARE(written() == frames, whole);
        QCOMPARE(endings.value(0), whole ? QStringLiteral("drain") : QStringLiteral("drop"));
    }

    // No sound card: nothing is played and the doors do not wait out the sound's length (1.5 s).
    void noSoundCard() {
        QByteArray riff;
        doorFrames(&riff);
        const QString config = testfiles::write(dir_.filePath(QStringLiteral("nocard.conf")), "pcm.!default { type hw card 31 }\n");
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config));  // another file: ALSA reads it anew
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!platform::playWaveSync(riff));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(endings.isEmpty());
    }

    // The doors ask for their sound by number: number 101 plays the door sound's own frames and
    // keeps its bytes as the sound played last; a number with no sound plays nothing.
    void theDoorSoundByItsNumber() {
        QByteArray riff;
        const QByteArray frames = doorFrames(&riff);
        QVERIFY(frames.size() > 1000);
        doors::PlayWave(101);
        QVERIFY(doors::WaveData == riff);
        QVERIFY(written() == frames);

        QFile::remove(output_);
        doors::PlayWave(102);
        QVERIFY(doors::WaveData.isEmpty());
        QVERIFY(!QFile::exists(output_));
    }
};

QTEST_GUILESS_MAIN(TestSoundOutput)
#include "tst_sound_output.moc"
