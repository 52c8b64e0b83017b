// The assets as the program sees them, in a program that links the assets library
// and registers nothing by hand.

#include "assets/AssetPaths.h"
#include "controls/Picture.h"

#include <QFile>
#include <QImage>
#include <QtTest>

namespace {

QString twin(const QString& path) { return QString(path).insert(path.lastIndexOf(u'.'), QStringLiteral("@2x")); }

}  // namespace

class AssetResources : public QObject {
    Q_OBJECT

private slots:
    void bitmaps_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (const auto& [path, size] : {std::pair{assets::kBusPicture, QSize(758, 217)},
                                         {assets::kFrontDoorPicture, QSize(71, 145)},
                                         {assets::kDoorLeafPicture, QSize(62, 145)},
                                         {assets::kSecondDoorPicture, QSize(42, 137)},
                                         {assets::kInteriorSeatPicture, QSize(76, 142)},
                                         {assets::kInteriorStepsPicture, QSize(76, 141)},
                                         {assets::kSwitchMaePicture, QSize(50, 20)},
                                         {assets::kSwitchNakaPicture, QSize(50, 20)}})
            QTest::newRow(path) << QString::fromLatin1(path) << size;
    }
    // Uncompressed 24-bit Windows bitmaps, each with its double-resolution twin, as the controls load them.
    void bitmaps() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        for (const QString& file : {path, twin(path)}) {
            QFile f(file);
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(file));
            const QByteArray b = f.readAll();
            QCOMPARE(b.left(2), QByteArray("BM"));
            QCOMPARE(b.mid(28, 6), QByteArray("\x18\0\0\0\0\0", 6));  // 24 bits, no compression
        }
        const ctl::Picture picture = ctl::Picture::fromResource(path);
        QCOMPARE(picture.size(), size);
        QCOMPARE(picture.doubleResImage().size(), size * 2);
        QVERIFY(!picture.image().hasAlphaChannel());
    }

    // The rounded sign window (239, 35, 53 x 33) shows the bus's black panel in its corners.
    void signPanelBehindTheSignWindowIsBlack() {
        for (const int scale : {1, 2}) {
            const QImage bus(scale == 1 ? QString::fromLatin1(assets::kBusPicture) : twin(assets::kBusPicture));
            for (int y = 33 * scale; y < 71 * scale; ++y)
                for (int x = 237 * scale; x < 295 * scale; ++x)
                    QVERIFY2(qGray(bus.pixel(x, y)) <= 8, qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
        }
    }

    // 32 x 32 in the sixteen standard colours, see-through corners; a 64 x 64 twin.
    void icon() {
        QFile f(QString::fromLatin1(assets::kIcon));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        QCOMPARE(b.left(11), QByteArray("\0\0\1\0\1\0\x20\x20\x10\0\1", 11));
        QCOMPARE(int(b[12]), 4);  // bits per pixel
        for (const auto& [path, size] : {std::pair{assets::kIcon, 32}, {assets::kIconLarge, 64}}) {
            const QImage image(QString::fromLatin1(path));
            QCOMPARE(image.size(), QSize(size, size));
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        }
    }

    // The hotspot is the top of the fingertip: drawn, with nothing above it.
    void cursor() {
        for (const auto& [path, scale] : {std::pair{assets::kHandCursor, 1}, {assets::kHandCursorLarge, 2}}) {
            const QImage image = QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), QSize(32, 32) * scale);
            const int hx = assets::kHandHotspotX * scale + scale / 2;
            QVERIFY(qAlpha(image.pixel(hx, assets::kHandHotspotY * scale + scale / 2)) >= 128);
            for (int y = 0; y < assets::kHandHotspotY * scale; ++y)
                QVERIFY(qAlpha(image.pixel(hx, y)) < 64);
        }
    }
};

QTEST_GUILESS_MAIN(AssetResources)
#include "tst_asset_resources.moc"
