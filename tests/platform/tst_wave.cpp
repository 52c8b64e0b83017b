// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The WAVE reader at the edges of what it takes: the formats the card is handed unchanged are
// read with their fields whole (also those past 16 bits), anything else is refused with its reason.

#include "platform/Wave.h"

#include <QtEndian>
#include <QtTest>

using platform::WaveError;

namespace {

QByteArray le(quint32 value, int bytes) {
    QByteArray b(4, '\0');
    qToLittleEndian(value, b.data());
    return b.left(bytes);
}

QByteArray chunk(const QByteArray& tag, const QByteArray& body) {
    return tag + le(quint32(body.size()), 4) + body + QByteArray(body.size() % 2, '\0');
}

QByteArray format(int channels, quint32 rate, int bits = 8) {
    const int blockAlign = channels * bits / 8;
    return chunk("fmt ",
                 le(1, 2) + le(channels, 2) + le(rate, 4) + le(rate * blockAlign, 4) + le(blockAlign, 2) + le(bits, 2));
}

QByteArray riff(const QByteArray& chunks, qsizetype sizeField = -1) {
    return "RIFF" + le(quint32(sizeField < 0 ? 4 + chunks.size() : sizeField), 4) + "WAVE" + chunks;
}

const QByteArray kFrames(4, '\x80');

}  // namespace

class TestWave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readOrRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<WaveError>("error");
        QTest::addColumn<quint32>("rate");  // read back when taken
        QTest::addColumn<int>("frames");
        const QByteArray mono = format(1, 22050);
        const QByteArray data = chunk("data", kFrames);
        QTest::newRow("the door sound's kind") << riff(mono + data) << WaveError::None << 22050u << 4;
        QTest::newRow("an odd chunk and its pad before the format")
            << riff(chunk("LIST", "abc") + mono + data) << WaveError::None << 22050u << 4;
        QTest::newRow("stereo, 16 bits, 96 kHz") << riff(format(2, 96000, 16) + data) << WaveError::None << 96000u << 1;
        QTest::newRow("8 kHz") << riff(format(1, 8000) + data) << WaveError::None << 8000u << 4;
        QTest::newRow("192 kHz") << riff(format(1, 192000) + data) << WaveError::None << 192000u << 4;
        QTest::newRow("a data chunk past 64 KiB")
            << riff(mono + chunk("data", QByteArray(0x10002, '\x80'))) << WaveError::None << 22050u << 0x10002;
        QTest::newRow("7999 Hz") << riff(format(1, 7999) + data) << WaveError::BadSampleRate << 0u << 0;
        QTest::newRow("192001 Hz") << riff(format(1, 192001) + data) << WaveError::BadSampleRate << 0u << 0;
        QTest::newRow("no channel") << riff(format(0, 22050) + data) << WaveError::BadChannels << 0u << 0;
        QTest::newRow("three channels") << riff(format(3, 22050) + data) << WaveError::BadChannels << 0u << 0;
        QTest::newRow("RIFX") << "RIFX" + riff(mono + data).mid(4) << WaveError::NotRiff << 0u << 0;
        QTest::newRow("a RIFF size past the end")
            << riff(mono + data, 5 + mono.size() + data.size()) << WaveError::BadRiffSize << 0u << 0;
        QTest::newRow("a RIFF size too small for WAVE") << riff(mono + data, 3) << WaveError::BadRiffSize << 0u << 0;
        QTest::newRow("a format chunk one byte short")
            << riff(chunk("fmt ", mono.mid(8, 15)) + data) << WaveError::FormatTooShort << 0u << 0;
        QTest::newRow("a partial frame") << riff(format(2, 22050, 16) + chunk("data", "\1\2\3\4\5\6"))
                                         << WaveError::PartialFrame << 0u << 0;
    }
    void readOrRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(WaveError, error);
        WaveError why = WaveError::TooShort;
        const auto wave = platform::parseWave(std::as_bytes(std::span(bytes.constData(), bytes.size())), &why);
        QCOMPARE(int(why), int(error));
        QCOMPARE(wave.has_value(), error == WaveError::None);
        if (wave) {
            QTEST(wave->format.sampleRate, "rate");
            QTEST(int(wave->frameCount()), "frames");
        }
    }
};

QTEST_APPLESS_MAIN(TestWave)
#include "tst_wave.moc"
