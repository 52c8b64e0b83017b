// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A frame around a group of controls: an etched border with its caption set into the
// top edge, drawn the same under every widget style. Children keep the places their
// form gives them; the frame lays nothing out.

#include <QGroupBox>

namespace ctl {

class Frame : public QGroupBox {
    Q_OBJECT
public:
    Frame(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ctl
