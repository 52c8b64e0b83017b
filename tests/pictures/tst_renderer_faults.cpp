// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The renderer program going wrong: crashing, hanging, answering nonsense or too much, cut short,
// missing or no program at all.
// Each costs a refused picture with the loader's error, never the program; a renderer that is
// slow but spends little processor time is waited for.
// A stand-in renderer lies beside this test; the picture's name tells it how to fail. Like the
// real one it serves picture after picture, and the loader keeps it from one to the next.

#include "TestFiles.h"
#include "testing/SamplePictures.h"
#include "pictures/PictureLoader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

class TestRendererFaults : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString renderer_, saved_;

    // A metafile the stand-in is asked for under this name.
    QString picture(const QString& name) { return testfiles::write(dir_.filePath(name), samples::wmf(true)); }

private Q_SLOTS:
    void initTestCase() {
        renderer_ = QCoreApplication::applicationDirPath() + QStringLiteral("/tarvola-metafile");
        saved_ = dir_.filePath(QStringLiteral("renderer"));
        QVERIFY(QFile::copy(renderer_, saved_));
    }

    // Wall-clock time is only the backstop: asleep for 3 s, the renderer has used no processor time.
    void slowButIdleIsWaitedFor() { QCOMPARE(pictures::loadPicture(picture("slow.wmf")).size(), QSize(1, 1)); }

    // A picture within its processor time is drawn however busy the machine: here the renderer
    // shares one processor with five loops that never sleep, and its 1.2 s of processor time take
    // about 7 s, past the 6 s that a renderer asleep is given.
    void busyMachineIsWaitedFor() {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        cpu_set_t saved;
        QCOMPARE(::sched_getaffinity(0, sizeof saved, &saved), 0);
        QCOMPARE(::sched_setaffinity(0, sizeof one, &one), 0);  // the renderer and the loops inherit it
        std::vector<pid_t> loops;
        for (int i = 0; i < 5; ++i) {
            const pid_t loop = ::fork();
            if (loop == 0)
                for (;;) {
                }
            loops.push_back(loop);
        }
        const auto stopLoops = qScopeGuard([&] {
            for (const pid_t loop : loops)
                ::kill(loop, SIGKILL), ::waitpid(loop, nullptr, 0);
            ::sched_setaffinity(0, sizeof saved, &saved);
        });
        // The renderer kept from the last picture runs where it ran: one that fails is never kept,
        // so the next is started here, on the one processor.
        QCOMPARE(testfiles::errorOf([&] { pictures::loadPicture(picture("garbage.wmf")); }).number(), 481);
        QElapsedTimer took;
        took.start();
        const core::RuntimeError e =
            testfiles::errorOf([&] { QCOMPARE(pictures::loadPicture(picture("busy.wmf")).size(), QSize(1, 1)); });
        QCOMPARE(e.number(), 0);
        QVERIFY2(took.elapsed() > 6000, "the machine was not busy enough to tell");
    }

    // The largest answer a renderer may give is taken (one past it is refused below).
    void largestAnswerIsTaken() {
        const core::Picture largest = pictures::loadPicture(picture("largest.wmf"));
        QCOMPARE(largest.size(), QSize(8192, 8192));
        QCOMPARE(largest.image().pixel(8191, 8191), qRgb(255, 255, 255));
    }

    // The renderer that drew the last picture is kept for the next. A picture that kills it is
    // tried once more, on one new renderer, and then refused: not drawn by a renderer started
    // again and again. The picture after it is read as usual.
    void aPictureThatKillsTheKeptRendererIsTriedOnceMore() {
        const QString starts = renderer_ + QStringLiteral(".starts");
        QCOMPARE(pictures::loadPicture(picture("first.wmf")).size(), QSize(1, 1));
        QFile::remove(starts);
        QCOMPARE(pictures::loadPicture(picture("second.wmf")).size(), QSize(1, 1));
        QVERIFY(!QFile::exists(starts));  // drawn by the kept one
        const core::RuntimeError e = testfiles::errorOf([&] { pictures::loadPicture(picture("crash.wmf")); });
        QCOMPARE(e.number(), 481);
        QCOMPARE(testfiles::read(starts), QByteArray("started\n"));
        QCOMPARE(pictures::loadPicture(picture("after.wmf")).size(), QSize(1, 1));
    }

    void refused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("crashes") << "crash.wmf" << 481;
        QTest::newRow("answers an image without pixels") << "garbage.wmf" << 481;
        QTest::newRow("answers more than a picture may be") << "beyond.wmf" << 481;
        QTest::newRow("never answers") << "hang.wmf" << 48;
        QTest::newRow("cut short") << "cut.wmf" << 48;
        QTest::newRow("a folder in its place") << "folder.wmf" << 48;
        QTest::newRow("missing") << "missing.wmf" << 48;
    }
    void refused() {
        QFETCH(QString, name);
        QFETCH(int, number);
        QFile::remove(renderer_);
        QDir().rmdir(renderer_);
        if (name == u"cut.wmf")
            testfiles::write(renderer_, testfiles::read(saved_).left(4096));
        else if (name == u"folder.wmf")
            QVERIFY(QDir().mkdir(renderer_));
        else if (name != u"missing.wmf")
            QVERIFY(QFile::copy(saved_, renderer_));
        QFile(renderer_).setPermissions(QFile(saved_).permissions());
        const core::RuntimeError e = testfiles::errorOf([&] { pictures::loadPicture(picture(name)); });
        QCOMPARE(e.number(), number);
        QVERIFY2(e.description().contains(number == 48 ? "tarvola-metafile" : name), qPrintable(e.description()));
        // Neither is started: a cut program would fault at its first touch past the end.
        if (name == u"cut.wmf" || name == u"folder.wmf")
            QVERIFY2(e.description().contains(u"壊れているか、途中で切れています"), qPrintable(e.description()));
    }

    // A renderer that starts a process of its own and ends without answering: the end is seen
    // at once although that process still holds the socket (the wait ran to the 6 s backstop
    // and said the renderer did not answer), and the process ends with its renderer's group.
    void forkingRendererLeavesNothing() {
        QFile::remove(renderer_);
        QVERIFY(QFile::copy(saved_, renderer_));
        const QString pidFile = dir_.filePath(QStringLiteral("pids"));
        qputenv("FAKE_RENDERER_PIDS", QFile::encodeName(pidFile));
        for (int i = 0; i < 3; ++i) {
            const core::RuntimeError e = testfiles::errorOf([&] { pictures::loadPicture(picture("forks.wmf")); });
            QCOMPARE(e.number(), 481);
        }
        const QList<QByteArray> pids = testfiles::read(pidFile).trimmed().split('\n');
        QCOMPARE(pids.size(), 3);
        for (const QByteArray& pid : pids) {
            // Killed, and reaped by whoever inherited it; at worst it lingers as a zombie.
            const auto gone = [&] {
                const QByteArray stat = testfiles::read(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
                const qsizetype end = stat.lastIndexOf(')');
                return stat.isEmpty() || (end > 0 && stat.mid(end + 2, 1) == "Z");
            };
            QTRY_VERIFY2_WITH_TIMEOUT(gone(), pid.constData(), 2000);
        }
    }

    void cleanupTestCase() {
        QFile::remove(renderer_);
        QFile::copy(saved_, renderer_);
    }
};

QTEST_GUILESS_MAIN(TestRendererFaults)
#include "tst_renderer_faults.moc"
