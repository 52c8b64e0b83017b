// The front door and the middle folding door, step by step as the panel's switches move them.

#include "FlowSupport.h"

#include <QtTest>
#include <algorithm>
#include <cstdlib>

using testsupport::startForm;

namespace {

// What one door step looked like when its wait began.
struct Step {
    int count = 0;          // the wait count handed over
    ctl::ScaleRect a;       // front door, or the left leaf
    ctl::ScaleRect b;       // the right leaf (middle door only)
    bool painted = false;   // nothing was left to paint before the wait
};

struct Recorder {
    std::vector<Step> steps;
    std::vector<std::int16_t> sounds;
    std::vector<std::size_t> soundAtStep;  // how many steps had been taken when each sound played
};

void recordFrontDoor(Form1& form, Recorder& rec) {
    form.doorWait = [&form, &rec](int count) {
        rec.steps.push_back({count, form.Image1(2)->rect(), {}, !form.hasPendingPaint()});
    };
}

void recordMiddleDoor(Form1& form, Recorder& rec) {
    form.doorWait = [&form, &rec](int count) {
        rec.steps.push_back({count, form.imgNakaorido(0)->rect(), form.imgNakaorido(1)->rect(),
                             !form.hasPendingPaint()});
    };
    form.playWave = [&rec](std::int16_t id) {
        rec.sounds.push_back(id);
        rec.soundAtStep.push_back(rec.steps.size());
    };
}

constexpr ctl::ScaleRect kFrontClosed{360, 690, 1065, 2175};
constexpr ctl::ScaleRect kLeftLeafClosed{4695, 765, 930, 2175};
constexpr ctl::ScaleRect kRightLeafClosed{5610, 765, 930, 2175};

// The widths run one twip a step from first to last; the door's other edges never move.
void checkFrontRun(const std::vector<Step>& steps, int first, int last, int count) {
    const int n = std::abs(last - first) + 1;
    QCOMPARE(int(steps.size()), n);
    const int dir = last >= first ? 1 : -1;
    for (int i = 0; i < n; ++i) {
        const Step& s = steps[std::size_t(i)];
        QCOMPARE(s.a, (ctl::ScaleRect{360, 690, float(first + dir * i), 2175}));
        QCOMPARE(s.count, count);
        QVERIFY2(s.painted, qPrintable(QStringLiteral("step %1 was not painted before its wait").arg(i)));
    }
}

}  // namespace

class TestDoors : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::installFontSubstitutions(); }

    void frontDoorOpensAndClosesFromThePanel() {
        auto form = startForm();
        Recorder rec;
        recordFrontDoor(*form, rec);
        QCOMPARE(form->Image1(2)->rect(), kFrontClosed);
        form->panel().Check1->click();
        QCOMPARE(form->panel().Check1->Value(), std::int16_t(1));
        checkFrontRun(rec.steps, 1065, 70, 10000);
        QCOMPARE(rec.steps.size(), std::size_t(996));
        QCOMPARE(form->Image1(2)->Width(), 70.0f);
        QCOMPARE(form->Image1(2)->pixelRect(), QRect(24, 46, 5, 145));  // the left edge stays on pixel 24

        rec.steps.clear();
        form->panel().Check1->click();
        QCOMPARE(form->panel().Check1->Value(), std::int16_t(0));
        checkFrontRun(rec.steps, 70, 1065, 10000);
        QCOMPARE(form->Image1(2)->rect(), kFrontClosed);
        QCOMPARE(form->Image1(2)->pixelRect(), QRect(24, 46, 71, 145));
        // The front door makes no sound.
        QVERIFY(rec.sounds.empty());
    }

    void frontDoorRuns_data() {
        QTest::addColumn<float>("startWidth");
        QTest::addColumn<int>("value");  // Check1 after the click
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");   // 0: no step at all
        QTest::newRow("open from 500") << 500.0f << 1 << 500 << 70;
        QTest::newRow("grayed opens") << 1065.0f << 2 << 1065 << 70;
        QTest::newRow("open from 500.5, half to even") << 500.5f << 1 << 500 << 70;
        QTest::newRow("open from 501.5, half to even") << 501.5f << 1 << 502 << 70;
        QTest::newRow("open from 70") << 70.0f << 1 << 70 << 70;
        QTest::newRow("open from below 70") << 50.0f << 1 << 0 << 0;
        QTest::newRow("close from 800 starts at 70") << 800.0f << 0 << 70 << 1065;
        QTest::newRow("close from closed starts at 70") << 1065.0f << 0 << 70 << 1065;
    }
    void frontDoorRuns() {
        QFETCH(float, startWidth);
        QFETCH(int, value);
        QFETCH(int, first);
        QFETCH(int, last);
        auto form = startForm();
        form->panel().HScroll1->setValueChecked(1);
        form->Image1(2)->setWidth(startWidth);
        Recorder rec;
        recordFrontDoor(*form, rec);
        form->panel().Check1->setValue(std::int16_t(value));
        form->Check1_Click();
        if (last == 0) {
            QVERIFY(rec.steps.empty());
            QCOMPARE(form->Image1(2)->Width(), startWidth);
            return;
        }
        checkFrontRun(rec.steps, first, last, 1);
    }

    void waitCountIsReadAnewEachStep() {
        auto form = startForm();
        form->panel().HScroll1->setValueChecked(30000);
        std::vector<int> counts;
        form->doorWait = [&](int count) {
            counts.push_back(count);
            if (counts.size() == 100)
                form->panel().HScroll1->setValueChecked(1);  // the user moves the bar mid-way
        };
        form->panel().Check1->click();
        QCOMPARE(counts.size(), std::size_t(996));
        QVERIFY(std::all_of(counts.begin(), counts.begin() + 100, [](int c) { return c == 30000; }));
        QVERIFY(std::all_of(counts.begin() + 100, counts.end(), [](int c) { return c == 1; }));
    }

    void middleDoorModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("leftMoves");
        QTest::addColumn<bool>("rightMoves");
        QTest::newRow("両方") << 0 << true << true;
        QTest::newRow("左") << 1 << true << false;
        QTest::newRow("右") << 2 << false << true;
    }
    void middleDoorModes() {
        QFETCH(int, mode);
        QFETCH(bool, leftMoves);
        QFETCH(bool, rightMoves);
        auto form = startForm();
        frmSet& panel = form->panel();
        panel.Option1(std::int16_t(mode))->click();
        QVERIFY(panel.Option1(std::int16_t(mode))->isChecked());
        Recorder rec;
        recordMiddleDoor(*form, rec);

        for (const bool opening : {true, false}) {
            rec.steps.clear();
            rec.sounds.clear();
            rec.soundAtStep.clear();
            panel.Check2->click();
            QCOMPARE(panel.Check2->Value(), std::int16_t(opening ? 1 : 0));
            QCOMPARE(panel.Frame2->isEnabled(), !opening);
            // One sound, the same for both ways, before any leaf moves.
            QCOMPARE(rec.sounds, std::vector<std::int16_t>{101});
            QCOMPARE(rec.soundAtStep, std::vector<std::size_t>{0});
            QCOMPARE(rec.steps.size(), std::size_t(821));
            for (int i = 0; i < 821; ++i) {
                const Step& s = rec.steps[std::size_t(i)];
                const float w = float(opening ? 930 - i : 110 + i);
                QCOMPARE(s.count, 6000);
                QVERIFY(s.painted);
                QCOMPARE(s.a, leftMoves ? (ctl::ScaleRect{4695, 765, w, 2175}) : kLeftLeafClosed);
                QCOMPARE(s.b, rightMoves ? (ctl::ScaleRect{6540 - w, 765, w, 2175}) : kRightLeafClosed);
            }
        }
        QCOMPARE(form->imgNakaorido(0)->rect(), kLeftLeafClosed);
        QCOMPARE(form->imgNakaorido(1)->rect(), kRightLeafClosed);
    }

    void middleDoorStartWidths_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<float>("leftWidth");
        QTest::addColumn<float>("rightWidth");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("steps");
        // With both leaves moving, the left leaf's width leads both.
        QTest::newRow("both, left narrower") << 0 << 600.0f << 800.0f << 1 << 600 << 491;
        QTest::newRow("both, left wider") << 0 << 900.0f << 300.0f << 1 << 900 << 791;
        QTest::newRow("right uses the right leaf") << 2 << 600.0f << 800.0f << 1 << 800 << 691;
        QTest::newRow("left uses the left leaf") << 1 << 600.0f << 800.0f << 1 << 600 << 491;
        QTest::newRow("grayed opens") << 0 << 930.0f << 930.0f << 2 << 930 << 821;
        QTest::newRow("half to even") << 0 << 200.5f << 930.0f << 1 << 200 << 91;
        QTest::newRow("below the open width") << 0 << 100.0f << 100.0f << 1 << 0 << 0;
        QTest::newRow("closing starts at 110") << 0 << 500.0f << 930.0f << 0 << 110 << 821;
    }
    void middleDoorStartWidths() {
        QFETCH(int, mode);
        QFETCH(float, leftWidth);
        QFETCH(float, rightWidth);
        QFETCH(int, value);
        QFETCH(int, first);
        QFETCH(int, steps);
        auto form = startForm();
        form->panel().selectOption1(mode);
        form->imgNakaorido(0)->setWidth(leftWidth);
        form->imgNakaorido(1)->Move(6540 - rightWidth, 765, rightWidth, 2175);
        Recorder rec;
        recordMiddleDoor(*form, rec);
        form->panel().Check2->setValue(std::int16_t(value));
        form->Check2_Click();
        QCOMPARE(rec.sounds.size(), std::size_t(1));  // the sound plays even when nothing moves
        QCOMPARE(int(rec.steps.size()), steps);
        if (steps == 0)
            return;
        const Step& s = rec.steps.front();
        if (mode != 2)
            QCOMPARE(s.a.width, float(first));
        if (mode != 1) {
            QCOMPARE(s.b.width, float(first));
            QCOMPARE(s.b.left, float(6540 - first));
        }
        const float end = value == 0 ? 930.0f : 110.0f;
        if (mode != 2)
            QCOMPARE(rec.steps.back().a.width, end);
        if (mode != 1)
            QCOMPARE(rec.steps.back().b.width, end);
    }

    void middleDoorWaitsForHScroll2() {
        auto form = startForm();
        form->panel().HScroll2->setValueChecked(30000);
        form->panel().HScroll1->setValueChecked(7);
        std::vector<int> counts;
        form->doorWait = [&](int count) {
            counts.push_back(count);
            if (counts.size() == 10)
                form->panel().HScroll2->setValueChecked(2);
        };
        form->panel().Check2->click();
        QCOMPARE(counts.size(), std::size_t(821));
        QCOMPARE(counts[9], 30000);
        QCOMPARE(counts[10], 2);
        QCOMPARE(counts.back(), 2);
    }

    void modeCannotChangeWhileOpen() {
        auto form = startForm();
        frmSet& panel = form->panel();
        panel.Option1(1)->click();
        panel.Check2->click();
        QVERIFY(!panel.Frame2->isEnabled());
        // A click on a disabled option does nothing.
        QTest::mouseClick(panel.Option1(2), Qt::LeftButton);
        QVERIFY(panel.Option1(1)->isChecked());
        panel.Check2->click();
        QVERIFY(panel.Frame2->isEnabled());
        QCOMPARE(form->imgNakaorido(0)->rect(), kLeftLeafClosed);
        QCOMPARE(form->imgNakaorido(1)->rect(), kRightLeafClosed);
    }
};

QTEST_MAIN(TestDoors)
#include "tst_doors.moc"
