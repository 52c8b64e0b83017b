// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/TopmostWindow.h"

#include "platform/Windowing.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace platform {

namespace {

// Changing the flag on the native window keeps it mapped, unlike QWidget::setWindowFlags.
void setStaysOnTop(QWidget* window, bool on) {
    if (QWindow* handle = window->windowHandle()) {
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
        window->overrideWindowFlags(window->windowFlags().setFlag(Qt::WindowStaysOnTopHint, on));
    } else {
        window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    }
}

// Lives as long as the kept window, a child of it; watches the window's state and every window
// of the program that is shown or hidden.
class TopmostKeeper : public QObject {
public:
    explicit TopmostKeeper(QWidget* window) : QObject(window), window_(window) {
        qApp->installEventFilter(this);  // the application's filters see the kept window's events too
        window->show();
        setAbove(true);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::WindowStateChange:
            if (watched == window_ && window_->isMinimized())
                QTimer::singleShot(0, this, &TopmostKeeper::showAgain);  // once the toolkit has taken the change in
            break;
        case QEvent::Show:
            if (auto* shown = modalWindow(watched))
                modalShown(shown);
            break;
        case QEvent::Hide:
            if (auto* hidden = modalWindow(watched))
                modalGone(hidden);
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget* modalWindow(QObject* object) const {
        auto* widget = qobject_cast<QWidget*>(object);
        return widget && widget != window_ && widget->isWindow() && widget->isModal() ? widget : nullptr;
    }

    // Stepping down, it stays above the program's other windows, under the modal ones.
    void setAbove(bool above) {
        setStaysOnTop(window_, above);
        offerMoveOnly(window_);  // the toolkit has written its own hints with the flags
        window_->raise();
    }

    void showAgain() {
        if (!window_->isMinimized())
            return;
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);  // maps it again
        window_->raise();
    }

    // The modal window joins the topmost windows before it is mapped, and so comes in above this
    // one; this one steps down from them meanwhile, so that no click on it can bring it back over.
    void modalShown(QWidget* modal) {
        if (std::find(modals_.begin(), modals_.end(), modal) != modals_.end())
            return;
        setStaysOnTop(modal, true);
        modals_.emplace_back(modal);
        connect(modal, &QObject::destroyed, this, [this] { modalGone(nullptr); });
        if (modals_.size() == 1)
            setAbove(false);
    }

    void modalGone(QWidget* modal) {
        const auto before = modals_.size();
        std::erase_if(modals_, [modal](const QPointer<QWidget>& m) { return m.isNull() || m == modal; });
        if (before > 0 && modals_.empty())
            setAbove(true);
    }

    QWidget* const window_;
    std::vector<QPointer<QWidget>> modals_;  // the program's modal windows now shown
};

}  // namespace

void keepTopmost(QWidget* window) { new TopmostKeeper(window); }

}  // namespace platform
