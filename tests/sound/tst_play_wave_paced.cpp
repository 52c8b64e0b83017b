#include "app/Common.h"
#include "doors/PlayWave.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

// PlayWave through a real audio sink that keeps real time: a private PulseAudio server
// whose only output is a null sink, which ALSA's "default" device reaches through the
// pulse plugin. The null sink runs in real time only while some stream plays, so a
// second client feeds it silence throughout. PlayWave must return only when the sound
// has ended.

class PlayWavePacedTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void returnsWhenTheSoundHasEnded();
    void cleanupTestCase();

private:
    void stop(QProcess& process);

    QTemporaryDir dir_;
    QProcess server_;
    QProcess feeder_;
};

void PlayWavePacedTest::initTestCase() {
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    const QString pacat = QStandardPaths::findExecutable(QStringLiteral("pacat"));
    if (pulseaudio.isEmpty() || pacat.isEmpty())
        QSKIP("pulseaudio or pacat is not installed (Debian pulseaudio, pulseaudio-utils)");
    QVERIFY(dir_.isValid());
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("run")) && QDir(dir_.path()).mkpath(QStringLiteral("home")));
    QFile(dir_.filePath(QStringLiteral("run")))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // This process and both helpers share the private server's runtime folder and cookie.
    const QByteArray runtime = QFile::encodeName(dir_.filePath(QStringLiteral("run")));
    const QByteArray home = QFile::encodeName(dir_.filePath(QStringLiteral("home")));
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("HOME", home);
    qunsetenv("PULSE_SERVER");
    qunsetenv("ALSA_CONFIG_PATH");
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.start(pulseaudio, {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                               QStringLiteral("-n"), QStringLiteral("--load=module-null-sink sink_name=nullsink"),
                               QStringLiteral("--load=module-native-protocol-unix")});
    if (!server_.waitForStarted(5000))
        QSKIP(qPrintable("pulseaudio could not be started: " + server_.errorString()));
    const QString socket = QString::fromLocal8Bit(runtime) + QStringLiteral("/pulse/native");
    for (int i = 0; i < 100 && !QFileInfo::exists(socket) && server_.state() == QProcess::Running; ++i)
        QThread::msleep(50);
    if (!QFileInfo::exists(socket)) {
        server_.waitForReadyRead(100);
        QSKIP(qPrintable("the private sound server did not start: " +
                         QString::fromLocal8Bit(server_.readAll()).simplified().left(300)));
    }

    feeder_.setProcessEnvironment(env);
    feeder_.start(pacat, {QStringLiteral("--latency-msec=20"), QStringLiteral("--raw"), QStringLiteral("/dev/zero")});
    if (!feeder_.waitForStarted(5000))
        QSKIP(qPrintable("pacat could not be started: " + feeder_.errorString()));
    QThread::sleep(2);  // the sink settles into real time
    if (feeder_.state() != QProcess::Running)
        QSKIP("pacat could not feed the null sink");
}

void PlayWavePacedTest::returnsWhenTheSoundHasEnded() {
    // Twice in a row, as two quick clicks on the middle door would play it.
    for (int i = 0; i < 2; ++i) {
        Common::WaveData.clear();
        QElapsedTimer clock;
        clock.start();
        doors::PlayWave(101);
        const qint64 ms = clock.elapsed();
        qInfo("PlayWave(101) took %lld ms", ms);
        QCOMPARE(Common::WaveData.size(), 17684);
        // 0.8 s of sound cannot have played in less; returning after the last write but
        // before the device has drained would come in about one buffer (0.1 s) short. The
        // upper bound is generous: this checks "played to its end", not speed.
        QVERIFY2(ms >= 780 && ms <= 2000, qPrintable(QString::number(ms) + " ms"));
    }
}

void PlayWavePacedTest::stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

void PlayWavePacedTest::cleanupTestCase() {
    stop(feeder_);
    stop(server_);
}

QTEST_GUILESS_MAIN(PlayWavePacedTest)
#include "tst_play_wave_paced.moc"
