// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A frame around a group of controls: an etched border with its caption set into the
// top edge, drawn the same under every widget style. Children keep the places their
// form gives them; the frame lays nothing out. The option buttons in it are one group,
// which the keyboard enters at the selected one, from either side.

#include <QGroupBox>

namespace ctl {

class Frame : public QGroupBox {
    Q_OBJECT
public:
    Frame(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
};

}  // namespace ctl
