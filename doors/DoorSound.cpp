// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "doors/DoorSound.h"

#include "assets/AssetPaths.h"
#include "platform/Sound.h"

#include <QFile>

namespace doors {

void DoorSound::PlayWave(std::int16_t id) {
    // Read anew each time: WaveData holds exactly the bytes of the sound played last.
    QFile resource(QLatin1String(assets::kWaveFolder) + QString::number(id));
    WaveData = resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
    if (WaveData.isEmpty())
        return;
    platform::playWaveSync(WaveData);
}

}  // namespace doors
