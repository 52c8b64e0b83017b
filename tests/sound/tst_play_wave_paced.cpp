#include "app/Common.h"
#include "doors/PlayWave.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

// A private sound server whose only output is a null sink, reached through ALSA's pulse
// plugin. The null sink keeps real time only while some stream plays, so pacat feeds it silence.
class PlayWavePacedTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QProcess server_, feeder_;

private slots:
    void initTestCase() {
        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio"), pacat = QStandardPaths::findExecutable("pacat");
        if (pulseaudio.isEmpty() || pacat.isEmpty())
            QSKIP("pulseaudio or pacat is not installed");
        QVERIFY(QDir(dir_.path()).mkpath("run") && QDir(dir_.path()).mkpath("home"));
        QFile(dir_.filePath("run")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir_.filePath("run")));
        qputenv("HOME", QFile::encodeName(dir_.filePath("home")));
        qunsetenv("PULSE_SERVER"), qunsetenv("ALSA_CONFIG_PATH");
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(pulseaudio, {"--daemonize=no", "--exit-idle-time=-1", "-n",
                                   "--load=module-null-sink sink_name=nullsink", "--load=module-native-protocol-unix"});
        for (int i = 0; i < 100 && !QFileInfo::exists(dir_.filePath("run/pulse/native")) && server_.waitForStarted(5000); ++i)
            QThread::msleep(50);
        if (!QFileInfo::exists(dir_.filePath("run/pulse/native")))
            QSKIP(qPrintable("no private sound server: " + QString::fromLocal8Bit(server_.readAll()).left(300)));
        feeder_.setProcessChannelMode(QProcess::MergedChannels);
        feeder_.start(pacat, {"--latency-msec=20", "--raw", "/dev/zero"});
        feeder_.waitForStarted(5000);
        QThread::sleep(2);  // the sink settles into real time
        if (feeder_.waitForFinished(0) || feeder_.state() != QProcess::Running)
            QSKIP(qPrintable("pacat could not feed the null sink: " + QString::fromLocal8Bit(feeder_.readAll()).left(300)));
    }

    // Twice, as two quick clicks on the middle door play it. Returning after the last write
    // but before the device drained would come about 0.1 s short.
    void returnsWhenTheSoundHasEnded() {
        for (int i = 0; i < 2; ++i) {
            QElapsedTimer clock;
            clock.start();
            doors::PlayWave(101);
            const qint64 ms = clock.elapsed();
            QCOMPARE(Common::WaveData.size(), 17684);
            QVERIFY2(ms >= 780 && ms <= 2000, qPrintable(QString::number(ms) + " ms"));
        }
    }

    void cleanupTestCase() {
        for (QProcess* p : {&feeder_, &server_})
            if (p->terminate(); !p->waitForFinished(3000))
                p->kill(), p->waitForFinished(1000);
    }
};

QTEST_GUILESS_MAIN(PlayWavePacedTest)
#include "tst_play_wave_paced.moc"
