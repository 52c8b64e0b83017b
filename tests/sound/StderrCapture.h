#pragma once
// Catches what is written to file descriptor 2 (by us or by any library) while alive.

#include <QByteArray>
#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

class StderrCapture {
public:
    StderrCapture() {
        if (!file_.open())
            return;
        std::fflush(stderr);
        saved_ = ::dup(2);
        ::dup2(file_.handle(), 2);
    }
    ~StderrCapture() { restore(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    bool active() const { return saved_ >= 0; }

    // Restores fd 2 and returns everything written meanwhile.
    QByteArray take() {
        restore();
        file_.seek(0);
        return file_.readAll();
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }

    QTemporaryFile file_;
    int saved_ = -1;
};
