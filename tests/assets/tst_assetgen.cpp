// The asset generator: its bitmap and icon encoders, its handling of bad
// sources, and that the files kept in the repository are what the SVG sources
// give today.

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

// A picture where every pixel differs from its neighbours, so that a row or
// byte out of place shows.
QImage pattern(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xff, (x * 5 + y * 71) & 0xff, (x ^ y) * 13 & 0xff));
    return image;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QDir kAssetsDir(QStringLiteral(TARVOLA_SOURCE_DIR "/assets"));

}  // namespace

class AssetGenerator : public QObject {
    Q_OBJECT

private slots:
    void bmpRoundTrip_data();
    void bmpRoundTrip();
    void bmpOfNothingIsEmpty();
    void nearestStandardColour_data();
    void nearestStandardColour();
    void halfTransparentPixelsDecideByAlpha();
    void icoRoundTrip_data();
    void icoRoundTrip();
    void icoRejectsOversizedImages();
    void badSourcesAreReported_data();
    void badSourcesAreReported();
    void missingSourceIsReported();
    void doubleResPath_data();
    void doubleResPath();
    void letteringFontIsInstalled();
    void renderingIsReproducible();
    void committedFilesMatchTheirSources_data();
    void committedFilesMatchTheirSources();
};

void AssetGenerator::bmpRoundTrip_data() {
    QTest::addColumn<QSize>("size");
    // Widths 1 to 4 need 1, 2, 3 and 0 bytes of row padding.
    QTest::newRow("1 x 1") << QSize(1, 1);
    QTest::newRow("2 x 3") << QSize(2, 3);
    QTest::newRow("3 x 2") << QSize(3, 2);
    QTest::newRow("4 x 5") << QSize(4, 5);
    QTest::newRow("bus") << QSize(758, 217);
}

void AssetGenerator::bmpRoundTrip() {
    QFETCH(QSize, size);
    const QImage image = pattern(size);
    const QByteArray bmp = encodeBmp24(image);
    const int stride = (size.width() * 3 + 3) / 4 * 4;
    QCOMPARE(bmp.size(), 54 + stride * size.height());
    QCOMPARE(bmp.left(2), QByteArray("BM"));

    const QImage decoded = QImage::fromData(bmp, "BMP");
    QCOMPARE(decoded.size(), size);
    QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), image);
}

void AssetGenerator::bmpOfNothingIsEmpty() {
    QVERIFY(encodeBmp24(QImage()).isEmpty());
}

void AssetGenerator::nearestStandardColour_data() {
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<int>("index");
    for (int i = 0; i < 16; ++i)
        QTest::addRow("palette %d", i) << kStandardPalette[size_t(i)] << i;
    QTest::newRow("off-white") << qRgb(250, 248, 240) << 15;
    QTest::newRow("near black") << qRgb(20, 20, 24) << 0;
    QTest::newRow("dark glass") << qRgb(16, 32, 106) << 4;
    QTest::newRow("light grey") << qRgb(200, 200, 205) << 7;
    QTest::newRow("mid grey") << qRgb(120, 124, 128) << 8;
    QTest::newRow("lamp yellow") << qRgb(255, 238, 0) << 11;
    QTest::newRow("stripe blue") << qRgb(24, 64, 216) << 12;
}

void AssetGenerator::nearestStandardColour() {
    QFETCH(QRgb, colour);
    QFETCH(int, index);
    QCOMPARE(assetgen::nearestStandardColour(colour), index);
}

void AssetGenerator::halfTransparentPixelsDecideByAlpha() {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 127));
    image.setPixel(1, 0, qRgba(255, 0, 0, 128));
    const QImage indexed = quantiseToStandardPalette(image);
    QCOMPARE(qAlpha(indexed.pixel(0, 0)), 0);
    QCOMPARE(indexed.pixel(1, 0), qRgb(255, 0, 0));
}

void AssetGenerator::icoRoundTrip_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("1 x 1") << QSize(1, 1);
    QTest::newRow("odd width, mask padding") << QSize(7, 3);
    QTest::newRow("program icon") << QSize(32, 32);
    QTest::newRow("wider than a mask word") << QSize(33, 2);
    QTest::newRow("largest, written as 0") << QSize(256, 256);
}

void AssetGenerator::icoRoundTrip() {
    QFETCH(QSize, size);
    // Palette colours in turn, every fifth pixel transparent.
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int n = x + y * size.width();
            image.setPixel(x, y, n % 5 == 4 ? qRgba(0, 0, 0, 0) : kStandardPalette[size_t(n % 16)]);
        }
    const QByteArray ico = encodeIco16(image);
    QVERIFY(!ico.isEmpty());
    QCOMPARE(quint8(ico[6]), quint8(size.width() & 0xff));
    QCOMPARE(quint8(ico[7]), quint8(size.height() & 0xff));
    QCOMPARE(quint8(ico[12]), quint8(4));  // bits per pixel

    const QImage decoded = QImage::fromData(ico, "ICO").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(decoded.size(), size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb want = image.pixel(x, y);
            const QRgb got = decoded.pixel(x, y);
            if (qAlpha(want) == 0 ? qAlpha(got) != 0 : got != want)
                QFAIL(qPrintable(QStringLiteral("(%1, %2): %3 instead of %4")
                                     .arg(x).arg(y).arg(got, 8, 16).arg(want, 8, 16)));
        }
}

void AssetGenerator::icoRejectsOversizedImages() {
    QVERIFY(encodeIco16(QImage(257, 16, QImage::Format_ARGB32)).isEmpty());
    QVERIFY(encodeIco16(QImage(16, 257, QImage::Format_ARGB32)).isEmpty());
    QVERIFY(encodeIco16(QImage()).isEmpty());
}

void AssetGenerator::badSourcesAreReported_data() {
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

void AssetGenerator::badSourcesAreReported() {
    QFETCH(QByteArray, svg);
    QFETCH(QSize, size);
    QString error;
    QVERIFY(renderSvg(svg, size, &error).isNull());
    QVERIFY(!error.isEmpty());
    QVERIFY(encode(renderForFormat(svg, size, Format::Bmp24, nullptr), Format::Bmp24).isEmpty());
}

void AssetGenerator::missingSourceIsReported() {
    const QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const BuildResult result = build(QDir(empty.path()), assetList().front());
    QVERIFY(result.files.empty());
    QVERIFY2(result.error.contains(QLatin1String(assetList().front().source)), qPrintable(result.error));
}

void AssetGenerator::doubleResPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("twin");
    QTest::newRow("bitmap") << "pictures/bus.bmp" << "pictures/bus@2x.bmp";
    QTest::newRow("two dots") << "a/b.tar.gz" << "a/b.tar@2x.gz";
    QTest::newRow("dot in folder only") << "a.b/c" << "a.b/c@2x";
    QTest::newRow("hidden file") << "a/.hidden" << "a/.hidden@2x";
}

void AssetGenerator::doubleResPath() {
    QFETCH(QString, path);
    QFETCH(QString, twin);
    QCOMPARE(assetgen::doubleResPath(path), twin);
}

void AssetGenerator::letteringFontIsInstalled() {
    QCOMPARE(missingFonts(), QString());
}

void AssetGenerator::renderingIsReproducible() {
    const QByteArray svg = readFile(kAssetsDir.filePath(QStringLiteral("src/bus.svg")));
    QVERIFY(!svg.isEmpty());
    const QByteArray first = encode(renderForFormat(svg, {758, 217}, Format::Bmp24, nullptr), Format::Bmp24);
    const QByteArray second = encode(renderForFormat(svg, {758, 217}, Format::Bmp24, nullptr), Format::Bmp24);
    QVERIFY(!first.isEmpty());
    QVERIFY(first == second);
}

void AssetGenerator::committedFilesMatchTheirSources_data() {
    QTest::addColumn<int>("entry");
    for (size_t i = 0; i < assetList().size(); ++i)
        QTest::newRow(assetList()[i].output) << int(i);
}

// The committed files must be what the sources give. Byte equality holds on the
// machine that made them; elsewhere the rasteriser's rounding may differ by a
// step, so pixels are compared with a small tolerance.
void AssetGenerator::committedFilesMatchTheirSources() {
    QFETCH(int, entry);
    const AssetSpec& spec = assetList()[size_t(entry)];
    const BuildResult result = build(kAssetsDir, spec);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    for (const OutputFile& file : result.files) {
        const QByteArray committed = readFile(kAssetsDir.filePath(file.path));
        QVERIFY2(!committed.isEmpty(), qPrintable(file.path + " is missing: run `make assets`"));
        if (committed == file.bytes)
            continue;
        QVERIFY2(spec.format != Format::Copy, qPrintable(file.path + " differs from its source"));
        const QImage want = QImage::fromData(file.bytes).convertToFormat(QImage::Format_ARGB32);
        const QImage have = QImage::fromData(committed).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(have.size(), want.size());
        int worst = 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x) {
                const QRgb a = want.pixel(x, y);
                const QRgb b = have.pixel(x, y);
                worst = std::max({worst, qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                                  qAbs(qBlue(a) - qBlue(b)), qAbs(qAlpha(a) - qAlpha(b))});
            }
        QVERIFY2(worst <= 8, qPrintable(QStringLiteral("%1 differs from its source by up to %2: run `make assets`")
                                            .arg(file.path).arg(worst)));
    }
}

QTEST_MAIN(AssetGenerator)
#include "tst_assetgen.moc"
