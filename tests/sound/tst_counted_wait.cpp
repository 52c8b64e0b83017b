#include "doors/CountedWait.h"
#include "doors/SleepLateness.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <climits>

using namespace std::chrono_literals;

class CountedWaitTest : public QObject {
    Q_OBJECT

private slots:
    void durationOfACount_data();
    void durationOfACount();
    void neverReturnsEarly_data();
    void neverReturnsEarly();
    void pastDeadlineDoesNotWait();
    void runsNoEvents_data();
    void runsNoEvents();
    void marginSettlesOnSteadyLateness_data();
    void marginSettlesOnSteadyLateness();
    void marginIgnoresPreemption();
    void marginFollowsARealChange();
};

void CountedWaitTest::durationOfACount_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<qint64>("nanoseconds");
    QTest::newRow("most negative") << INT_MIN << qint64(0);
    QTest::newRow("-1") << -1 << qint64(0);
    QTest::newRow("0") << 0 << qint64(0);
    QTest::newRow("1") << 1 << qint64(100);
    QTest::newRow("2") << 2 << qint64(200);
    QTest::newRow("6000 (front door as laid out)") << 6000 << qint64(600'000);
    QTest::newRow("10000 (middle door as laid out)") << 10000 << qint64(1'000'000);
    QTest::newRow("30000 (slowest on the panel)") << 30000 << qint64(3'000'000);
    QTest::newRow("largest count, no overflow") << INT_MAX << qint64(INT_MAX) * 100;
}

void CountedWaitTest::durationOfACount() {
    QFETCH(int, count);
    QFETCH(qint64, nanoseconds);
    QCOMPARE(qint64(doors::waitDuration(count).count()), nanoseconds);
}

void CountedWaitTest::neverReturnsEarly_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("1") << 1;
    QTest::newRow("100 (all spin)") << 100;
    QTest::newRow("499 (just under the spin margin)") << 499;
    QTest::newRow("10000 (sleep, then spin)") << 10000;
    QTest::newRow("30000") << 30000;
}

void CountedWaitTest::neverReturnsEarly() {
    QFETCH(int, count);
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        doors::countedWait(count);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        QVERIFY2(elapsed >= doors::waitDuration(count),
                 qPrintable(QString("%1 ns").arg(std::chrono::nanoseconds(elapsed).count())));
    }
}

void CountedWaitTest::pastDeadlineDoesNotWait() {
    // A deadline long gone must not turn into a sleep of any length.
    const auto start = std::chrono::steady_clock::now();
    doors::waitUntil(start - 1h);
    QVERIFY(std::chrono::steady_clock::now() - start < 100ms);
}

void CountedWaitTest::runsNoEvents_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("spin only") << 100;
    QTest::newRow("sleep and spin") << 30000;
}

// The door's step must not let queued input in: nothing posted before the wait may run
// until the event loop gets control back.
void CountedWaitTest::runsNoEvents() {
    QFETCH(int, count);
    bool timerRan = false;
    bool queuedCallRan = false;
    QTimer::singleShot(0, this, [&] { timerRan = true; });
    QMetaObject::invokeMethod(this, [&] { queuedCallRan = true; }, Qt::QueuedConnection);

    for (int i = 0; i < 50; ++i)
        doors::countedWait(count);
    QVERIFY(!timerRan);
    QVERIFY(!queuedCallRan);

    // Both were deliverable all along: the loop runs them as soon as it gets the chance.
    QTRY_VERIFY(timerRan && queuedCallRan);
}

void CountedWaitTest::marginSettlesOnSteadyLateness_data() {
    QTest::addColumn<qint64>("lateUs");
    QTest::addColumn<qint64>("lowestUs");
    QTest::addColumn<qint64>("highestUs");
    QTest::newRow("never late: the floor") << qint64(0) << qint64(20) << qint64(20);
    QTest::newRow("woke early (clock oddity): the floor") << qint64(-400) << qint64(20) << qint64(20);
    QTest::newRow("no timer slack") << qint64(35) << qint64(35) << qint64(40);
    QTest::newRow("default timer slack in a virtual machine") << qint64(85) << qint64(85) << qint64(90);
    QTest::newRow("very late: the ceiling") << qint64(900) << qint64(500) << qint64(500);
}

void CountedWaitTest::marginSettlesOnSteadyLateness() {
    QFETCH(qint64, lateUs);
    QFETCH(qint64, lowestUs);
    QFETCH(qint64, highestUs);
    doors::SleepLateness lateness;
    for (int i = 0; i < 200; ++i)
        lateness.record(std::chrono::microseconds(lateUs));
    const auto margin = std::chrono::duration_cast<std::chrono::microseconds>(lateness.margin()).count();
    QVERIFY2(margin >= lowestUs && margin <= highestUs, qPrintable(QString::number(margin) + " us"));
}

void CountedWaitTest::marginIgnoresPreemption() {
    doors::SleepLateness lateness;
    for (int i = 0; i < 200; ++i)
        lateness.record(80us);
    // A busy machine: every fifth sleep comes back milliseconds late.
    for (int i = 0; i < 100; ++i)
        lateness.record(i % 5 == 0 ? 20ms : 80us);
    QVERIFY2(lateness.margin() <= 120us,
             qPrintable(QString::number(std::chrono::nanoseconds(lateness.margin()).count()) + " ns"));
}

void CountedWaitTest::marginFollowsARealChange() {
    doors::SleepLateness lateness;
    for (int i = 0; i < 200; ++i)
        lateness.record(40us);
    for (int i = 0; i < 100; ++i)
        lateness.record(150us);
    QVERIFY2(lateness.margin() >= 150us,
             qPrintable(QString::number(std::chrono::nanoseconds(lateness.margin()).count()) + " ns"));
}

QTEST_GUILESS_MAIN(CountedWaitTest)
#include "tst_counted_wait.moc"
