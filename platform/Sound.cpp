#include "platform/Sound.h"

#include "platform/Executable.h"
#include "platform/Modules.h"
#include "platform/SoundModule.h"

namespace platform {

bool playWaveSync(QByteArrayView riff) {
    const auto entry = reinterpret_cast<SoundEntry>(moduleFunction(besideExecutable(kSoundModule), kSoundEntry).function);
    // Without the module there is no audio output: the sound is skipped, as with no sound card.
    return entry && entry(riff.data(), riff.size());
}

}  // namespace platform
