// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The pause between two steps of a door animation. Its length is a count from the panel's
// speed scroll bar; each count stands for a fixed time, so a door moves at the same speed
// on every processor.

#include <chrono>

namespace doors {

// 100 ns per count: 10 000 counts make 1 ms.
inline constexpr std::chrono::nanoseconds kTimePerCount{100};

// How long a wait of `count` lasts; nothing for counts below 1.
constexpr std::chrono::nanoseconds waitDuration(int count) {
    return count < 1 ? std::chrono::nanoseconds::zero() : kTimePerCount * count;
}

// Returns at `deadline`, not before. Sleeps most of the way and spins only the last
// stretch, which the kernel's sleep cannot hit exactly (see SleepLateness). Never runs
// the event loop.
void waitUntil(std::chrono::steady_clock::time_point deadline);

// Waits waitDuration(count) from now.
void countedWait(int count);

}  // namespace doors
