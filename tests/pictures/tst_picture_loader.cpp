// The picture loader against pictures made here: what each format shows, and what each
// kind of bad file gives instead (the error's number and a description naming the cause).

#include "SamplePictures.h"
#include "controls/RuntimeError.h"
#include "platform/PictureLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using platform::loadPicture;

namespace {

// Channel distance small enough for JPEG's losses, far from the other colour.
bool near(QColor actual, QColor expected, int tolerance = 48) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

}  // namespace

class TestPictureLoader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString write(const QString& fileName, const QByteArray& bytes) {
        const QString path = dir_.filePath(fileName);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Loads and returns the error, failing the test when there is none.
    static ctl::RuntimeError loadError(const QString& path) {
        try {
            loadPicture(path);
        } catch (const ctl::RuntimeError& e) {
            return e;
        }
        return {0, QStringLiteral("no error")};
    }

    // Loads a picture that must load; an error fails the test with its description.
    static ctl::Picture loadGood(const QString& path) {
        try {
            return loadPicture(path);
        } catch (const ctl::RuntimeError& e) {
            qWarning("%d %s", e.number(), qPrintable(e.description()));
            return {};
        }
    }

    static void checkDescription(const ctl::RuntimeError& e, const QString& mustContain) {
        QVERIFY2(e.description().contains(mustContain), qPrintable(e.description()));
        QVERIFY2(e.description().endsWith(QStringLiteral("。")), qPrintable(e.description()));
    }

    // The page of the sample metafiles: a red rectangle left, a blue ellipse right.
    static void checkMetafileScene(const QImage& image, int scale, QPoint shift = {}) {
        auto at = [&](int x, int y) { return image.pixelColor((x - shift.x()) * scale, (y - shift.y()) * scale); };
        QVERIFY(near(at(30, 25), kRed, 0));
        QVERIFY(near(at(12, 12), kRed, 0));
        QVERIFY(near(at(48, 38), kRed, 0));
        QVERIFY(near(at(75, 25), kBlue, 0));  // the ellipse's centre
        QVERIFY(near(at(62, 25), kBlue, 0));  // near its left and right ends
        QVERIFY(near(at(88, 25), kBlue, 0));
        // The corners of the ellipse's box lie outside the ellipse: an ellipse, not a box.
        for (const QPoint corner : {QPoint(62, 12), QPoint(88, 12), QPoint(62, 38), QPoint(88, 38)})
            QVERIFY2(!near(at(corner.x(), corner.y()), kBlue, 100), qPrintable(QString::number(corner.x())));
        QVERIFY(!near(at(55, 25), kRed, 100));  // between the two shapes
        QVERIFY(!near(at(55, 25), kBlue, 100));
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void rasterFormats_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("tolerance");
        const QImage scene = samples::rasterScene();
        QTest::newRow("bmp") << samples::encode(scene, "bmp") << "a.bmp" << 0;
        QTest::newRow("gif") << samples::encodeGif(scene) << "a.gif" << 0;
        QTest::newRow("jpeg") << samples::encode(scene, "jpeg") << "a.jpg" << 48;
        QTest::newRow("png") << samples::encode(scene, "png") << "a.png" << 0;
        // The content decides the format, not the name.
        QTest::newRow("png named .bmp") << samples::encode(scene, "png") << "png.bmp" << 0;
        QTest::newRow("bmp named .jpeg") << samples::encode(scene, "bmp") << "bmp.jpeg" << 0;
        QTest::newRow("gif without extension") << samples::encodeGif(scene) << "picture" << 0;
    }

    void rasterFormats() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileName);
        QFETCH(int, tolerance);
        const ctl::Picture picture = loadGood(write(fileName, bytes));
        QCOMPARE(picture.size(), QSize(60, 30));
        const QImage& image = picture.image();
        QVERIFY(near(image.pixelColor(2, 2), kRed, tolerance));
        QVERIFY(near(image.pixelColor(57, 27), kRed, tolerance));
        QVERIFY(near(image.pixelColor(samples::kBox.center()), kBlue, tolerance));
        QVERIFY(near(image.pixelColor(samples::kBox.topLeft() + QPoint(1, 1)), kBlue, tolerance));
        QVERIFY(near(image.pixelColor(samples::kBox.topLeft() - QPoint(2, 2)), kRed, tolerance));
        QVERIFY(picture.doubleResImage().isNull());  // raster pictures have one resolution
    }

    void metafiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("shift");  // where the picture's top-left lies on the page
        QTest::newRow("placeable wmf") << samples::wmf(true) << QSize(100, 50) << QPoint();
        // The header's box is the page even when its origin is not 0,0.
        QTest::newRow("placeable wmf, moved origin") << samples::wmf(true, {300, -150}) << QSize(100, 50) << QPoint();
        QTest::newRow("placeable wmf, origin from the box")
            << samples::wmf(true, {450, 600}, 0, false) << QSize(100, 50) << QPoint();
        // Without a box the drawing's extent (half a pixel around its shapes) is the picture.
        QTest::newRow("standard wmf") << samples::wmf(false) << QSize(81, 31) << QPoint(10, 10);
        QTest::newRow("emf") << samples::emf() << QSize(100, 50) << QPoint();
    }

    void metafiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QPoint, shift);
        const ctl::Picture picture = loadGood(write("meta.bin", bytes));
        QCOMPARE(picture.size(), size);
        checkMetafileScene(picture.image(), 1, shift);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(picture.doubleResImage().size(), size * 2);
        checkMetafileScene(picture.doubleResImage(), 2, shift);
    }

    void placeableMarginsStayBlank() {
        // The drawing covers (10,10)-(90,40) of a 100 × 50 page: scaled to its own extent
        // it would reach the picture's edges.
        const QImage image = loadGood(write("margin.wmf", samples::wmf(true))).image();
        QCOMPARE(image.size(), QSize(100, 50));
        for (const QPoint p : {QPoint(2, 2), QPoint(97, 47), QPoint(95, 25), QPoint(30, 45)})
            QVERIFY(!near(image.pixelColor(p), kRed, 100) && !near(image.pixelColor(p), kBlue, 100));
    }

    void badContent_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("cause");
        const QImage scene = samples::rasterScene();
        const QImage photo = samples::rasterScene({400, 300});
        const QByteArray bmp = samples::encode(scene, "bmp"), gif = samples::encodeGif(scene);
        const QByteArray jpeg = samples::encode(photo, "jpeg"), png = samples::encode(scene, "png");
        const QByteArray wmf = samples::wmf(true), emf = samples::emf();
        const QString invalid = QStringLiteral("ピクチャが不正です。");
        const QString cut = QStringLiteral("壊れているか、途中で切れています");
        const QString large = QStringLiteral("大きすぎます");

        QTest::newRow("empty file") << QByteArray() << "empty.bmp" << 481 << "空のファイル";
        QTest::newRow("text named .bmp") << QByteArray("just some text\n") << "text.bmp" << 481 << "どの形式でもありません";
        QTest::newRow("text starting BM") << QByteArray("BMW cars are fast\n") << "cars.bmp" << 481 << cut;
        QTest::newRow("random bytes") << QByteArray(300, '\x5A') << "noise.gif" << 481 << invalid;
        QTest::newRow("bmp truncated") << bmp.left(bmp.size() / 2) << "cut.bmp" << 481 << "ビットマップ";
        QTest::newRow("bmp header only") << bmp.left(30) << "head.bmp" << 481 << cut;
        QTest::newRow("gif truncated") << gif.left(gif.size() - 40) << "cut.gif" << 481 << "GIF";
        QTest::newRow("gif header only") << gif.left(13) << "head.gif" << 481 << cut;
        QTest::newRow("jpeg truncated") << jpeg.left(jpeg.size() * 2 / 3) << "cut.jpg" << 481 << "JPEG";
        QTest::newRow("jpeg signature only") << jpeg.left(3) << "sig.jpg" << 481 << cut;
        QTest::newRow("png truncated") << png.left(png.size() - 20) << "cut.png" << 481 << "PNG";
        QTest::newRow("png garbled data") << png.left(60) + QByteArray(png.size() - 60, '\x11') << "bad.png" << 481 << cut;
        QTest::newRow("wmf truncated") << wmf.left(wmf.size() - 10) << "cut.wmf" << 481 << "メタファイル";
        QTest::newRow("wmf bad record size") << wmf.left(40) + QByteArray(8, '\0') << "rec.wmf" << 481 << cut;
        QTest::newRow("wmf zero box") << samples::withPlaceableBox(wmf, 0, 0, 1440) << "zero.wmf" << 481 << "大きさがありません";
        QTest::newRow("wmf zero units") << samples::withPlaceableBox(wmf, 1500, 750, 0) << "units.wmf" << 481 << cut;
        QTest::newRow("emf truncated") << emf.left(emf.size() - 12) << "cut.emf" << 481 << "拡張メタファイル";
        QTest::newRow("emf empty frame") << samples::withEmfFrame(emf, 0, 0) << "flat.emf" << 481 << "大きさがありません";

        QTest::newRow("bmp huge") << samples::withBmpSize(bmp, 40000, 40000) << "huge.bmp" << 7 << large;
        QTest::newRow("bmp wide") << samples::withBmpSize(bmp, 1000000, 1) << "wide.bmp" << 7 << large;
        QTest::newRow("png huge") << samples::withPngSize(png, 100000, 100000) << "huge.png" << 7 << large;
        QTest::newRow("png too many pixels") << samples::withPngSize(png, 30000, 30000) << "area.png" << 7 << large;
        QTest::newRow("gif huge") << samples::withGifSize(gif, 60000, 60000) << "huge.gif" << 7 << large;
        QTest::newRow("jpeg huge") << samples::withJpegSize(jpeg, 65000, 65000) << "huge.jpg" << 7 << large;
        QTest::newRow("wmf huge box") << samples::withPlaceableBox(wmf, 32000, 32000, 1) << "huge.wmf" << 7 << large;
        QTest::newRow("emf huge frame") << samples::withEmfFrame(emf, 2000000000, 2000000000) << "huge.emf" << 7 << large;
    }

    void badContent() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileName);
        QFETCH(int, number);
        QFETCH(QString, cause);
        const ctl::RuntimeError e = loadError(write(fileName, bytes));
        QCOMPARE(e.number(), number);
        checkDescription(e, cause);
        checkDescription(e, fileName);
    }

    void emptyPathGivesNoPicture() { QVERIFY(loadPicture(QString()).isNull()); }

    void missingFile() {
        const QString path = dir_.filePath("nowhere/none.bmp");
        const ctl::RuntimeError e = loadError(path);
        QCOMPARE(e.number(), 53);
        QVERIFY(e.description().startsWith(QStringLiteral("ファイルが見つかりません。")));
        checkDescription(e, path);
    }

    void folder() {
        QVERIFY(QDir(dir_.path()).mkpath("pictures.bmp"));
        const ctl::RuntimeError e = loadError(dir_.filePath("pictures.bmp"));
        QCOMPARE(e.number(), 75);
        checkDescription(e, QStringLiteral("フォルダー"));
        checkDescription(e, QStringLiteral("読み込めません"));
    }

    void fifoIsNotOpened() {
        // Nobody writes to it: opening it for reading would block this test until its timeout.
        const QString path = dir_.filePath("pipe.bmp");
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const ctl::RuntimeError e = loadError(path);
        QCOMPARE(e.number(), 75);
        checkDescription(e, QStringLiteral("読み込めません"));
        checkDescription(e, QStringLiteral("pipe.bmp"));
    }

    void unreadableFile() {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        const QString path = write("locked.png", samples::encode(samples::rasterScene(), "png"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        const ctl::RuntimeError e = loadError(path);
        QCOMPARE(e.number(), 75);
        checkDescription(e, QStringLiteral("読み取りが許可されていません"));
    }

    void relativePathIsTheWorkingFolders() {
        write("here.png", samples::encode(samples::rasterScene(), "png"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        const ctl::Picture picture = loadGood("here.png");
        QDir::setCurrent(previous);
        QCOMPARE(picture.size(), QSize(60, 30));
    }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "tst_picture_loader.moc"
