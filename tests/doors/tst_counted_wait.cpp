// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The counted wait between two door steps: 100 ns a count, never shorter, no events run meanwhile,
// and asleep for most of it. How close it comes to the time asked for is the door bench's figure.

#include "doors/CountedWait.h"

#include <QtTest>
#include <ctime>

namespace {
std::chrono::nanoseconds threadProcessorTime() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}
}  // namespace

class TestCountedWait : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // 100 ns a count, from the bars' least, 1, to the front door's slowest, 30000: 3 ms a step.
    void durationOfACount() {
        QCOMPARE(doors::waitDuration(1), std::chrono::nanoseconds(100));
        QCOMPARE(doors::waitDuration(30000), std::chrono::milliseconds(3));
        QCOMPARE(doors::waitDuration(0), std::chrono::nanoseconds(0));
    }

    // Spin only (just under the spin margin), sleep then spin.
    void neverReturnsEarlyAndRunsNoEvents_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("499") << 499;
        QTest::newRow("10000") << 10000;
    }
    void neverReturnsEarlyAndRunsNoEvents() {
        QFETCH(int, count);
        // Queued input must wait for the door's last step.
        bool timerRan = false, queuedCallRan = false;
        QTimer::singleShot(0, this, [&] { timerRan = true; });
        QMetaObject::invokeMethod(
            this, [&] { queuedCallRan = true; }, Qt::QueuedConnection);
        for (int i = 0; i < 20; ++i) {
            const auto start = std::chrono::steady_clock::now();
            doors::countedWait(count);
            QVERIFY(std::chrono::steady_clock::now() - start >= std::chrono::nanoseconds(count * 100));
        }
        QVERIFY(!timerRan && !queuedCallRan);
        QTRY_VERIFY(timerRan && queuedCallRan);
    }

    // A wait of 100 ms sleeps all but its last half millisecond at most: the processor is the
    // other programs' meanwhile. A wait that spins throughout takes a quarter of it or more even on
    // a machine busy enough to give the test a quarter of a core.
    void sleepsMostOfTheWay() {
        const std::chrono::nanoseconds before = threadProcessorTime();
        doors::countedWait(1'000'000);
        const std::chrono::nanoseconds used = threadProcessorTime() - before;
        QVERIFY2(used < std::chrono::milliseconds(25), qPrintable(QString::number(used.count() / 1000) + " µs"));
    }
};

QTEST_GUILESS_MAIN(TestCountedWait)
#include "tst_counted_wait.moc"
