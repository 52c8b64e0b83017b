#include "assets/AssetPaths.h"
#include "platform/Wave.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::uint32_t le32(const QByteArray& b, int at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

std::uint16_t le16(const QByteArray& b, int at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

const QString kCommitted = QStringLiteral(TARVOLA_SOURCE_DIR "/assets/sounds/door101.wav");

}  // namespace

class DoorSoundAssetTest : public QObject {
    Q_OBJECT

private slots:
    void resourceIsTheCommittedFile();
    void headerIsExact();
    void parsesAsPlayable();
    void staysClearOfTheRailsAndFadesAtBothEnds();
    void generatorReproducesTheCommittedFile();
};

void DoorSoundAssetTest::resourceIsTheCommittedFile() {
    const QByteArray resource = readAll(QLatin1String(assets::kWaveFolder) + QLatin1String("101"));
    QCOMPARE(resource.size(), 17684);
    QCOMPARE(resource, readAll(kCommitted));
}

void DoorSoundAssetTest::headerIsExact() {
    const QByteArray w = readAll(QStringLiteral(":/WAVE/101"));
    QCOMPARE(w.size(), 17684);
    QCOMPARE(w.left(4), QByteArray("RIFF"));
    QCOMPARE(le32(w, 4), 17684u - 8);
    QCOMPARE(w.mid(8, 4), QByteArray("WAVE"));
    QCOMPARE(w.mid(12, 4), QByteArray("fmt "));
    QCOMPARE(le32(w, 16), 16u);
    QCOMPARE(le16(w, 20), 1);      // PCM
    QCOMPARE(le16(w, 22), 1);      // channels
    QCOMPARE(le32(w, 24), 22050u); // samples per second
    QCOMPARE(le32(w, 28), 22050u); // bytes per second
    QCOMPARE(le16(w, 32), 1);      // block align
    QCOMPARE(le16(w, 34), 8);      // bits per sample
    QCOMPARE(w.mid(36, 4), QByteArray("data"));
    QCOMPARE(le32(w, 40), 17640u);
}

void DoorSoundAssetTest::parsesAsPlayable() {
    const QByteArray w = readAll(QStringLiteral(":/WAVE/101"));
    platform::WaveError error = platform::WaveError::None;
    const auto wave = platform::parseWave(std::as_bytes(std::span<const char>(w.constData(), std::size_t(w.size()))),
                                          &error);
    QVERIFY2(wave.has_value(), platform::describe(error));
    QCOMPARE(wave->frameCount(), std::size_t(17640));  // 0.8 s at 22 050 Hz
}

void DoorSoundAssetTest::staysClearOfTheRailsAndFadesAtBothEnds() {
    const QByteArray pcm = readAll(QStringLiteral(":/WAVE/101")).mid(44);
    QCOMPARE(pcm.size(), 17640);
    const auto level = [&](int i) { return int(std::uint8_t(pcm[i])); };
    int low = 255, high = 0;
    for (int i = 0; i < pcm.size(); ++i) {
        low = std::min(low, level(i));
        high = std::max(high, level(i));
    }
    QVERIFY2(low > 0 && high < 255, "clipped samples");
    QVERIFY2(high - low > 128, "too quiet to be heard");
    // The first and last millisecond stay near silence (128): no click at either end.
    for (int i = 0; i < 22; ++i) {
        QVERIFY2(std::abs(level(i) - 128) <= 3, qPrintable(QString("sample %1").arg(i)));
        QVERIFY2(std::abs(level(pcm.size() - 1 - i) - 128) <= 3, qPrintable(QString("sample -%1").arg(i + 1)));
    }
}

void DoorSoundAssetTest::generatorReproducesTheCommittedFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("door.wav"));
    QProcess generator;
    generator.start(QStringLiteral(DOORSOUND_GENERATOR), {out});
    QVERIFY(generator.waitForFinished(30000));
    QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(generator.exitCode(), 0);
    QCOMPARE(readAll(out), readAll(kCommitted));
}

QTEST_GUILESS_MAIN(DoorSoundAssetTest)
#include "tst_door_sound_asset.moc"
