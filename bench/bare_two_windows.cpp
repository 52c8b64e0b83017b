// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The floor the program's start is measured against: a bare Qt program with two plain
// windows of the bus window's and the panel's client sizes, the same font, and the colours
// the start-up benchmark looks for where it looks for them. No pictures, no settings, no
// controls of the program's own.

#include "platform/Fonts.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class PlainWindow : public QWidget {
public:
    PlainWindow(QSize size, QRect box, QColor boxColour, QString text)
        : box_(box), boxColour_(boxColour), text_(std::move(text)) {
        setFixedSize(size);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        p.fillRect(box_, boxColour_);
        p.drawText(QPoint(4, 16), text_);
    }

private:
    QRect box_;
    QColor boxColour_;
    QString text_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installProgramFont();
    PlainWindow bus(QSize(758, 218), QRect(240, 35, 53, 33), QColor(0, 0, 255), QStringLiteral("Tarvola　バス"));
    PlainWindow panel(QSize(265, 144), QRect(150, 96, 60, 16), QColor(0xE0, 0xE0, 0xE0),
                      QStringLiteral("設定パネル 幕の速度 前扉 中扉"));
    panel.move(0, 250);  // below the bus window, as the program's panel stands
    panel.show();
    bus.show();
    return app.exec();
}
