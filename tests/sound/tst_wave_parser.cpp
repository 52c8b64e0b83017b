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

// size -1: the body's own size; an odd body gets its pad byte unless `pad` is false.
QByteArray chunk(const char* tag, const QByteArray& body, std::int64_t size = -1, bool pad = true) {
    QByteArray out(tag, 4);
    put32(out, std::uint32_t(size >= 0 ? size : body.size()));
    return out + body + (pad && body.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

QByteArray form(const QList<QByteArray>& chunks, const char* type = "WAVE", std::int64_t size = -1) {
    const QByteArray body = QByteArray(type, 4) + chunks.join();
    return chunk("RIFF", body, size, false);
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
    // Accepted images give channels, rate, bits, the samples' offset and the frame count.
    void parses_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<WaveError>("error");
        QTest::addColumn<QList<int>>("expected");
        const auto ok = [](const char* name, const QByteArray& image, QList<int> wave = {1, 22050, 8, 44, 4}) {
            QTest::newRow(name) << image << WaveError::None << wave;
        };
        const auto bad = [](const char* name, const QByteArray& image, WaveError e) {
            QTest::newRow(name) << image << e << QList<int>();
        };
        ok("8-bit mono", form({kFmt, kData}));
        ok("16-bit stereo", withFormat({.channels = 2, .rate = 44100, .bits = 16}, 12), {2, 44100, 16, 44, 3});
        ok("lowest rate", withFormat({.rate = 8000}), {1, 8000, 8, 44, 4});
        ok("highest rate", withFormat({.rate = 192000}), {1, 192000, 8, 44, 4});
        ok("odd chunk skipped with its pad", form({chunk("LIST", "abc"), kFmt, kData}), {1, 22050, 8, 56, 4});
        ok("odd data chunk, padded, then another chunk",
           form({kFmt, chunk("data", QByteArray(5, 0)), chunk("note", "xy")}), {1, 22050, 8, 44, 5});
        ok("odd data chunk ends the form without its pad", form({kFmt, chunk("data", QByteArray(5, 0), -1, false)}),
           {1, 22050, 8, 44, 5});
        ok("18-byte format", withFormat({.extra = QByteArray(2, 0)}), {1, 22050, 8, 46, 4});
        ok("data before format", form({kData, kFmt}), {1, 22050, 8, 20, 4});
        ok("bytes after the form", form({kFmt, kData}) + "junk");
        ok("empty data chunk", form({kFmt, chunk("data", {})}), {1, 22050, 8, 44, 0});
        const int body = form({kFmt, kData}).size() - 8;
        bad("empty", QByteArray(), WaveError::TooShort);
        bad("11 bytes", form({kFmt, kData}).left(11), WaveError::TooShort);
        bad("RIFX", form({kFmt, kData}).replace(0, 4, "RIFX"), WaveError::NotRiff);
        bad("AVI form", form({kFmt, kData}, "AVI "), WaveError::NotWave);
        bad("RIFF size one beyond", form({kFmt, kData}, "WAVE", body + 1), WaveError::BadRiffSize);
        bad("RIFF size huge", form({kFmt, kData}, "WAVE", 0xFFFFFFFF), WaveError::BadRiffSize);
        bad("RIFF size below WAVE", form({kFmt, kData}, "WAVE", 3), WaveError::BadRiffSize);
        bad("upper-case FMT", form({chunk("FMT ", Format{}.bytes()), kData}), WaveError::MissingFormat);
        bad("upper-case DATA", form({kFmt, chunk("DATA", "ab")}), WaveError::MissingData);
        bad("two format chunks", form({kFmt, kFmt, kData}), WaveError::DuplicateChunk);
        bad("two data chunks", form({kFmt, kData, kData}), WaveError::DuplicateChunk);
        bad("float format", withFormat({.tag = 3}), WaveError::NotPcm);
        bad("zero channels", withFormat({.channels = 0, .blockAlign = 1}), WaveError::BadChannels);
        bad("three channels", withFormat({.channels = 3}, 6), WaveError::BadChannels);
        bad("rate 7999", withFormat({.rate = 7999}), WaveError::BadSampleRate);
        bad("rate 192001", withFormat({.rate = 192001}), WaveError::BadSampleRate);
        bad("rate 2^32-1", withFormat({.rate = 0xFFFFFFFFu}), WaveError::BadSampleRate);
        bad("0 bits", withFormat({.bits = 0, .blockAlign = 1}), WaveError::BadBitsPerSample);
        bad("12 bits", withFormat({.bits = 12, .blockAlign = 1}), WaveError::BadBitsPerSample);
        bad("block align 0", withFormat({.blockAlign = 0}), WaveError::BadBlockAlign);
        bad("block align 2 for 8-bit mono", withFormat({.blockAlign = 2}), WaveError::BadBlockAlign);
        bad("byte rate off by one", withFormat({.byteRate = 22051}), WaveError::BadByteRate);
        bad("14-byte format", form({chunk("fmt ", Format{}.bytes().left(14)), kData}), WaveError::FormatTooShort);
        bad("format size huge", form({chunk("fmt ", Format{}.bytes(), 0xFFFFFFF0), kData}), WaveError::ChunkBeyondEnd);
        bad("data size huge", form({kFmt, chunk("data", "abcd", 0xFFFFFFFF)}), WaveError::ChunkBeyondEnd);
        bad("data one byte beyond", form({kFmt, chunk("data", "abcd", 5)}), WaveError::ChunkBeyondEnd);
        // Without its pad byte an odd chunk throws every later header off by one.
        bad("odd chunk without its pad", form({chunk("LIST", "abc", -1, false), kFmt, kData}), WaveError::ChunkBeyondEnd);
        bad("seven stray bytes", form({kFmt, kData, QByteArray(7, 'x')}), WaveError::ChunkHeaderTruncated);
        bad("half a frame", withFormat({.channels = 2, .bits = 16}, 6), WaveError::PartialFrame);
    }
    void parses() {
        QFETCH(QByteArray, image);
        QFETCH(QList<int>, expected);
        WaveError error = WaveError::TooShort;
        const auto wave = parse(image, &error);
        QTEST(error, "error");
        QVERIFY(*platform::describe(error));
        QCOMPARE(wave.has_value(), !expected.isEmpty());
        if (!wave)
            return;
        QCOMPARE(wave->format.formatTag, 1);
        // The samples are a view into the image, not a copy.
        const auto offset = reinterpret_cast<const char*>(wave->samples.data()) - image.constData();
        QCOMPARE((QList<int>{wave->format.channels, int(wave->format.sampleRate), wave->format.bitsPerSample,
                             int(offset), int(wave->frameCount())}), expected);
        QCOMPARE(wave->samples.size(), wave->frameCount() * wave->format.blockAlign);
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
