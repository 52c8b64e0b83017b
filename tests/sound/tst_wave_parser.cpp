#include "RiffBuilder.h"
#include "platform/Wave.h"

#include <QTest>

using platform::WaveError;
using namespace riff;

Q_DECLARE_METATYPE(platform::WaveError)

namespace {

std::span<const std::byte> view(const QByteArray& bytes) {
    return std::as_bytes(std::span<const char>(bytes.constData(), std::size_t(bytes.size())));
}

}  // namespace

class WaveParserTest : public QObject {
    Q_OBJECT

private slots:
    void accepts_data();
    void accepts();
    void rejects_data();
    void rejects();
    void rejectsEveryTruncation_data();
    void rejectsEveryTruncation();
};

void WaveParserTest::accepts_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("sampleOffset");  // where the samples start in the image
    QTest::addColumn<int>("sampleBytes");
    QTest::addColumn<int>("frames");

    QTest::newRow("8-bit mono") << minimal() << 1 << 22050 << 8 << 44 << 4 << 4;

    Format stereo16;
    stereo16.channels = 2;
    stereo16.rate = 44100;
    stereo16.bits = 16;
    QTest::newRow("16-bit stereo") << form({chunk("fmt ", stereo16.bytes()), chunk("data", samples(12, 0))}) << 2
                                   << 44100 << 16 << 44 << 12 << 3;

    Format lowest;
    lowest.rate = 8000;
    QTest::newRow("lowest rate") << form({chunk("fmt ", lowest.bytes()), chunk("data", samples(2))}) << 1 << 8000
                                 << 8 << 44 << 2 << 2;
    Format highest;
    highest.rate = 192000;
    QTest::newRow("highest rate") << form({chunk("fmt ", highest.bytes()), chunk("data", samples(2))}) << 1
                                  << 192000 << 8 << 44 << 2 << 2;

    // An odd-sized chunk before the format is padded to an even length: 8 + 3 + 1 bytes.
    QTest::newRow("odd chunk skipped with its pad")
        << form({chunk("LIST", "abc"), chunk("fmt ", Format{}.bytes()), chunk("data", samples(4))}) << 1 << 22050
        << 8 << 56 << 4 << 4;

    QTest::newRow("odd data chunk, padded, then another chunk")
        << form({chunk("fmt ", Format{}.bytes()), chunk("data", samples(5)), chunk("note", "xy")}) << 1 << 22050
        << 8 << 44 << 5 << 5;

    QTest::newRow("odd data chunk ends the form without its pad")
        << form({chunk("fmt ", Format{}.bytes()), chunk("data", samples(5), -1, false)}) << 1 << 22050 << 8 << 44
        << 5 << 5;

    Format withSize;
    withSize.extra = QByteArray(2, '\0');  // the 18-byte form with an empty extension
    QTest::newRow("18-byte format") << form({chunk("fmt ", withSize.bytes()), chunk("data", samples(4))}) << 1
                                    << 22050 << 8 << 46 << 4 << 4;

    QTest::newRow("data before format") << form({chunk("data", samples(4)), chunk("fmt ", Format{}.bytes())}) << 1
                                        << 22050 << 8 << 20 << 4 << 4;

    QTest::newRow("bytes after the form are not part of it") << minimal() + QByteArray("trailing junk") << 1
                                                             << 22050 << 8 << 44 << 4 << 4;

    QTest::newRow("empty data chunk") << form({chunk("fmt ", Format{}.bytes()), chunk("data", {})}) << 1 << 22050
                                      << 8 << 44 << 0 << 0;
}

void WaveParserTest::accepts() {
    QFETCH(QByteArray, image);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(int, sampleOffset);
    QFETCH(int, sampleBytes);
    QFETCH(int, frames);

    WaveError error = WaveError::NotRiff;
    const std::optional<platform::WaveView> wave = platform::parseWave(view(image), &error);
    QVERIFY2(wave.has_value(), platform::describe(error));
    QCOMPARE(error, WaveError::None);
    QCOMPARE(wave->format.formatTag, 1);
    QCOMPARE(wave->format.channels, channels);
    QCOMPARE(wave->format.sampleRate, std::uint32_t(rate));
    QCOMPARE(wave->format.bitsPerSample, bits);
    // The samples are a view into the image, not a copy.
    QCOMPARE(static_cast<const void*>(wave->samples.data()),
             static_cast<const void*>(image.constData() + sampleOffset));
    QCOMPARE(wave->samples.size(), std::size_t(sampleBytes));
    QCOMPARE(wave->frameCount(), std::size_t(frames));
}

void WaveParserTest::rejects_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<WaveError>("expected");

    const QByteArray fmt = chunk("fmt ", Format{}.bytes());
    const QByteArray data = chunk("data", samples(4));
    const auto withFormat = [&](const Format& f) { return form({chunk("fmt ", f.bytes()), data}); };

    QTest::newRow("empty") << QByteArray() << WaveError::TooShort;
    QTest::newRow("11 bytes") << minimal().left(11) << WaveError::TooShort;
    QTest::newRow("RIFX") << form({fmt, data}, "WAVE", -1, "RIFX") << WaveError::NotRiff;
    QTest::newRow("AVI form") << form({fmt, data}, "AVI ") << WaveError::NotWave;

    const int body = minimal().size() - 8;
    QTest::newRow("RIFF size one beyond") << form({fmt, data}, "WAVE", body + 1) << WaveError::BadRiffSize;
    QTest::newRow("RIFF size huge") << form({fmt, data}, "WAVE", 0xFFFFFFFF) << WaveError::BadRiffSize;
    QTest::newRow("RIFF size too small for WAVE") << form({fmt, data}, "WAVE", 3) << WaveError::BadRiffSize;

    QTest::newRow("upper-case FMT") << form({chunk("FMT ", Format{}.bytes()), data}) << WaveError::MissingFormat;
    QTest::newRow("no format chunk") << form({data}) << WaveError::MissingFormat;
    QTest::newRow("upper-case DATA") << form({fmt, chunk("DATA", samples(4))}) << WaveError::MissingData;
    QTest::newRow("no data chunk") << form({fmt}) << WaveError::MissingData;
    QTest::newRow("two format chunks") << form({fmt, fmt, data}) << WaveError::DuplicateChunk;
    QTest::newRow("two data chunks") << form({fmt, data, data}) << WaveError::DuplicateChunk;

    Format f;
    f.tag = 3;
    QTest::newRow("format tag 3 (float)") << withFormat(f) << WaveError::NotPcm;
    f.tag = 0xFFFE;
    QTest::newRow("extensible format") << withFormat(f) << WaveError::NotPcm;

    f = Format{};
    f.channels = 0;
    f.blockAlign = 1;
    QTest::newRow("zero channels") << withFormat(f) << WaveError::BadChannels;
    f = Format{};
    f.channels = 3;
    QTest::newRow("three channels") << withFormat(f) << WaveError::BadChannels;

    for (const std::uint32_t rate : {7999u, 192001u, 0xFFFFFFFFu}) {
        f = Format{};
        f.rate = rate;
        QTest::addRow("rate %u", rate) << withFormat(f) << WaveError::BadSampleRate;
    }
    for (const std::uint16_t bits : {0, 12, 24}) {
        f = Format{};
        f.bits = bits;
        f.blockAlign = 1;
        QTest::addRow("%u bits", unsigned(bits)) << withFormat(f) << WaveError::BadBitsPerSample;
    }

    f = Format{};
    f.blockAlign = 0;
    QTest::newRow("block align 0") << withFormat(f) << WaveError::BadBlockAlign;
    f.blockAlign = 2;
    QTest::newRow("block align 2 for 8-bit mono") << withFormat(f) << WaveError::BadBlockAlign;
    f = Format{};
    f.byteRate = 22051;
    QTest::newRow("byte rate off by one") << withFormat(f) << WaveError::BadByteRate;

    QTest::newRow("format chunk of 14 bytes") << form({chunk("fmt ", Format{}.bytes().left(14)), data})
                                              << WaveError::FormatTooShort;

    QTest::newRow("format chunk size huge") << form({chunk("fmt ", Format{}.bytes(), 0xFFFFFFF0), data})
                                            << WaveError::ChunkBeyondEnd;
    QTest::newRow("data chunk size huge") << form({fmt, chunk("data", samples(4), 0xFFFFFFFF)})
                                          << WaveError::ChunkBeyondEnd;
    QTest::newRow("data chunk one byte beyond the form") << form({fmt, chunk("data", samples(4), 5)})
                                                         << WaveError::ChunkBeyondEnd;
    QTest::newRow("unknown chunk size beyond the form")
        << form({chunk("LIST", "abcd", 0x7FFFFFFF), fmt, data}) << WaveError::ChunkBeyondEnd;
    // Without its pad byte an odd chunk throws every later header off by one.
    QTest::newRow("odd chunk without its pad before more chunks")
        << form({chunk("LIST", "abc", -1, false), fmt, data}) << WaveError::ChunkBeyondEnd;
    QTest::newRow("seven stray bytes in the form") << form({fmt, data, QByteArray(7, 'x')})
                                                   << WaveError::ChunkHeaderTruncated;

    Format stereo16;
    stereo16.channels = 2;
    stereo16.bits = 16;
    QTest::newRow("16-bit stereo, half a frame") << form({chunk("fmt ", stereo16.bytes()), chunk("data", samples(6))})
                                                 << WaveError::PartialFrame;
}

void WaveParserTest::rejects() {
    QFETCH(QByteArray, image);
    QFETCH(WaveError, expected);

    WaveError error = WaveError::None;
    const std::optional<platform::WaveView> wave = platform::parseWave(view(image), &error);
    QVERIFY(!wave.has_value());
    QCOMPARE(error, expected);
    QVERIFY(QByteArray(platform::describe(error)).size() > 0);
}

// A file cut anywhere is refused, whether its RIFF size still tells the old length or was
// shortened to match the cut.
void WaveParserTest::rejectsEveryTruncation_data() {
    QTest::addColumn<QByteArray>("image");
    const QByteArray whole =
        form({chunk("LIST", "abc"), chunk("fmt ", Format{}.bytes()), chunk("data", samples(6))});
    for (int cut = 0; cut < whole.size(); ++cut) {
        QTest::addRow("cut at %d, size kept", cut) << whole.left(cut);
        if (cut >= 12) {
            QByteArray resized = whole.left(cut);
            const QByteArray size = [&] { QByteArray s; put32(s, std::uint32_t(cut - 8)); return s; }();
            resized.replace(4, 4, size);
            QTest::addRow("cut at %d, size fitted", cut) << resized;
        }
    }
}

void WaveParserTest::rejectsEveryTruncation() {
    QFETCH(QByteArray, image);
    WaveError error = WaveError::None;
    QVERIFY(!platform::parseWave(view(image), &error).has_value());
    QVERIFY(error != WaveError::None);
}

QTEST_GUILESS_MAIN(WaveParserTest)
#include "tst_wave_parser.moc"
