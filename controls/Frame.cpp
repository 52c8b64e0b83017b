// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/Frame.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace ctl {

namespace {
constexpr int kCaptionIndent = 8;  // pixels from the frame's left edge to the caption
constexpr int kCaptionPadding = 2;  // background kept clear either side of the caption
}  // namespace

Frame::Frame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void Frame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    // The border runs through the middle of the caption's line, as a group frame's does.
    const int borderTop = metrics.height() / 2;
    const QRect border(0, borderTop, width(), height() - borderTop);
    qDrawShadeRect(&painter, border, palette(), true, 1);

    if (title().isEmpty())
        return;
    const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                          title(), QPalette::WindowText);
}

}  // namespace ctl
