#include "platform/Sound.h"

#include "platform/ElfCheck.h"
#include "platform/Executable.h"
#include "platform/SoundModule.h"

#include <dlfcn.h>

namespace platform {

namespace {

// The module beside the program, by its full path; nothing when it cannot be loaded or is
// not whole (a half-finished copy would kill the program when touched).
SoundEntry soundEntry() {
    static bool tried = false;
    static SoundEntry entry = nullptr;
    if (!tried) {
        tried = true;
        const QByteArray path = besideExecutable(kSoundModule);
        void* module = isWholeElfFile(path) ? dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL) : nullptr;
        if (module)
            entry = reinterpret_cast<SoundEntry>(dlsym(module, kSoundEntry));
    }
    return entry;
}

}  // namespace

bool playWaveSync(QByteArrayView riff) {
    const SoundEntry entry = soundEntry();
    // Without the module there is no audio output: the sound is skipped, as with no sound card.
    return entry && entry(riff.data(), riff.size());
}

}  // namespace platform
