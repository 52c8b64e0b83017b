// The settings record: what SaveIni writes reads back through LoadIni's reader, the bytes
// keep the record's layout, and every malformed file fails with the error number that
// sends LoadIni to its fallback.

#include "controls/RuntimeError.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsValues.h"

#include <QTest>

using settings::SettingsRead;
using settings::SettingsToWrite;
Q_DECLARE_METATYPE(SettingsToWrite)

namespace {

const SettingsToWrite kTypical{-75, 0, 4050, 3600, QStringLiteral("/home/user/幕/film.bmp"), {}, 1, 1, {},
                               8850, 1620, true, false, 10000, 6000, 0};
// Written by hand, not produced by the code under test.
const QByteArray kTypicalLine =
    "-75,0,4050,3600,\"/home/user/\xE5\xB9\x95/film.bmp\",\"\",1,1,\"\",8850,1620,#TRUE#,#FALSE#,10000,6000,0\r\n";

SettingsRead readOf(const SettingsToWrite& w) {
    return {std::int32_t(w.formLeft), std::int32_t(w.formTop), std::int32_t(w.panelLeft), std::int32_t(w.panelTop),
            w.makuPath0, w.makuPath1, w.makuSpeed0, w.makuSpeed1, w.kanbanPath, std::int32_t(w.kanbanLeft),
            std::int32_t(w.kanbanTop), w.viewKanban, w.viewWaku, w.hScroll1, w.hScroll2, w.nakaMode};
}

QByteArray withField(int number, const QByteArray& value) {
    QList<QByteArray> fields = kTypicalLine.chopped(2).split(',');
    fields[number - 1] = value;
    return fields.join(',') + "\r\n";
}

int errorNumberOf(const QByteArray& bytes) {
    try {
        settings::parseRecord(bytes);
    } catch (const ctl::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

class TestSettingsRecord : public QObject {
    Q_OBJECT

private slots:
    void theRecordsLayout() {
        QCOMPARE(settings::formatRecord(kTypical), kTypicalLine);
        QCOMPARE(settings::parseRecord(kTypicalLine), readOf(kTypical));
    }

    void formatsSingles_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("negative") << -75.0f << QByteArray("-75");
        QTest::newRow("negative zero") << -0.0f << QByteArray("0");
        QTest::newRow("tenth, shortest") << 0.1f << QByteArray("0.1");
        QTest::newRow("negative fraction") << -1234.25f << QByteArray("-1234.25");
        QTest::newRow("below 1e7, no exponent") << 9999999.0f << QByteArray("9999999");
        QTest::newRow("small, no exponent") << 0.00001f << QByteArray("0.00001");
    }
    void formatsSingles() {
        QFETCH(float, value);
        QTEST(settings::formatSingle(value), "text");
    }

    void roundTrip_data() {
        QTest::addColumn<SettingsToWrite>("written");
        SettingsToWrite w = kTypical;
        w.formLeft = -15360, w.panelLeft = -1, w.panelTop = 9999999, w.kanbanLeft = -8790;
        QTest::newRow("negative and large positions") << w;
        w = kTypical;
        w.makuPath0 = QStringLiteral("/home/u/a,b,c.bmp"), w.makuPath1 = QStringLiteral(",");
        w.kanbanPath = QStringLiteral("/mnt/x, y/看板 ボード.gif");
        QTest::newRow("paths with commas and Japanese") << w;
        w.makuPath0 = QStringLiteral("\""), w.makuPath1 = QStringLiteral("/q/\"\"/end\"");
        w.kanbanPath = QStringLiteral("/tmp/say \"hi\", bye.jpg");
        QTest::newRow("paths with double quotes") << w;
        w.makuPath0 = QStringLiteral("/odd/line\r\nbreak.bmp"), w.makuPath1 = QStringLiteral("/odd/cr\ronly");
        w.kanbanPath = QStringLiteral("  /spaces around/  ");
        QTest::newRow("paths with line breaks and outer blanks") << w;
        w = kTypical;
        w.makuSpeed0 = -32768, w.makuSpeed1 = 32767, w.hScroll1 = 1, w.hScroll2 = 30000, w.nakaMode = 2;
        w.viewKanban = false, w.viewWaku = true;
        QTest::newRow("16-bit extremes, flags swapped") << w;
    }
    void roundTrip() {
        QFETCH(SettingsToWrite, written);
        QCOMPARE(settings::parseRecord(settings::formatRecord(written)), readOf(written));
    }

    // Each number field read alone; fractions round half to even.
    void numberFields_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("value");
        QTest::newRow("2.5 to even") << QByteArray("2.5") << 1 << 2;
        QTest::newRow("3.5 to even") << QByteArray("3.5") << 2 << 4;
        QTest::newRow("-2.5 to even") << QByteArray("-2.5") << 3 << -2;
        QTest::newRow("2.5001") << QByteArray("2.5001") << 4 << 3;
        QTest::newRow("exponent") << QByteArray("1.25E2") << 11 << 125;
        QTest::newRow("leading point") << QByteArray(".5") << 10 << 0;
        QTest::newRow("plus sign, leading zeros") << QByteArray("+007") << 7 << 7;
        QTest::newRow("roll speed beyond 16 bits") << QByteArray("40000") << 8 << 40000;
        QTest::newRow("door speed beyond 16 bits") << QByteArray("-100000") << 15 << -100000;
        QTest::newRow("int32 minimum, rounded back") << QByteArray("-2147483648.5") << 1 << int(-2147483647 - 1);
        QTest::newRow("int32 maximum") << QByteArray("2147483647") << 14 << 2147483647;
        QTest::newRow("int16 mode minimum") << QByteArray("-32768") << 16 << -32768;
        QTest::newRow("mode 1.5 to even") << QByteArray("1.5") << 16 << 2;
        QTest::newRow("blanks around") << QByteArray(" \t 12 \t") << 14 << 12;
        QTest::newRow("quoted number") << QByteArray("\"12\"") << 7 << 12;
    }
    void numberFields() {
        QFETCH(QByteArray, text);
        QFETCH(int, field);
        const SettingsRead r = settings::parseRecord(withField(field, text));
        const std::int32_t byField[] = {r.formLeft,   r.formTop,    r.panelLeft, r.panelTop,   0,           0,
                                        r.makuSpeed0, r.makuSpeed1, 0,           r.kanbanLeft, r.kanbanTop, 0,
                                        0,            r.hScroll1,   r.hScroll2,  r.nakaMode};
        QTEST(int(byField[field - 1]), "value");
    }

    void booleanFields_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("value");
        QTest::newRow("#TRUE#") << QByteArray("#TRUE#") << true;
        QTest::newRow("#FALSE# in blanks") << QByteArray("  #FALSE#\t") << false;
        QTest::newRow("0") << QByteArray("0") << false;
        QTest::newRow("-1") << QByteArray("-1") << true;
    }
    void booleanFields() {
        QFETCH(QByteArray, text);
        QTEST(settings::parseRecord(withField(12, text)).viewKanban, "value");
        QTEST(settings::parseRecord(withField(13, text)).viewWaku, "value");
    }

    void ignoresWhatFollowsTheRecord_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray line = kTypicalLine.chopped(2);
        QTest::newRow("more fields") << line + ",17,\"x\",#TRUE#\r\n";
        QTest::newRow("more lines") << line + "\r\n1,2,3\r\ngarbage\xFF\r\n";
        QTest::newRow("LF line end") << line + "\n-1\n";
        QTest::newRow("lone CR line end") << line + "\r-1\r";
        QTest::newRow("no line end") << line;
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + kTypicalLine;
        QTest::newRow("junk after quote") << withField(5, "\"/home/user/\xE5\xB9\x95/film.bmp\"  junk");
        QTest::newRow("blanks around every field") << " " + line.split(',').join(" ,\t ") + " \r\n";
    }
    void ignoresWhatFollowsTheRecord() {
        QFETCH(QByteArray, bytes);
        QCOMPARE(settings::parseRecord(bytes), readOf(kTypical));
    }

    void errors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        const QList<QByteArray> fields = kTypicalLine.chopped(2).split(',');
        QTest::newRow("empty file") << QByteArray() << ctl::err::kInputPastEnd;
        QTest::newRow("only a byte order mark") << QByteArray("\xEF\xBB\xBF") << ctl::err::kInputPastEnd;
        QTest::newRow("blank first line") << " \t\n" + kTypicalLine << ctl::err::kInputPastEnd;
        for (int present = 1; present < 16; ++present) {
            QTest::addRow("field %d missing at line end", present + 1)
                << fields.mid(0, present).join(',') + "\r\n" << ctl::err::kInputPastEnd;
            QTest::addRow("field %d missing at end of data", present + 1)
                << fields.mid(0, present).join(',') << ctl::err::kInputPastEnd;
        }
        QTest::newRow("record cut by lone CR")
            << fields.mid(0, 6).join(',') + "\r" + fields.mid(6).join(',') << ctl::err::kInputPastEnd;
        QTest::newRow("unterminated quote swallows the rest")
            << fields.mid(0, 8).join(',') + ",\"/tmp/x,1,2\r\n" << ctl::err::kInputPastEnd;
        for (const auto& [field, text] : {std::pair{1, "abc"}, {7, "12x"}, {10, "1 2"}, {14, ""}, {16, ""}, {2, "-"},
                                          {3, "."}, {4, "1e"}, {11, "1.620.5"}, {1, "inf"}, {8, "0x10"},
                                          {16, "\xEF\xBC\x91"}, {14, "\"\""}, {12, "True"}, {13, ""}, {13, "#TRUE"}})
            QTest::addRow("field %d: %s", field, text) << withField(field, text) << ctl::err::kTypeMismatch;
        for (const auto& [field, text] : {std::pair{16, "32768"}, {16, "-32769"}, {16, "32767.5"}, {1, "2147483648"},
                                          {11, "-2147483649"}, {4, "2147483647.5"}, {7, "1e10"}, {15, "-1e400"},
                                          {2, "1e99999999999999999999"}})
            QTest::addRow("field %d: %s", field, text) << withField(field, text) << ctl::err::kOverflow;
    }
    void errors() {
        QFETCH(QByteArray, bytes);
        QTEST(errorNumberOf(bytes), "number");
    }

    void firstErrorInFieldOrderWins() {
        QCOMPARE(errorNumberOf("x,0,0,0"), ctl::err::kTypeMismatch);  // before the missing fields
        QCOMPARE(errorNumberOf(withField(3, "1e12").replace(",8850,", ",oops,")), ctl::err::kOverflow);
    }

    void invalidUtf8InPathIsReadLossily() {
        const SettingsRead r = settings::parseRecord(withField(9, "\"/tmp/\xFF\xC3(\xE5\xB9\""));
        QVERIFY(r.kanbanPath.startsWith(QStringLiteral("/tmp/")) && r.kanbanPath.contains(QChar(0xFFFD)));
        QCOMPARE(r.kanbanLeft, 8850);
    }

    void scrollValuesAre16Bit() {
        QCOMPARE(settings::toScrollValue(-32768), std::int16_t(-32768));
        QCOMPARE(settings::toScrollValue(32767), std::int16_t(32767));
        for (const std::int32_t v : {32768, -32769}) {
            try {
                settings::toScrollValue(v);
                QFAIL("no overflow");
            } catch (const ctl::RuntimeError& e) {
                QCOMPARE(e.number(), ctl::err::kOverflow);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsRecord)
#include "tst_settings_record.moc"
