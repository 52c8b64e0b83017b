// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The memory the version dialog keeps from one opening to the next: opened and closed many
// times on the X server, as the user opens it, the heap in use after each opening. The first
// openings fill the toolkit's caches; from then on what an opening keeps should be next to
// nothing.

#include "panels/frmShowVersion.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <malloc.h>

namespace {

long long heapInUse() { return static_cast<long long>(::mallinfo2().uordblks); }

void openAndClose() {
    frmShowVersion dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.Command1_Click(); });
    dialog.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    constexpr int kWarmUp = 50;
    constexpr int kOpenings = 500;
    long long before = 0;
    for (int i = 0; i < kWarmUp + kOpenings; ++i) {
        if (i == kWarmUp)
            before = heapInUse();
        openAndClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    const double perOpening = static_cast<double>(heapInUse() - before) / kOpenings;
    std::printf("version dialog, heap kept per opening over %d: %.0f bytes (goal: under 512)\n", kOpenings, perOpening);
    return 0;
}
