// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "testing/SamplePictures.h"

#include <QBuffer>
#include <QPainter>
#include <QtEndian>
#include <array>
#include <bit>

namespace samples {

namespace {

template <typename T>
void put(QByteArray& out, T value) {
    std::array<char, sizeof(T)> bytes{};
    qToLittleEndian(value, bytes.data());
    out.append(bytes.data(), bytes.size());
}

quint32 crc32(QByteArrayView bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// --- Windows metafile records: a size in 16-bit words, a function, then parameters.
void wmfRecord(QByteArray& out, quint16 function, std::initializer_list<quint16> params) {
    put<quint32>(out, static_cast<quint32>(3 + params.size()));
    put<quint16>(out, function);
    for (const quint16 p : params)
        put<quint16>(out, p);
}

quint16 w16(int v) { return static_cast<quint16>(static_cast<qint16>(v)); }

// --- Enhanced metafile records: a type and a size in bytes, then 32-bit parameters.
void emfRecord(QByteArray& out, quint32 type, std::initializer_list<qint32> params) {
    put<quint32>(out, type);
    put<quint32>(out, static_cast<quint32>(8 + 4 * params.size()));
    for (const qint32 p : params)
        put<qint32>(out, p);
}

// The headers of a 1500 × 750 unit page (1440 units an inch) before the records.
QByteArray wmfFile(const QByteArray& records, bool placeable, QPoint origin, quint32 longestRecordWords) {
    const int ox = origin.x(), oy = origin.y();
    QByteArray out;
    if (placeable) {
        QByteArray header;
        put<quint32>(header, 0x9AC6CDD7);
        put<quint16>(header, 0);
        for (const int v : {ox, oy, ox + 1500, oy + 750})  // the box
            put<qint16>(header, static_cast<qint16>(v));
        put<quint16>(header, 1440);
        put<quint32>(header, 0);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= qFromLittleEndian<quint16>(header.constData() + 2 * i);
        put<quint16>(header, sum);
        out += header;
    }
    put<quint16>(out, placeable ? 1 : 2);  // "in memory" or "on disk": files hold both
    put<quint16>(out, 9);                  // header words
    put<quint16>(out, 0x300);
    put<quint32>(out, static_cast<quint32>((18 + records.size()) / 2));
    put<quint16>(out, 3);  // objects
    put<quint32>(out, longestRecordWords);
    put<quint16>(out, 0);
    return out + records;
}

}  // namespace

QImage rasterScene(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    QPainter painter(&image);
    painter.fillRect(QRect(20, 10, 20, 10), QColor(0, 0, 255));
    return image;
}

QByteArray encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes;
}

// 24-bit rows bottom up, each padded to 4 bytes.
QByteArray encodeOs2Bmp(const QImage& scene) {
    const QImage rgb = scene.convertToFormat(QImage::Format_BGR888);
    const int rowBytes = (rgb.width() * 3 + 3) / 4 * 4;
    QByteArray out = "BM" + QByteArray(24, '\0');
    qToLittleEndian<quint32>(quint32(26 + rowBytes * rgb.height()), out.data() + 2);
    qToLittleEndian<quint32>(26, out.data() + 10);
    for (const auto& [at, value] : {std::pair{14, 12}, {18, rgb.width()}, {20, rgb.height()}, {22, 1}, {24, 24}})
        qToLittleEndian<quint16>(quint16(value), out.data() + at);  // the header size, 12, is the low half of a u32
    for (int y = rgb.height() - 1; y >= 0; --y)
        out += QByteArray(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3)
                   .leftJustified(rowBytes, '\0');
    return out;
}

// Palette index 0 red, 1 blue; each row in runs of one index, bottom row first.
QByteArray encodeRunLengthBmp(const QImage& image) {
    QByteArray runs;
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width();) {
            const bool blue = image.pixelColor(x, y) == QColor(0, 0, 255);
            int n = 0;
            while (x < image.width() && n < 255 && (image.pixelColor(x, y) == QColor(0, 0, 255)) == blue)
                ++x, ++n;
            runs.append(char(n)).append(char(blue));
        }
        runs.append(2, '\0');  // the end of a row
    }
    runs.append('\0').append('\1');  // the end of the picture
    QByteArray out = "BM" + QByteArray(52, '\0') + QByteArray::fromHex("0000ff00ff000000") + runs;
    for (const auto& [at, value] : {std::pair{2, int(out.size())},
                                    {10, 62},
                                    {14, 40},
                                    {18, image.width()},
                                    {22, image.height()},
                                    {30, 1},
                                    {34, int(runs.size())},
                                    {46, 2}})
        qToLittleEndian<quint32>(quint32(value), out.data() + at);
    qToLittleEndian<quint32>(1 | 8 << 16, out.data() + 26);  // one plane, 8 bits a pixel
    return out;
}

// An LZW stream whose codes stay 8 bits wide: a clear code every 100 pixels keeps the
// code table from growing to 9-bit codes, so each code is one byte.
QByteArray encodeGif(const QImage& image) {
    constexpr char kMinCodeSize = 7, kClear = char(128), kEnd = char(129);
    const auto w = static_cast<quint16>(image.width()), h = static_cast<quint16>(image.height());
    QByteArray out("GIF89a");
    put(out, w);
    put(out, h);
    out.append(char(0xF6)).append(char(0)).append(char(0));  // 128-entry global colour table
    QByteArray table(3 * 128, '\0');
    table[0] = table[5] = char(255);  // 0 red, 1 blue
    out.append(table).append(char(0x2C));
    for (const quint16 v : {quint16(0), quint16(0), w, h})
        put(out, v);
    out.append(char(0)).append(kMinCodeSize);

    QByteArray codes;
    for (int i = 0; i < w * h; ++i) {
        if (i % 100 == 0)
            codes.append(kClear);
        codes.append(char(image.pixelColor(i % w, i / w).blue() > 127 ? 1 : 0));
    }
    codes.append(kEnd);
    for (qsizetype at = 0; at < codes.size(); at += 255)
        out.append(char(std::min<qsizetype>(255, codes.size() - at))).append(codes.mid(at, 255));
    out.append(char(0)).append(char(0x3B));
    return out;
}

QByteArray wmf(bool placeable, QPoint origin, int extraRecords, bool setsOrigin, int oddShapesPenPixels) {
    // 1440 units an inch: 15 units a pixel. The page is 1500 × 750 units.
    const int ox = origin.x(), oy = origin.y();
    QByteArray records;
    wmfRecord(records, 0x001E, {});  // SAVEDC: a record of three words, the least
    if (!placeable)
        wmfRecord(records, 0x0103, {1});  // SETMAPMODE MM_TEXT: one unit a pixel
    const int unit = placeable ? 15 : 1;
    if (setsOrigin)
        wmfRecord(records, 0x020B, {w16(oy), w16(ox)});             // SETWINDOWORG
    wmfRecord(records, 0x020C, {w16(50 * unit), w16(100 * unit)});  // SETWINDOWEXT
    if (oddShapesPenPixels > 0) {
        wmfRecord(records, 0x02FA, {0, w16(oddShapesPenPixels * unit), 0, 0, 0});  // solid black: 0
        wmfRecord(records, 0x012D, {0});
        const int y = oy - 200 * unit;
        wmfRecord(records, 0x0325, {2, w16(ox), w16(y), w16(ox + 100 * unit), w16(y)});  // POLYLINE
        wmfRecord(records, 0x01F0, {0});  // DELETEOBJECT: its place is the null pen's
    }
    wmfRecord(records, 0x02FA, {5, 0, 0, 0, 0});         // CREATEPENINDIRECT null pen: 0
    wmfRecord(records, 0x02FC, {0, 0x00FF, 0x0000, 0});  // CREATEBRUSHINDIRECT red: 1
    wmfRecord(records, 0x02FC, {0, 0x0000, 0x00FF, 0});  // blue: 2
    wmfRecord(records, 0x012D, {0});
    wmfRecord(records, 0x012D, {1});
    auto box = [&](quint16 function, int l, int t, int r, int b) {
        wmfRecord(records, function, {w16(oy + b * unit), w16(ox + r * unit), w16(oy + t * unit), w16(ox + l * unit)});
    };
    box(0x041B, 10, 10, 50, 40);  // RECTANGLE
    for (int i = 0; i < extraRecords; ++i)
        box(0x041B, 12 + i % 30, 12 + i % 20, 14 + i % 30, 14 + i % 20);
    wmfRecord(records, 0x012D, {2});
    box(0x0418, 60, 10, 90, 40);  // ELLIPSE
    if (oddShapesPenPixels > 0)
        box(0x0418, 55, 10, 55, 40);
    wmfRecord(records, 0x0000, {});

    return wmfFile(records, placeable, origin, 8);  // the longest record: CREATEPENINDIRECT
}

QByteArray wmfChord(QPoint startRadial, QPoint endRadial) {
    QByteArray records;
    wmfRecord(records, 0x020C, {750, 1500});             // SETWINDOWEXT
    wmfRecord(records, 0x02FA, {5, 0, 0, 0, 0});         // CREATEPENINDIRECT null pen: 0
    wmfRecord(records, 0x02FC, {0, 0x0000, 0x00FF, 0});  // CREATEBRUSHINDIRECT blue: 1
    wmfRecord(records, 0x012D, {0});
    wmfRecord(records, 0x012D, {1});
    const auto u = [](int pixels) { return w16(pixels * 15); };
    // CHORD: the radials' points, then the box (20,0)-(80,50), each bottom first
    wmfRecord(records, 0x0830,
              {u(endRadial.y()), u(endRadial.x()), u(startRadial.y()), u(startRadial.x()), u(50), u(80), u(0), u(20)});
    wmfRecord(records, 0x0000, {});
    return wmfFile(records, true, {}, 8);
}

QByteArray wmfText(int fontHeight, int characters) {
    QByteArray records;
    wmfRecord(records, 0x020C, {750, 1500});  // SETWINDOWEXT
    QByteArray font;                          // CREATEFONTINDIRECT: height, then 0 up to the face name
    put<qint16>(font, static_cast<qint16>(fontHeight));
    font.append(16, '\0').append("Sans").append(28, '\0');
    put<quint32>(records, static_cast<quint32>(3 + font.size() / 2));
    put<quint16>(records, 0x02FB);
    records += font;
    wmfRecord(records, 0x012D, {0});  // SELECTOBJECT
    const QByteArray text(characters + characters % 2, 'W');
    put<quint32>(records, static_cast<quint32>(3 + 1 + text.size() / 2 + 2));
    put<quint16>(records, 0x0521);  // TEXTOUT: length, text, y, x
    put<quint16>(records, static_cast<quint16>(characters));
    records.append(text);
    put<qint16>(records, 600);
    put<qint16>(records, 0);
    wmfRecord(records, 0x0000, {});
    return wmfFile(records, true, {}, static_cast<quint32>(3 + 1 + text.size() / 2 + 2));
}

QByteArray emf(int extraRecords, bool text, int scale) {
    const int k = scale;  // device pixels a pixel of the page
    QByteArray records;
    emfRecord(records, 33, {});                     // SAVEDC: a record of 8 bytes, the least
    emfRecord(records, 34, {-1});                   // RESTOREDC
    emfRecord(records, 37, {qint32(0x80000008u)});  // SELECTOBJECT the null pen
    emfRecord(records, 39, {1, 0, 0x0000FF, 0});    // CREATEBRUSHINDIRECT red
    emfRecord(records, 39, {2, 0, 0xFF0000, 0});    // blue
    emfRecord(records, 37, {1});
    emfRecord(records, 43, {10 * k, 10 * k, 50 * k, 40 * k});  // RECTANGLE
    for (int i = 0; i < extraRecords; ++i)
        emfRecord(records, 43, {(12 + i % 30) * k, (12 + i % 20) * k, (14 + i % 30) * k, (14 + i % 20) * k});
    emfRecord(records, 37, {2});
    emfRecord(records, 42, {60 * k, 10 * k, 90 * k, 40 * k});  // ELLIPSE
    if (text) {  // EXTCREATEFONTINDIRECTW Sans 12 pixels high, SELECTOBJECT, EXTTEXTOUTW "AB" at (76, 38)
        emfRecord(records, 82,
                  {3, -12 * k, 0, 0, 0, 400, 0, 0, 0x00610053, 0x0073006E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        emfRecord(records, 37, {3});
        const auto one = std::bit_cast<qint32>(1.0f);  // then: length, where the text and the widths lie
        emfRecord(records, 84,
                  {0, 0, -1, -1, 1, one, one, 76 * k, 38 * k, 2, 76, 0, 0, 0, -1, -1, 80, 0x00420041, 4 * k, 4 * k});
    }
    emfRecord(records, 14, {0, 16, 20});  // EOF
    int count = 0;                        // the records after the header
    for (qsizetype at = 0; at < records.size(); at += qFromLittleEndian<quint32>(records.constData() + at + 4))
        ++count;

    // A reference device of 96 dpi times the scale, in whole millimetres: the frame decides the size.
    QByteArray out;
    put<quint32>(out, 1);
    put<quint32>(out, 88);
    for (const qint32 v : {0, 0, 100 * k - 1, 50 * k - 1, 0, 0, 2646, 1323})  // bounds, frame (0.01 mm)
        put<qint32>(out, v);
    put<quint32>(out, 0x464D4520);
    put<quint32>(out, 0x10000);
    put<quint32>(out, static_cast<quint32>(88 + records.size()));
    put<quint32>(out, static_cast<quint32>(count));
    put<quint16>(out, text ? 4 : 3);  // handles
    put<quint16>(out, 0);
    for (const qint32 v : {0, 0, 0, 1024 * k, 768 * k, 271, 203})
        put<qint32>(out, v);
    return out + records;
}

QByteArray withPngSize(QByteArray png, quint32 width, quint32 height) {
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(crc32(QByteArrayView(png).sliced(12, 17)), png.data() + 29);  // IHDR type and data
    return png;
}

QByteArray manyScanJpeg(int side, int scans) {
    QByteArray jpeg("\xFF\xD8", 2);
    const auto segment = [&jpeg](char marker, const QByteArray& body) {
        const auto length = quint16(body.size() + 2);
        jpeg += '\xFF';
        jpeg += marker;
        jpeg += char(length >> 8);
        jpeg += char(length & 0xFF);
        jpeg += body;
    };
    const auto be16 = [](int v) { return QByteArray{} + char(v >> 8) + char(v & 0xFF); };
    segment('\xDB', QByteArray(1, 0) + QByteArray(64, 1));
    segment('\xC2', char(8) + be16(side) + be16(side) + QByteArray("\x01\x01\x11\x00", 4));
    QByteArray oneCode(16, 0);  // one code of one bit, for symbol 0 (DC difference 0; end of block)
    oneCode[0] = 1;
    segment('\xC4', char(0x00) + oneCode + char(0) + char(0x10) + oneCode + char(0));
    for (int i = 0; i < scans; ++i) {
        const char band = char(i == 0 ? 0 : 1 + (i - 1) % 63);
        segment('\xDA', QByteArray("\x01\x01\x00", 3) + band + band + char(0));
    }
    return jpeg + QByteArray("\xFF\xD9", 2);
}

}  // namespace samples
