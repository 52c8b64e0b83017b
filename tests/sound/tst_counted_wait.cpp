#include "doors/CountedWait.h"
#include "doors/SleepLateness.h"

#include <QTest>
#include <QTimer>
#include <climits>

using namespace std::chrono_literals;

class CountedWaitTest : public QObject {
    Q_OBJECT

private slots:
    void durationOfACount_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("nanoseconds");
        QTest::newRow("most negative") << INT_MIN << qint64(0);
        QTest::newRow("0") << 0 << qint64(0);
        QTest::newRow("1") << 1 << qint64(100);
        QTest::newRow("largest, no overflow") << INT_MAX << qint64(INT_MAX) * 100;
    }
    void durationOfACount() {
        QFETCH(int, count);
        QTEST(qint64(doors::waitDuration(count).count()), "nanoseconds");
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
            QVERIFY(std::chrono::steady_clock::now() - start >= doors::waitDuration(count));
        }
        QVERIFY(!timerRan && !queuedCallRan);
        QTRY_VERIFY(timerRan && queuedCallRan);
    }

    void pastDeadlineDoesNotWait() {
        const auto start = std::chrono::steady_clock::now();
        doors::waitUntil(start - 1h);
        QVERIFY(std::chrono::steady_clock::now() - start < 100ms);
    }

    // 200 sleeps at `steadyUs` late, then 100 at `laterUs`, every fifth of them `spikeUs` if set.
    void sleepMargin_data() {
        QTest::addColumn<int>("steadyUs");
        QTest::addColumn<int>("laterUs");
        QTest::addColumn<int>("spikeUs");
        QTest::addColumn<int>("lowestUs");
        QTest::addColumn<int>("highestUs");
        QTest::newRow("never late: the floor") << 0 << 0 << 0 << 20 << 20;
        QTest::newRow("woke early: the floor") << -400 << -400 << 0 << 20 << 20;
        QTest::newRow("no timer slack") << 35 << 35 << 0 << 35 << 40;
        QTest::newRow("virtual machine slack") << 85 << 85 << 0 << 85 << 90;
        QTest::newRow("very late: the ceiling") << 900 << 900 << 0 << 500 << 500;
        QTest::newRow("preemption ignored") << 80 << 80 << 20000 << 80 << 120;
        QTest::newRow("real change followed") << 40 << 150 << 0 << 150 << 500;
    }
    void sleepMargin() {
        QFETCH(int, steadyUs);
        QFETCH(int, laterUs);
        QFETCH(int, spikeUs);
        doors::SleepLateness lateness;
        for (int i = 0; i < 300; ++i)
            lateness.record(std::chrono::microseconds(i < 200 ? steadyUs : spikeUs && i % 5 == 0 ? spikeUs : laterUs));
        const int margin = int(std::chrono::duration_cast<std::chrono::microseconds>(lateness.margin()).count());
        QFETCH(int, lowestUs);
        QFETCH(int, highestUs);
        QVERIFY2(margin >= lowestUs && margin <= highestUs, qPrintable(QString::number(margin)));
    }
};

QTEST_GUILESS_MAIN(CountedWaitTest)
#include "tst_counted_wait.moc"
