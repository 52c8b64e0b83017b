// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The RIFF WAVE reader: what it takes (the form's chunks in any order, pads, odd endings) and,
// one fault at a time, what it refuses and why, each at the edge of what is allowed.

#include "platform/Wave.h"

#include <QTest>
#include <QtEndian>

Q_DECLARE_METATYPE(platform::WaveError)

namespace {

QByteArray le(quint32 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        out[i] = char(value >> (8 * i));
    return out;
}

QByteArray chunk(const char* tag, const QByteArray& body, bool pad = true) {
    return QByteArray(tag, 4) + le(quint32(body.size()), 4) + body + QByteArray(pad && body.size() % 2 ? 1 : 0, '\0');
}

// channels, rate, bits, then block align and byte rate as they should be unless given.
QByteArray fmt(int channels, quint32 rate, int bits, int align = -1, qint64 byteRate = -1, int tag = 1) {
    align = align < 0 ? channels * bits / 8 : align;
    return chunk("fmt ", le(tag, 2) + le(channels, 2) + le(rate, 4) + le(byteRate < 0 ? rate * align : byteRate, 4) +
                             le(align, 2) + le(bits, 2));
}

QByteArray riff(const QByteArray& chunks, qint64 sizeChange = 0) {
    return "RIFF" + le(quint32(4 + chunks.size() + sizeChange), 4) + "WAVE" + chunks;
}

const QByteArray kSamples("\x01\x02\x03\x04\x05\x06", 6);

}  // namespace

class WaveTest : public QObject {
    Q_OBJECT

private slots:
    void read_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<platform::WaveError>("error");
        QTest::addColumn<int>("frames");
        using E = platform::WaveError;
        const QByteArray mono8 = fmt(1, 8000, 8), data = chunk("data", kSamples);
        QTest::newRow("8-bit mono at 8000 Hz") << riff(mono8 + data) << E::None << 6;
        QTest::newRow("16-bit stereo at 192000 Hz") << riff(fmt(2, 192000, 16) + chunk("data", kSamples + "\7\7")) << E::None << 2;
        QTest::newRow("data before fmt, an odd chunk padded between")
            << riff(data + chunk("LIST", "abc") + mono8) << E::None << 6;
        QTest::newRow("odd last chunk without its pad") << riff(mono8 + chunk("data", "abc", false)) << E::None << 3;
        QTest::newRow("11 bytes") << riff({}).left(11) << E::TooShort << 0;
        QTest::newRow("RIFX") << "RIFX" + riff(mono8 + data).mid(4) << E::NotRiff << 0;
        QTest::newRow("AVI form") << riff(mono8 + data).replace("WAVE", "AVI ") << E::NotWave << 0;
        QTest::newRow("RIFF size a byte past the end") << riff(mono8 + data, 1) << E::BadRiffSize << 0;
        QTest::newRow("RIFF size 3") << riff(mono8 + data, -(mono8 + data).size() - 1) << E::BadRiffSize << 0;
        QTest::newRow("chunk header of 7 bytes") << riff(mono8 + data + QByteArray("LIST\0\0\0", 7)) << E::ChunkHeaderTruncated << 0;
        QTest::newRow("chunk a byte too long")
            << riff(mono8 + "data" + le(7, 4) + kSamples) << E::ChunkBeyondEnd << 0;
        QTest::newRow("two fmt") << riff(mono8 + mono8 + data) << E::DuplicateChunk << 0;
        QTest::newRow("two data") << riff(mono8 + data + data) << E::DuplicateChunk << 0;
        QTest::newRow("no fmt") << riff(data) << E::MissingFormat << 0;
        QTest::newRow("fmt of 15 bytes") << riff(chunk("fmt ", mono8.mid(8, 15)) + data) << E::FormatTooShort << 0;
        QTest::newRow("not PCM") << riff(fmt(1, 8000, 8, -1, -1, 3) + data) << E::NotPcm << 0;
        QTest::newRow("no channel") << riff(fmt(0, 8000, 8, 1, 8000) + data) << E::BadChannels << 0;
        QTest::newRow("3 channels") << riff(fmt(3, 8000, 8) + data) << E::BadChannels << 0;
        QTest::newRow("7999 Hz") << riff(fmt(1, 7999, 8) + data) << E::BadSampleRate << 0;
        QTest::newRow("192001 Hz") << riff(fmt(1, 192001, 8) + data) << E::BadSampleRate << 0;
        QTest::newRow("24 bits") << riff(fmt(1, 8000, 24) + data) << E::BadBitsPerSample << 0;
        QTest::newRow("block align 2 for 8-bit mono") << riff(fmt(1, 8000, 8, 2) + data) << E::BadBlockAlign << 0;
        QTest::newRow("byte rate one short") << riff(fmt(1, 8000, 8, -1, 7999) + data) << E::BadByteRate << 0;
        QTest::newRow("no data") << riff(mono8) << E::MissingData << 0;
        QTest::newRow("half a 16-bit stereo frame")
            << riff(fmt(2, 8000, 16) + chunk("data", kSamples)) << E::PartialFrame << 0;
    }
    void read() {
        QFETCH(QByteArray, bytes);
        QFETCH(platform::WaveError, error);
        QFETCH(int, frames);
        const auto span = std::as_bytes(std::span<const char>(bytes.constData(), std::size_t(bytes.size())));
        auto why = platform::WaveError(-1);
        const auto wave = platform::parseWave(span, &why);
        QCOMPARE(int(why), int(error));
        QCOMPARE(wave.has_value(), error == platform::WaveError::None);
        if (!wave)
            return;
        QCOMPARE(int(wave->frameCount()), frames);
        // The samples are the data chunk's own bytes, where they lie in the file.
        const qsizetype at = bytes.indexOf("data") + 8;
        QCOMPARE(static_cast<const void*>(wave->samples.data()), static_cast<const void*>(bytes.constData() + at));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(wave->samples.data()), qsizetype(wave->samples.size())),
                 bytes.mid(at, frames * wave->format.blockAlign));
    }
};

QTEST_GUILESS_MAIN(WaveTest)
#include "tst_wave.moc"
