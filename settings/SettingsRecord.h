// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The settings file's one record: sixteen comma-separated fields ended by CR LF. A field is
// known only by its place: kFields lists them once, in the file's order, and the reader, the
// writer and the fallback all go by that list.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <variant>

namespace settings {

// What SaveIni gathers from the controls and LoadIni applies to them.
struct Record {
    float formLeft = 0, formTop = 0, panelLeft = 0, panelTop = 0;  // twips, screen
    QByteArray makuPath0, makuPath1;                               // as the file system spells them
    std::int32_t makuSpeed0 = 0, makuSpeed1 = 0;
    QByteArray kanbanPath;
    float kanbanLeft = 0, kanbanTop = 0;  // twips, main window
    bool viewKanban = false, viewWaku = false;
    std::int32_t hScroll1 = 0, hScroll2 = 0;
    std::int16_t nakaMode = 0;
    friend bool operator==(const Record&, const Record&) = default;
};

// A field's member decides how it is written and read:
//   float         a position: written in single precision ("8850", "-75", "1.5"), read as a
//                 32-bit integer (fractions rounded half to even)
//   std::int32_t  a speed: written as an integer, read as a 32-bit integer
//   std::int16_t  the door mode: written as an integer, read as a 16-bit integer
//   bool          #TRUE# or #FALSE#; a number reads as false when 0
//   QByteArray    a path's bytes in double quotes, a quote doubled (UTF-8 where the file
//                 system's names are valid text; a name that is not stays byte for byte)
using Member =
    std::variant<float Record::*, std::int32_t Record::*, std::int16_t Record::*, bool Record::*, QByteArray Record::*>;

// Where LoadIni falls back to when the file cannot be read or applied.
struct Fallback {
    enum class Kind {
        Kept,            // stays as it is (the paths; the board's place, which the board's reset sets)
        Value,           // takes `value`
        BelowBusWindow,  // the bus window's outer height: the panel stands right under it
    };
    Kind kind = Kind::Kept;
    float value = 0;
};

struct Field {
    Member member;
    Fallback fallback;
};

namespace detail {
constexpr Fallback kept{};
constexpr Fallback value(float v) { return {Fallback::Kind::Value, v}; }
}  // namespace detail

inline constexpr std::array<Field, 16> kFields{{
    {&Record::formLeft, detail::value(0)},
    {&Record::formTop, detail::value(0)},
    {&Record::panelLeft, detail::value(0)},
    {&Record::panelTop, {Fallback::Kind::BelowBusWindow}},
    {&Record::makuPath0, detail::kept},
    {&Record::makuPath1, detail::kept},
    {&Record::makuSpeed0, detail::value(1)},
    {&Record::makuSpeed1, detail::value(1)},
    {&Record::kanbanPath, detail::kept},
    {&Record::kanbanLeft, detail::kept},
    {&Record::kanbanTop, detail::kept},
    {&Record::viewKanban, detail::kept},
    {&Record::viewWaku, detail::kept},
    // The door speeds fall back to the panel's initial values swapped, on purpose.
    {&Record::hScroll1, detail::value(10000)},
    {&Record::hScroll2, detail::value(6000)},
    {&Record::nakaMode, detail::value(0)},
}};

// The reader looks at no more of a file than this.
inline constexpr qsizetype kMaxRecordBytes = 64 * 1024;

// The whole line, ending in CR LF. Numbers are written in the C locale's form
// (no exponent below 1e7 in magnitude). What is written reads back as the record, positions
// rounded to integers and held within the 32-bit range (formatSingle). A line longer than
// kMaxRecordBytes (texts of many kilobytes) is not made: core::RuntimeError kPathFileAccess.
QByteArray formatRecord(const Record& record);

// Reads the first record of the file's bytes; whatever follows its sixteenth field is
// ignored. Throws core::RuntimeError: kInputPastEnd for a missing field (or an empty
// file), kTypeMismatch for a field of the wrong kind, kOverflow for a number out of its
// target's range. Control ranges are not checked here (see SettingsValues.h).
Record parseRecord(QByteArrayView fileBytes);

// The same, reading each field straight into its place in `into`, in file order: when a
// field is broken, the fields before it hold what was read and the rest are left as they were.
void parseRecordInto(QByteArrayView fileBytes, Record& into);

// The fallback values of the fields that have one; the kept fields are left at their defaults
// (LoadIni's fallback does not apply them).
Record fallbackRecord(float busWindowHeight);

// The single-precision text of a position as the record stores it ("8850", "-75", "1.5");
// beyond the 32-bit integer range the nearest integer in it, "0" for what is no number.
QByteArray formatSingle(float value);

}  // namespace settings
