// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A menu item whose check mark changes only when code sets it (Qt's checkable
// actions toggle themselves when triggered; the handlers read the mark first).
// An item without its mark shows nothing where the mark would be: Qt draws an empty
// box for an unchecked checkable action, so the item is checkable only while checked.

#include <QAction>

namespace ctl {

class MenuItem : public QAction {
    Q_OBJECT
public:
    MenuItem(const QString& caption, QObject* parent, bool checked = false);

    bool Checked() const { return checked_; }
    void setChecked(bool checked);

Q_SIGNALS:
    void Click();

private:
    bool checked_;
};

}  // namespace ctl
