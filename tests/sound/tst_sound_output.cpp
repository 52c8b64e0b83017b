// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The door sound reaches the output to its last frame: played through the sound module into
// ALSA's file plugin, the frames written are the WAVE's own, all of them, in order, and the output
// is drained at the end (the file plugin writes frames as they are queued, so a drop would not
// show in the file).

#include "platform/Sound.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <dlfcn.h>

// How the module ends the sound: these stand in for ALSA's calls (the test exports them, so the
// module finds them first) and hand them on.
namespace {
QStringList endings;
int handOn(const char* name, void* pcm) {
    void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    return alsa ? reinterpret_cast<int (*)(void*)>(::dlsym(alsa, name))(pcm) : -1;
}
}  // namespace
extern "C" int snd_pcm_drain(void* pcm) { return endings << QStringLiteral("drain"), handOn("snd_pcm_drain", pcm); }
extern "C" int snd_pcm_drop(void* pcm) { return endings << QStringLiteral("drop"), handOn("snd_pcm_drop", pcm); }

class TestSoundOutput : public QObject {
    Q_OBJECT

private slots:
    void everyFrameReachesTheOutput() {
        QFile wave(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/sounds/door101.wav"));
        QVERIFY(wave.open(QIODevice::ReadOnly));
        QByteArray riff = wave.readAll();
        const qsizetype chunk = riff.indexOf("data", 12);
        QVERIFY(chunk > 0 && riff.size() > chunk + 8 + 16639);
        // Cut to a prime count of (8-bit mono) frames: the last piece is not a whole period.
        const QByteArray frames = riff.mid(chunk + 8, 16639);
        riff = riff.left(chunk + 8) + frames;
        qToLittleEndian<quint32>(quint32(frames.size()), riff.data() + chunk + 4);
        qToLittleEndian<quint32>(quint32(riff.size() - 8), riff.data() + 4);

        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("output.raw"));
        QFile config(dir.filePath(QStringLiteral("asound.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("pcm.!default { type file slave.pcm { type null } file \"%1\" format raw }\n")
                         .arg(output).toUtf8());
        config.close();
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config.fileName()));

        QVERIFY(platform::playWaveSync(riff));
        QFile written(output);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray got = written.readAll();
        QCOMPARE(got.size(), frames.size());
        QVERIFY(got.right(2000) == frames.right(2000));
        QVERIFY(got == frames);
        QCOMPARE(endings.value(0), QStringLiteral("drain"));  // what is queued plays to its end
    }
};

QTEST_GUILESS_MAIN(TestSoundOutput)
#include "tst_sound_output.moc"
