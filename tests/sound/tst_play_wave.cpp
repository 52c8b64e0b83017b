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
    ::dup2(file.handle(), 2), run(), std::fflush(stderr);
    ::dup2(saved, 2), ::close(saved);
    return file.seek(0) ? file.readAll() : "cannot reread the capture";
}

}  // namespace

class PlayWaveTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QByteArray door_ = readAll(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/sounds/door101.wav"));
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
        QVERIFY(wave && wave->format.channels == 1 && wave->format.sampleRate == 22050u);
        QVERIFY(wave->format.bitsPerSample == 8 && wave->frameCount() == 17640);
        for (int i = 0; i < 22; ++i)
            QVERIFY(qAbs(int(quint8(w[44 + i])) - 128) <= 3 && qAbs(int(quint8(w[w.size() - 1 - i])) - 128) <= 3);
        QVERIFY(!w.mid(44).contains('\0') && !w.mid(44).contains('\xFF'));

        QTemporaryDir out;
        QCOMPARE(QProcess::execute(QStringLiteral(DOORSOUND_GENERATOR), {out.filePath(QStringLiteral("door.wav"))}), 0);
        QCOMPARE(readAll(out.filePath(QStringLiteral("door.wav"))), door_);
    }

    // WaveData is replaced whole, or emptied when the resource is not carried.
    void replacesWaveData_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("empty before") << 101 << QByteArray();
        QTest::newRow("longer before") << 101 << QByteArray(40000, 'x');
        QTest::newRow("same size before") << 101 << QByteArray(17684, '\x80');
        QTest::newRow("102, not carried") << 102 << QByteArray(10, 'x');
        QTest::newRow("0") << 0 << QByteArray(10, 'x');
        QTest::newRow("-32768") << -32768 << QByteArray(10, 'x');
    }
    void replacesWaveData() {
        QFETCH(int, id);
        QFETCH(QByteArray, before);
        Common::WaveData = before;
        doors::PlayWave(std::int16_t(id));
        QCOMPARE(Common::WaveData, id == 101 ? door_ : QByteArray());
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

    // Without a device: refused at once and silently, WaveData still set. With a null device that
    // accepts anything: good sounds play, broken data is still refused.
    void playsOnlyWhereItCan_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("played");
        QTest::newRow("no such card") << QByteArray("pcm.!default { type hw card 31 device 0 }\n") << door_ << false;
        QTest::newRow("configuration does not parse") << QByteArray("pcm.!default { type hw card \n") << door_ << false;
        QTest::newRow("sound server not running")
            << QByteArray("pcm_type.pulse { lib \"libasound_module_pcm_pulse.so\" }\n"
                          "pcm.!default { type pulse server \"unix:/nonexistent/pulse/native\" }\n") << door_ << false;
        const QByteArray null("pcm.!default { type null }\n");
        QTest::newRow("door sound") << null << door_ << true;
        QTest::newRow("short sound") << null << short_ << true;
        QTest::newRow("empty") << null << QByteArray() << false;
        QTest::newRow("header only") << null << door_.left(44) << false;
        QTest::newRow("float format") << null << QByteArray(door_).replace(20, 1, "\x03") << false;
    }
    void playsOnlyWhereItCan() {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, image);
        QFETCH(bool, played);
        useAlsaConfig(config);
        Common::WaveData.clear();
        bool result = !played;
        QElapsedTimer clock;
        qint64 ms = -1;
        const QByteArray printed = stderrOf([&] {
            result = platform::playWaveSync(image);
            if (!config.contains("null"))
                clock.start(), doors::PlayWave(101), ms = clock.elapsed();
        });
        QVERIFY2(printed.isEmpty(), printed.constData());
        QCOMPARE(result, played);
        if (!config.contains("null")) {
            QVERIFY2(ms < 300, qPrintable(QString::number(ms) + " ms"));  // the sound itself lasts 800 ms
            QCOMPARE(Common::WaveData, door_);
        }
    }
};

QTEST_GUILESS_MAIN(PlayWaveTest)
#include "tst_play_wave.moc"
