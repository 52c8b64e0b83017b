// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/HScrollBar.h"

#include "controls/Look.h"
#include "core/RuntimeError.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace ctl {

HScrollBar::HScrollBar(QWidget* parent, int min, int max, int value) : QScrollBar(Qt::Horizontal, parent) {
    setRange(min, max);
    setSingleStep(1);
    setPageStep(1);
    setValue(value);
    // A drag of the thumb reports its value once, when the thumb is released.
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(this, &QScrollBar::valueChanged, this, [this] {
        if (!settingByCode_)
            Q_EMIT Change();
    });
}

void HScrollBar::setValueChecked(int v) {
    if (v < minimum() || v > maximum())
        throw core::RuntimeError(core::err::kInvalidPropertyValue, QStringLiteral("プロパティの値が不正です。"));
    settingByCode_ = true;
    setValue(v);
    settingByCode_ = false;
    Q_EMIT Change();
}

void HScrollBar::keyPressEvent(QKeyEvent* event) {
    // Up and PageUp go toward the minimum, as on any scroll bar: the toolkit's own horizontal
    // bar turns Left and Right around.
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    case Qt::Key_Home:
        action = SliderToMinimum;
        break;
    case Qt::Key_End:
        action = SliderToMaximum;
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    triggerAction(action);  // sets the value, so Change follows as for a click
    event->accept();
}

void HScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QScrollBar::mousePressEvent(event);
}

void HScrollBar::wheelEvent(QWheelEvent* event) { event->ignore(); }

void HScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    // Not every style marks a focused scroll bar: draw the focus frame it draws around other controls.
    if (hasFocus())
        paintFocusFrame(this);
}

}  // namespace ctl

#include "moc_HScrollBar.cpp"
