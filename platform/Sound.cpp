#include "platform/Sound.h"

#include "platform/Executable.h"
#include "platform/SoundModule.h"

#include <QFile>
#include <dlfcn.h>

namespace platform {

namespace {

// The module beside the program, by its full path; nothing when it cannot be loaded.
SoundEntry soundEntry() {
    static bool tried = false;
    static SoundEntry entry = nullptr;
    if (!tried) {
        tried = true;
        const QString path = executableDir() + u'/' + QLatin1String(kSoundModule);
        if (void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL))
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
