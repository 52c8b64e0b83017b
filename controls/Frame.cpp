// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/Frame.h"

#include <QApplication>
#include <QChildEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <qdrawutil.h>

namespace ctl {

namespace {
constexpr int kCaptionIndent = 8;   // pixels from the frame's left edge to the caption
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
    const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding, metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}

void Frame::childEvent(QChildEvent* event) {
    // A child is told of before it is fully made, so what kind it is is asked when it takes the focus.
    if (event->added())
        event->child()->installEventFilter(this);
    QGroupBox::childEvent(event);
}

bool Frame::eventFilter(QObject* watched, QEvent* event) {
    // The toolkit enters the group at its first or last button by Tab or Shift+Tab; the user expects
    // the selected one either way, as the arrow keys then move from there.
    auto* option = qobject_cast<QRadioButton*>(watched);
    if (option && event->type() == QEvent::FocusIn && !option->isChecked()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            for (QRadioButton* other : findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
                if (other->isChecked() && other->isEnabled()) {
                    other->setFocus(reason);
                    break;
                }
    }
    return QGroupBox::eventFilter(watched, event);
}

bool Frame::focusNextPrevChild(bool next) {
    // From one of the options, Tab and Shift+Tab leave the group, past its other buttons.
    QWidget* const from = QApplication::focusWidget();
    const auto inGroup = [this](QWidget* w) { return w->parentWidget() == this && qobject_cast<QRadioButton*>(w); };
    if (!from || !inGroup(from))
        return QGroupBox::focusNextPrevChild(next);
    QWidget* to = from;
    do
        to = next ? to->nextInFocusChain() : to->previousInFocusChain();
    while (to != from && (inGroup(to) || !(to->focusPolicy() & Qt::TabFocus) || !to->isEnabled() || !to->isVisible()));
    if (to == from)
        return false;
    to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

}  // namespace ctl

#include "moc_Frame.cpp"
