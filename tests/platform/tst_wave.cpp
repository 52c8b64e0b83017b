// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The RIFF WAVE reader: what the player may hand to the card as it is, and why anything else is
// refused. Each row is a well-formed image with one thing changed, so that it names the one check
// that must refuse it (or let it through, at the edge of what is taken).

#include "platform/Wave.h"

#include <QtEndian>
#include <QtTest>
#include <span>

using platform::WaveError;
Q_DECLARE_METATYPE(WaveError)

namespace {

QByteArray le(quint32 value, int bytes) {
    QByteArray b(4, '\0');
    qToLittleEndian(value, b.data());
    return b.left(bytes);
}

QByteArray chunk(const char* tag, const QByteArray& body) { return tag + le(quint32(body.size()), 4) + body; }

// PCM at `rate` frames a second; block align and byte rate as they follow, unless given.
QByteArray fmt(quint32 channels, quint32 rate, quint32 bits, int align = -1, qint64 byteRate = -1, quint32 tag = 1) {
    const quint32 a = align < 0 ? channels * bits / 8 : quint32(align);
    return chunk("fmt ", le(tag, 2) + le(channels, 2) + le(rate, 4) +
                             le(byteRate < 0 ? rate * a : quint32(byteRate), 4) + le(a, 2) + le(bits, 2));
}

QByteArray riff(const QByteArray& chunks, qint64 size = -1) {
    return "RIFF" + le(size < 0 ? quint32(4 + chunks.size()) : quint32(size), 4) + "WAVE" + chunks;
}

const QByteArray kFrames(8, '\x80');  // eight 8-bit mono frames, four 16-bit mono ones

}  // namespace

class TestWave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reading_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<WaveError>("error");
        QTest::addColumn<int>("frames");  // of an image that is taken
        const QByteArray mono8 = fmt(1, 22050, 8), data = chunk("data", kFrames);
        QTest::newRow("8-bit mono") << riff(mono8 + data) << WaveError::None << 8;
        QTest::newRow("16-bit stereo at 8000 Hz") << riff(fmt(2, 8000, 16) + data) << WaveError::None << 2;
        QTest::newRow("192000 Hz") << riff(fmt(1, 192000, 16) + data) << WaveError::None << 4;
        QTest::newRow("an odd chunk before the data, padded")
            << riff(chunk("LIST", "abc") + '\0' + mono8 + data) << WaveError::None << 8;
        QTest::newRow("11 bytes") << riff({}).left(11) << WaveError::TooShort << 0;
        QTest::newRow("RIFX") << "RIFX" + riff(mono8 + data).mid(4) << WaveError::NotRiff << 0;
        QTest::newRow("AVI form") << riff(mono8 + data).replace("WAVE", "AVI ") << WaveError::NotWave << 0;
        QTest::newRow("a byte more than there is")
            << riff(mono8 + data, 4 + 24 + 16 + 1) << WaveError::BadRiffSize << 0;
        QTest::newRow("too small for WAVE") << riff(mono8 + data, 3) << WaveError::BadRiffSize << 0;
        QTest::newRow("only WAVE") << riff({}) << WaveError::MissingFormat << 0;
        QTest::newRow("7 bytes after the data")
            << riff(mono8 + data + "LIST123") << WaveError::ChunkHeaderTruncated << 0;
        QTest::newRow("data a byte longer than the form")
            << riff(mono8 + data.left(4) + le(9, 4) + kFrames) << WaveError::ChunkBeyondEnd << 0;
        QTest::newRow("two formats") << riff(mono8 + mono8 + data) << WaveError::DuplicateChunk << 0;
        QTest::newRow("two data chunks") << riff(mono8 + data + data) << WaveError::DuplicateChunk << 0;
        QTest::newRow("a 15-byte format")
            << riff(chunk("fmt ", mono8.mid(8, 15)) + '\0' + data) << WaveError::FormatTooShort << 0;
        QTest::newRow("float samples") << riff(fmt(1, 22050, 8, -1, -1, 3) + data) << WaveError::NotPcm << 0;
        QTest::newRow("no channel") << riff(fmt(0, 22050, 8) + data) << WaveError::BadChannels << 0;
        QTest::newRow("three channels") << riff(fmt(3, 22050, 8) + data) << WaveError::BadChannels << 0;
        QTest::newRow("7999 Hz") << riff(fmt(1, 7999, 8) + data) << WaveError::BadSampleRate << 0;
        QTest::newRow("192001 Hz") << riff(fmt(1, 192001, 8) + data) << WaveError::BadSampleRate << 0;
        QTest::newRow("24 bits") << riff(fmt(1, 22050, 24) + chunk("data", QByteArray(9, '\0')))
                                 << WaveError::BadBitsPerSample << 0;
        QTest::newRow("block align 2 for 8-bit mono")
            << riff(fmt(1, 22050, 8, 2, 44100) + data) << WaveError::BadBlockAlign << 0;
        QTest::newRow("byte rate a byte off") << riff(fmt(1, 22050, 8, 1, 22051) + data) << WaveError::BadByteRate << 0;
        QTest::newRow("no data") << riff(mono8) << WaveError::MissingData << 0;
        QTest::newRow("half a 16-bit frame")
            << riff(fmt(1, 22050, 16) + chunk("data", "abc")) << WaveError::PartialFrame << 0;
    }
    void reading() {
        QFETCH(QByteArray, bytes);
        QFETCH(WaveError, error);
        QFETCH(int, frames);
        WaveError why = WaveError::TooShort;
        const auto wave =
            platform::parseWave(std::as_bytes(std::span(bytes.constData(), std::size_t(bytes.size()))), &why);
        QCOMPARE(int(why), int(error));
        QCOMPARE(wave.has_value(), error == WaveError::None);
        if (wave) {
            QCOMPARE(int(wave->frameCount()), frames);
            QCOMPARE(wave->samples.data(),
                     reinterpret_cast<const std::byte*>(bytes.constData() + bytes.indexOf("data") + 8));
        }
    }
};

QTEST_APPLESS_MAIN(TestWave)
#include "tst_wave.moc"
