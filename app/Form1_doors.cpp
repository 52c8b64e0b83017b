// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The doors of the bus window: the front door and the two leaves of the middle door.

#include "app/Form1.h"
#include "doors/DoorMovement.h"
#include "panels/frmSet.h"
#include "platform/Windowing.h"

namespace {

// Each step's geometry reaches the screen before its wait begins. Steps that leave every
// pixel where it was (most one-twip steps) paint nothing and need no round trip.
void showStep(Form1& form) {
    if (form.hasPendingPaint()) {
        form.paintPendingNow();
        platform::syncWithDisplay();
    }
}

}  // namespace

// The speed is read from the panel at every step: a bar moved meanwhile takes effect at once.
void Form1::Check1_Click(std::int16_t value) {
    ctl::Image* door = Image1(2);
    const doors::Movement movement = doors::frontDoorMovement(value, door->Width());
    movement.forEachWidth([&](int w) {
        stepStart_ = std::chrono::steady_clock::now();
        door->setWidth(static_cast<float>(w));
        showStep(*this);
        doorHooks_.waitAfterStep(stepStart_, panel().values().frontDoorSpeed);
    });
}

void Form1::Check2_Click(std::int16_t value) {
    doorHooks_.playWave(101);
    ctl::Image* left = imgNakaorido(0);
    ctl::Image* right = imgNakaorido(1);
    const doors::Leaves leaves = doors::leavesOfMode(panel().values().nakaMode);
    const float current = leaves == doors::Leaves::Right ? right->Width() : left->Width();
    const doors::Movement movement = doors::middleDoorMovement(value, current);
    movement.forEachWidth([&](int w) {
        stepStart_ = std::chrono::steady_clock::now();
        const float width = static_cast<float>(w);
        if (leaves != doors::Leaves::Right)
            left->setWidth(width);
        if (leaves != doors::Leaves::Left) {
            right->setWidth(width);
            right->setLeft(static_cast<float>(doors::kRightLeafRightEdge) - width);
        }
        showStep(*this);
        doorHooks_.waitAfterStep(stepStart_, panel().values().middleDoorSpeed);
    });
}
