// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Bounds-checked little-endian (and, for JPEG, big-endian) reads from a file's bytes: the header parsers look at
// untrusted data, so every read says whether the bytes were there.

#include <QByteArrayView>
#include <QtEndian>
#include <cstdint>
#include <optional>

namespace pictures {

class Bytes {
public:
    explicit Bytes(QByteArrayView data) : data_(data) {}

    qsizetype size() const { return data_.size(); }
    bool has(std::int64_t offset, std::int64_t count) const {
        return offset >= 0 && count >= 0 && offset <= data_.size() && count <= data_.size() - offset;
    }
    std::optional<std::uint8_t> u8(std::int64_t offset) const { return read<std::uint8_t>(offset); }
    std::optional<std::uint16_t> u16(std::int64_t offset) const { return read<std::uint16_t>(offset); }
    std::optional<std::uint16_t> u16be(std::int64_t offset) const {
        if (!has(offset, 2))
            return std::nullopt;
        return qFromBigEndian<std::uint16_t>(data_.data() + offset);
    }
    std::optional<std::int16_t> s16(std::int64_t offset) const { return read<std::int16_t>(offset); }
    std::optional<std::uint32_t> u32(std::int64_t offset) const { return read<std::uint32_t>(offset); }
    std::optional<std::int32_t> s32(std::int64_t offset) const { return read<std::int32_t>(offset); }
    QByteArrayView view() const { return data_; }

private:
    template <typename T>
    std::optional<T> read(std::int64_t offset) const {
        if (!has(offset, sizeof(T)))
            return std::nullopt;
        return qFromLittleEndian<T>(data_.data() + offset);
    }

    QByteArrayView data_;
};

}  // namespace pictures
