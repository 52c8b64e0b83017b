// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A horizontal scroll bar whose Change is raised by the user (an arrow, the trough,
// the keyboard, the end of a thumb drag) and by every value that code sets, also an
// unchanged one, so the label beside it always shows the value. A value outside the
// range is refused with the run time's error. A click or Tab gives it the focus; then
// Left/Up and Right/Down move by the small change, PageUp and PageDown by the large one,
// Home and End go to the ends. Nothing else moves it: not the wheel, not the middle
// button's jump to the pointer, not the toolkit's menu of scroll commands.

#include <QScrollBar>
#include <cstdint>

namespace ctl {

class HScrollBar : public QScrollBar {
    Q_OBJECT
public:
    HScrollBar(QWidget* parent, int min, int max, int value);

    std::int16_t Value() const { return static_cast<std::int16_t>(value()); }
    void setValueChecked(int value);  // throws core::RuntimeError 380 outside Min..Max

Q_SIGNALS:
    void Change();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool settingByCode_ = false;
};

}  // namespace ctl
