// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The widths a door movement goes through, one twip a step, both ends included.

#include <cstdint>

namespace doors {

struct Movement {
    int from = 0;
    int to = 0;            // reached when the movement has any step
    bool opening = false;  // opening narrows the door: widths count down

    // Calls step(width) for each width in turn.
    template <class Step>
    void forEachWidth(Step&& step) const {
        if (opening) {
            for (int w = from; w >= to; --w)
                step(w);
        } else {
            for (int w = from; w <= to; ++w)
                step(w);
        }
    }
};

inline constexpr int kFrontOpen = 70, kFrontClosed = 1065;
inline constexpr int kLeafOpen = 110, kLeafClosed = 930;
inline constexpr int kRightLeafRightEdge = 6540;

// A check box value of 0 closes; 1 (checked) and 2 (grayed) open. Closing always starts
// from the open width; opening starts from the current width, rounded half to even.
Movement frontDoorMovement(std::int16_t checkValue, float currentWidth);
Movement middleDoorMovement(std::int16_t checkValue, float currentLeafWidth);

enum class Leaves { Both, Left, Right };

// The leaves a middle-door mode moves: 0 (両方) both, 1 (左) the left one, any other the right one,
// as the panel's options are asked in their order, the right leaf when neither of the first two is
// selected.
Leaves leavesOfMode(std::int16_t nakaMode);

}  // namespace doors
