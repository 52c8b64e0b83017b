// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/MenuItem.h"

namespace ctl {

MenuItem::MenuItem(const QString& caption, QObject* parent, bool checked)
    : QAction(caption, parent), checked_(checked) {
    setChecked(checked);
    connect(this, &QAction::triggered, this, [this] {
        QAction::setChecked(checked_);  // undo Qt's own toggle; the handler decides
        Q_EMIT Click();
    });
}

void MenuItem::setChecked(bool checked) {
    checked_ = checked;
    QAction::setCheckable(checked);
    QAction::setChecked(checked);
}

}  // namespace ctl

#include "moc_MenuItem.cpp"
