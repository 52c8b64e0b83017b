#pragma once
// Builds RIFF WAVE images byte by byte, so that each test row can break exactly one thing.

#include <QByteArray>
#include <QList>
#include <cstdint>

namespace riff {

inline void put16(QByteArray& out, std::uint16_t v) {
    out.append(char(v & 0xFF)).append(char(v >> 8));
}

inline void put32(QByteArray& out, std::uint32_t v) {
    put16(out, std::uint16_t(v & 0xFFFF));
    put16(out, std::uint16_t(v >> 16));
}

struct Format {
    std::uint16_t tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 8;
    std::int64_t blockAlign = -1;  // -1: consistent with channels and bits
    std::int64_t byteRate = -1;    // -1: consistent with rate and block align
    QByteArray extra;              // bytes after the 16 of a PCM format

    QByteArray bytes() const {
        const auto align = std::uint16_t(blockAlign >= 0 ? blockAlign : channels * (bits / 8));
        QByteArray out;
        put16(out, tag);
        put16(out, channels);
        put32(out, rate);
        put32(out, std::uint32_t(byteRate >= 0 ? byteRate : rate * align));
        put16(out, align);
        put16(out, bits);
        return out + extra;
    }
};

// A chunk with its header; `declaredSize` overrides the size field, `pad` adds the pad
// byte of an odd-sized body.
inline QByteArray chunk(const char* tag, const QByteArray& body, std::int64_t declaredSize = -1,
                        bool pad = true) {
    QByteArray out(tag, 4);
    put32(out, std::uint32_t(declaredSize >= 0 ? declaredSize : body.size()));
    out += body;
    if (pad && body.size() % 2 == 1)
        out.append('\0');
    return out;
}

// A RIFF form around `chunks`; `declaredSize` overrides the RIFF size field.
inline QByteArray form(const QList<QByteArray>& chunks, const char* type = "WAVE", std::int64_t declaredSize = -1,
                       const char* magic = "RIFF") {
    QByteArray body(type, 4);
    for (const QByteArray& c : chunks)
        body += c;
    QByteArray out(magic, 4);
    put32(out, std::uint32_t(declaredSize >= 0 ? declaredSize : body.size()));
    return out + body;
}

inline QByteArray samples(int count, char value = char(0x80)) {
    return QByteArray(count, value);
}

// The smallest well-formed image: 8-bit mono PCM, four samples.
inline QByteArray minimal() {
    return form({chunk("fmt ", Format{}.bytes()), chunk("data", samples(4))});
}

}  // namespace riff
