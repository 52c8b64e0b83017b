// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// An owned descriptor is closed exactly once, by whoever holds it last; given up, it stays open.

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
};

QTEST_APPLESS_MAIN(TestFileDescriptor)
#include "tst_file_descriptor.moc"
