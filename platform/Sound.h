// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Synchronous playback of an in-memory RIFF WAVE image on the default audio output.

#include <QByteArrayView>

namespace platform {

// Plays the sound to its end and returns true; returns false at once, silently, when it
// cannot be played (no or busy audio device, data that is not a playable WAVE image). Returns
// within the sound's length and half a second whatever the output does (a stalled or slow sound
// server: false; the output is then asked nothing more until it has finished with this sound).
bool playWaveSync(QByteArrayView riff);

}  // namespace platform
