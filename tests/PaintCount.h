// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The paint events a widget has received: what reached the screen, where a grab would paint afresh.

#include <QEvent>
#include <QWidget>

namespace testsupport {

class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget* widget) { widget->installEventFilter(this); }
    int n = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        n += event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace testsupport
