// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A label that works as a link. A click on it (a left press and a left release, both on it) says
// Click, and so do Enter and Space while it has the keyboard focus, which it takes by Tab and
// shows with the style's focus frame. Screen readers are told it is a link named by its text.

#include <QLabel>

namespace ctl {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);

Q_SIGNALS:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;  // a left press on the label, not released yet
};

}  // namespace ctl
