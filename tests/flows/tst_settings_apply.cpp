// The settings file applied at start and written back at shutdown.

#include "FlowSupport.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

// One record in the file's layout; the paths are given as they are stored.
struct Record {
    QByteArray formLeft = "1500", formTop = "1200", panelLeft = "3000", panelTop = "4500";
    QString film0, film1, kanban;
    QByteArray speed0 = "5", speed1 = "7";
    QByteArray kanbanLeft = "4000", kanbanTop = "900";
    QByteArray viewKanban = "#FALSE#", viewWaku = "#FALSE#";
    QByteArray door1 = "123", door2 = "456", mode = "1";

    QByteArray line() const {
        const auto q = [](const QString& s) { return '"' + s.toUtf8() + '"'; };
        return formLeft + ',' + formTop + ',' + panelLeft + ',' + panelTop + ',' + q(film0) + ',' + q(film1) +
               ',' + speed0 + ',' + speed1 + ',' + q(kanban) + ',' + kanbanLeft + ',' + kanbanTop + ',' +
               viewKanban + ',' + viewWaku + ',' + door1 + ',' + door2 + ',' + mode + "\r\n";
    }
};

void writeSettings(const QByteArray& bytes) {
    QFile f(settings::settingsFilePath());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write the settings file");
}

QByteArray readSettings() {
    QFile f(settings::settingsFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Starts the window as the program does, from the prepared file.
std::unique_ptr<Form1> startWith(const QByteArray& bytes) {
    writeSettings(bytes);
    Common::MakuPath = {};
    Common::KanbanPath.clear();
    auto form = std::make_unique<Form1>();
    form->doorWait = [](int) {};
    form->playWave = [](std::int16_t) {};
    form->Form_Load();
    form->show();
    return form;
}

ctl::ScaleRect kResetPlace{8790, 1680, 1410, 450};

}  // namespace

class TestSettingsApply : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString film0_, film1_, kanban_;

private Q_SLOTS:
    void initTestCase() {
        platform::installFontSubstitutions();
        QVERIFY(dir_.isValid());
        // Commas and Japanese characters in folder and file names.
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("行先, 幕")));
        const QDir sub(dir_.filePath(QStringLiteral("行先, 幕")));
        film0_ = flows::writePicture(sub, QStringLiteral("方向幕,0.bmp"), {48, 400}, Qt::red);
        film1_ = flows::writePicture(sub, QStringLiteral("film1.bmp"), {40, 200}, Qt::blue);
        kanban_ = flows::writePicture(sub, QStringLiteral("看板.bmp"), {80, 30}, Qt::green);
    }
    void cleanup() { QFile::remove(settings::settingsFilePath()); }

    void fullRecordRestoresEveryField() {
        Record r;
        r.film0 = film0_;
        r.film1 = film1_;
        r.kanban = kanban_;
        auto form = startWith(r.line());
        frmSet& panel = form->panel();
        QCOMPARE(form->Left(), 1500.0f);
        QCOMPARE(form->Top(), 1200.0f);
        QCOMPARE(panel.Left(), 3000.0f);
        QCOMPARE(panel.Top(), 4500.0f);
        QCOMPARE(Common::MakuPath[0], film0_);
        QCOMPARE(Common::MakuPath[1], film1_);
        QCOMPARE(Common::KanbanPath, kanban_);
        QCOMPARE(form->imgMaku1(0)->picture().size(), QSize(48, 400));
        QCOMPARE(form->imgMaku1(1)->picture().size(), QSize(40, 200));
        QCOMPARE(form->imgMaku1(0)->Top(), 0.0f);
        QCOMPARE(panel.scllMakuSpeed(0)->Value(), std::int16_t(5));
        QCOMPARE(panel.scllMakuSpeed(1)->Value(), std::int16_t(7));
        QCOMPARE(panel.lblMakuSpeed(0)->text(), QStringLiteral("5"));
        QCOMPARE(panel.lblMakuSpeed(1)->text(), QStringLiteral("7"));
        QCOMPARE(panel.HScroll1->Value(), std::int16_t(123));
        QCOMPARE(panel.HScroll2->Value(), std::int16_t(456));
        QCOMPARE(panel.lblMaeSpeed->text(), QStringLiteral("123"));
        QCOMPARE(panel.lblNakaSpeed->text(), QStringLiteral("456"));
        QVERIFY(!panel.Option1(0)->isChecked());
        QVERIFY(panel.Option1(1)->isChecked());
        QVERIFY(!panel.Option1(2)->isChecked());
        // The board at its stored place, sized by its picture (80 × 30 pixels), the frame around it.
        const ctl::ScaleRect board{4000, 900, 1200, 450};
        QCOMPARE(form->PicKanban->scaleRect(), board);
        QCOMPARE(form->shpK_Waku(0)->rect(), (ctl::ScaleRect{3925, 900, 75, 465}));
        QCOMPARE(form->shpK_Waku(1)->rect(), (ctl::ScaleRect{5200, 900, 75, 465}));
        QCOMPARE(form->shpK_Waku(2)->rect(), (ctl::ScaleRect{3925, 1350, 1350, 60}));
        QVERIFY(!form->PicKanban->isVisibleTo(form.get()));
        QVERIFY(!form->MnuViewKanban->Checked());
        QVERIFY(!form->MnuViewWaku->Checked());
        for (std::int16_t i = 0; i < 3; ++i)
            QVERIFY(!form->shpK_Waku(i)->Visible());
    }

    void roundTripIsByteForByte_data() {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("films");
        QTest::newRow("mode 0, shown, films") << QByteArray("0") << true << true;
        QTest::newRow("mode 1, hidden, films") << QByteArray("1") << false << true;
        QTest::newRow("mode 2, shown, no films") << QByteArray("2") << true << false;
    }
    void roundTripIsByteForByte() {
        QFETCH(QByteArray, mode);
        QFETCH(bool, visible);
        QFETCH(bool, films);
        Record r;
        r.mode = mode;
        r.viewKanban = r.viewWaku = visible ? "#TRUE#" : "#FALSE#";
        r.kanbanLeft = "-75";
        r.kanbanTop = "30";
        r.speed0 = "1000";
        r.speed1 = "0";
        r.door1 = "30000";
        r.door2 = "1";
        if (films) {
            r.film0 = film0_;
            r.film1 = film1_;
        }
        r.kanban = kanban_;
        const QByteArray line = r.line();
        auto form = startWith(line);
        QFile::remove(settings::settingsFilePath());
        form->SaveIni();
        QCOMPARE(readSettings(), line);
    }

    void fractionsAreReadAsWholeNumbers() {
        Record r;
        r.formLeft = "1500.4";
        r.kanbanLeft = "4000.5";  // half to even
        r.kanbanTop = "901.5";
        auto form = startWith(r.line());
        QCOMPARE(form->Left(), 1500.0f);
        QCOMPARE(form->PicKanban->Left(), 4000.0f);
        QCOMPARE(form->PicKanban->Top(), 902.0f);
    }

    void fallbacks_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("appliedBeforeFailing");  // places, visibility, board were applied
        QTest::addColumn<bool>("filmShown");             // film 0 was applied before the failure
        QTest::newRow("front door speed 0") << "door" << true << false;
        QTest::newRow("middle door speed 30001") << "door2" << true << false;
        QTest::newRow("roll speed 1001") << "roll" << true << false;
        QTest::newRow("roll speed out of 16 bits") << "roll16" << true << false;
        QTest::newRow("mode 3") << "mode" << true << true;
        QTest::newRow("deleted film") << "film" << true << false;
        QTest::newRow("missing board picture") << "kanban" << true << false;
        QTest::newRow("empty file") << "empty" << false << false;
        QTest::newRow("fifteen fields") << "short" << false << false;
        QTest::newRow("word in a number field") << "word" << false << false;
    }
    void fallbacks() {
        QFETCH(QString, what);
        QFETCH(bool, appliedBeforeFailing);
        QFETCH(bool, filmShown);
        const QString gone = QDir(dir_.path()).filePath(QStringLiteral("消えた,幕.bmp"));
        Record r;
        r.film0 = film0_;
        r.kanban = kanban_;
        if (what == "door") r.door1 = "0";
        if (what == "door2") r.door2 = "30001";
        if (what == "roll") r.speed0 = "1001";
        if (what == "roll16") r.speed1 = "40000";
        if (what == "mode") r.mode = "3";
        if (what == "film") r.film0 = gone;
        if (what == "kanban") r.kanban = gone;
        if (what == "word") r.door1 = "fast";
        QByteArray bytes = r.line();
        if (what == "empty") bytes.clear();
        if (what == "short") bytes = bytes.left(bytes.lastIndexOf(','));

        auto form = startWith(bytes);
        frmSet& panel = form->panel();
        QCOMPARE(form->pos(), QPoint(0, 0));
        QCOMPARE(panel.Left(), 0.0f);
        // Below the main window: its client height at least, whatever frame the window gets.
        QVERIFY(panel.Top() >= 218 * 15);
        QVERIFY(panel.Top() <= 218 * 15 + 60 * 15);
        QCOMPARE(panel.HScroll1->Value(), std::int16_t(10000));
        QCOMPARE(panel.HScroll2->Value(), std::int16_t(6000));
        QCOMPARE(panel.scllMakuSpeed(0)->Value(), std::int16_t(1));
        QCOMPARE(panel.scllMakuSpeed(1)->Value(), std::int16_t(1));
        QVERIFY(panel.Option1(0)->isChecked());
        QCOMPARE(form->PicKanban->scaleRect(), kResetPlace);
        QVERIFY(form->PicKanban->picture().isNull());
        QCOMPARE(form->shpK_Waku(0)->rect(), (ctl::ScaleRect{8715, 1680, 75, 465}));
        QCOMPARE(form->shpK_Waku(2)->rect(), (ctl::ScaleRect{8715, 2130, 1560, 60}));
        // What was applied before the failure stays; the fallback does not touch visibility.
        QCOMPARE(form->PicKanban->isVisibleTo(form.get()), !appliedBeforeFailing);
        QCOMPARE(form->MnuViewKanban->Checked(), !appliedBeforeFailing);
        QCOMPARE(form->MnuViewWaku->Checked(), !appliedBeforeFailing);
        QCOMPARE(form->shpK_Waku(1)->Visible(), !appliedBeforeFailing);
        QCOMPARE(form->imgMaku1(0)->picture().isNull(), !filmShown);
        if (what == "film")
            QCOMPARE(Common::MakuPath[0], gone);
        if (what == "kanban")
            QCOMPARE(Common::KanbanPath, gone);
    }

    void deletedFilmIsWrittenAgain() {
        const QString gone = QDir(dir_.path()).filePath(QStringLiteral("消えた,幕.bmp"));
        Record r;
        r.film0 = gone;
        r.kanban = kanban_;
        auto form = startWith(r.line());
        // The panel's Top follows the window frame's height, which the platform decides.
        const float panelTop = form->panel().Top();
        QCOMPARE(panelTop, std::round(panelTop));
        form->SaveIni();
        const QByteArray expected = "0,0,0," + QByteArray::number(int(panelTop)) + ",\"" + gone.toUtf8() + "\",\"\",1,1,\"" + kanban_.toUtf8() +
                                    "\",8790,1680,#FALSE#,#FALSE#,10000,6000,0\r\n";
        QCOMPARE(readSettings(), expected);
    }

    void trailingFieldsAndLinesAreIgnored() {
        Record r;
        QByteArray bytes = r.line();
        bytes.insert(bytes.size() - 2, ",99,\"extra\"");
        bytes += "garbage line\r\n";
        auto form = startWith(bytes);
        QCOMPARE(form->panel().HScroll1->Value(), std::int16_t(123));
        QVERIFY(form->panel().Option1(1)->isChecked());
        QCOMPARE(form->Left(), 1500.0f);
    }
};

QTEST_MAIN(TestSettingsApply)
#include "tst_settings_apply.moc"
