// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/ChildDrag.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace platform {

namespace {

class DragFilter : public QObject {
public:
    DragFilter(QWidget* child, QEventLoop& loop)
        : child_(child), loop_(loop), startPointer_(QCursor::pos()), startPlace_(child->pos()) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (child_)
                child_->move(startPlace_ + (insideWindow(e->globalPosition().toPoint()) - startPointer_));
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                end();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                if (child_)
                    child_->move(startPlace_);  // a cancelled move puts the child back
                end();
            }
            return true;
        case QEvent::ApplicationDeactivate:
            end();  // the pointer went to another program: the button is no longer ours
            return false;
        default:
            return false;
        }
    }

private:
    // Events queued behind the one that ends the drag are delivered before the loop returns:
    // they are no longer the drag's, so the filter leaves at once.
    void end() {
        qApp->removeEventFilter(this);
        loop_.quit();
    }

    // The pointer counts only as far as the window's client area reaches, as if held inside
    // it, so the child can end partly outside but never wholly out of sight.
    QPoint insideWindow(const QPoint& global) const {
        const QWidget* window = child_->window();
        const QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
        return {std::clamp(global.x(), area.left(), area.right()), std::clamp(global.y(), area.top(), area.bottom())};
    }

    QPointer<QWidget> child_;
    QEventLoop& loop_;
    QPoint startPointer_;
    QPoint startPlace_;
};

}  // namespace

void dragChildWindow(QWidget* child) {
    if (!(QApplication::mouseButtons() & Qt::LeftButton))
        return;  // the button is already up: nothing to drag
    QEventLoop loop;
    DragFilter filter(child, loop);
    qApp->installEventFilter(&filter);
    child->grabMouse();
    loop.exec(QEventLoop::ExcludeSocketNotifiers);  // the filter has left when it returns
    child->releaseMouse();
}

}  // namespace platform
