#include "doors/PlayWave.h"
#include "platform/Sound.h"
#include "platform/Wave.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <unistd.h>

// ALSA is pointed at configurations under which no device opens, as on a machine without sound,
// or at a null device that takes anything.
namespace {

// What anyone writes to file descriptor 2 during `run`.
template <typename F> QByteArray stderrOf(F&& run) {
    QTemporaryFile file;
    if (!file.open())
        return "no capture file";
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(file.handle(), 2), run(), std::fflush(stderr);
    ::dup2(saved, 2), ::close(saved);
    return file.seek(0) ? file.readAll() : "cannot reread the capture";
}

}  // namespace

class PlayWaveTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QByteArray door_;
    int configs_ = 0;

private slots:
    // Cue 101 as the program carries it: 0.8 s of 8-bit mono PCM at 22050 Hz.
    void initTestCase() {
        QFile f(QStringLiteral(":/WAVE/101"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        door_ = f.readAll();
        const auto wave = platform::parseWave(std::as_bytes(std::span(door_.constData(), std::size_t(door_.size()))));
        QVERIFY(wave && wave->format.channels == 1 && wave->format.sampleRate == 22050u);
        QVERIFY(wave->format.bitsPerSample == 8 && wave->frameCount() == 17640);
    }

    // Without a device: refused at once and silently, the door cue included. With a null device:
    // good sounds play, broken data is still refused.
    void playsOnlyWhereItCan_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("played");
        QTest::newRow("no such card") << QByteArray("pcm.!default { type hw card 31 device 0 }\n") << door_ << false;
        QTest::newRow("sound server not running")
            << QByteArray("pcm_type.pulse { lib \"libasound_module_pcm_pulse.so\" }\n"
                          "pcm.!default { type pulse server \"unix:/nonexistent/pulse/native\" }\n") << door_ << false;
        const QByteArray null("pcm.!default { type null }\n");
        QTest::newRow("door sound") << null << door_ << true;
        QTest::newRow("header only") << null << door_.left(44) << false;
        QTest::newRow("float format") << null << QByteArray(door_).replace(20, 1, "\x03") << false;
    }
    void playsOnlyWhereItCan() {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, image);
        QFETCH(bool, played);
        // A new name each time: ALSA reloads its configuration when the list of files changes.
        QFile f(dir_.filePath(QStringLiteral("alsa%1.conf").arg(++configs_)));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(config) == config.size());
        f.close();
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(f.fileName()));
        bool result = !played;
        QElapsedTimer clock;
        qint64 ms = 0;
        const QByteArray printed = stderrOf([&] {
            result = platform::playWaveSync(image);
            clock.start(), config.contains("null") ? void() : doors::PlayWave(101), ms = clock.elapsed();
        });
        QVERIFY2(printed.isEmpty(), printed.constData());
        QCOMPARE(result, played);
        QVERIFY2(ms < 300, qPrintable(QString::number(ms) + " ms"));  // the sound itself lasts 800 ms
    }
};

QTEST_GUILESS_MAIN(PlayWaveTest)
#include "tst_play_wave.moc"
