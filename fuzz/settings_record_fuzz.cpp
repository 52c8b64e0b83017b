// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Two properties of the settings record, checked on every input:
//  1. Reading: any bytes either read as a record or fail with one of the reader's three
//     error numbers. A record that was read, written again and read again is unchanged.
//  2. Writing: a record built from the bytes (arbitrary floats, integers and texts) reads
//     back with every text and integer intact and every position rounded to the nearest
//     integer within the 32-bit range (what is no number as 0): no record is written that
//     the reader refuses or reads otherwise.

#include "core/RuntimeError.h"
#include "settings/SettingsRecord.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <algorithm>
#include <optional>

using settings::Record;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "settings_record: %s\n", what);
        std::abort();
    }
}

bool isReaderError(int number) {
    return number == core::err::kInputPastEnd || number == core::err::kTypeMismatch || number == core::err::kOverflow;
}

// The line, or nothing when it is too long to be read back whole, which only texts of many
// kilobytes make: each of their bytes is written once, a quote twice, beside 300 bytes at most.
std::optional<QByteArray> written(const Record& r) {
    try {
        return settings::formatRecord(r);
    } catch (const core::RuntimeError& e) {
        qsizetype textBytes = 0;
        for (const QByteArray* t : {&r.makuPath0, &r.makuPath1, &r.kanbanPath})
            textBytes += t->size() + t->count('"');
        require(e.number() == core::err::kPathFileAccess && textBytes + 300 > settings::kMaxRecordBytes,
                "a record of short texts was not written");
        return std::nullopt;
    }
}

void readWriteRead(QByteArrayView bytes) {
    Record first;
    try {
        first = settings::parseRecord(bytes);
    } catch (const core::RuntimeError& e) {
        require(isReaderError(e.number()), "unexpected error number");
        return;
    }
    const std::optional<QByteArray> written = ::written(first);
    if (!written)
        return;
    const QByteArray& line = *written;
    require(line.endsWith("\r\n"), "record not ended by CR LF");
    Record second;
    try {
        second = settings::parseRecord(line);
    } catch (const core::RuntimeError&) {
        require(false, "a written record does not read back");
    }
    require(second == first, "record changed by writing and reading again");
    require(settings::formatRecord(second) == line, "writing is not stable");
}

// Reads a value of type T from the front of the bytes, zero when they run out.
template <typename T>
T take(QByteArrayView& bytes) {
    T value{};
    const qsizetype n = std::min<qsizetype>(sizeof(T), bytes.size());
    std::memcpy(&value, bytes.data(), static_cast<size_t>(n));
    bytes = bytes.sliced(n);
    return value;
}

// What reading a written position gives: the nearest integer (halves to even) held within
// the 32-bit range, 0 for what is no number, kept in single precision.
float readBack(float f) {
    if (std::isnan(f))
        return 0.0f;
    const double rounded = std::nearbyint(static_cast<double>(f));
    return static_cast<float>(std::clamp(rounded, -2147483648.0, 2147483647.0));
}

void writeRead(QByteArrayView bytes) {
    if (bytes.size() < 40)
        return;
    Record w;
    float* const positions[] = {&w.formLeft, &w.formTop, &w.panelLeft, &w.panelTop, &w.kanbanLeft, &w.kanbanTop};
    for (float* p : positions)
        *p = take<float>(bytes);
    for (std::int32_t* p : {&w.makuSpeed0, &w.makuSpeed1, &w.hScroll1, &w.hScroll2})
        *p = take<std::int32_t>(bytes);
    w.nakaMode = take<std::int16_t>(bytes);
    const auto flags = take<std::uint8_t>(bytes);
    w.viewKanban = flags & 1;
    w.viewWaku = flags & 2;
    // The rest is three paths separated by zero bytes, any bytes, valid UTF-8 or not.
    QByteArray* const texts[] = {&w.makuPath0, &w.makuPath1, &w.kanbanPath};
    for (QByteArray* t : texts) {
        const qsizetype end = bytes.indexOf('\0');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end);
        *t = piece.toByteArray();
        bytes = end < 0 ? QByteArrayView() : bytes.sliced(end + 1);
    }

    const std::optional<QByteArray> written = ::written(w);
    if (!written)
        return;
    const QByteArray& line = *written;
    Record r;
    try {
        r = settings::parseRecord(line);
    } catch (const core::RuntimeError&) {
        require(false, "a written record does not read back");
    }
    const float read[] = {r.formLeft, r.formTop, r.panelLeft, r.panelTop, r.kanbanLeft, r.kanbanTop};
    for (int i = 0; i < 6; ++i)
        require(read[i] == readBack(*positions[i]), "position not rounded to the nearest integer in range");
    require(r.makuSpeed0 == w.makuSpeed0 && r.makuSpeed1 == w.makuSpeed1 && r.hScroll1 == w.hScroll1 &&
                r.hScroll2 == w.hScroll2 && r.nakaMode == w.nakaMode,
            "integer changed");
    require(r.viewKanban == w.viewKanban && r.viewWaku == w.viewWaku, "flag changed");
    require(r.makuPath0 == w.makuPath0 && r.makuPath1 == w.makuPath1 && r.kanbanPath == w.kanbanPath, "text changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    readWriteRead(bytes);
    writeRead(bytes);
    return 0;
}
