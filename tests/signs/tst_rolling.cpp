// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Where one key press rolls a sign's film at the edges of its 32-bit range, which no user reaches
// by hand: the position stops there. (The keys, the step and the film on the screen: tst_signs.)

#include "core/KeyCodes.h"
#include "signs/Rolling.h"

#include <QtTest>
#include <limits>

namespace {
constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
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
        QTest::newRow("the largest step") << 1000 << kUp << std::int16_t(1000) << qint64(2000);
        QTest::newRow("Up stops at the top of the range")
            << kHighest - 3 << kUp << std::int16_t(1000) << qint64(kHighest);
        QTest::newRow("Down stops at the bottom") << kLowest + 3 << kDown << std::int16_t(1000) << qint64(kLowest);
    }
    void rolledPosition() {
        QFETCH(std::int32_t, position);
        QFETCH(int, key);
        QFETCH(std::int16_t, step);
        QFETCH(qint64, rolled);
        const std::optional<std::int32_t> next = signs::rolledPosition(position, key, step);
        QVERIFY(next.has_value());
        QCOMPARE(qint64(*next), rolled);
    }
};

QTEST_APPLESS_MAIN(TestRolling)
#include "tst_rolling.moc"
