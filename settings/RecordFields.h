// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Sequential reading of one comma-separated text record, field by field, and the
// conversions of a field into the types the settings are read into.
// Every failure is a core::RuntimeError with the number the error trap expects.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace settings {

// One field as it stood in the record.
struct RawField {
    QByteArray bytes;  // quoted: the text between the quotes, "" undone; unquoted: trimmed of blanks
    int number = 0;    // 1-based place in the record, for error descriptions
};

class FieldReader {
public:
    explicit FieldReader(QByteArrayView data);

    // The next field of the record. Throws kInputPastEnd once the record has ended
    // (end of data or end of line after the previous field).
    RawField next();

private:
    bool atLineEnd() const;
    void finishField();

    QByteArrayView data_;
    qsizetype pos_ = 0;
    int fieldsRead_ = 0;
    bool ended_ = false;
};

// A signed 32-bit integer: fractions rounded half to even; kOverflow outside the range,
// kTypeMismatch when the field is no number.
std::int32_t toInt32(const RawField& field);
// The same for a signed 16-bit integer.
std::int16_t toInt16(const RawField& field);
// #TRUE#, #FALSE#, or a number (0 is false, anything else true); else kTypeMismatch.
bool toBoolean(const RawField& field);

}  // namespace settings
