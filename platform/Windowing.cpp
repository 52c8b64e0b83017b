#include "platform/Windowing.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <xcb/xcb.h>

namespace platform {

QRegion roundRectRegion(int x1, int y1, int x2, int y2, int w, int h) {
    const int right = x2 - 1;   // first column outside
    const int bottom = y2 - 1;  // first row outside
    if (right <= x1 || bottom <= y1)
        return {};
    const double rx = std::min(w, right - x1) / 2.0;
    const double ry = std::min(h, bottom - y1) / 2.0;
    const int rows = bottom - y1;
    QRegion region;
    for (int i = 0; i < rows; ++i) {
        // Distance of the row's centre from the nearer edge decides the inset, so row i from the
        // top and row i from the bottom get the same inset.
        const int fromEdge = std::min(i, rows - 1 - i);
        double inset = 0.0;
        const double dy = ry - (fromEdge + 0.5);
        if (ry > 0 && dy > 0) {
            const double t = dy / ry;
            inset = rx - rx * std::sqrt(std::max(0.0, 1.0 - t * t));
        }
        const int cut = static_cast<int>(std::lround(inset));
        const int left = x1 + cut;
        const int width = (right - x1) - 2 * cut;
        if (width > 0)
            region += QRect(left, y1 + i, width, 1);
    }
    return region;
}

void setWindowRegion(QWidget* window, const QRegion& region) { window->setMask(region); }

void makeTopmost(QWidget* window) {
    if (QWindow* handle = window->windowHandle()) {
        // Changing the flag on the native window keeps it mapped, unlike QWidget::setWindowFlags.
        handle->setFlag(Qt::WindowStaysOnTopHint, true);
        window->overrideWindowFlags(window->windowFlags() | Qt::WindowStaysOnTopHint);
    } else {
        window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    window->show();
    window->raise();
}

void syncWithDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return;
    xcb_connection_t* connection = x11->connection();
    if (!connection)
        return;
    xcb_flush(connection);
    // A request with a reply: when it arrives, the server has handled everything before it.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace platform

#include <QScreen>

namespace platform {

QPoint reachablePlace(const QRect& frame, const QRect& titleBar) {
    const auto screens = QGuiApplication::screens();
    for (const QScreen* screen : screens)
        if (screen->geometry().intersects(titleBar))
            return frame.topLeft();
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry().topLeft() : frame.topLeft();
}

}  // namespace platform
