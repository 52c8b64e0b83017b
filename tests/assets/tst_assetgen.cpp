// The asset generator: its encoders, its handling of bad sources, and that the files
// kept in the repository are what the sources give today.

#include "assets/gen/AssetList.h"
#include "assets/gen/BmpWriter.h"
#include "assets/gen/Generator.h"
#include "assets/gen/IcoWriter.h"
#include "assets/gen/SvgRender.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace assetgen;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QDir kAssetsDir(QStringLiteral(TARVOLA_SOURCE_DIR "/assets"));

}  // namespace

class AssetGenerator : public QObject {
    Q_OBJECT

private slots:
    // Widths 1 to 4 need 3, 2, 1 and 0 bytes of row padding; the ICO mask rows pad to 32 bits.
    void encodersRoundTrip_data() {
        QTest::addColumn<QSize>("size");
        for (const QSize s : {QSize(1, 1), QSize(2, 3), QSize(3, 2), QSize(4, 5), QSize(7, 3), QSize(33, 2),
                              QSize(256, 256)})
            QTest::addRow("%d x %d", s.width(), s.height()) << s;
    }
    void encodersRoundTrip() {
        QFETCH(QSize, size);
        // Palette colours in turn, every fifth pixel transparent, so that any pixel out of place shows.
        QImage image(size, QImage::Format_ARGB32);
        for (int n = 0; n < size.width() * size.height(); ++n)
            image.setPixel(n % size.width(), n / size.width(),
                           n % 5 == 4 ? qRgba(0, 0, 0, 0) : kStandardPalette[size_t(n % 16)]);
        const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
        const QByteArray bmp = encodeBmp24(opaque);
        QCOMPARE(bmp.size(), 54 + (size.width() * 3 + 3) / 4 * 4 * size.height());
        QCOMPARE(QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32), opaque);

        const QByteArray ico = encodeIco16(image);
        QCOMPARE(quint8(ico[6]), quint8(size.width() & 0xff));  // 256 is written as 0
        QCOMPARE(quint8(ico[12]), quint8(4));
        const QImage decoded = QImage::fromData(ico, "ICO").convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(decoded.size(), size);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb want = image.pixel(x, y);
                if (qAlpha(want) == 0 ? qAlpha(decoded.pixel(x, y)) != 0 : decoded.pixel(x, y) != want)
                    QFAIL(qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
            }
    }

    void encodersRefuseWhatTheyCannotWrite() {
        QVERIFY(encodeBmp24(QImage()).isEmpty());
        QVERIFY(encodeIco16(QImage()).isEmpty());
        QVERIFY(encodeIco16(QImage(257, 16, QImage::Format_ARGB32)).isEmpty());
        QVERIFY(encodeIco16(QImage(16, 257, QImage::Format_ARGB32)).isEmpty());
    }

    void nearestStandardColour_data() {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<int>("index");
        for (int i = 0; i < 16; ++i)
            QTest::addRow("palette %d", i) << kStandardPalette[size_t(i)] << i;
        QTest::newRow("off-white") << qRgb(250, 248, 240) << 15;
        QTest::newRow("dark glass") << qRgb(16, 32, 106) << 4;
        QTest::newRow("light grey") << qRgb(200, 200, 205) << 7;
        QTest::newRow("mid grey") << qRgb(120, 124, 128) << 8;
    }
    void nearestStandardColour() {
        QFETCH(QRgb, colour);
        QTEST(assetgen::nearestStandardColour(colour), "index");
    }

    void halfTransparentPixelsDecideByAlpha() {
        QImage image(2, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, qRgba(255, 0, 0, 127));
        image.setPixel(1, 0, qRgba(255, 0, 0, 128));
        const QImage indexed = quantiseToStandardPalette(image);
        QCOMPARE(qAlpha(indexed.pixel(0, 0)), 0);
        QCOMPARE(indexed.pixel(1, 0), qRgb(255, 0, 0));
    }

    void badSourcesAreReported_data() {
        QTest::addColumn<QByteArray>("svg");
        QTest::addColumn<QSize>("size");
        const QByteArray good = "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>"
                                "<rect width='4' height='4' fill='red'/></svg>";
        QTest::newRow("empty file") << QByteArray() << QSize(4, 4);
        QTest::newRow("not SVG") << QByteArray("BM not a vector picture") << QSize(4, 4);
        QTest::newRow("cut short") << good.left(40) << QSize(4, 4);
        QTest::newRow("no width") << good << QSize(0, 4);
        QTest::newRow("negative height") << good << QSize(4, -1);
    }
    void badSourcesAreReported() {
        QFETCH(QByteArray, svg);
        QFETCH(QSize, size);
        QString error;
        QVERIFY(renderSvg(svg, size, &error).isNull());
        QVERIFY(!error.isEmpty());
        QVERIFY(encode(renderForFormat(svg, size, Format::Bmp24, nullptr), Format::Bmp24).isEmpty());
    }

    void missingSourceIsReported() {
        const QTemporaryDir empty;
        const auto& first = assetList().front();
        const BuildResult result = build(QDir(empty.path()), first);
        QVERIFY(result.files.empty());
        QVERIFY2(result.error.contains(QLatin1String(first.source)), qPrintable(result.error));
    }

    void doubleResPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("twin");
        QTest::newRow("bitmap") << "pictures/bus.bmp" << "pictures/bus@2x.bmp";
        QTest::newRow("two dots") << "a/b.tar.gz" << "a/b.tar@2x.gz";
        QTest::newRow("dot in folder only") << "a.b/c" << "a.b/c@2x";
        QTest::newRow("hidden file") << "a/.hidden" << "a/.hidden@2x";
    }
    void doubleResPath() {
        QFETCH(QString, path);
        QTEST(assetgen::doubleResPath(path), "twin");
    }

    void committedFilesMatchTheirSources_data() {
        QTest::addColumn<int>("entry");
        for (size_t i = 0; i < assetList().size(); ++i)
            QTest::newRow(assetList()[i].output) << int(i);
    }
    // Byte equality holds where the files were made; elsewhere the rasteriser may round a step apart.
    void committedFilesMatchTheirSources() {
        QFETCH(int, entry);
        const auto& asset = assetList()[size_t(entry)];
        const BuildResult result = build(kAssetsDir, asset);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        for (const OutputFile& file : result.files) {
            const QByteArray committed = readFile(kAssetsDir.filePath(file.path));
            if (committed == file.bytes)
                continue;
            QVERIFY2(asset.format != Format::Copy && !committed.isEmpty(), qPrintable(file.path + ": run `make assets`"));
            const QImage want = QImage::fromData(file.bytes).convertToFormat(QImage::Format_ARGB32);
            const QImage have = QImage::fromData(committed).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(have.size(), want.size());
            int worst = 0;
            for (int y = 0; y < want.height(); ++y)
                for (int x = 0; x < want.width(); ++x)
                    for (const int shift : {0, 8, 16, 24})
                        worst = std::max(worst, qAbs(int(want.pixel(x, y) >> shift & 0xff) -
                                                     int(have.pixel(x, y) >> shift & 0xff)));
            QVERIFY2(worst <= 8, qPrintable(file.path + ": run `make assets`"));
        }
    }
};

QTEST_MAIN(AssetGenerator)
#include "tst_assetgen.moc"
