// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The settings round trip at shutdown and start: format + parse of a full record, the
// atomic save and the read + parse of the file. Prints the median of many runs of each.

#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

settings::Record fullRecord() {
    settings::Record w;
    w.formLeft = 1234.5f;
    w.formTop = -75;
    w.panelLeft = 4050;
    w.panelTop = 3600;
    w.makuPath0 = QStringLiteral("/home/利用者/ピクチャ/方向幕, 第1系統 \"特急\".bmp").toUtf8();
    w.makuPath1 = QStringLiteral("/home/利用者/ピクチャ/方向幕2.gif").toUtf8();
    w.makuSpeed0 = 7;
    w.makuSpeed1 = 1;
    w.kanbanPath = QStringLiteral("/home/利用者/ピクチャ/看板.emf").toUtf8();
    w.kanbanLeft = 8790;
    w.kanbanTop = 1680;
    w.viewKanban = true;
    w.viewWaku = true;
    w.hScroll1 = 10000;
    w.hScroll2 = 6000;
    w.nakaMode = 1;
    return w;
}

template <typename F>
double medianMicroseconds(int runs, F&& f) {
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<size_t>(runs / 2)];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const settings::Record record = fullRecord();
    std::size_t sink = 0;  // keeps the work from being optimised away

    const double formatParse = medianMicroseconds(20000, [&] {
        const settings::Record r = settings::parseRecord(settings::formatRecord(record));
        sink += static_cast<std::size_t>(r.kanbanLeft) + static_cast<std::size_t>(r.makuPath0.size());
    });

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "settings_bench: no temporary folder\n");
        return 1;
    }
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("tarvola.ini")));
    // Shutdown: the save waits for the disk twice (the file, then the folder's new entry).
    const double save =
        medianMicroseconds(200, [&] { settings::writeFileAtomically(path, settings::formatRecord(record)); });
    // Start-up: read and parse, what the user waits for before the windows appear.
    const double load = medianMicroseconds(5000, [&] {
        const settings::Record r = settings::parseRecord(settings::readSettingsFile(path));
        sink += static_cast<std::size_t>(r.hScroll1);
    });

    std::printf("settings_format_parse: %.2f us (goal: well under 5000 us)\n", formatParse);
    std::printf("settings_load: %.2f us (goal: well under 5000 us)\n", load);
    std::printf("settings_atomic_save: %.1f us (goal: well under 5000 us; two fsyncs, bound by the disk)\n", save);
    std::printf("settings_round_trip: %.1f us (goal: well under 5000 us)\n", save + load);
    return sink == 0 ? 1 : 0;
}
