// The assets as the program sees them: through the resource system of a program
// that links the assets library and does nothing to register its resources.

#include "assets/AssetPaths.h"
#include "controls/Picture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <QtTest>

#include <array>

namespace {

QByteArray readResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

quint16 u16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
qint32 s32(const QByteArray& b, int at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}

QString twin(const QString& path) {
    const qsizetype dot = path.lastIndexOf('.');
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

// Checks the headers of an uncompressed 24-bit bitmap of the given size.
void verifyBmp24(const QString& path, const QSize& size) {
    const QByteArray b = readResource(path);
    QVERIFY2(b.size() >= 54, qPrintable(path + " is missing or too short"));
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(u32(b, 2), quint32(b.size()));
    QCOMPARE(u32(b, 14), 40u);  // BITMAPINFOHEADER
    QCOMPARE(s32(b, 18), size.width());
    QCOMPARE(s32(b, 22), size.height());
    QCOMPARE(u16(b, 28), quint16(24));
    QCOMPARE(u32(b, 30), 0u);  // no compression
    const int stride = (size.width() * 3 + 3) & ~3;
    QCOMPARE(u32(b, 10) + quint32(stride * size.height()), quint32(b.size()));
}

double luminance(QRgb c) {
    return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
}

double meanLuminance(const QImage& image, const QRect& area) {
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            sum += luminance(image.pixel(x, y));
    return sum / (double(area.width()) * area.height());
}

QRect scaled(const QRect& r, int scale) {
    return {r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale};
}

// Runs of dark pixels along one row, as [first, last] pairs.
QList<QPair<int, int>> darkRuns(const QImage& image, int y, double below) {
    QList<QPair<int, int>> runs;
    int start = -1;
    for (int x = 0; x <= image.width(); ++x) {
        const bool dark = x < image.width() && luminance(image.pixel(x, y)) < below;
        if (dark && start < 0)
            start = x;
        if (!dark && start >= 0) {
            runs.append({start, x - 1});
            start = -1;
        }
    }
    return runs;
}

constexpr std::array<QRgb, 16> kStandardPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xc0c0c0,
    0x808080, 0xff0000, 0x00ff00, 0xffff00, 0x0000ff, 0xff00ff, 0x00ffff, 0xffffff};

}  // namespace

class AssetResources : public QObject {
    Q_OBJECT

private slots:
    void resourcesReachTheProgram();
    void bitmaps_data();
    void bitmaps();
    void icon();
    void largeIcon();
    void cursor_data();
    void cursor();
    void busSignPanelIsBlack_data();
    void busSignPanelIsBlack();
    void busWheelsAreDark_data() { scales(); }
    void busWheelsAreDark();
    void busDoorwaysAreDarkerThanTheBody_data() { scales(); }
    void busDoorwaysAreDarkerThanTheBody();
    void doorsAreGlassInWhiteFrames_data();
    void doorsAreGlassInWhiteFrames();
    void switchesAreCentredBlackOnYellow_data();
    void switchesAreCentredBlackOnYellow();

private:
    static void scales() {
        QTest::addColumn<int>("scale");
        QTest::newRow("1x") << 1;
        QTest::newRow("2x") << 2;
    }
    static QImage busAt(int scale) {
        return QImage(scale == 1 ? QString::fromLatin1(assets::kBusPicture)
                                 : twin(QString::fromLatin1(assets::kBusPicture)));
    }
};

void AssetResources::resourcesReachTheProgram() {
    // Nothing in this program registers the library's resources by hand.
    const QStringList pictures = QDir(QStringLiteral(":/pictures")).entryList();
    for (const char* name : {"bus.bmp", "door_front.bmp", "door_leaf.bmp", "door_second.bmp",
                             "interior_seat.bmp", "interior_steps.bmp", "switch_mae.bmp",
                             "switch_naka.bmp"}) {
        QVERIFY2(pictures.contains(QLatin1String(name)), name);
        QVERIFY2(pictures.contains(twin(QLatin1String(name))), name);
    }
    for (const char* path : {assets::kIcon, assets::kIconLarge, assets::kHandCursor, assets::kHandCursorLarge})
        QVERIFY2(QFile::exists(QLatin1String(path)), path);
}

void AssetResources::bitmaps_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    const auto row = [](const char* path, int w, int h) {
        QTest::newRow(path) << QString::fromLatin1(path) << QSize(w, h);
    };
    row(assets::kBusPicture, 758, 217);
    row(assets::kFrontDoorPicture, 71, 145);
    row(assets::kDoorLeafPicture, 62, 145);
    row(assets::kSecondDoorPicture, 42, 137);
    row(assets::kInteriorSeatPicture, 76, 142);
    row(assets::kInteriorStepsPicture, 76, 141);
    row(assets::kSwitchMaePicture, 50, 20);
    row(assets::kSwitchNakaPicture, 50, 20);
}

void AssetResources::bitmaps() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    verifyBmp24(path, size);
    verifyBmp24(twin(path), size * 2);

    // The way the controls load them: the base size and the HiDPI twin.
    const ctl::Picture picture = ctl::Picture::fromResource(path);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), size);
    QCOMPARE(picture.doubleResImage().size(), size * 2);
    QVERIFY(!picture.image().hasAlphaChannel());
}

void AssetResources::icon() {
    const QByteArray b = readResource(QLatin1String(assets::kIcon));
    QCOMPARE(b.size(), 6 + 16 + 40 + 16 * 4 + 32 * 16 + 32 * 4);
    QCOMPARE(u16(b, 0), quint16(0));
    QCOMPARE(u16(b, 2), quint16(1));  // icon, not cursor
    QCOMPARE(u16(b, 4), quint16(1));  // one image
    QCOMPARE(quint8(b[6]), quint8(32));
    QCOMPARE(quint8(b[7]), quint8(32));
    QCOMPARE(quint8(b[8]), quint8(16));  // colours
    QCOMPARE(u16(b, 10), quint16(1));    // planes
    QCOMPARE(u16(b, 12), quint16(4));    // bits per pixel
    const quint32 bytes = u32(b, 14);
    const quint32 offset = u32(b, 18);
    QCOMPARE(offset + bytes, quint32(b.size()));

    const int dib = int(offset);
    QCOMPARE(u32(b, dib), 40u);
    QCOMPARE(s32(b, dib + 4), 32);
    QCOMPARE(s32(b, dib + 8), 64);  // colour and mask rows
    QCOMPARE(u16(b, dib + 14), quint16(4));
    QCOMPARE(u32(b, dib + 16), 0u);
    for (int i = 0; i < 16; ++i) {
        const int at = dib + 40 + 4 * i;
        const QRgb c = qRgb(quint8(b[at + 2]), quint8(b[at + 1]), quint8(b[at]));
        QCOMPARE(c & 0xffffff, kStandardPalette[size_t(i)]);
    }

    // The mask leaves the corners clear and the bus solid.
    const QImage image(QLatin1String(assets::kIcon));
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(31, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(16, 16)), 255);
    int opaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255;
    QVERIFY2(opaque > 32 * 32 / 2, "the icon is mostly see-through");
}

void AssetResources::largeIcon() {
    const QImage image(QLatin1String(assets::kIconLarge));
    QCOMPARE(image.size(), QSize(64, 64));
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(32, 32)), 255);
}

void AssetResources::cursor_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << QString::fromLatin1(assets::kHandCursor) << 1;
    QTest::newRow("2x") << QString::fromLatin1(assets::kHandCursorLarge) << 2;
}

void AssetResources::cursor() {
    QFETCH(QString, path);
    QFETCH(int, scale);
    QCOMPARE(readResource(path).left(4), QByteArray("\x89PNG"));
    const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(32, 32) * scale);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(image.width() - 1, 0)), 0);

    // The hotspot is the top of the fingertip: drawn, with nothing above it.
    const int hx = assets::kHandHotspotX * scale + scale / 2;
    const int hy = assets::kHandHotspotY * scale + scale / 2;
    QVERIFY(qAlpha(image.pixel(hx, hy)) >= 128);
    for (int y = 0; y < assets::kHandHotspotY * scale; ++y)
        QVERIFY2(qAlpha(image.pixel(hx, y)) < 64, qPrintable(QStringLiteral("row %1").arg(y)));

    // A white hand, a black outline, a blue cuff.
    int white = 0, black = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) < 255)
                continue;
            white += qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240;
            black += luminance(c) < 30;
            blue += qBlue(c) > 150 && qRed(c) < 100;
        }
    QVERIFY2(white > 60 * scale * scale, "no white hand");
    QVERIFY2(black > 40 * scale * scale, "no outline");
    QVERIFY2(blue > 30 * scale * scale, "no blue cuff");
}

void AssetResources::busSignPanelIsBlack_data() {
    QTest::addColumn<int>("scale");
    QTest::addColumn<QRect>("area");
    // The sign window (239, 35, 53 x 33) has rounded corners and shows the
    // panel's black in its corners, its top row and its left column.
    const QRect panel(QPoint(237, 33), QPoint(294, 70));
    for (const int scale : {1, 2}) {
        const QByteArray s = QByteArray::number(scale) + "x ";
        QTest::newRow(s + "top-left corner of the sign window") << scale << QRect(239, 35, 1, 1);
        QTest::newRow(s + "bottom-right corner of the sign window") << scale << QRect(291, 67, 1, 1);
        QTest::newRow(s + "whole panel behind the sign window") << scale << panel;
    }
}

void AssetResources::busSignPanelIsBlack() {
    QFETCH(int, scale);
    QFETCH(QRect, area);
    const QImage bus = busAt(scale);
    const QRect device = scaled(area, scale);
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x) {
            const QRgb c = bus.pixel(x, y);
            if (qRed(c) > 8 || qGreen(c) > 8 || qBlue(c) > 8)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is #%3, not black")
                                     .arg(x).arg(y).arg(c & 0xffffff, 6, 16, QLatin1Char('0'))));
        }
}

void AssetResources::busWheelsAreDark() {
    QFETCH(int, scale);
    const QImage bus = busAt(scale);
    // Below the body only the tyres are dark: one between the doors, one behind
    // the middle door, each about as wide as a wheel.
    const int row = 207 * scale;
    QList<QPair<int, int>> wheels;
    for (const auto& run : darkRuns(bus, row, 70))
        if (run.second - run.first + 1 >= 25 * scale)
            wheels.append(run);
    QCOMPARE(wheels.size(), 2);
    const double front = (wheels[0].first + wheels[0].second) / 2.0 / scale;
    const double rear = (wheels[1].first + wheels[1].second) / 2.0 / scale;
    QVERIFY2(front > 95 && front < 313, qPrintable(QString::number(front)));
    QVERIFY2(rear > 436 && rear < 758, qPrintable(QString::number(rear)));
}

void AssetResources::busDoorwaysAreDarkerThanTheBody() {
    QFETCH(int, scale);
    const QImage bus = busAt(scale);
    const double body = meanLuminance(bus, scaled(QRect(100, 110, 200, 36), scale));
    const double front = meanLuminance(bus, scaled(QRect(24, 46, 71, 145), scale));
    const double middle = meanLuminance(bus, scaled(QRect(313, 51, 123, 145), scale));
    QVERIFY2(body > 180, qPrintable(QString::number(body)));
    QVERIFY2(front < body / 2, qPrintable(QString::number(front)));
    QVERIFY2(middle < body / 2, qPrintable(QString::number(middle)));
}

void AssetResources::doorsAreGlassInWhiteFrames_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("front door") << QString::fromLatin1(assets::kFrontDoorPicture);
    QTest::newRow("middle-door leaf") << QString::fromLatin1(assets::kDoorLeafPicture);
}

void AssetResources::doorsAreGlassInWhiteFrames() {
    QFETCH(QString, path);
    const QImage door(path);
    const int w = door.width();
    const int h = door.height();
    // The white stiles on either side, and bluish glass within.
    const double left = meanLuminance(door, QRect(2, 10, 2, h - 20));
    const double right = meanLuminance(door, QRect(w - 4, 10, 2, h - 20));
    QVERIFY2(left > 235 && right > 235, qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
    const QRgb glass = door.pixel(w / 4, h / 3);
    QVERIFY(luminance(glass) < 170);
    QVERIFY(qBlue(glass) > qRed(glass));
}

void AssetResources::switchesAreCentredBlackOnYellow_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("scale");
    for (const char* p : {assets::kSwitchMaePicture, assets::kSwitchNakaPicture}) {
        const QString path = QString::fromLatin1(p);
        QTest::newRow(qPrintable(path)) << path << 1;
        QTest::newRow(qPrintable(twin(path))) << twin(path) << 2;
    }
}

void AssetResources::switchesAreCentredBlackOnYellow() {
    QFETCH(QString, path);
    QFETCH(int, scale);
    const QImage image(path);
    for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1)})
        QCOMPARE(image.pixel(corner) & 0xffffff, 0xffff00u);
    QRect ink;
    int black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (luminance(image.pixel(x, y)) < 60) {
                ink |= QRect(x, y, 1, 1);
                ++black;
            }
    QVERIFY2(black > 40 * scale * scale, "no lettering");
    const QPointF centre = QRectF(ink).center() / scale;
    QVERIFY2(qAbs(centre.x() - 25) <= 1.5 && qAbs(centre.y() - 10) <= 1.5,
             qPrintable(QStringLiteral("lettering centred at %1, %2").arg(centre.x()).arg(centre.y())));
    QVERIFY(ink.width() > 24 * scale);  // two characters
}

QTEST_GUILESS_MAIN(AssetResources)
#include "tst_asset_resources.moc"
