// The program's own pictures as the windows read them: the bitmap decoder against Qt's reader,
// the headers it must refuse, and reading ahead on another thread.

#include "assets/AssetPaths.h"
#include "controls/Bitmap24.h"
#include "controls/ResourceImages.h"

#include <QDir>
#include <QFile>
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

QByteArray withU32(QByteArray b, qsizetype at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xff);
    return b;
}

}  // namespace

class ResourceImages : public QObject {
    Q_OBJECT

private slots:
    // Every compiled-in bitmap: the pictures the windows start with and their double-size twins,
    // of odd widths, so rows are padded. Stored top-down (a negative height), they read upside down.
    void decodesTheProgramsBitmapsAsQtDoes_data() {
        QTest::addColumn<QString>("path");
        const QDir pictures(QStringLiteral(":/pictures"));
        const QStringList names = pictures.entryList({QStringLiteral("*.bmp")});
        QCOMPARE(names.size(), 2 * int(assets::kStartPictures.size()));
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << pictures.filePath(name);
    }
    void decodesTheProgramsBitmapsAsQtDoes() {
        QFETCH(QString, path);
        QImage expected = QImageReader(path, "bmp").read();
        expected.setDevicePixelRatio(1.0);  // Qt's reader takes a ratio of 2 from an "@2x" name
        const QByteArray file = fileBytes(path);
        const QImage decoded = ctl::decodeBitmap24(file);
        QVERIFY(!decoded.isNull());
        QCOMPARE(decoded.format(), expected.format());
        QCOMPARE(decoded, expected);
        QCOMPARE(ctl::decodeBitmap24(withU32(file, 22, std::uint32_t(-expected.height()))), expected.mirrored());
    }

    // What the decoder does not know, or a file that lies about its size, is left to Qt's reader.
    void refuses_data() {
        QTest::addColumn<QByteArray>("file");
        const QByteArray good = fileBytes(QString::fromLatin1(assets::kDoorLeafPicture));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut short") << good.left(50);
        QTest::newRow("pixels cut short") << good.chopped(1);
        QTest::newRow("32 bits a pixel") << QByteArray(good).replace(28, 1, "\x20");
        QTest::newRow("run-length compressed") << withU32(good, 30, 1);
        QTest::newRow("older, shorter header") << withU32(good, 14, 12);
        QTest::newRow("pixels inside the header") << withU32(good, 10, 20);
        QTest::newRow("negative width") << withU32(good, 18, std::uint32_t(-62));
        QTest::newRow("no height") << withU32(good, 22, 0);
        QTest::newRow("endless rows") << withU32(good, 18, 0x7fffffff);
        QTest::newRow("endless height") << withU32(good, 22, 0x80000000u);
    }
    void refuses() {
        QFETCH(QByteArray, file);
        QVERIFY(ctl::decodeBitmap24(file).isNull());
    }

    // Read ahead on another thread, a picture is the same as read directly, and is taken once:
    // asking again reads it anew. Work that never runs, or that cannot read a picture (the icon
    // is no bitmap), leaves the reading to the caller.
    void readAhead() {
        const QString bus = QString::fromLatin1(assets::kBusPicture);
        const QImage direct = ctl::readResourceImage(bus);
        QCOMPARE(direct.size(), QSize(758, 217));
        const std::array paths{assets::kBusPicture, assets::kIcon};
        std::thread reader(ctl::readAheadResourceImages(paths, ctl::ReadAheadBy::OwnDecoder));
        const QImage ahead = ctl::readResourceImage(bus);  // may wait for the thread
        reader.join();
        QCOMPARE(ahead, direct);
        QCOMPARE(ctl::readResourceImage(bus), direct);
        QCOMPARE(ctl::readResourceImage(QString::fromLatin1(assets::kIcon)).size(), QSize(32, 32));
        ctl::readAheadResourceImages(paths, ctl::ReadAheadBy::AnyReader);  // dropped unrun
        QCOMPARE(ctl::readResourceImage(bus), direct);
    }
};

QTEST_MAIN(ResourceImages)
#include "tst_resource_images.moc"
