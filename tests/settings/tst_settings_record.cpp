// The settings record: what SaveIni writes must read back through LoadIni's reader, the
// bytes must keep the documented layout, and every malformed file must fail with the
// error number that sends LoadIni to its fallback.

#include "controls/RuntimeError.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsValues.h"

#include <QTest>

#include <functional>

using settings::SettingsRead;
using settings::SettingsToWrite;

Q_DECLARE_METATYPE(SettingsToWrite)
Q_DECLARE_METATYPE(SettingsRead)

namespace {

SettingsToWrite typical() {
    SettingsToWrite w;
    w.formLeft = -75;
    w.formTop = 0;
    w.panelLeft = 4050;
    w.panelTop = 3600;
    w.makuPath0 = QStringLiteral("/home/user/幕/film.bmp");
    w.makuPath1 = QString();
    w.makuSpeed0 = 1;
    w.makuSpeed1 = 1;
    w.kanbanPath = QString();
    w.kanbanLeft = 8850;
    w.kanbanTop = 1620;
    w.viewKanban = true;
    w.viewWaku = false;
    w.hScroll1 = 10000;
    w.hScroll2 = 6000;
    w.nakaMode = 0;
    return w;
}

// Written by hand from the record's description, not produced by the code under test.
const QByteArray kTypicalLine =
    "-75,0,4050,3600,\"/home/user/\xE5\xB9\x95/film.bmp\",\"\",1,1,\"\",8850,1620,#TRUE#,#FALSE#,10000,6000,0\r\n";

SettingsRead typicalRead() {
    SettingsRead r;
    r.formLeft = -75;
    r.formTop = 0;
    r.panelLeft = 4050;
    r.panelTop = 3600;
    r.makuPath0 = QStringLiteral("/home/user/幕/film.bmp");
    r.makuSpeed0 = 1;
    r.makuSpeed1 = 1;
    r.kanbanLeft = 8850;
    r.kanbanTop = 1620;
    r.viewKanban = true;
    r.viewWaku = false;
    r.hScroll1 = 10000;
    r.hScroll2 = 6000;
    r.nakaMode = 0;
    return r;
}

// The sixteen fields of the typical line, unquoted texts included, to build broken files.
QList<QByteArray> typicalFields() { return kTypicalLine.chopped(2).split(','); }

QByteArray withField(int number, const QByteArray& value) {
    QList<QByteArray> fields = typicalFields();
    fields[number - 1] = value;
    return fields.join(',') + "\r\n";
}

SettingsRead expectedFrom(const SettingsToWrite& w, const std::function<void(SettingsRead&)>& positions) {
    SettingsRead r;
    r.makuPath0 = w.makuPath0;
    r.makuPath1 = w.makuPath1;
    r.makuSpeed0 = w.makuSpeed0;
    r.makuSpeed1 = w.makuSpeed1;
    r.kanbanPath = w.kanbanPath;
    r.viewKanban = w.viewKanban;
    r.viewWaku = w.viewWaku;
    r.hScroll1 = w.hScroll1;
    r.hScroll2 = w.hScroll2;
    r.nakaMode = w.nakaMode;
    positions(r);
    return r;
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
    void writesTheDocumentedLine() { QCOMPARE(settings::formatRecord(typical()), kTypicalLine); }

    void readsTheDocumentedLine() { QCOMPARE(settings::parseRecord(kTypicalLine), typicalRead()); }

    void formatsSingles_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("whole") << 8850.0f << QByteArray("8850");
        QTest::newRow("negative") << -75.0f << QByteArray("-75");
        QTest::newRow("zero") << 0.0f << QByteArray("0");
        QTest::newRow("negative zero") << -0.0f << QByteArray("0");
        QTest::newRow("half") << 1.5f << QByteArray("1.5");
        QTest::newRow("tenth, shortest") << 0.1f << QByteArray("0.1");
        QTest::newRow("negative fraction") << -1234.25f << QByteArray("-1234.25");
        QTest::newRow("1e5 without exponent") << 100000.0f << QByteArray("100000");
        QTest::newRow("below 1e7") << 9999999.0f << QByteArray("9999999");
        QTest::newRow("small") << 0.00001f << QByteArray("0.00001");
    }
    void formatsSingles() {
        QFETCH(float, value);
        QFETCH(QByteArray, text);
        QCOMPARE(settings::formatSingle(value), text);
    }

    void quoteInPathIsDoubled() {
        SettingsToWrite w = typical();
        w.kanbanPath = QStringLiteral("/tmp/a\"b");
        const QByteArray line = settings::formatRecord(w);
        QVERIFY2(line.contains(",\"/tmp/a\"\"b\","), line.constData());
        QCOMPARE(settings::parseRecord(line).kanbanPath, w.kanbanPath);
    }

    void roundTrip_data() {
        QTest::addColumn<SettingsToWrite>("written");
        QTest::addColumn<SettingsRead>("read");
        const auto same = [](const SettingsToWrite& w) {
            return expectedFrom(w, [&w](SettingsRead& r) {
                r.formLeft = static_cast<std::int32_t>(w.formLeft);
                r.formTop = static_cast<std::int32_t>(w.formTop);
                r.panelLeft = static_cast<std::int32_t>(w.panelLeft);
                r.panelTop = static_cast<std::int32_t>(w.panelTop);
                r.kanbanLeft = static_cast<std::int32_t>(w.kanbanLeft);
                r.kanbanTop = static_cast<std::int32_t>(w.kanbanTop);
            });
        };
        QTest::newRow("typical") << typical() << typicalRead();

        SettingsToWrite w = typical();
        w.formLeft = -15360;
        w.formTop = -300;
        w.panelLeft = -1;
        w.panelTop = 9999999;
        w.kanbanLeft = -8790;
        w.kanbanTop = 0;
        QTest::newRow("negative and large positions") << w << same(w);

        w = typical();
        w.formLeft = 1.5f;
        w.formTop = 2.5f;
        w.panelLeft = -2.5f;
        w.panelTop = 1234.75f;
        w.kanbanLeft = 0.4f;
        w.kanbanTop = -7.5f;
        QTest::newRow("fractional positions round half to even") << w << expectedFrom(w, [](SettingsRead& r) {
            r.formLeft = 2;
            r.formTop = 2;
            r.panelLeft = -2;
            r.panelTop = 1235;
            r.kanbanLeft = 0;
            r.kanbanTop = -8;
        });

        w = typical();
        w.makuPath0 = QStringLiteral("/home/u/a,b,c.bmp");
        w.makuPath1 = QStringLiteral(",");
        w.kanbanPath = QStringLiteral("/mnt/x, y/看板 ボード.gif");
        QTest::newRow("paths with commas and Japanese") << w << same(w);

        w = typical();
        w.makuPath0 = QStringLiteral("\"");
        w.makuPath1 = QStringLiteral("/q/\"\"/end\"");
        w.kanbanPath = QStringLiteral("/tmp/say \"hi\", bye.jpg");
        QTest::newRow("paths with double quotes") << w << same(w);

        w = typical();
        w.makuPath0 = QStringLiteral("/odd/line\r\nbreak.bmp");
        w.makuPath1 = QStringLiteral("/odd/cr\ronly");
        w.kanbanPath = QStringLiteral("  /spaces around/  ");
        QTest::newRow("paths with line breaks and outer blanks") << w << same(w);

        w = typical();
        w.makuPath0.clear();
        w.makuPath1.clear();
        w.kanbanPath.clear();
        QTest::newRow("empty paths") << w << same(w);

        w = typical();
        w.makuSpeed0 = -32768;
        w.makuSpeed1 = 32767;
        w.hScroll1 = 1;
        w.hScroll2 = 30000;
        w.nakaMode = 2;
        w.viewKanban = false;
        w.viewWaku = true;
        QTest::newRow("16-bit extremes, flags swapped") << w << same(w);

        w.viewKanban = true;
        w.viewWaku = true;
        w.nakaMode = -1;
        QTest::newRow("both flags, negative mode") << w << same(w);
    }
    void roundTrip() {
        QFETCH(SettingsToWrite, written);
        QFETCH(SettingsRead, read);
        QCOMPARE(settings::parseRecord(settings::formatRecord(written)), read);
    }

    void numberFields_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("value");
        QTest::newRow("2.5 to even") << QByteArray("2.5") << 1 << 2;
        QTest::newRow("3.5 to even") << QByteArray("3.5") << 1 << 4;
        QTest::newRow("-2.5 to even") << QByteArray("-2.5") << 1 << -2;
        QTest::newRow("0.5 to even") << QByteArray("0.5") << 10 << 0;
        QTest::newRow("2.4999") << QByteArray("2.4999") << 14 << 2;
        QTest::newRow("2.5001") << QByteArray("2.5001") << 15 << 3;
        QTest::newRow("plus sign") << QByteArray("+7") << 7 << 7;
        QTest::newRow("exponent") << QByteArray("1.25E2") << 11 << 125;
        QTest::newRow("negative exponent") << QByteArray("2500e-2") << 2 << 25;
        QTest::newRow("leading point") << QByteArray(".5") << 3 << 0;
        QTest::newRow("trailing point") << QByteArray("5.") << 4 << 5;
        QTest::newRow("negative zero") << QByteArray("-0") << 8 << 0;
        QTest::newRow("leading zeros") << QByteArray("000042") << 14 << 42;
        QTest::newRow("tiny") << QByteArray("1e-999") << 1 << 0;
        QTest::newRow("int32 minimum") << QByteArray("-2147483648") << 1 << int(-2147483647 - 1);
        QTest::newRow("int32 maximum") << QByteArray("2147483647") << 15 << 2147483647;
        QTest::newRow("rounds back into int32") << QByteArray("-2147483648.5") << 2 << int(-2147483647 - 1);
        QTest::newRow("int16 mode maximum") << QByteArray("32767") << 16 << 32767;
        QTest::newRow("int16 mode minimum") << QByteArray("-32768") << 16 << -32768;
        QTest::newRow("mode 1.5 to even") << QByteArray("1.5") << 16 << 2;
        QTest::newRow("blanks around") << QByteArray(" \t 12 \t") << 14 << 12;
        QTest::newRow("quoted number") << QByteArray("\"12\"") << 7 << 12;
    }
    void numberFields() {
        QFETCH(QByteArray, text);
        QFETCH(int, field);
        QFETCH(int, value);
        const SettingsRead r = settings::parseRecord(withField(field, text));
        const std::int32_t byField[] = {r.formLeft,  r.formTop,   r.panelLeft, r.panelTop, 0,          0,
                                        r.makuSpeed0, r.makuSpeed1, 0,         r.kanbanLeft, r.kanbanTop, 0,
                                        0,           r.hScroll1,  r.hScroll2, r.nakaMode};
        QCOMPARE(byField[field - 1], value);
    }

    void booleanFields_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("value");
        QTest::newRow("#TRUE#") << QByteArray("#TRUE#") << true;
        QTest::newRow("#FALSE#") << QByteArray("#FALSE#") << false;
        QTest::newRow("blanks") << QByteArray("  #FALSE#\t") << false;
        QTest::newRow("0") << QByteArray("0") << false;
        QTest::newRow("0.0") << QByteArray("0.0") << false;
        QTest::newRow("1") << QByteArray("1") << true;
        QTest::newRow("-1") << QByteArray("-1") << true;
        QTest::newRow("fraction") << QByteArray("0.25") << true;
    }
    void booleanFields() {
        QFETCH(QByteArray, text);
        QFETCH(bool, value);
        QCOMPARE(settings::parseRecord(withField(12, text)).viewKanban, value);
        QCOMPARE(settings::parseRecord(withField(13, text)).viewWaku, value);
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
        QTest::newRow("junk after quote") << withField(5, "\"/home/user/\xE5\xB9\x95/film.bmp\"  junk here");
        QTest::newRow("blanks around every field") << " " + line.split(',').join(" ,\t ") + " \r\n";
    }
    void ignoresWhatFollowsTheRecord() {
        QFETCH(QByteArray, bytes);
        QCOMPARE(settings::parseRecord(bytes), typicalRead());
    }

    void errors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        const QList<QByteArray> fields = typicalFields();
        QTest::newRow("empty file") << QByteArray() << ctl::err::kInputPastEnd;
        QTest::newRow("only a byte order mark") << QByteArray("\xEF\xBB\xBF") << ctl::err::kInputPastEnd;
        QTest::newRow("empty first line") << "\r\n" + kTypicalLine << ctl::err::kInputPastEnd;
        QTest::newRow("blank first line") << " \t\n" + kTypicalLine << ctl::err::kInputPastEnd;
        for (int present = 1; present < 16; ++present) {
            const QByteArray head = fields.mid(0, present).join(',');
            QTest::addRow("field %d missing at line end", present + 1) << head + "\r\n" << ctl::err::kInputPastEnd;
            QTest::addRow("field %d missing at end of data", present + 1) << head << ctl::err::kInputPastEnd;
        }
        QTest::newRow("record cut by lone CR")
            << fields.mid(0, 6).join(',') + "\r" + fields.mid(6).join(',') << ctl::err::kInputPastEnd;
        QTest::newRow("record cut by lone LF")
            << fields.mid(0, 12).join(',') + "\n" + fields.mid(12).join(',') << ctl::err::kInputPastEnd;
        QTest::newRow("unterminated quote swallows the rest")
            << fields.mid(0, 8).join(',') + ",\"/tmp/x,1,2\r\n" << ctl::err::kInputPastEnd;

        QTest::newRow("letters in a position") << withField(1, "abc") << ctl::err::kTypeMismatch;
        QTest::newRow("letters after digits") << withField(7, "12x") << ctl::err::kTypeMismatch;
        QTest::newRow("two numbers in a field") << withField(10, "1 2") << ctl::err::kTypeMismatch;
        QTest::newRow("empty number field") << withField(14, "") << ctl::err::kTypeMismatch;
        QTest::newRow("empty last field") << withField(16, "") << ctl::err::kTypeMismatch;
        QTest::newRow("lone sign") << withField(2, "-") << ctl::err::kTypeMismatch;
        QTest::newRow("lone point") << withField(3, ".") << ctl::err::kTypeMismatch;
        QTest::newRow("exponent without digits") << withField(4, "1e") << ctl::err::kTypeMismatch;
        QTest::newRow("two decimal points") << withField(11, "1.620.5") << ctl::err::kTypeMismatch;
        QTest::newRow("thousands blank") << withField(15, "6 000") << ctl::err::kTypeMismatch;
        QTest::newRow("infinity spelled") << withField(1, "inf") << ctl::err::kTypeMismatch;
        QTest::newRow("hex") << withField(8, "0x10") << ctl::err::kTypeMismatch;
        QTest::newRow("full-width digit") << withField(16, "\xEF\xBC\x91") << ctl::err::kTypeMismatch;
        QTest::newRow("empty quoted number") << withField(14, "\"\"") << ctl::err::kTypeMismatch;
        QTest::newRow("Boolean word") << withField(12, "True") << ctl::err::kTypeMismatch;
        QTest::newRow("empty Boolean") << withField(13, "") << ctl::err::kTypeMismatch;
        QTest::newRow("Boolean misspelt") << withField(13, "#TRUE") << ctl::err::kTypeMismatch;

        QTest::newRow("mode above int16") << withField(16, "32768") << ctl::err::kOverflow;
        QTest::newRow("mode below int16") << withField(16, "-32769") << ctl::err::kOverflow;
        QTest::newRow("mode rounds out of int16") << withField(16, "32767.5") << ctl::err::kOverflow;
        QTest::newRow("position above int32") << withField(1, "2147483648") << ctl::err::kOverflow;
        QTest::newRow("position below int32") << withField(11, "-2147483649") << ctl::err::kOverflow;
        QTest::newRow("rounds to even out of int32") << withField(4, "2147483647.5") << ctl::err::kOverflow;
        QTest::newRow("speed by exponent") << withField(7, "1e10") << ctl::err::kOverflow;
        QTest::newRow("door speed, many digits") << withField(14, "99999999999999999999999") << ctl::err::kOverflow;
        QTest::newRow("beyond double") << withField(15, "-1e400") << ctl::err::kOverflow;
        QTest::newRow("huge exponent") << withField(2, "1e99999999999999999999") << ctl::err::kOverflow;
    }
    void errors() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        QCOMPARE(errorNumberOf(bytes), number);
    }

    void firstErrorInFieldOrderWins() {
        QCOMPARE(errorNumberOf("x,0,0,0"), ctl::err::kTypeMismatch);  // before the missing fields
        QByteArray line = withField(3, "1e12");
        line.replace(",8850,", ",oops,");
        QCOMPARE(errorNumberOf(line), ctl::err::kOverflow);  // field 3 before field 10
    }

    void speedsAreReadAs32Bit() {
        // Out of the 16-bit range but not of the reading target: applying them fails, not reading.
        QCOMPARE(settings::parseRecord(withField(7, "40000")).makuSpeed0, 40000);
        QCOMPARE(settings::parseRecord(withField(15, "-100000")).hScroll2, -100000);
    }

    void invalidUtf8InPathIsReadLossily() {
        const SettingsRead r = settings::parseRecord(withField(9, "\"/tmp/\xFF\xC3(\xE5\xB9\""));
        QVERIFY(r.kanbanPath.startsWith(QStringLiteral("/tmp/")));
        QVERIFY(r.kanbanPath.contains(QChar(0xFFFD)));
        QCOMPARE(r.kanbanLeft, 8850);
    }

    void unquotedTextIsTrimmed() {
        const SettingsRead r = settings::parseRecord(withField(5, "  /plain/path.bmp\t"));
        QCOMPARE(r.makuPath0, QStringLiteral("/plain/path.bmp"));
    }

    void scrollValuesAre16Bit() {
        QCOMPARE(settings::toScrollValue(-32768), std::int16_t(-32768));
        QCOMPARE(settings::toScrollValue(32767), std::int16_t(32767));
        for (const std::int32_t v : {32768, -32769, 2147483647}) {
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
