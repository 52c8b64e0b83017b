#include "app/Common.h"
#include "doors/PlayWave.h"
#include "platform/Sound.h"
#include "platform/Wave.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QResource>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <unistd.h>

// ALSA is pointed at configurations under which no device opens, as on a machine without sound.
namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What anyone writes to file descriptor 2 during `run`.
template <typename F> QByteArray stderrOf(F&& run) {
    QTemporaryFile file;
    if (!file.open())
        return "no capture file";
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(file.handle(), 2);
    run();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    file.seek(0);
    return file.readAll();
}

const QString kCommitted = QStringLiteral(TARVOLA_SOURCE_DIR "/assets/sounds/door101.wav");

}  // namespace

class PlayWaveTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QByteArray door_ = readAll(kCommitted);
    QByteArray short_ = readAll(QStringLiteral(TARVOLA_SOURCE_DIR "/tests/sound/data/short.wav"));
    int configs_ = 0;

    void useAlsaConfig(const QByteArray& text) {
        // A new name each time: ALSA reloads its configuration when the list of files changes.
        QFile f(dir_.filePath(QStringLiteral("alsa%1.conf").arg(++configs_)));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(f.fileName()));
    }

private slots:
    void initTestCase() {
        QVERIFY(!short_.isEmpty());
        useAlsaConfig("pcm.!default { type hw card 31 device 0 }\n");
    }

    // Cue 101: the committed file, as the generator makes it, a 0.8 s PCM sound that does not click.
    void doorSoundAsset() {
        const QByteArray w = readAll(QStringLiteral(":/WAVE/101"));
        QCOMPARE(w.size(), 17684);
        QCOMPARE(w, door_);
        const auto wave = platform::parseWave(std::as_bytes(std::span(w.constData(), std::size_t(w.size()))));
        QVERIFY(wave.has_value());
        QCOMPARE(reinterpret_cast<const char*>(wave->samples.data()) - w.constData(), 44);
        QCOMPARE(wave->format.channels, 1);
        QCOMPARE(wave->format.sampleRate, 22050u);
        QCOMPARE(wave->format.bitsPerSample, 8);
        QCOMPARE(wave->frameCount(), std::size_t(17640));
        for (int i = 0; i < 22; ++i)
            QVERIFY(qAbs(int(quint8(w[44 + i])) - 128) <= 3 && qAbs(int(quint8(w[w.size() - 1 - i])) - 128) <= 3);
        QVERIFY(!w.mid(44).contains('\0') && !w.mid(44).contains('\xFF'));

        QTemporaryDir out;
        QProcess generator;
        generator.start(QStringLiteral(DOORSOUND_GENERATOR), {out.filePath(QStringLiteral("door.wav"))});
        QVERIFY(generator.waitForFinished(30000) && generator.exitStatus() == QProcess::NormalExit);
        QCOMPARE(generator.exitCode(), 0);
        QCOMPARE(readAll(out.filePath(QStringLiteral("door.wav"))), door_);
    }

    void replacesWaveData_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("longer") << QByteArray(40000, 'x');
        QTest::newRow("same size, other bytes") << QByteArray(17684, '\x80');
    }
    void replacesWaveData() {
        QFETCH(QByteArray, before);
        Common::WaveData = before;
        doors::PlayWave(101);
        QCOMPARE(Common::WaveData, door_);
    }

    void missingResourceLeavesWaveDataEmpty_data() {
        QTest::addColumn<int>("id");
        QTest::newRow("102 (not carried)") << 102;
        QTest::newRow("0") << 0;
        QTest::newRow("-32768") << -32768;
    }
    void missingResourceLeavesWaveDataEmpty() {
        QFETCH(int, id);
        Common::WaveData = door_;
        doors::PlayWave(std::int16_t(id));
        QVERIFY(Common::WaveData.isEmpty());
    }

    void readsTheResourceAnewEachCall() {
        const QString late = QStringLiteral(SOUND_TEST_RCC);  // holds :/WAVE/102
        QVERIFY(QResource::registerResource(late));
        doors::PlayWave(102);
        QCOMPARE(Common::WaveData, short_);
        doors::PlayWave(101);
        QCOMPARE(Common::WaveData, door_);
        QVERIFY(QResource::unregisterResource(late));
        doors::PlayWave(102);
        QVERIFY(Common::WaveData.isEmpty());
    }

    void failsAtOnceAndSilently_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::newRow("no such card") << QByteArray("pcm.!default { type hw card 31 device 0 }\n");
        QTest::newRow("no such device type") << QByteArray("pcm.!default { type no_such_plugin }\n");
        QTest::newRow("no default device") << QByteArray("# nothing here\n");
        QTest::newRow("configuration does not parse") << QByteArray("pcm.!default { type hw card \n");
        QTest::newRow("sound server not running")
            << QByteArray("pcm_type.pulse { lib \"libasound_module_pcm_pulse.so\" }\n"
                          "pcm.!default { type pulse server \"unix:/nonexistent/pulse/native\" }\n");
    }
    void failsAtOnceAndSilently() {
        QFETCH(QByteArray, config);
        useAlsaConfig(config);
        Common::WaveData.clear();
        qint64 ms = -1;
        bool played = true;
        const QByteArray printed = stderrOf([&] {
            QElapsedTimer clock;
            clock.start();
            doors::PlayWave(101);
            ms = clock.elapsed();
            played = platform::playWaveSync(door_);
        });
        QVERIFY(!played);
        QVERIFY2(printed.isEmpty(), printed.constData());
        QVERIFY2(ms < 300, qPrintable(QString::number(ms) + " ms"));  // the sound itself lasts 800 ms
        QCOMPARE(Common::WaveData, door_);
    }

    // With a device that accepts anything: good sounds play, broken data is still refused.
    void playsOnlyWellFormedData_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("played");
        QTest::newRow("door sound") << door_ << true;
        QTest::newRow("short sound") << short_ << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("not a sound at all") << false;
        QTest::newRow("header only") << door_.left(44) << false;
        QTest::newRow("float format") << QByteArray(door_).replace(20, 1, "\x03") << false;
    }
    void playsOnlyWellFormedData() {
        QFETCH(QByteArray, image);
        QFETCH(bool, played);
        useAlsaConfig("pcm.!default { type null }\n");
        bool result = !played;
        QCOMPARE(stderrOf([&] { result = platform::playWaveSync(image); }), QByteArray());
        QCOMPARE(result, played);
    }
};

QTEST_GUILESS_MAIN(PlayWaveTest)
#include "tst_play_wave.moc"
