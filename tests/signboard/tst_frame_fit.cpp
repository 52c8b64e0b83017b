// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Where the three bars stand around the signboard: the full fit and the quick follow, with the
// bars' own thicknesses kept.

#include "signboard/FrameFit.h"

#include <QtTest>

using core::ScaleRect;
using signboard::Bars;

namespace {
// The frame as laid out, around the board's first place.
const Bars kLaidOut{{{8775, 1605, 75, 495}, {10260, 1605, 75, 495}, {8775, 2070, 1560, 60}}};
// Bars of three thicknesses, so that a bar placed with another's size shows.
const Bars kUneven{{{0, 0, 30, 100}, {0, 0, 45, 200}, {0, 0, 500, 20}}};
}  // namespace

Q_DECLARE_METATYPE(Bars)

class TestFrameFit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fits_data() {
        QTest::addColumn<ScaleRect>("board");
        QTest::addColumn<Bars>("before");
        QTest::addColumn<Bars>("full");   // side bars 15 below the board, the bottom bar 75 wider each side
        QTest::addColumn<Bars>("quick");  // the same places, the side bars' heights kept
        QTest::newRow("the first place")
            << signboard::kResetPlace << kLaidOut
            << Bars{{{8715, 1680, 75, 465}, {10200, 1680, 75, 465}, {8715, 2130, 1560, 60}}}
            << Bars{{{8715, 1680, 75, 495}, {10200, 1680, 75, 495}, {8715, 2130, 1560, 60}}};
        QTest::newRow("moved, a taller picture")
            << ScaleRect{4028, 898, 1800, 600} << kLaidOut
            << Bars{{{3953, 898, 75, 615}, {5828, 898, 75, 615}, {3953, 1498, 1950, 60}}}
            << Bars{{{3953, 898, 75, 495}, {5828, 898, 75, 495}, {3953, 1498, 1950, 60}}};
        QTest::newRow("thicknesses kept") << ScaleRect{100, 200, 300, 50} << kUneven
                                          << Bars{{{25, 200, 30, 65}, {400, 200, 45, 65}, {25, 250, 450, 20}}}
                                          << Bars{{{25, 200, 30, 100}, {400, 200, 45, 200}, {25, 250, 450, 20}}};
    }
    void fits() {
        QFETCH(ScaleRect, board);
        QFETCH(Bars, before);
        QFETCH(Bars, full);
        QFETCH(Bars, quick);
        for (std::size_t i = 0; i < 3; ++i) {
            QCOMPARE(signboard::fullFit(board, before)[i], full[i]);
            QCOMPARE(signboard::quickFollow(board, before)[i], quick[i]);
        }
    }
};

QTEST_APPLESS_MAIN(TestFrameFit)
#include "tst_frame_fit.moc"
