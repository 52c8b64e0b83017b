// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// An owned descriptor is closed exactly once, by whoever holds it last; given up, it stays open.
// The loops that write and read through plain descriptors move every byte.

#include "core/FileDescriptor.h"

#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

namespace {
bool isOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }
int openNull() { return ::open("/dev/null", O_RDONLY | O_CLOEXEC); }
}  // namespace

class TestFileDescriptor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closedOnceByItsLastOwner() {
        const int first = openNull(), second = openNull();
        {
            core::FileDescriptor a(first), b(second);
            a = std::move(b);  // the descriptor a held goes; b's moves over
            QVERIFY(!isOpen(first) && isOpen(second) && !b.valid());
            const core::FileDescriptor c(std::move(a));
            QVERIFY(isOpen(second));
        }
        QVERIFY(!isOpen(second));  // the last owner has gone
        const int kept = core::FileDescriptor(openNull()).release();
        QVERIFY(isOpen(kept));
        ::close(kept);
    }

    // Started with standard input closed, the program's first open file is descriptor 0: owned
    // like any other, closed by a move over it and by its owner's end.
    void descriptorZeroOwnedLikeAnyOther() {
        const auto openOnZero = [] {
            ::close(0);
            QCOMPARE(openNull(), 0);  // the lowest free descriptor
        };
        openOnZero();
        core::FileDescriptor owner(0);
        QVERIFY(owner.valid());
        owner = core::FileDescriptor(openNull());
        QVERIFY(!isOpen(0));
        openOnZero();
        { const core::FileDescriptor last(0); }
        QVERIFY(!isOpen(0));
    }

    // Everything is written and read back, up to the end of the input, whatever errno held
    // before (a loop that takes a stale EINTR for its own never ends: the alarm ends it).
    void writtenWholeAndReadToTheEnd() {
        int ends[2];
        QVERIFY(::pipe(ends) == 0);
        core::FileDescriptor in(ends[0]), out(ends[1]);
        alarm(10);
        errno = EINTR;
        QVERIFY(core::writeAll(out.get(), "d") && core::writeAll(out.get(), "oor"));
        QCOMPARE(out.close(), 0);
        char read[8] = {};
        errno = EINTR;
        QCOMPARE(core::readUpTo(in.get(), read, sizeof read), 4LL);
        alarm(0);
        QCOMPARE(QByteArray(read), QByteArray("door"));
    }
};

QTEST_APPLESS_MAIN(TestFileDescriptor)
#include "tst_file_descriptor.moc"
