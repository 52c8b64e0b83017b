// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The signboard on a real X server: one drag step (the board following one pointer move,
// as the drag loop moves it, repainted and the display server caught up) and one full
// frame fit (the three bars placed around the board, repainted, caught up).

#include "BusWindowBench.h"

#include <cstdio>

namespace {

using benchsupport::Clock;

constexpr int kWarmUp = 20;
constexpr int kDragSteps = 400;
constexpr int kFits = 200;

// Back and forth along a short diagonal, a few pixels per pointer move, so the board never
// leaves the window and every step uncovers some of what lies beneath it.
QPoint dragOffset(int step) {
    constexpr int kLeg = 20;
    const int along = step % (2 * kLeg);
    const int k = along < kLeg ? along : 2 * kLeg - along;
    return {3 * k, k};
}

// What a step queued is painted and has reached the server.
void showNow() {
    QCoreApplication::processEvents();
    platform::syncWithDisplay();
}

}  // namespace

int main(int argc, char** argv) {
    benchsupport::requireX11();
    QApplication app(argc, argv);
    benchsupport::applyProgramFont();
    const std::unique_ptr<Form1> form = benchsupport::startBusWindow("drag_bench");
    if (!form)
        return 1;
    // Both are shown after a start without settings; make sure, since hidden ones cost nothing.
    if (!form->PicKanban->isVisible())
        form->MnuViewKanban_Click();
    if (!form->shpK_Waku(0)->Visible())
        form->MnuViewWaku_Click();
    benchsupport::settle(50);

    ctl::PictureBox* board = form->PicKanban;
    const benchsupport::PaintCounter formPaints(form.get());
    const benchsupport::PaintCounter boardPaints(board);
    const QPoint home = board->pos();

    std::vector<double> dragUs;
    int dragMissed = 0;
    for (int i = 1; i <= kWarmUp + kDragSteps; ++i) {
        const int paintsBefore = formPaints.count() + boardPaints.count();
        const auto begin = Clock::now();
        board->move(home + dragOffset(i));
        showNow();
        const auto end = Clock::now();
        if (i <= kWarmUp)
            continue;
        dragUs.push_back(benchsupport::microseconds(end - begin));
        if (formPaints.count() + boardPaints.count() == paintsBefore || board->pos() != home + dragOffset(i))
            ++dragMissed;
    }

    std::vector<double> fitUs;
    int fitMissed = 0;
    for (int i = 0; i < kWarmUp + kFits; ++i) {
        // A drag ends with the board somewhere new; the fit then brings the frame to it.
        board->move(home + QPoint(i % 2 == 0 ? 45 : 0, i % 2 == 0 ? 15 : 0));
        board->syncFromWidgetPosition();
        benchsupport::settle(2);
        const core::ScaleRect bottomBefore = form->shpK_Waku(2)->rect();
        const int paintsBefore = formPaints.count();
        const auto begin = Clock::now();
        form->PicKanban_DblClick();
        showNow();
        const auto end = Clock::now();
        if (i < kWarmUp)
            continue;
        fitUs.push_back(benchsupport::microseconds(end - begin));
        if (formPaints.count() == paintsBefore || form->shpK_Waku(2)->rect() == bottomBefore)
            ++fitMissed;
    }

    std::printf("drag_step_median: %.1f us (goal: < 1000 us; median of %d)\n", benchsupport::median(dragUs),
                kDragSteps);
    std::printf("drag_step_p99: %.1f us (goal: none, shows preemption)\n", benchsupport::percentile(dragUs, 0.99));
    std::printf("drag_steps_missed: %d of %d (goal: 0, every step moves and repaints)\n", dragMissed, kDragSteps);
    std::printf("full_fit_median: %.1f us (goal: none, one per double-click; median of %d)\n",
                benchsupport::median(fitUs), kFits);
    std::printf("full_fit_missed: %d of %d (goal: 0, every fit moves the frame and repaints)\n", fitMissed, kFits);
    return 0;
}
