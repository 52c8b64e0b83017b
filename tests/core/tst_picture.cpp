// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// A picture drawn where it is asked: at its own size, stretched to its target, and from its twin
// of twice the resolution where the screen's pixels are twice as dense.

#include "core/Picture.h"

#include <QPainter>
#include <QtTest>

namespace {

// Left half one colour, right half the other, so that a stretch or a shift shows.
QImage halves(QSize size, QColor left, QColor right) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(left);
    QPainter(&image).fillRect(size.width() / 2, 0, size.width() / 2, size.height(), right);
    return image;
}

// What the picture leaves on a white surface of `size` logical pixels.
QImage drawn(const core::Picture& picture, QSize size, const QRectF& target, qreal pixelRatio = 1.0) {
    QImage surface(size * pixelRatio, QImage::Format_RGB32);
    surface.setDevicePixelRatio(pixelRatio);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    picture.draw(painter, target);
    return surface;
}

}  // namespace

class TestPicture : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawnToItsTarget() {
        const core::Picture picture(halves({4, 2}, Qt::red, Qt::blue));
        const QImage atSize = drawn(picture, {10, 6}, {1, 1, 4, 2});
        QCOMPARE(atSize.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(atSize.pixelColor(1, 1), QColor(Qt::red));
        QCOMPARE(atSize.pixelColor(4, 2), QColor(Qt::blue));
        QCOMPARE(atSize.pixelColor(5, 2), QColor(Qt::white));
        const QImage stretched = drawn(picture, {10, 6}, {0, 0, 8, 4});
        QCOMPARE(stretched.pixelColor(1, 3), QColor(Qt::red));
        QCOMPARE(stretched.pixelColor(6, 1), QColor(Qt::blue));
        QCOMPARE(stretched.pixelColor(9, 5), QColor(Qt::white));
        const QImage taller = drawn(picture, {10, 6}, {0, 0, 4, 4});  // its width, not its height
        QCOMPARE(taller.pixelColor(0, 3), QColor(Qt::red));
        QCOMPARE(drawn(picture, {10, 6}, {0, 0, 0, 0}).pixelColor(0, 0), QColor(Qt::white));
    }

    void twinWherePixelsAreDense() {
        const core::Picture picture(halves({4, 2}, Qt::red, Qt::red), halves({8, 4}, Qt::green, Qt::green));
        QCOMPARE(drawn(picture, {4, 2}, {0, 0, 4, 2}, 2.0).pixelColor(7, 3), QColor(Qt::green));
        QCOMPARE(drawn(picture, {4, 2}, {0, 0, 4, 2}, 1.0).pixelColor(3, 1), QColor(Qt::red));
        const core::Picture single(halves({4, 2}, Qt::red, Qt::red));  // no twin: the picture, blown up
        QCOMPARE(drawn(single, {4, 2}, {0, 0, 4, 2}, 2.0).pixelColor(7, 3), QColor(Qt::red));
    }
};

QTEST_GUILESS_MAIN(TestPicture)
#include "tst_picture.moc"
