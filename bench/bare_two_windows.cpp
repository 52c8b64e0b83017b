// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The floor the program's start is measured against: a bare Qt program with two plain
// windows of the bus window's and the panel's client sizes, the same font, and the colours
// the start-up benchmark looks for where it looks for them. No pictures, no settings, no
// controls of the program's own. With --second-face the panel also draws the marks of the
// roll speeds in the second face the program's panel shows them in (bold, 14.25 point), so the
// benchmark can tell what that face alone costs.

#include "platform/Fonts.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <cstring>

namespace {

class PlainWindow : public QWidget {
public:
    PlainWindow(QSize size, QRect box, QColor boxColour, QString text)
        : box_(box), boxColour_(boxColour), text_(std::move(text)) {
        setFixedSize(size);
    }

    void addMarks(QString marks, QFont face) {
        marks_ = std::move(marks);
        marksFace_ = std::move(face);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        p.fillRect(box_, boxColour_);
        p.drawText(QPoint(4, 16), text_);
        if (!marks_.isEmpty()) {
            p.setFont(marksFace_);
            p.drawText(QPoint(4, 48), marks_);
        }
    }

private:
    QRect box_;
    QColor boxColour_;
    QString text_;
    QString marks_;
    QFont marksFace_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installProgramFont();
    PlainWindow bus(QSize(758, 218), QRect(240, 35, 53, 33), QColor(0, 0, 255), QStringLiteral("Tarvola　バス"));
    PlainWindow panel(QSize(265, 144), QRect(150, 96, 60, 16), QColor(0xE0, 0xE0, 0xE0),
                      QStringLiteral("設定パネル 幕の速度 前扉 中扉"));
    panel.move(0, 250);  // below the bus window, as the program's panel stands
    if (argc > 1 && std::strcmp(argv[1], "--second-face") == 0) {
        QFont face(platform::programFontName());
        face.setPointSizeF(14.25);
        face.setBold(true);
        panel.addMarks(QStringLiteral("①②"), face);
    }
    panel.show();
    bus.show();
    return app.exec();
}
