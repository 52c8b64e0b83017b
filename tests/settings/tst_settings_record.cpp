// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The settings record: what SaveIni writes reads back through LoadIni's reader, the bytes
// keep the record's layout, and every malformed file fails with the error number that
// sends LoadIni to its fallback.

#include "TestFiles.h"
#include "settings/SettingsRecord.h"

#include <QTest>

using settings::Record;

namespace {

const Record kTypical{-75, 0, 4050, 3600, QStringLiteral("/home/user/幕/film.bmp"), {}, 1, 1, {},
                      8850, 1620, true, false, 10000, 6000, 0};
// Written by hand, not produced by the code under test.
const QByteArray kTypicalLine =
    "-75,0,4050,3600,\"/home/user/\xE5\xB9\x95/film.bmp\",\"\",1,1,\"\",8850,1620,#TRUE#,#FALSE#,10000,6000,0\r\n";

QByteArray withField(int number, const QByteArray& value) {
    QList<QByteArray> fields = kTypicalLine.chopped(2).split(',');
    fields[number - 1] = value;
    return fields.join(',') + "\r\n";
}

}  // namespace

class TestSettingsRecord : public QObject {
    Q_OBJECT

private slots:
    void theRecordsLayout() {
        QCOMPARE(settings::formatRecord(kTypical), kTypicalLine);
        QCOMPARE(settings::parseRecord(kTypicalLine), kTypical);
        // A byte order mark before it, more fields and lines after it change nothing.
        QCOMPARE(settings::parseRecord("\xEF\xBB\xBF" + kTypicalLine.chopped(2) + ",17,\"x\"\r\n1,2\r\n"), kTypical);
    }

    // Each number or flag field read alone; fractions round half to even.
    void numberFields_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("field");
        QTest::addColumn<double>("value");
        QTest::newRow("2.5 to even") << QByteArray("2.5") << 1 << 2.0;
        QTest::newRow("3.5 to even") << QByteArray("3.5") << 2 << 4.0;
        QTest::newRow("exponent") << QByteArray("1.25E2") << 11 << 125.0;
        QTest::newRow("roll speed beyond 16 bits") << QByteArray("40000") << 8 << 40000.0;
        QTest::newRow("int32 minimum, rounded back") << QByteArray("-2147483648.5") << 1 << -2147483648.0;
        QTest::newRow("#FALSE# in blanks") << QByteArray("  #FALSE#\t") << 12 << 0.0;
        QTest::newRow("-1 is true") << QByteArray("-1") << 13 << 1.0;
        QTest::newRow("below the smallest double") << QByteArray("1e-330") << 1 << 0.0;
    }
    void numberFields() {
        QFETCH(QByteArray, text);
        QFETCH(int, field);
        const Record r = settings::parseRecord(withField(field, text));
        const double byField[] = {r.formLeft,         r.formTop,          r.panelLeft,   r.panelTop,  0, 0,
                                  double(r.makuSpeed0), double(r.makuSpeed1), 0,             r.kanbanLeft,
                                  r.kanbanTop,        double(r.viewKanban), double(r.viewWaku), double(r.hScroll1),
                                  double(r.hScroll2), double(r.nakaMode)};
        QTEST(byField[field - 1], "value");
    }

    void errors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        const QList<QByteArray> fields = kTypicalLine.chopped(2).split(',');
        QTest::newRow("empty file") << QByteArray() << 62;
        for (int present = 1; present < 16; ++present)
            QTest::addRow("field %d missing", present + 1) << fields.mid(0, present).join(',') + "\r\n" << 62;
        QTest::newRow("unterminated quote") << fields.mid(0, 8).join(',') + ",\"/tmp/x,1,2\r\n" << 62;
        for (const auto& [field, text] : {std::pair{1, "abc"}, {7, "12x"}, {10, "1 2"}, {14, ""}, {4, "1e"},
                                          {1, "inf"}, {8, "0x10"}, {14, "\"\""}, {12, "True"}, {13, "#TRUE"}})
            QTest::addRow("field %d: %s", field, text) << withField(field, text) << 13;
        for (const auto& [field, text] : {std::pair{16, "32768"}, {16, "32767.5"}, {1, "2147483648"},
                                          {11, "-2147483649"}, {15, "-1e400"}, {15, "1e309"}})
            QTest::addRow("field %d: %s", field, text) << withField(field, text) << 6;
    }
    void errors() {
        QFETCH(QByteArray, bytes);
        QTEST(testfiles::errorOf([&] { settings::parseRecord(bytes); }).number(), "number");
    }

};

QTEST_GUILESS_MAIN(TestSettingsRecord)
#include "tst_settings_record.moc"
