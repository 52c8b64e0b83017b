#include "StderrCapture.h"
#include "app/Common.h"
#include "doors/PlayWave.h"
#include "platform/Sound.h"

#include <QElapsedTimer>
#include <QFile>
#include <QResource>
#include <QTemporaryDir>
#include <QTest>

// Without a working audio output PlayWave must still fill WaveData, then give up at once
// and without a word. ALSA is pointed at configurations under which no device can open,
// through its own ALSA_CONFIG_PATH, the same way a machine without sound would look.

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kLateResources = QStringLiteral(SOUND_TEST_RCC);  // holds ":/WAVE/102"

}  // namespace

class PlayWaveTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void replacesWaveData_data();
    void replacesWaveData();
    void missingResourceLeavesWaveDataEmpty_data();
    void missingResourceLeavesWaveDataEmpty();
    void readsTheResourceAnewEachCall();
    void failsAtOnceAndSilently_data();
    void failsAtOnceAndSilently();
    void playsWhereADeviceOpens();
    void refusesBrokenData_data();
    void refusesBrokenData();

private:
    void useAlsaConfig(const QByteArray& text);

    QTemporaryDir dir_;
    QByteArray door_;
    QByteArray shortSound_;
    int configs_ = 0;
};

void PlayWaveTest::useAlsaConfig(const QByteArray& text) {
    // A new file name each time: ALSA reloads its configuration when the list of files changes.
    const QString path = dir_.filePath(QStringLiteral("alsa%1.conf").arg(++configs_));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(path));
}

void PlayWaveTest::initTestCase() {
    QVERIFY(dir_.isValid());
    door_ = readAll(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/sounds/door101.wav"));
    shortSound_ = readAll(QStringLiteral(TARVOLA_SOURCE_DIR "/tests/sound/data/short.wav"));
    QCOMPARE(door_.size(), 17684);
    QVERIFY(!shortSound_.isEmpty());
    useAlsaConfig("pcm.!default { type hw card 31 device 0 }\n");
}

void PlayWaveTest::replacesWaveData_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("shorter") << QByteArray("RIFF");
    QTest::newRow("longer") << QByteArray(40000, 'x');
    QTest::newRow("same size, other bytes") << QByteArray(17684, '\x80');
}

void PlayWaveTest::replacesWaveData() {
    QFETCH(QByteArray, before);
    Common::WaveData = before;
    doors::PlayWave(101);
    QCOMPARE(Common::WaveData.size(), door_.size());
    QCOMPARE(Common::WaveData, door_);
}

void PlayWaveTest::missingResourceLeavesWaveDataEmpty_data() {
    QTest::addColumn<int>("id");
    QTest::newRow("102 (not carried)") << 102;
    QTest::newRow("0") << 0;
    QTest::newRow("-32768") << -32768;
}

void PlayWaveTest::missingResourceLeavesWaveDataEmpty() {
    QFETCH(int, id);
    Common::WaveData = door_;
    doors::PlayWave(std::int16_t(id));
    QVERIFY(Common::WaveData.isEmpty());
}

void PlayWaveTest::readsTheResourceAnewEachCall() {
    doors::PlayWave(102);
    QVERIFY(Common::WaveData.isEmpty());

    QVERIFY(QResource::registerResource(kLateResources));
    doors::PlayWave(102);
    QCOMPARE(Common::WaveData, shortSound_);
    doors::PlayWave(101);
    QCOMPARE(Common::WaveData, door_);
    doors::PlayWave(102);
    QCOMPARE(Common::WaveData, shortSound_);

    QVERIFY(QResource::unregisterResource(kLateResources));
    doors::PlayWave(102);
    QVERIFY(Common::WaveData.isEmpty());
}

void PlayWaveTest::failsAtOnceAndSilently_data() {
    QTest::addColumn<QByteArray>("config");
    QTest::newRow("card that does not exist") << QByteArray("pcm.!default { type hw card 31 device 0 }\n");
    QTest::newRow("device type that does not exist") << QByteArray("pcm.!default { type no_such_plugin }\n");
    QTest::newRow("no default device at all") << QByteArray("# nothing here\n");
    QTest::newRow("configuration that does not parse") << QByteArray("pcm.!default { type hw card \n");
    QTest::newRow("sound server that is not running")
        << QByteArray("pcm_type.pulse { lib \"libasound_module_pcm_pulse.so\" }\n"
                      "pcm.!default { type pulse server \"unix:/nonexistent/pulse/native\" }\n");
}

void PlayWaveTest::failsAtOnceAndSilently() {
    QFETCH(QByteArray, config);
    useAlsaConfig(config);

    Common::WaveData.clear();
    StderrCapture captured;
    QVERIFY(captured.active());
    QElapsedTimer clock;
    clock.start();
    doors::PlayWave(101);
    const qint64 elapsedMs = clock.elapsed();
    const bool played = platform::playWaveSync(door_);
    const QByteArray printed = captured.take();

    QVERIFY(!played);
    QVERIFY2(printed.isEmpty(), printed.constData());
    // The sound lasts 800 ms; a failure must not cost anything like it.
    QVERIFY2(elapsedMs < 300, qPrintable(QString::number(elapsedMs) + " ms"));
    QCOMPARE(Common::WaveData, door_);
}

// The counterpart of the failures above: the same call succeeds as soon as a device opens.
void PlayWaveTest::playsWhereADeviceOpens() {
    useAlsaConfig("pcm.!default { type null }\n");
    StderrCapture captured;
    QVERIFY(platform::playWaveSync(door_));
    QVERIFY(platform::playWaveSync(shortSound_));
    QVERIFY(captured.take().isEmpty());
}

void PlayWaveTest::refusesBrokenData_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("not a sound at all");
    QTest::newRow("header only") << door_.left(44);
    QByteArray floatFormat = door_;
    floatFormat[20] = 3;
    QTest::newRow("float format") << floatFormat;
}

void PlayWaveTest::refusesBrokenData() {
    QFETCH(QByteArray, image);
    useAlsaConfig("pcm.!default { type null }\n");  // a device that would accept anything
    StderrCapture captured;
    QVERIFY(!platform::playWaveSync(image));
    QVERIFY(captured.take().isEmpty());
}

QTEST_GUILESS_MAIN(PlayWaveTest)
#include "tst_play_wave.moc"
