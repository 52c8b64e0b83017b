// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// settings_check <file>: exits 0 when the file is one whole record as the program writes it
// (sixteen fields its own reader accepts, values its controls accept, one line ended by CR LF),
// 1 otherwise, saying why. For scripts that check what the program left behind.

#include "core/RuntimeError.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsValues.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_check <settings file>\n");
        return 2;
    }
    try {
        const QByteArray bytes = settings::readSettingsFile(QByteArray(argv[1]));
        const settings::Record r = settings::parseRecord(bytes);
        const bool oneLine = bytes.endsWith("\r\n") && bytes.count('\n') == 1 && bytes.count('\r') == 1;
        const auto within = [](std::int32_t v, std::int32_t min, std::int32_t max) { return v >= min && v <= max; };
        using namespace settings;
        const bool accepted =
            within(r.hScroll1, kDoorSpeedMin, kDoorSpeedMax) && within(r.hScroll2, kDoorSpeedMin, kDoorSpeedMax) &&
            within(r.makuSpeed0, kRollSpeedMin, kRollSpeedMax) && within(r.makuSpeed1, kRollSpeedMin, kRollSpeedMax) &&
            within(r.nakaMode, 0, 2);  // 両方 左 右
        if (oneLine && accepted)
            return 0;
        std::fprintf(stderr, "%s: %s\n", argv[1], oneLine ? "a value no control accepts" : "not one CR LF line");
    } catch (const core::RuntimeError& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qUtf8Printable(e.description()));
    }
    return 1;
}
