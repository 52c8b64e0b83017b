// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The door's sound cue: a "WAVE" resource of the program played to its end.

#include <QByteArray>
#include <cstdint>

namespace doors {

class DoorSound {
public:
    // Reads the resource ":/WAVE/<id>" into WaveData (replacing what was there) and plays it
    // synchronously. A sound that cannot be played, or a missing resource, is skipped silently
    // and at once.
    void PlayWave(std::int16_t id);

    // The bytes of the sound played last.
    const QByteArray& waveData() const { return WaveData; }

private:
    QByteArray WaveData;
};

}  // namespace doors
