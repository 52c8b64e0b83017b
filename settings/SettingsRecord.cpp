// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "settings/SettingsRecord.h"

#include "core/RuntimeError.h"
#include "settings/RecordFields.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <type_traits>
#include <utility>

namespace settings {

namespace {

template <typename Pointer>
struct MemberOf;
template <typename T>
struct MemberOf<T Record::*> {
    using type = T;
};
template <typename Pointer>
using MemberType = typename MemberOf<Pointer>::type;

// Appends fields in order, each after a comma but the first.
class RecordWriter {
public:
    RecordWriter() { out_.reserve(320); }

    void write(float value) {
        separate();
        out_ += formatSingle(value);
    }
    void write(std::int32_t value) {
        separate();
        out_ += QByteArray::number(value);
    }
    void write(std::int16_t value) {
        separate();
        out_ += QByteArray::number(value);
    }
    void write(bool value) {
        separate();
        out_ += value ? "#TRUE#" : "#FALSE#";
    }
    // Paths on this platform may hold a double quote; doubling it keeps the field whole
    // and leaves every other path byte for byte as it would be without the doubling.
    void write(const QByteArray& value) {
        separate();
        out_ += '"';
        for (const char c : value) {
            if (c == '"')
                out_ += '"';
            out_ += c;
        }
        out_ += '"';
    }

    QByteArray finish() { return std::move(out_) + "\r\n"; }

private:
    void separate() {
        if (!first_)
            out_ += ',';
        first_ = false;
    }

    QByteArray out_;
    bool first_ = true;
};

}  // namespace

QByteArray formatSingle(float value) {
    // The reader takes a position as a 32-bit integer. Past that range, and for what is no
    // number, the text is the nearest one it reads: 2^31 itself (how single precision holds
    // 2^31 - 1) comes back unchanged, and a record is never refused for one position.
    if (value == 0.0f || std::isnan(value))
        return QByteArrayLiteral("0");  // no "-0"
    if (value >= 2147483648.0f)
        return QByteArrayLiteral("2147483647");
    if (value < -2147483648.0f)
        return QByteArrayLiteral("-2147483648");
    // Fixed notation never uses an exponent; without a precision it is the shortest text
    // that reads back to the same float. Locale plays no part in to_chars.
    char buffer[128];
    const auto [end, ec] = std::to_chars(std::begin(buffer), std::end(buffer), value, std::chars_format::fixed);
    if (ec != std::errc())
        return QByteArrayLiteral("0");  // cannot happen: the longest float needs under 60 characters
    return QByteArray(buffer, end - buffer);
}

QByteArray formatRecord(const Record& record) {
    RecordWriter w;
    for (const Field& field : kFields)
        std::visit([&](auto member) { w.write(record.*member); }, field.member);
    QByteArray line = w.finish();
    // The reader stops there: a longer line would read as a record cut short.
    if (line.size() > kMaxRecordBytes)
        throw core::RuntimeError(core::err::kPathFileAccess,
                                 QStringLiteral("記録が %1 バイトと長すぎて、読み戻せる %2 バイトに収まりません。")
                                     .arg(line.size())
                                     .arg(kMaxRecordBytes));
    return line;
}

Record parseRecord(QByteArrayView fileBytes) {
    Record r;
    parseRecordInto(fileBytes, r);
    return r;
}

void parseRecordInto(QByteArrayView fileBytes, Record& r) {
    FieldReader in(fileBytes);
    for (const Field& field : kFields) {
        std::visit(
            [&](auto member) {
                using T = MemberType<decltype(member)>;
                const RawField raw = in.next();
                if constexpr (std::is_same_v<T, float>)
                    r.*member = static_cast<float>(toInt32(raw));
                else if constexpr (std::is_same_v<T, std::int32_t>)
                    r.*member = toInt32(raw);
                else if constexpr (std::is_same_v<T, std::int16_t>)
                    r.*member = toInt16(raw);
                else if constexpr (std::is_same_v<T, bool>)
                    r.*member = toBoolean(raw);
                else
                    r.*member = raw.bytes;
            },
            field.member);
    }
}

Record fallbackRecord(float busWindowHeight) {
    Record r;
    for (const Field& field : kFields) {
        if (field.fallback.kind == Fallback::Kind::Kept)
            continue;
        const float value =
            field.fallback.kind == Fallback::Kind::BelowBusWindow ? busWindowHeight : field.fallback.value;
        std::visit(
            [&](auto member) {
                using T = MemberType<decltype(member)>;
                if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>)
                    r.*member = static_cast<T>(value);
            },
            field.member);
    }
    return r;
}

}  // namespace settings
