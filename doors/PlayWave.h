#pragma once
// The door's sound cue: a "WAVE" resource of the program played to its end.

#include <cstdint>

namespace doors {

// Reads the resource ":/WAVE/<id>" into Common::WaveData (replacing what was there) and
// plays it synchronously. A sound that cannot be played, or a missing resource, is
// skipped silently and at once.
void PlayWave(std::int16_t id);

}  // namespace doors
