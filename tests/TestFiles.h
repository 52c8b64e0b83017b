// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Files the tests write and read back, and the error a call raises.

#include "core/RuntimeError.h"

#include <QFile>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testfiles {

// The address the maker's library we ship gives for the homepage.
inline const QString kMakersHomepage = QStringLiteral("https://www.example.com/lumora/");

// Writes the file whole, replacing it; a test cannot go on without it.
inline QString write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The file's bytes; nothing when it cannot be read.
inline QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The error the call raises, or number 0 (which no check expects) when it raises none.
template <typename Call>
core::RuntimeError errorOf(Call&& call) {
    try {
        call();
    } catch (const core::RuntimeError& e) {
        return e;
    }
    return core::RuntimeError(0, QString());
}

// The user nobody, when the test runs as root and so may become nobody; none otherwise.
inline const passwd* nobody() { return ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr; }

// The exit status of the call, run as nobody in a child process: 255 when it could not become
// nobody, -1 when it did not exit.
template <typename Call>
int asNobody(const passwd* user, Call&& call) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(user->pw_gid) == 0 && ::setuid(user->pw_uid) == 0;
        ::_exit(dropped ? call() : 255);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testfiles
