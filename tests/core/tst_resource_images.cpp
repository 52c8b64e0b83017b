// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The stored form of the compiled-in pictures: read back pixel for pixel, used in place where it
// may be, and refused whole when its header does not describe exactly the bytes that follow.

#include "core/ResourceImages.h"

#include <QtEndian>
#include <QtTest>
#include <cstring>

namespace {

// Two pixels across, one down: red, then half-transparent blue (premultiplied).
QImage twoPixels(QImage::Format format) {
    QImage image(2, 1, format);
    image.setPixelColor(0, 0, Qt::red);
    image.setPixelColor(1, 0, format == QImage::Format_RGB32 ? QColor(Qt::blue) : QColor(0, 0, 255, 128));
    return image;
}

QImage decoded(const QByteArray& bytes, bool inPlace = false) {
    return core::decodePixels(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size(), inPlace);
}

enum Field { kWidth = 4, kHeight = 8, kFormat = 12 };  // byte offsets in the header

}  // namespace

class TestResourceImages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readBack() {
        const QImage opaque = decoded(core::encodePixels(twoPixels(QImage::Format_RGB32)));
        QCOMPARE(opaque.size(), QSize(2, 1));
        QCOMPARE(opaque.format(), QImage::Format_RGB32);
        QCOMPARE(opaque.pixel(0, 0), 0xffff0000u);
        QCOMPARE(opaque.pixel(1, 0), 0xff0000ffu);
        const QImage seeThrough = decoded(core::encodePixels(twoPixels(QImage::Format_ARGB32)));
        QCOMPARE(seeThrough.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(seeThrough.pixelColor(1, 0).alpha(), 128);
        // The last width and height taken, as "too wide" and "too tall" are the first refused.
        for (const QSize size : {QSize(32767, 1), QSize(1, 32767)}) {
            QImage edge(size, QImage::Format_RGB32);
            edge.fill(Qt::red);
            QCOMPARE(decoded(core::encodePixels(edge)).pixel(size.width() - 1, size.height() - 1), 0xffff0000u);
        }
    }

    void usedInPlaceOnlyWhereAlignedAndAsked() {
        const QByteArray stored = core::encodePixels(twoPixels(QImage::Format_RGB32));
        QByteArray room(stored.size() + 64, '\0');
        // The stored bytes copied to where their pixels begin at an address that fits.
        const auto placed = [&](auto fits) {
            auto* start = reinterpret_cast<uchar*>(room.data());
            while (!fits(quintptr(start) + 16))
                ++start;
            std::memcpy(start, stored.constData(), size_t(stored.size()));
            return static_cast<const uchar*>(start);
        };
        // On a four-byte boundary, and no multiple of 3 or 5, so that only that boundary counts.
        const uchar* aligned = placed([](quintptr a) { return a % 4 == 0 && a % 3 != 0 && a % 5 != 0; });
        QCOMPARE(core::decodePixels(aligned, stored.size(), true).constBits(), aligned + 16);
        QVERIFY(core::decodePixels(aligned, stored.size(), false).constBits() != aligned + 16);
        const uchar* off = placed([](quintptr a) { return a % 4 == 2; });
        const QImage copy = core::decodePixels(off, stored.size(), true);
        QVERIFY(copy.constBits() != off + 16);
        QCOMPARE(copy.pixel(1, 0), 0xff0000ffu);
    }

    void refused_data() {
        QTest::addColumn<int>("field");  // the header field changed, or -1
        QTest::addColumn<quint32>("value");
        QTest::addColumn<int>("sizeChange");  // bytes added at the end, or cut from it
        // Sizes changed with the header: the field alone is what is refused.
        QTest::newRow("no width") << int(kWidth) << 0u << -8;
        QTest::newRow("no height") << int(kHeight) << 0u << -8;
        QTest::newRow("too wide") << int(kWidth) << 32768u << 32766 * 4;
        QTest::newRow("too tall") << int(kHeight) << 32768u << 32767 * 8;
        QTest::newRow("three bytes a pixel") << int(kFormat) << quint32(QImage::Format_RGB888) << 0;
        QTest::newRow("not premultiplied") << int(kFormat) << quint32(QImage::Format_ARGB32) << 0;
        QTest::newRow("a byte short") << -1 << 0u << -1;
        QTest::newRow("a byte over") << -1 << 0u << 1;
        QTest::newRow("shorter than its header") << -1 << 0u << -9;
        QTest::newRow("another tag") << 0 << 0x54565058u << 0;  // "XPVT"
    }
    void refused() {
        QFETCH(int, field);
        QFETCH(quint32, value);
        QFETCH(int, sizeChange);
        QByteArray bytes = core::encodePixels(twoPixels(QImage::Format_RGB32));
        if (field >= 0)
            qToLittleEndian(value, bytes.data() + field);
        bytes.resize(bytes.size() + sizeChange, '\0');
        QVERIFY(decoded(bytes).isNull());
        QVERIFY(decoded(bytes, true).isNull());
    }
};

QTEST_APPLESS_MAIN(TestResourceImages)
#include "tst_resource_images.moc"
