// The program's own pictures as the windows read them: the bitmap decoder against Qt's
// reader, the files it must refuse, and reading ahead on another thread.

#include "assets/AssetPaths.h"
#include "controls/Bitmap24.h"
#include "controls/ResourceImages.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QtTest>

#include <array>
#include <cstdint>
#include <thread>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putU32(QByteArray& b, qsizetype at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xff);
}

// A 3 x 2 bitmap: rows of 9 bytes padded to 12; bottom-up unless topDown.
QByteArray smallBitmap(bool topDown) {
    QByteArray b(54 + 24, '\0');
    b[0] = 'B';
    b[1] = 'M';
    putU32(b, 2, std::uint32_t(b.size()));
    putU32(b, 10, 54);
    putU32(b, 14, 40);
    putU32(b, 18, 3);
    putU32(b, 22, topDown ? std::uint32_t(-2) : 2u);
    b[26] = 1;   // planes
    b[28] = 24;  // bits a pixel
    // First row stored: blue, green, red pixels; second row stored: white, black, grey.
    const unsigned char rows[2][9] = {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {255, 255, 255, 0, 0, 0, 128, 128, 128}};
    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 9; ++i)
            b[54 + 12 * r + i] = char(rows[r][i]);
    return b;
}

}  // namespace

class ResourceImages : public QObject {
    Q_OBJECT

private slots:
    void decodesTheProgramsBitmapsAsQtDoes_data() {
        QTest::addColumn<QString>("path");
        // Every compiled-in bitmap: the pictures the windows start with and their twins.
        const QDir pictures(QStringLiteral(":/pictures"));
        const QStringList names = pictures.entryList({QStringLiteral("*.bmp")});
        QCOMPARE(names.size(), 2 * int(assets::kStartPictures.size()));
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << pictures.filePath(name);
    }
    void decodesTheProgramsBitmapsAsQtDoes() {
        QFETCH(QString, path);
        QImageReader qt(path, "bmp");
        QImage expected = qt.read();
        expected.setDevicePixelRatio(1.0);  // Qt's reader takes a ratio of 2 from an "@2x" name
        const QImage decoded = ctl::decodeBitmap24(fileBytes(path));
        QVERIFY(!decoded.isNull());
        QCOMPARE(decoded.format(), expected.format());
        QCOMPARE(decoded, expected);
    }

    // Rows padded to whole words, stored bottom-up or, with a negative height, top-down.
    void readsRowOrderAndPadding() {
        const QImage bottomUp = ctl::decodeBitmap24(smallBitmap(false));
        const QImage topDown = ctl::decodeBitmap24(smallBitmap(true));
        QCOMPARE(bottomUp.size(), QSize(3, 2));
        QCOMPARE(bottomUp.pixel(0, 1), qRgb(0, 0, 255));
        QCOMPARE(bottomUp.pixel(2, 1), qRgb(255, 0, 0));
        QCOMPARE(bottomUp.pixel(2, 0), qRgb(128, 128, 128));
        QCOMPARE(topDown.pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(topDown.pixel(1, 1), qRgb(0, 0, 0));
        QCOMPARE(topDown.mirrored(false, true), bottomUp);
    }

    // What the decoder does not know, or a file that lies about its size, is left to Qt's reader.
    void refuses_data() {
        QTest::addColumn<QByteArray>("file");
        const QByteArray good = smallBitmap(false);
        auto with = [&good](qsizetype at, std::uint32_t v) {
            QByteArray b = good;
            putU32(b, at, v);
            return b;
        };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut short") << good.left(50);
        QTest::newRow("pixels cut short") << good.left(good.size() - 1);
        QTest::newRow("not a bitmap") << QByteArray(good).replace(0, 2, "GI");
        QTest::newRow("32 bits a pixel") << QByteArray(good).replace(28, 1, "\x20");
        QTest::newRow("run-length compressed") << with(30, 1);
        QTest::newRow("older, shorter header") << with(14, 12);
        QTest::newRow("pixels inside the header") << with(10, 20);
        QTest::newRow("no width") << with(18, 0);
        QTest::newRow("negative width") << with(18, std::uint32_t(-3));
        QTest::newRow("no height") << with(22, 0);
        QTest::newRow("endless rows") << with(18, 0x7fffffff);
        QTest::newRow("endless height") << with(22, 0x80000000u);
    }
    void refuses() {
        QFETCH(QByteArray, file);
        QVERIFY(ctl::decodeBitmap24(file).isNull());
    }

    // Read ahead on another thread, a picture is the same as read directly, and is taken
    // once: asking again reads it anew.
    void readAheadOnAnotherThread() {
        const QString bus = QString::fromLatin1(assets::kBusPicture);
        const QImage direct = ctl::readResourceImage(bus);
        const std::array paths{assets::kBusPicture, assets::kDoorLeafPicture};
        std::thread reader(ctl::readAheadResourceImages(paths, ctl::ReadAheadBy::OwnDecoder));
        const QImage ahead = ctl::readResourceImage(bus);  // may wait for the thread
        reader.join();
        QCOMPARE(ahead, direct);
        QCOMPARE(ctl::readResourceImage(bus), direct);
        QCOMPARE(ctl::readResourceImage(QString::fromLatin1(assets::kDoorLeafPicture)).size(), QSize(62, 145));
    }

    // Work that never runs, or that cannot read a picture, leaves the reading to the caller.
    void readAheadThatFailsFallsBack() {
        const std::array icons{assets::kIcon};
        ctl::readAheadResourceImages(icons, ctl::ReadAheadBy::AnyReader);  // dropped unrun
        QCOMPARE(ctl::readResourceImage(QString::fromLatin1(assets::kIcon)).size(), QSize(32, 32));

        std::thread reader(ctl::readAheadResourceImages(icons, ctl::ReadAheadBy::OwnDecoder));  // not a bitmap
        reader.join();
        QCOMPARE(ctl::readResourceImage(QString::fromLatin1(assets::kIcon)).size(), QSize(32, 32));
    }

    // The window manager is offered the icon at 32 and at 64 pixels.
    void programIconSizes() {
        const QList<QSize> sizes = assets::programIcon().availableSizes();
        QVERIFY2(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(64, 64)), qPrintable(QDebug::toString(sizes)));
        QCOMPARE(assets::programIcon().pixmap(QSize(64, 64)).size(), QSize(64, 64));
    }
};

QTEST_MAIN(ResourceImages)
#include "tst_resource_images.moc"
