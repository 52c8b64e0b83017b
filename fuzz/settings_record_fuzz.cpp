// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Two properties of the settings record, checked on every input:
//  1. Reading: any bytes either read as a record or fail with one of the reader's three
//     error numbers. A record that was read, written again and read again is unchanged.
//  2. Writing: a record built from the bytes (arbitrary floats, integers and texts) reads
//     back with every text and integer intact and every position rounded to the nearest
//     integer, or fails as its first unwritable position dictates.

#include "core/RuntimeError.h"
#include "settings/SettingsRecord.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <algorithm>

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

// A position is read as a 32-bit integer and kept in single precision: near the integer
// limits it becomes a float beyond them, which no longer reads back. So it is clamped first.
Record writable(Record r) {
    constexpr float limit = 1 << 24;  // every integer up to here is an exact float
    for (float* p : {&r.formLeft, &r.formTop, &r.panelLeft, &r.panelTop, &r.kanbanLeft, &r.kanbanTop})
        *p = std::clamp(*p, -limit, limit);
    return r;
}

void readWriteRead(QByteArrayView bytes) {
    Record first;
    try {
        first = settings::parseRecord(bytes);
    } catch (const core::RuntimeError& e) {
        require(isReaderError(e.number()), "unexpected error number");
        return;
    }
    first = writable(first);
    const QByteArray line = settings::formatRecord(first);
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

// What reading a written position must give. Either: the float lies so close to the int32
// limits that its shortest text may fall on either side of them.
enum class Outcome { Value, TypeMismatch, Overflow, Either };

Outcome outcomeOf(float f) {
    if (!std::isfinite(f))
        return Outcome::TypeMismatch;
    const double limit = 2147483648.0;
    const double margin = 256.0;  // the float spacing near 2^31
    const double a = std::fabs(static_cast<double>(f));
    if (a < limit - margin)
        return Outcome::Value;
    if (a > limit + margin)
        return Outcome::Overflow;
    return Outcome::Either;
}

// From 2^23 on every float is an integer and reads back as itself; below, halves round to even.
bool closeEnough(float f, float read) {
    return read == static_cast<float>(std::nearbyint(static_cast<double>(f)));
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
    // The rest is three texts separated by zero bytes.
    QString* const texts[] = {&w.makuPath0, &w.makuPath1, &w.kanbanPath};
    for (QString* t : texts) {
        const qsizetype end = bytes.indexOf('\0');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end);
        *t = QString::fromUtf8(piece);
        bytes = end < 0 ? QByteArrayView() : bytes.sliced(end + 1);
    }

    // Fields are read in order: the first position that surely fails decides the error; a
    // position at the limit may fail with an overflow or read and let the next one decide.
    bool mayRead = true;
    bool mayMismatch = false;
    bool mayOverflow = false;
    for (const float* p : positions) {
        const Outcome o = outcomeOf(*p);
        if (o == Outcome::Either) {
            mayOverflow = true;
        } else if (o != Outcome::Value) {
            (o == Outcome::TypeMismatch ? mayMismatch : mayOverflow) = true;
            mayRead = false;
            break;
        }
    }

    const QByteArray line = settings::formatRecord(w);
    Record r;
    try {
        r = settings::parseRecord(line);
    } catch (const core::RuntimeError& e) {
        require((e.number() == core::err::kTypeMismatch && mayMismatch) ||
                    (e.number() == core::err::kOverflow && mayOverflow),
                "a written record failed to read, or failed with the wrong error");
        return;
    }
    require(mayRead, "an unreadable position was read");
    const float read[] = {r.formLeft, r.formTop, r.panelLeft, r.panelTop, r.kanbanLeft, r.kanbanTop};
    for (int i = 0; i < 6; ++i)
        require(closeEnough(*positions[i], read[i]), "position not rounded to the nearest integer");
    require(r.makuSpeed0 == w.makuSpeed0 && r.makuSpeed1 == w.makuSpeed1 && r.hScroll1 == w.hScroll1 &&
                r.hScroll2 == w.hScroll2 && r.nakaMode == w.nakaMode,
            "integer changed");
    require(r.viewKanban == w.viewKanban && r.viewWaku == w.viewWaku, "flag changed");
    require(r.makuPath0 == w.makuPath0 && r.makuPath1 == w.makuPath1 && r.kanbanPath == w.kanbanPath,
            "text changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    readWriteRead(bytes);
    writeRead(bytes);
    return 0;
}
