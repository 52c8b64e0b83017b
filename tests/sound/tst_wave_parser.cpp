#include "platform/Wave.h"

#include <QTest>

using platform::WaveError;
Q_DECLARE_METATYPE(platform::WaveError)

// RIFF images built byte by byte, so that each row breaks exactly one thing.
namespace {

void put16(QByteArray& out, std::uint32_t v) { out.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF)); }
void put32(QByteArray& out, std::uint32_t v) { put16(out, v & 0xFFFF), put16(out, v >> 16); }

struct Format {
    std::uint16_t tag = 1, channels = 1;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 8;
    std::int64_t blockAlign = -1, byteRate = -1;  // -1: consistent with the rest
    QByteArray extra = {};
    QByteArray bytes() const {
        const auto align = std::uint32_t(blockAlign >= 0 ? blockAlign : channels * (bits / 8));
        QByteArray out;
        put16(out, tag), put16(out, channels), put32(out, rate);
        put32(out, std::uint32_t(byteRate >= 0 ? byteRate : rate * align)), put16(out, align), put16(out, bits);
        return out + extra;
    }
};

QByteArray chunk(const char* tag, const QByteArray& body, std::int64_t size = -1, bool pad = true) {
    QByteArray out(tag, 4);
    put32(out, std::uint32_t(size >= 0 ? size : body.size()));
    return out + body + (pad && body.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

QByteArray form(const QList<QByteArray>& chunks, const char* type = "WAVE", std::int64_t size = -1) {
    QByteArray body(type, 4);
    for (const QByteArray& c : chunks)
        body += c;
    QByteArray out("RIFF");
    put32(out, std::uint32_t(size >= 0 ? size : body.size()));
    return out + body;
}

const QByteArray kFmt = chunk("fmt ", Format{}.bytes());
const QByteArray kData = chunk("data", QByteArray(4, '\x80'));
QByteArray withFormat(const Format& f, int samples = 4) {
    return form({chunk("fmt ", f.bytes()), chunk("data", QByteArray(samples, '\x80'))});
}

std::optional<platform::WaveView> parse(const QByteArray& b, WaveError* error) {
    return platform::parseWave(std::as_bytes(std::span(b.constData(), std::size_t(b.size()))), error);
}

}  // namespace

class WaveParserTest : public QObject {
    Q_OBJECT

private slots:
    void accepts_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("sampleOffset");
        QTest::addColumn<int>("frames");
        QTest::newRow("8-bit mono") << form({kFmt, kData}) << 1 << 22050 << 8 << 44 << 4;
        QTest::newRow("16-bit stereo") << withFormat({.channels = 2, .rate = 44100, .bits = 16}, 12) << 2 << 44100
                                       << 16 << 44 << 3;
        QTest::newRow("lowest rate") << withFormat({.rate = 8000}) << 1 << 8000 << 8 << 44 << 4;
        QTest::newRow("highest rate") << withFormat({.rate = 192000}) << 1 << 192000 << 8 << 44 << 4;
        QTest::newRow("odd chunk skipped with its pad") << form({chunk("LIST", "abc"), kFmt, kData}) << 1 << 22050
                                                        << 8 << 56 << 4;
        QTest::newRow("odd data chunk, padded, then another chunk")
            << form({kFmt, chunk("data", QByteArray(5, 0)), chunk("note", "xy")}) << 1 << 22050 << 8 << 44 << 5;
        QTest::newRow("odd data chunk ends the form without its pad")
            << form({kFmt, chunk("data", QByteArray(5, 0), -1, false)}) << 1 << 22050 << 8 << 44 << 5;
        QTest::newRow("18-byte format") << withFormat({.extra = QByteArray(2, 0)}) << 1 << 22050 << 8 << 46 << 4;
        QTest::newRow("data before format") << form({kData, kFmt}) << 1 << 22050 << 8 << 20 << 4;
        QTest::newRow("bytes after the form") << form({kFmt, kData}) + "junk" << 1 << 22050 << 8 << 44 << 4;
        QTest::newRow("empty data chunk") << form({kFmt, chunk("data", {})}) << 1 << 22050 << 8 << 44 << 0;
    }
    void accepts() {
        QFETCH(QByteArray, image);
        QFETCH(int, frames);
        WaveError error = WaveError::NotRiff;
        const auto wave = parse(image, &error);
        QVERIFY2(wave.has_value(), platform::describe(error));
        QCOMPARE(error, WaveError::None);
        QCOMPARE(wave->format.formatTag, 1);
        QTEST(int(wave->format.channels), "channels");
        QTEST(int(wave->format.sampleRate), "rate");
        QTEST(int(wave->format.bitsPerSample), "bits");
        // The samples are a view into the image, not a copy.
        QTEST(int(reinterpret_cast<const char*>(wave->samples.data()) - image.constData()), "sampleOffset");
        QCOMPARE(wave->frameCount(), std::size_t(frames));
        QCOMPARE(wave->samples.size(), std::size_t(frames * wave->format.blockAlign));
    }

    void rejects_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<WaveError>("expected");
        const int body = form({kFmt, kData}).size() - 8;
        QTest::newRow("empty") << QByteArray() << WaveError::TooShort;
        QTest::newRow("11 bytes") << form({kFmt, kData}).left(11) << WaveError::TooShort;
        QTest::newRow("RIFX") << form({kFmt, kData}).replace(0, 4, "RIFX") << WaveError::NotRiff;
        QTest::newRow("AVI form") << form({kFmt, kData}, "AVI ") << WaveError::NotWave;
        QTest::newRow("RIFF size one beyond") << form({kFmt, kData}, "WAVE", body + 1) << WaveError::BadRiffSize;
        QTest::newRow("RIFF size huge") << form({kFmt, kData}, "WAVE", 0xFFFFFFFF) << WaveError::BadRiffSize;
        QTest::newRow("RIFF size below WAVE") << form({kFmt, kData}, "WAVE", 3) << WaveError::BadRiffSize;
        QTest::newRow("upper-case FMT") << form({chunk("FMT ", Format{}.bytes()), kData}) << WaveError::MissingFormat;
        QTest::newRow("no format chunk") << form({kData}) << WaveError::MissingFormat;
        QTest::newRow("upper-case DATA") << form({kFmt, chunk("DATA", "ab")}) << WaveError::MissingData;
        QTest::newRow("no data chunk") << form({kFmt}) << WaveError::MissingData;
        QTest::newRow("two format chunks") << form({kFmt, kFmt, kData}) << WaveError::DuplicateChunk;
        QTest::newRow("two data chunks") << form({kFmt, kData, kData}) << WaveError::DuplicateChunk;
        QTest::newRow("float format") << withFormat({.tag = 3}) << WaveError::NotPcm;
        QTest::newRow("extensible format") << withFormat({.tag = 0xFFFE}) << WaveError::NotPcm;
        QTest::newRow("zero channels") << withFormat({.channels = 0, .blockAlign = 1}) << WaveError::BadChannels;
        QTest::newRow("three channels") << withFormat({.channels = 3}, 6) << WaveError::BadChannels;
        for (const std::uint32_t rate : {7999u, 192001u, 0xFFFFFFFFu})
            QTest::addRow("rate %u", rate) << withFormat({.rate = rate}) << WaveError::BadSampleRate;
        for (const std::uint16_t bits : {0, 12, 24})
            QTest::addRow("%u bits", unsigned(bits)) << withFormat({.bits = bits, .blockAlign = 1})
                                                    << WaveError::BadBitsPerSample;
        QTest::newRow("block align 0") << withFormat({.blockAlign = 0}) << WaveError::BadBlockAlign;
        QTest::newRow("block align 2 for 8-bit mono") << withFormat({.blockAlign = 2}) << WaveError::BadBlockAlign;
        QTest::newRow("byte rate off by one") << withFormat({.byteRate = 22051}) << WaveError::BadByteRate;
        QTest::newRow("14-byte format") << form({chunk("fmt ", Format{}.bytes().left(14)), kData})
                                        << WaveError::FormatTooShort;
        QTest::newRow("format size huge") << form({chunk("fmt ", Format{}.bytes(), 0xFFFFFFF0), kData})
                                          << WaveError::ChunkBeyondEnd;
        QTest::newRow("data size huge") << form({kFmt, chunk("data", "abcd", 0xFFFFFFFF)}) << WaveError::ChunkBeyondEnd;
        QTest::newRow("data one byte beyond") << form({kFmt, chunk("data", "abcd", 5)}) << WaveError::ChunkBeyondEnd;
        QTest::newRow("unknown chunk beyond") << form({chunk("LIST", "abcd", 0x7FFFFFFF), kFmt, kData})
                                              << WaveError::ChunkBeyondEnd;
        // Without its pad byte an odd chunk throws every later header off by one.
        QTest::newRow("odd chunk without its pad") << form({chunk("LIST", "abc", -1, false), kFmt, kData})
                                                   << WaveError::ChunkBeyondEnd;
        QTest::newRow("seven stray bytes") << form({kFmt, kData, QByteArray(7, 'x')})
                                           << WaveError::ChunkHeaderTruncated;
        QTest::newRow("half a frame") << withFormat({.channels = 2, .bits = 16}, 6) << WaveError::PartialFrame;
    }
    void rejects() {
        QFETCH(QByteArray, image);
        WaveError error = WaveError::None;
        QVERIFY(!parse(image, &error).has_value());
        QTEST(error, "expected");
        QVERIFY(*platform::describe(error));
    }

    // Cut anywhere, with the RIFF size kept or fitted to the cut: refused, never read past the end.
    void rejectsEveryTruncation() {
        const QByteArray whole = form({chunk("LIST", "abc"), kFmt, chunk("data", QByteArray(6, 0))});
        for (int cut = 0; cut < whole.size(); ++cut) {
            QByteArray fitted = whole.left(cut), size;
            put32(size, std::uint32_t(std::max(cut - 8, 0)));
            for (const QByteArray& image : {whole.left(cut), cut >= 8 ? fitted.replace(4, 4, size) : fitted}) {
                WaveError error = WaveError::None;
                QVERIFY2(!parse(image, &error).has_value() && error != WaveError::None, qPrintable(QString::number(cut)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(WaveParserTest)
#include "tst_wave_parser.moc"
