// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/Accessibility.h"

#include "controls/GraphicalCheckBox.h"
#include "controls/Surface.h"
#include "controls/WindowlessControl.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <algorithm>

namespace ctl {

namespace {

constexpr char kLinkProperty[] = "tarvolaLink";

// A switch: a push button that stays pressed while it is on.
class SwitchInterface : public QAccessibleWidget {
public:
    explicit SwitchInterface(GraphicalCheckBox* box) : QAccessibleWidget(box, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = s.pressed = static_cast<GraphicalCheckBox*>(widget())->isChecked();
        return s;
    }
    QStringList actionNames() const override { return QStringList{toggleAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override {
        if (name == toggleAction())
            static_cast<GraphicalCheckBox*>(widget())->click();  // as a click: the door moves
        else
            QAccessibleWidget::doAction(name);
    }
};

// A named windowless image, placed as its window paints it.
class WindowlessInterface : public QAccessibleObject {
public:
    explicit WindowlessInterface(WindowlessControl* control) : QAccessibleObject(control), control_(control) {}

    bool isValid() const override { return control_ && control_->host(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(control_->host()); }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? control_->accessibleName() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QRect rect() const override {
        const QRect r = control_->pixelRect();
        return {control_->host()->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !control_->Visible() || !control_->host()->isVisible();
        return s;
    }

private:
    QPointer<WindowlessControl> control_;
};

// A window or picture box: its child windows, then the windowless controls it paints that carry
// a name, topmost first, so that the toolkit's search by point finds what lies on top.
class SurfaceInterface : public QAccessibleWidget {
public:
    explicit SurfaceInterface(Surface* surface)
        : QAccessibleWidget(surface, surface->isWindow() ? QAccessible::Window : QAccessible::Graphic) {}

    int childCount() const override { return QAccessibleWidget::childCount() + static_cast<int>(named().size()); }
    QAccessibleInterface* child(int index) const override {
        const int windows = QAccessibleWidget::childCount();
        if (index < windows)
            return QAccessibleWidget::child(index);
        const QList<WindowlessControl*> controls = named();
        return index - windows < controls.size() ? QAccessible::queryAccessibleInterface(controls[index - windows])
                                                 : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* control = child ? qobject_cast<WindowlessControl*>(child->object()) : nullptr;
        if (!control)
            return QAccessibleWidget::indexOfChild(child);
        const int at = static_cast<int>(named().indexOf(control));
        return at < 0 ? -1 : QAccessibleWidget::childCount() + at;
    }

private:
    QList<WindowlessControl*> named() const {
        QList<WindowlessControl*> controls = widget()->findChildren<WindowlessControl*>(Qt::FindDirectChildrenOnly);
        controls.removeIf([](const WindowlessControl* c) { return c->accessibleName().isEmpty(); });
        std::reverse(controls.begin(), controls.end());  // made bottom first
        return controls;
    }
};

// The toolkit keeps each interface made here in its cache and deletes it with its object.
QAccessibleInterface* describe(const QString& /*className*/, QObject* object) {
    if (auto* box = qobject_cast<GraphicalCheckBox*>(object))
        return new SwitchInterface(box);
    if (auto* surface = qobject_cast<Surface*>(object))
        return new SurfaceInterface(surface);
    if (auto* control = qobject_cast<WindowlessControl*>(object))
        return new WindowlessInterface(control);
    if (auto* widget = qobject_cast<QWidget*>(object); widget && widget->property(kLinkProperty).toBool())
        return new QAccessibleWidget(widget, QAccessible::Link);
    return nullptr;
}

}  // namespace

void installAccessibleInterfaces() { QAccessible::installFactory(describe); }

void presentAsLink(QLabel* label) {
    label->setProperty(kLinkProperty, true);
    // Setting its text has described the label already, as text: describe it afresh.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(label)));
    label->setAccessibleName(label->text());
}

}  // namespace ctl
