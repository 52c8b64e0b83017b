#include "SamplePictures.h"

#include <QBuffer>
#include <QPainter>
#include <QtEndian>
#include <array>

namespace samples {

namespace {

template <typename T>
void put(QByteArray& out, T value) {
    std::array<char, sizeof(T)> bytes{};
    qToLittleEndian(value, bytes.data());
    out.append(bytes.data(), bytes.size());
}

template <typename T>
void patch(QByteArray& data, qsizetype at, T value) {
    qToLittleEndian(value, data.data() + at);
}

template <typename T>
void patchBig(QByteArray& data, qsizetype at, T value) {
    qToBigEndian(value, data.data() + at);
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

quint16 lo(quint32 v) { return static_cast<quint16>(v & 0xFFFF); }
quint16 hi(quint32 v) { return static_cast<quint16>(v >> 16); }
quint16 w16(int v) { return static_cast<quint16>(static_cast<qint16>(v)); }

// --- Enhanced metafile records: a type and a size in bytes, then 32-bit parameters.
void emfRecord(QByteArray& out, quint32 type, std::initializer_list<qint32> params) {
    put<quint32>(out, type);
    put<quint32>(out, static_cast<quint32>(8 + 4 * params.size()));
    for (const qint32 p : params)
        put<qint32>(out, p);
}

}  // namespace

QImage rasterScene(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    QPainter painter(&image);
    painter.fillRect(kBox, QColor(0, 0, 255));
    return image;
}

QByteArray encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes;
}

// An LZW stream whose codes stay 8 bits wide: a clear code every 100 pixels keeps the
// code table from growing to 9-bit codes, so each code is one byte.
QByteArray encodeGif(const QImage& image) {
    constexpr quint8 kMinCodeSize = 7, kClear = 128, kEnd = 129;
    QByteArray out("GIF89a");
    put<quint16>(out, static_cast<quint16>(image.width()));
    put<quint16>(out, static_cast<quint16>(image.height()));
    out.append(char(0xF6)).append(char(0)).append(char(0));  // 128-entry global colour table
    for (int i = 0; i < 128; ++i) {
        const QColor c = i == 0 ? QColor(255, 0, 0) : i == 1 ? QColor(0, 0, 255) : QColor(0, 0, 0);
        out.append(char(c.red())).append(char(c.green())).append(char(c.blue()));
    }
    out.append(char(0x2C));
    put<quint16>(out, 0);
    put<quint16>(out, 0);
    put<quint16>(out, static_cast<quint16>(image.width()));
    put<quint16>(out, static_cast<quint16>(image.height()));
    out.append(char(0));
    out.append(char(kMinCodeSize));

    QByteArray codes;
    int sinceClear = 100;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (sinceClear == 100) {
                codes.append(char(kClear));
                sinceClear = 0;
            }
            codes.append(char(image.pixelColor(x, y).blue() > 127 ? 1 : 0));
            ++sinceClear;
        }
    codes.append(char(kEnd));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        out.append(char(block.size())).append(block);
    }
    out.append(char(0)).append(char(0x3B));
    return out;
}

QByteArray wmf(bool placeable, QPoint origin, int extraRecords, bool setsOrigin) {
    // 1440 units an inch: 15 units a pixel. The page is 1500 × 750 units.
    const int ox = origin.x(), oy = origin.y();
    QByteArray records;
    if (!placeable)
        wmfRecord(records, 0x0103, {1});  // SETMAPMODE MM_TEXT: one unit a pixel
    const int unit = placeable ? 15 : 1;
    if (setsOrigin)
        wmfRecord(records, 0x020B, {w16(oy), w16(ox)});                // SETWINDOWORG
    wmfRecord(records, 0x020C, {w16(50 * unit), w16(100 * unit)});     // SETWINDOWEXT
    wmfRecord(records, 0x02FA, {5, 0, 0, 0, 0});                       // CREATEPENINDIRECT null pen: 0
    wmfRecord(records, 0x02FC, {0, lo(0x0000FF), hi(0x0000FF), 0});    // CREATEBRUSHINDIRECT red: 1
    wmfRecord(records, 0x02FC, {0, lo(0xFF0000), hi(0xFF0000), 0});    // blue: 2
    wmfRecord(records, 0x012D, {0});
    wmfRecord(records, 0x012D, {1});
    auto box = [&](quint16 function, int l, int t, int r, int b) {
        wmfRecord(records, function,
                  {w16(oy + b * unit), w16(ox + r * unit), w16(oy + t * unit), w16(ox + l * unit)});
    };
    box(0x041B, 10, 10, 50, 40);  // RECTANGLE
    for (int i = 0; i < extraRecords; ++i)
        box(0x041B, 12 + i % 30, 12 + i % 20, 14 + i % 30, 14 + i % 20);
    wmfRecord(records, 0x012D, {2});
    box(0x0418, 60, 10, 90, 40);  // ELLIPSE
    wmfRecord(records, 0x0000, {});

    QByteArray out;
    if (placeable) {
        QByteArray header;
        put<quint32>(header, 0x9AC6CDD7);
        put<quint16>(header, 0);
        put<qint16>(header, static_cast<qint16>(ox));
        put<qint16>(header, static_cast<qint16>(oy));
        put<qint16>(header, static_cast<qint16>(ox + 1500));
        put<qint16>(header, static_cast<qint16>(oy + 750));
        put<quint16>(header, 1440);
        put<quint32>(header, 0);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= qFromLittleEndian<quint16>(header.constData() + 2 * i);
        put<quint16>(header, sum);
        out += header;
    }
    quint32 maxWords = 0;
    for (qsizetype at = 0; at < records.size();) {
        const quint32 words = qFromLittleEndian<quint32>(records.constData() + at);
        maxWords = std::max(maxWords, words);
        at += words * 2;
    }
    put<quint16>(out, 1);     // in a file
    put<quint16>(out, 9);     // header words
    put<quint16>(out, 0x300);
    put<quint32>(out, static_cast<quint32>((18 + records.size()) / 2));
    put<quint16>(out, 3);     // objects
    put<quint32>(out, maxWords);
    put<quint16>(out, 0);
    return out + records;
}

QByteArray emf(int extraRecords) {
    QByteArray records;
    emfRecord(records, 37, {qint32(0x80000008u)});      // SELECTOBJECT the null pen
    emfRecord(records, 39, {1, 0, 0x0000FF, 0});        // CREATEBRUSHINDIRECT red
    emfRecord(records, 39, {2, 0, 0xFF0000, 0});        // blue
    emfRecord(records, 37, {1});
    emfRecord(records, 43, {10, 10, 50, 40});           // RECTANGLE
    for (int i = 0; i < extraRecords; ++i)
        emfRecord(records, 43, {12 + i % 30, 12 + i % 20, 14 + i % 30, 14 + i % 20});
    emfRecord(records, 37, {2});
    emfRecord(records, 42, {60, 10, 90, 40});           // ELLIPSE
    emfRecord(records, 14, {0, 16, 20});                // EOF
    const int count = 7 + extraRecords + 1;

    // A 96-dpi reference device (1024 × 768 pixels over 270.93 × 203.2 mm, given in
    // whole millimetres as 271 × 203 is close enough: the frame decides the size).
    QByteArray out;
    put<quint32>(out, 1);
    put<quint32>(out, 88);
    for (const qint32 v : {0, 0, 99, 49, 0, 0, 2646, 1323})  // bounds, frame (0.01 mm)
        put<qint32>(out, v);
    put<quint32>(out, 0x464D4520);
    put<quint32>(out, 0x10000);
    put<quint32>(out, static_cast<quint32>(88 + records.size()));
    put<quint32>(out, static_cast<quint32>(count));
    put<quint16>(out, 3);
    put<quint16>(out, 0);
    for (const qint32 v : {0, 0, 0, 1024, 768, 271, 203})
        put<qint32>(out, v);
    return out + records;
}

QByteArray withBmpSize(QByteArray bmp, qint32 width, qint32 height) {
    patch(bmp, 18, width);
    patch(bmp, 22, height);
    return bmp;
}

QByteArray withPngSize(QByteArray png, quint32 width, quint32 height) {
    patchBig(png, 16, width);
    patchBig(png, 20, height);
    patchBig(png, 29, crc32(QByteArrayView(png).sliced(12, 17)));  // IHDR type and data
    return png;
}

QByteArray withGifSize(QByteArray gif, quint16 width, quint16 height) {
    patch(gif, 6, width);
    patch(gif, 8, height);
    const qsizetype descriptor = 13 + 3 * 128;
    patch(gif, descriptor + 5, width);
    patch(gif, descriptor + 7, height);
    return gif;
}

QByteArray withJpegSize(QByteArray jpeg, quint16 width, quint16 height) {
    for (qsizetype at = 2; at + 9 < jpeg.size();) {
        const auto marker = static_cast<quint8>(jpeg[at + 1]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            patchBig(jpeg, at + 5, height);
            patchBig(jpeg, at + 7, width);
            break;
        }
        at += 2 + qFromBigEndian<quint16>(jpeg.constData() + at + 2);
    }
    return jpeg;
}

QByteArray withPlaceableBox(QByteArray wmf, qint16 right, qint16 bottom, quint16 unitsPerInch) {
    patch(wmf, 10, right);
    patch(wmf, 12, bottom);
    patch(wmf, 14, unitsPerInch);
    return wmf;
}

QByteArray withEmfFrame(QByteArray emf, qint32 right, qint32 bottom) {
    patch(emf, 32, right);
    patch(emf, 36, bottom);
    return emf;
}

}  // namespace samples
