// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Where one key press rolls a sign's film: Up adds the step, Down takes it away, and nothing else
// rolls; the position stops at the edges of its 32-bit range.

#include "core/KeyCodes.h"
#include "signs/Rolling.h"

#include <QtTest>
#include <limits>

namespace {
constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
constexpr int kNoRoll = 1;  // a position no row expects: the key rolls nothing
}  // namespace

class TestRolling : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rolledPosition_data() {
        using namespace core::key;
        QTest::addColumn<std::int32_t>("position");
        QTest::addColumn<int>("key");
        QTest::addColumn<std::int16_t>("step");
        QTest::addColumn<qint64>("rolled");
        QTest::newRow("Up adds the step") << 10 << kUp << std::int16_t(5) << qint64(15);
        QTest::newRow("Down takes it away") << 15 << kDown << std::int16_t(5) << qint64(10);
        QTest::newRow("Down below zero") << -7 << kDown << std::int16_t(7) << qint64(-14);
        QTest::newRow("step 0 still rolls, to where it was") << 9 << kUp << std::int16_t(0) << qint64(9);
        QTest::newRow("the largest step") << 1000 << kUp << std::int16_t(1000) << qint64(2000);
        QTest::newRow("Up stops at the top of the range")
            << kHighest - 3 << kUp << std::int16_t(1000) << qint64(kHighest);
        QTest::newRow("Down stops at the bottom") << kLowest + 3 << kDown << std::int16_t(1000) << qint64(kLowest);
        for (const int key : {kLeft, kRight, kPageUp, kPageDown, kShift, kSpace})
            QTest::addRow("key %d rolls nothing", key) << 10 << key << std::int16_t(5) << qint64(kNoRoll);
    }
    void rolledPosition() {
        QFETCH(std::int32_t, position);
        QFETCH(int, key);
        QFETCH(std::int16_t, step);
        QFETCH(qint64, rolled);
        const std::optional<std::int32_t> next = signs::rolledPosition(position, key, step);
        QCOMPARE(next.has_value(), rolled != kNoRoll);
        if (next)
            QCOMPARE(qint64(*next), rolled);
    }
};

QTEST_APPLESS_MAIN(TestRolling)
#include "tst_rolling.moc"
