// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/LinkLabel.h"

#include "controls/Accessibility.h"
#include "controls/Look.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ctl {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // Tab only: a click opens the link and leaves the keyboard where it was.
    setFocusPolicy(Qt::TabFocus);
    presentAsLink(this);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(event);
    pressed_ = true;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return QLabel::mouseReleaseEvent(event);
    pressed_ = false;
    event->accept();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT Click();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    const bool opens = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    if (!opens || event->modifiers() != Qt::NoModifier)
        return QLabel::keyPressEvent(event);  // to the dialog: Esc, and Enter with a modifier
    // Taken here, Enter opens the link, not the dialog's default button; a held key opens it once.
    event->accept();
    if (!event->isAutoRepeat())
        Q_EMIT Click();
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus())
        paintFocusFrame(this);
}

}  // namespace ctl

#include "moc_LinkLabel.cpp"
