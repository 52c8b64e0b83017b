// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The widths a door goes through, one twip a step, and which leaves a middle-door mode moves.

#include "doors/DoorMovement.h"

#include <QtTest>
#include <vector>

namespace {
enum class Door { Front, Middle };
constexpr std::int16_t kClosed = 0, kChecked = 1, kGrayed = 2;  // the switch's Value
}  // namespace

class TestDoorMovement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void widths_data() {
        QTest::addColumn<Door>("door");
        QTest::addColumn<std::int16_t>("value");
        QTest::addColumn<float>("current");
        QTest::addColumn<std::vector<int>>("ends");  // the first and the last width, none when empty
        QTest::addColumn<int>("steps");
        QTest::newRow("front opens") << Door::Front << kChecked << 1065.0f << std::vector{1065, 70} << 996;
        QTest::newRow("front closes") << Door::Front << kClosed << 70.0f << std::vector{70, 1065} << 996;
        QTest::newRow("grayed opens, from where it is")
            << Door::Front << kGrayed << 500.0f << std::vector{500, 70} << 431;
        QTest::newRow("closing starts at the open width")
            << Door::Front << kClosed << 800.0f << std::vector{70, 1065} << 996;
        QTest::newRow("half to even, down") << Door::Front << kChecked << 500.5f << std::vector{500, 70} << 431;
        QTest::newRow("half to even, up") << Door::Front << kChecked << 501.5f << std::vector{502, 70} << 433;
        QTest::newRow("already narrower than open") << Door::Front << kChecked << 50.0f << std::vector<int>{} << 0;
        QTest::newRow("leaves open") << Door::Middle << kChecked << 930.0f << std::vector{930, 110} << 821;
        QTest::newRow("leaves close") << Door::Middle << kClosed << 600.0f << std::vector{110, 930} << 821;
    }
    void widths() {
        QFETCH(Door, door);
        QFETCH(std::int16_t, value);
        QFETCH(float, current);
        QFETCH(std::vector<int>, ends);
        QFETCH(int, steps);
        const doors::Movement m =
            door == Door::Front ? doors::frontDoorMovement(value, current) : doors::middleDoorMovement(value, current);
        std::vector<int> widths;
        m.forEachWidth([&widths](int w) { widths.push_back(w); });
        QCOMPARE(int(widths.size()), steps);
        if (widths.empty())
            return;
        QCOMPARE((std::vector{widths.front(), widths.back()}), ends);
        for (std::size_t i = 1; i < widths.size(); ++i)
            QCOMPARE(std::abs(widths[i] - widths[i - 1]), 1);
    }

    void leavesOfTheMode() {
        QCOMPARE(doors::leavesOfMode(0), doors::Leaves::Both);   // 両方
        QCOMPARE(doors::leavesOfMode(1), doors::Leaves::Left);   // 左
        QCOMPARE(doors::leavesOfMode(2), doors::Leaves::Right);  // 右
    }
};

QTEST_APPLESS_MAIN(TestDoorMovement)
#include "tst_door_movement.moc"
