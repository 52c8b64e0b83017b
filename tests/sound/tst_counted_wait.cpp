// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The door's counted wait: 100 ns a count, never shorter, and no events run meanwhile.

#include "doors/CountedWait.h"
#include "doors/SleepLateness.h"

#include <QTest>
#include <QTimer>
#include <climits>
#include <ctime>

class CountedWaitTest : public QObject {
    Q_OBJECT

private slots:
    void durationOfACount() {
        const QList<qint64> ns{doors::waitDuration(INT_MIN).count(), doors::waitDuration(1).count(),
                               doors::waitDuration(INT_MAX).count()};
        QCOMPARE(ns, (QList<qint64>{0, 100, qint64(INT_MAX) * 100}));  // no overflow
    }

    // Spin only, just under the spin margin, sleep then spin.
    void neverReturnsEarlyAndRunsNoEvents_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("1") << 1;
        QTest::newRow("499") << 499;
        QTest::newRow("10000") << 10000;
    }
    void neverReturnsEarlyAndRunsNoEvents() {
        QFETCH(int, count);
        // Queued input must wait for the door's last step.
        bool timerRan = false, queuedCallRan = false;
        QTimer::singleShot(0, this, [&] { timerRan = true; });
        QMetaObject::invokeMethod(this, [&] { queuedCallRan = true; }, Qt::QueuedConnection);
        for (int i = 0; i < 20; ++i) {
            const auto start = std::chrono::steady_clock::now();
            doors::countedWait(count);
            QVERIFY(std::chrono::steady_clock::now() - start >= std::chrono::nanoseconds(count * 100));
        }
        QVERIFY(!timerRan && !queuedCallRan);
        QTRY_VERIFY(timerRan && queuedCallRan);
    }

    // The margin left for spinning: the mean wake-up lateness plus three mean deviations, learnt
    // as a round-trip time is (an eighth and a quarter a sample), a sample counting for at most
    // the mean plus twice the deviation (20 µs at least), between 20 and 500 µs in all.
    void marginLearnt_data() {
        QTest::addColumn<QList<int>>("lateUs");
        QTest::addColumn<qint64>("marginNs");
        QTest::newRow("nothing learnt yet") << QList<int>{} << qint64(90'000);
        QTest::newRow("as late as expected") << QList<int>{60} << qint64(82'500);
        QTest::newRow("80 µs") << QList<int>{80} << qint64(100'000);
        QTest::newRow("10 ms: the thread lost the processor") << QList<int>{10'000} << qint64(100'000);
        QTest::newRow("steady, then 100 µs: counts as 80") << QList<int>(20, 60) + QList<int>{100} << qint64(77'571);
        QTest::newRow("80 µs twice") << QList<int>{80, 80} << qint64(105'938);  // 105937.5 rounded
        QTest::newRow("always on time") << QList<int>(200, 0) << qint64(20'000);
        QTest::newRow("always 10 ms late") << QList<int>(200, 10'000) << qint64(500'000);
    }
    void marginLearnt() {
        QFETCH(QList<int>, lateUs);
        doors::SleepLateness lateness;
        for (const int us : lateUs)
            lateness.record(std::chrono::microseconds(us));
        QTEST(qint64(lateness.margin().count()), "marginNs");
    }

    // A long wait sleeps and spins only its last stretch (half a millisecond at most): the
    // processor stays free while the doors move.
    void longWaitSleeps() {
        timespec before{}, after{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
        doors::countedWait(2'000'000);  // 200 ms: a spin shows even when it gets half a processor
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
        const double busyMs = double(after.tv_sec - before.tv_sec) * 1e3 + double(after.tv_nsec - before.tv_nsec) / 1e6;
        QVERIFY2(busyMs < 25, qPrintable(QString::number(busyMs)));
    }
};

QTEST_GUILESS_MAIN(CountedWaitTest)
#include "tst_counted_wait.moc"
