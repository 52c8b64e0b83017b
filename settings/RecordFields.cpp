// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "settings/RecordFields.h"

#include "core/RuntimeError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace settings {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void fail(int number, const QString& what, int field) {
    throw core::RuntimeError(number, QStringLiteral("%1（%2 番目の項目）").arg(what).arg(field));
}

[[noreturn]] void pastEnd(int field) {
    fail(core::err::kInputPastEnd, QStringLiteral("ファイルの終わりを超えて入力しようとしました。"), field);
}
[[noreturn]] void typeMismatch(int field) {
    fail(core::err::kTypeMismatch, QStringLiteral("型が一致しません。"), field);
}
[[noreturn]] void overflow(int field) { fail(core::err::kOverflow, QStringLiteral("オーバーフローしました。"), field); }

// A decimal number: optional sign, digits with an optional fraction (at least one digit in
// all), optional exponent. Nothing else may stand in the text. Values far beyond any
// integer target come back as infinity, values far below one as zero, so that the
// conversion below never meets a result it cannot represent.
std::optional<double> parseDecimal(QByteArrayView s) {
    qsizetype i = 0;
    const qsizetype n = s.size();
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const qsizetype mantissaStart = i;
    qsizetype digits = 0;
    // Decimal magnitude of the mantissa: where its first significant digit stands.
    std::int64_t magnitude = 0;
    bool significant = false;
    while (i < n && isDigit(s[i])) {
        if (s[i] != '0')
            significant = true;
        if (significant)
            ++magnitude;
        ++digits;
        ++i;
    }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && isDigit(s[i])) {
            if (!significant) {
                if (s[i] != '0')
                    significant = true;
                else
                    --magnitude;
            }
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return std::nullopt;
    std::int64_t exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) {
            negativeExponent = s[i] == '-';
            ++i;
        }
        if (i == n || !isDigit(s[i]))
            return std::nullopt;
        while (i < n && isDigit(s[i])) {
            if (exponent < 1'000'000)  // beyond this only the sign of the exponent matters
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;

    const double sign = negative ? -1.0 : 1.0;
    if (!significant || magnitude + exponent < -400)
        return sign * 0.0;
    if (magnitude + exponent > 400)
        return sign * std::numeric_limits<double>::infinity();

    // from_chars is locale-independent; it takes no leading '+', so the sign is applied here.
    const char* const first = s.data() + mantissaStart;
    const char* const last = s.data() + n;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (end != last)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)  // a subnormal or a value past the double range
        return magnitude + exponent > 0 ? sign * std::numeric_limits<double>::infinity() : sign * 0.0;
    if (ec != std::errc())
        return std::nullopt;
    return sign * value;
}

std::optional<double> numberOf(const RawField& field) { return parseDecimal(QByteArrayView(field.bytes)); }

template <typename Int>
Int toInteger(const RawField& field) {
    const std::optional<double> value = numberOf(field);
    if (!value)
        typeMismatch(field.number);
    const double rounded = std::nearbyint(*value);  // the default rounding: half to even
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        overflow(field.number);
    return static_cast<Int>(rounded);
}

}  // namespace

FieldReader::FieldReader(QByteArrayView data) : data_(data) {
    if (data_.startsWith("\xEF\xBB\xBF"))
        pos_ = 3;
}

bool FieldReader::atLineEnd() const { return pos_ == data_.size() || isLineEnd(data_[pos_]); }

// Steps over the separator after a field; a line end or the end of data ends the record.
void FieldReader::finishField() {
    if (pos_ < data_.size() && data_[pos_] == ',')
        ++pos_;
    else
        ended_ = true;
}

RawField FieldReader::next() {
    RawField field;
    field.number = ++fieldsRead_;
    if (ended_)
        pastEnd(field.number);
    while (pos_ < data_.size() && isBlank(data_[pos_]))
        ++pos_;
    if (field.number == 1 && atLineEnd()) {  // a record without a single field
        ended_ = true;
        pastEnd(field.number);
    }

    if (pos_ < data_.size() && data_[pos_] == '"') {
        ++pos_;
        // A quote inside the text stands doubled. The text may run over line ends: only
        // the closing quote ends it (a file cut short ends it too).
        while (pos_ < data_.size()) {
            const char c = data_[pos_++];
            if (c != '"') {
                field.bytes += c;
            } else if (pos_ < data_.size() && data_[pos_] == '"') {
                field.bytes += '"';
                ++pos_;
            } else {
                break;
            }
        }
        while (pos_ < data_.size() && data_[pos_] != ',' && !isLineEnd(data_[pos_]))
            ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < data_.size() && data_[pos_] != ',' && !isLineEnd(data_[pos_]))
            ++pos_;
        qsizetype end = pos_;
        while (end > start && isBlank(data_[end - 1]))
            --end;
        field.bytes = data_.sliced(start, end - start).toByteArray();
    }
    finishField();
    return field;
}

std::int32_t toInt32(const RawField& field) { return toInteger<std::int32_t>(field); }

std::int16_t toInt16(const RawField& field) { return toInteger<std::int16_t>(field); }

bool toBoolean(const RawField& field) {
    if (field.bytes.compare("#TRUE#", Qt::CaseInsensitive) == 0)
        return true;
    if (field.bytes.compare("#FALSE#", Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> value = numberOf(field);
    if (!value)
        typeMismatch(field.number);
    return *value != 0.0;
}

}  // namespace settings
