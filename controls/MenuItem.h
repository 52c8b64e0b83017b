#pragma once
// A menu item whose check mark changes only when code sets it (Qt's checkable
// actions toggle themselves when triggered; the handlers read the mark first).

#include <QAction>

namespace ctl {

class MenuItem : public QAction {
    Q_OBJECT
public:
    // Items that never carry a check mark are made with checkable false and show no indicator.
    MenuItem(const QString& caption, QObject* parent, bool checkable = false, bool checked = false);

    bool Checked() const { return checked_; }
    void setChecked(bool checked);

Q_SIGNALS:
    void Click();

private:
    bool checked_;
};

}  // namespace ctl
