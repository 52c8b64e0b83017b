// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The front door and the middle folding door, step by step as the panel's switches move them, each
// step's wait counted from the door's own bar. (The counted wait itself: tst_counted_wait.)

#include "PaintCount.h"
#include "app/TestSupport.h"

#include <QtTest>
#include <algorithm>
#include <cstdlib>

using testsupport::startForm;

namespace {

// Which door moves: the front door, or the middle door's leaves in the mode of that number.
enum Mover { kFront = -1, kBoth = 0, kLeft = 1, kRight = 2 };
constexpr int kClose = 0, kOpen = 1;  // the switch's value

// One door run: the door, the front door's or the leaves' widths before the click, the switch's
// value when its handler runs, and the first and last width set.
struct Run {
    Mover mode;
    float left, right;
    int value, first, last;
};

}  // namespace

Q_DECLARE_METATYPE(Run)

class TestDoors : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each step sets the moving part's width, one twip from first to last; the edges that stay
    // (the front door's left, the right leaf's right) never move, nor does a leaf that is not chosen.
    void doorRuns_data() {
        QTest::addColumn<Run>("run");
        QTest::newRow("front opens") << Run{kFront, 1065, 0, kOpen, 1065, 70};
        QTest::newRow("左 closes") << Run{kLeft, 110, 930, kClose, 110, 930};
        QTest::newRow("両方, left narrower leads") << Run{kBoth, 600, 800, kOpen, 600, 110};
        QTest::newRow("右 uses the right leaf") << Run{kRight, 600, 800, kOpen, 800, 110};
    }
    void doorRuns() {
        QFETCH(Run, run);
        const auto [mode, left, right, value, first, last] = run;
        testsupport::DoorProbe probe;
        auto form = startForm(std::nullopt, &probe);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));  // painted only once it is on the screen
        const testsupport::PanelControls panel(form->panel());
        const bool middle = mode != kFront;
        if (middle) {
            panel.Option1(mode)->setChecked(true);
            form->imgNakaorido(0)->setWidth(left);
            form->imgNakaorido(1)->Move(6540 - right, 765, right, 2175);
        } else {
            form->Image1(2)->setWidth(left);
        }
        // Each step as it looked when its wait began, and the sounds with the steps before them.
        struct Step {
            int count;
            core::ScaleRect a, b;
            bool painted;
            int paints;  // received by the window so far
        };
        std::vector<Step> steps;
        std::vector<std::pair<std::int16_t, std::size_t>> sounds;
        const testsupport::PaintCount paints(form.get());
        // A leaf half folded (465 twips) is the whole leaf squeezed: the white of its frame at its
        // right edge, glass in its middle (a leaf cut off instead has glass at that edge).
        std::vector<std::pair<int, int>> halfFolded;  // lightness at the edge, in the middle
        probe.afterStep = [&](int count) {
            for (int leaf = 0; middle && leaf < 2; ++leaf) {
                if (form->imgNakaorido(leaf)->Width() != 465)
                    continue;
                const QImage shot = form->grab().toImage();  // at twice the resolution
                const QRect r = core::twipsToPixels(form->imgNakaorido(leaf)->rect());
                const int y = 2 * (r.top() + 50);
                halfFolded.emplace_back(shot.pixelColor(2 * (r.left() + r.width()) - 3, y).lightness(),
                                        shot.pixelColor(2 * r.left() + r.width(), y).lightness());
            }
            const bool painted = !form->hasPendingPaint();
            steps.push_back(
                middle ? Step{count, form->imgNakaorido(0)->rect(), form->imgNakaorido(1)->rect(), painted, paints.n}
                       : Step{count, form->Image1(2)->rect(), {}, painted, paints.n});
        };
        probe.sound = [&](std::int16_t id) { sounds.emplace_back(id, steps.size()); };
        middle ? form->Check2_Click(std::int16_t(value)) : form->Check1_Click(std::int16_t(value));
        // The middle door's one sound plays before any leaf moves, even when none does.
        QCOMPARE(sounds, (middle ? decltype(sounds){{101, 0}} : decltype(sounds){}));
        QCOMPARE(int(halfFolded.size()), mode == kBoth ? 2 : middle ? 1 : 0);
        for (const auto& [edge, glass] : halfFolded)
            QVERIFY2(edge > 200 && glass < 160, qPrintable(QStringLiteral("%1, %2").arg(edge).arg(glass)));
        const int n = std::abs(last - first) + 1, dir = last >= first ? 1 : -1;
        QCOMPARE(int(steps.size()), n);
        for (int i = 0; i < n; ++i) {
            const Step& s = steps[std::size_t(i)];
            const float w = float(first + dir * i);
            // A step that moves a pixel edge is on the screen before its wait: the window was painted.
            const bool moved = i > 0 && (core::twipsToPixels(s.a) != core::twipsToPixels(steps[i - 1].a) ||
                                         core::twipsToPixels(s.b) != core::twipsToPixels(steps[i - 1].b));
            QVERIFY2(s.painted && (!moved || s.paints > steps[i - 1].paints),
                     qPrintable(QStringLiteral("step %1 not painted before its wait").arg(i)));
            QCOMPARE(s.count, middle ? 6000 : 10000);
            if (!middle) {
                QCOMPARE(s.a, (core::ScaleRect{360, 690, w, 2175}));
                continue;
            }
            QCOMPARE(s.a, (core::ScaleRect{4695, 765, mode != kRight ? w : left, 2175}));
            const float rw = mode != kLeft ? w : right;
            QCOMPARE(s.b, (core::ScaleRect{6540 - rw, 765, rw, 2175}));
        }
    }

    // The user moves the door's speed bar mid-way: each wait reads it anew, and only that door's bar.
    // The switch stays down while its door is open; the middle door's mode cannot change meanwhile.
    void waitCountIsReadEachStep_data() {
        QTest::addColumn<bool>("middle");
        QTest::addColumn<int>("steps");
        QTest::newRow("front door, HScroll1") << false << 996;
        QTest::newRow("middle door, HScroll2") << true << 821;
    }
    void waitCountIsReadEachStep() {
        QFETCH(bool, middle);
        QFETCH(int, steps);
        testsupport::DoorProbe probe;
        auto form = startForm(std::nullopt, &probe);
        const testsupport::PanelControls panel(form->panel());
        ctl::HScrollBar* own = middle ? panel.HScroll2 : panel.HScroll1;
        (middle ? panel.HScroll1 : panel.HScroll2)->setValueChecked(7);
        own->setValueChecked(30000);
        std::vector<int> counts;
        probe.afterStep = [&](int count) {
            counts.push_back(count);
            if (counts.size() == 10)
                own->setValueChecked(1);
        };
        ctl::GraphicalCheckBox* const doorSwitch = middle ? panel.Check2 : panel.Check1;
        doorSwitch->click();
        QCOMPARE(int(counts.size()), steps);
        QCOMPARE(std::count(counts.begin(), counts.begin() + 10, 30000), 10);
        QCOMPARE(std::count(counts.begin() + 10, counts.end(), 1), steps - 10);
        QCOMPARE(doorSwitch->Value(), std::int16_t(1));
        QCOMPARE(panel.Frame2->isEnabled(), !middle);
        doorSwitch->click();
        QVERIFY(doorSwitch->Value() == 0 && panel.Frame2->isEnabled());
    }

    // The switches' pictures (the test runs on a screen of twice the resolution) are their
    // double-resolution twins, not the pictures blown up.
    void switchPicturesAreCrisp() {
        auto form = startForm();
        const testsupport::PanelControls panel(form->panel());
        for (const auto& [doorSwitch, name] : {std::pair(panel.Check1, "mae"), {panel.Check2, "naka"}}) {
            const QImage shown = doorSwitch->icon().pixmap(doorSwitch->iconSize(), 2.0).toImage();
            const QImage twin(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/pictures/switch_%1@2x.bmp").arg(name));
            QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), twin.convertToFormat(QImage::Format_RGB32));
        }
    }
};

QTEST_MAIN(TestDoors)
#include "tst_doors.moc"
