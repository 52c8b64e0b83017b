// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "assets/gen/AssetList.h"

#include <QString>

#include <array>

namespace assetgen {

namespace {
constexpr std::array kAssets{
    AssetEntry{"src/bus.svg", "pictures/bus.bmp", {758, 217}, Format::Bmp24, true},
    AssetEntry{"src/door_front.svg", "pictures/door_front.bmp", {71, 145}, Format::Bmp24, true},
    AssetEntry{"src/door_leaf.svg", "pictures/door_leaf.bmp", {62, 145}, Format::Bmp24, true},
    AssetEntry{"src/door_second.svg", "pictures/door_second.bmp", {42, 137}, Format::Bmp24, true},
    AssetEntry{"src/interior_seat.svg", "pictures/interior_seat.bmp", {76, 142}, Format::Bmp24, true},
    AssetEntry{"src/interior_steps.svg", "pictures/interior_steps.bmp", {76, 141}, Format::Bmp24, true},
    AssetEntry{"src/switch_mae.svg", "pictures/switch_mae.bmp", {50, 20}, Format::Bmp24, true},
    AssetEntry{"src/switch_naka.svg", "pictures/switch_naka.bmp", {50, 20}, Format::Bmp24, true},
    AssetEntry{"src/tarvola.svg", "icons/tarvola.ico", {32, 32}, Format::Ico16, false},
    AssetEntry{"src/tarvola.svg", "icons/tarvola@2x.png", {64, 64}, Format::Png, false},
    AssetEntry{"src/tarvola.svg", "icons/tarvola.svg", {}, Format::Copy, false},
    AssetEntry{"src/hand.svg", "cursors/hand.png", {32, 32}, Format::Png, true},
};
}  // namespace

std::span<const AssetEntry> assetList() { return kAssets; }

QString doubleResPath(const QString& path) {
    const qsizetype dot = path.lastIndexOf('.');
    const qsizetype slash = path.lastIndexOf('/');
    if (dot <= slash + 1)  // no extension (a leading dot names a hidden file)
        return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

}  // namespace assetgen
