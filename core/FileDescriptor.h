// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// An open file descriptor owned by one object, and the read and write loops every user of
// plain descriptors needs: a signal or a short transfer is no reason to stop early.

#include <QByteArrayView>
#include <cstddef>

namespace core {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Gives the descriptor up without closing it.
    int release();
    // Closing can report a late write error, so callers that care check this; errno tells why.
    int close();

private:
    int fd_;
};

// Writes all of bytes; false on an error, with errno telling which.
bool writeAll(int fd, QByteArrayView bytes);

// Reads until `count` bytes are in or the input ends; returns how many were read, or -1 on an
// error (errno tells which).
long long readUpTo(int fd, char* into, std::size_t count);

}  // namespace core
