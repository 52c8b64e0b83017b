// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/Look.h"

#include <QPixmap>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QWidget>

namespace ctl {

void setColours(QWidget* widget, const QColor& back, std::optional<QColor> fore) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, back);
    if (fore)
        palette.setColor(QPalette::WindowText, *fore);
    widget->setPalette(palette);
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

QIcon noIcon() {
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

void paintFocusFrame(QWidget* widget) {
    QStylePainter painter(widget);
    QStyleOptionFocusRect option;
    option.initFrom(widget);
    option.backgroundColor = widget->palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace ctl
