// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The compiled-in pictures are the asset files, pixel for pixel, whether stored as they are
// (read at every start, used in place) or compressed (the double-resolution twins, the cursor).

#include "assets/AssetPaths.h"
#include "core/Picture.h"
#include "core/ResourceImages.h"

#include <QTest>

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void compiledInPicturesAreTheAssetFiles_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("file");
        QTest::newRow("bus") << assets::kBusPicture << "pictures/bus.bmp";
        QTest::newRow("bus, twice the resolution") << ":/pictures/bus@2x.px" << "pictures/bus@2x.bmp";
        QTest::newRow("middle-door leaf") << assets::kDoorLeafPicture << "pictures/door_leaf.bmp";
        QTest::newRow("icon, 16 colours") << assets::kIcon << "icons/tarvola.ico";
        QTest::newRow("hand cursor, with alpha") << assets::kHandCursor << "cursors/hand.png";
    }
    void compiledInPicturesAreTheAssetFiles() {
        QFETCH(QString, resource);
        QFETCH(QString, file);
        const QImage stored = core::readResourceImage(resource);
        QImage source(QStringLiteral(TARVOLA_SOURCE_DIR "/assets/") + file);
        QVERIFY(!source.isNull());
        source.setDevicePixelRatio(1.0);  // Qt's reader gives an "@2x" file a ratio of 2
        QCOMPARE(stored.size(), source.size());
        QCOMPARE(stored, source.convertToFormat(stored.format()));
        QCOMPARE(stored.hasAlphaChannel(), source.hasAlphaChannel());
    }

    void aPictureFindsItsTwin() {
        const core::Picture bus = core::Picture::fromResource(assets::kBusPicture);
        QCOMPARE(bus.size(), QSize(758, 217));
        QCOMPARE(bus.doubleResImage().size(), QSize(1516, 434));
        QCOMPARE(bus.doubleResImage().devicePixelRatio(), 2.0);
        QVERIFY(core::readResourceImage(QStringLiteral(":/pictures/none.px")).isNull());
    }
};

QTEST_GUILESS_MAIN(TestAssets)
#include "tst_assets.moc"
