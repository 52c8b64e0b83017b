// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/Windowing.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <thread>
#include <cstdlib>
#include <vector>
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

namespace {

// An xcb reply, freed as xcb wants it freed.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The atoms this file uses, interned together in one round trip the first time one is needed.
struct Atoms {
    xcb_atom_t requestFrameExtents, frameExtents, supported, state, skipTaskbar, skipPager, motifHints;
};

const Atoms& atomsOf(xcb_connection_t* c) {
    static const Atoms atoms = [c] {
        const char* const names[] = {
            "_NET_REQUEST_FRAME_EXTENTS", "_NET_FRAME_EXTENTS",       "_NET_SUPPORTED", "_NET_WM_STATE",
            "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_MOTIF_WM_HINTS"};
        constexpr int count = std::size(names);
        xcb_intern_atom_cookie_t cookies[count];
        for (int i = 0; i < count; ++i)
            cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
        xcb_atom_t found[count];
        for (int i = 0; i < count; ++i) {
            const Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c, cookies[i], nullptr));
            found[i] = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        }
        return Atoms{found[0], found[1], found[2], found[3], found[4], found[5], found[6]};
    }();
    return atoms;
}

// The 32-bit values of a window property (empty when it is not set).
std::vector<uint32_t> cardinals(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    std::vector<uint32_t> values;
    const Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 4096), nullptr));
    if (r && r->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
        values.assign(data, data + xcb_get_property_value_length(r.get()) / 4);
    }
    return values;
}

}  // namespace

std::optional<QMargins> frameExtentsBeforeShow(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // Both windows ask before they are shown: whether a window manager that answers such
    // requests runs is learnt once.
    const Atoms& atoms = atomsOf(c);
    static const std::vector<uint32_t> supported = cardinals(c, root, atoms.supported, XCB_ATOM_ATOM);
    const xcb_atom_t request = atoms.requestFrameExtents;
    const xcb_atom_t extents = atoms.frameExtents;
    if (supported.empty())
        return QMargins();  // no window manager: no frame
    if (std::find(supported.begin(), supported.end(), request) == supported.end())
        return std::nullopt;

    const auto w = static_cast<xcb_window_t>(window->winId());
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = w;
    message.type = request;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    // The window manager answers by setting the property; it does so at once, but give it a moment.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    do {
        const std::vector<uint32_t> v = cardinals(c, w, extents, XCB_ATOM_CARDINAL);
        if (v.size() == 4)
            return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                            static_cast<int>(v[3]));
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

void keepOffTaskbar(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return;
    const Atoms& atoms = atomsOf(c);
    const xcb_atom_t states[] = {atoms.skipTaskbar, atoms.skipPager};
    // Before the window is mapped the state is the window's own property; the toolkit adds its
    // own states to it when it shows the window.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window->winId()), atoms.state, XCB_ATOM_ATOM,
                        32, std::size(states), states);
}

void offerMoveOnly(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return;
    // flags, functions, decorations, input mode, status: the functions and decorations are given,
    // moving the one function, a border and a title bar the decorations.
    enum : uint32_t { kFunctions = 1u << 0, kDecorations = 1u << 1 };
    enum : uint32_t { kFunctionMove = 1u << 2 };
    enum : uint32_t { kDecorBorder = 1u << 1, kDecorTitle = 1u << 3 };
    const uint32_t hints[5] = {kFunctions | kDecorations, kFunctionMove, kDecorBorder | kDecorTitle, 0, 0};
    const xcb_atom_t atom = atomsOf(c).motifHints;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), atom, atom, 32,
                        std::size(hints), hints);
}

void syncWithDisplay() {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    xcb_flush(connection);
    // A request with a reply: when it arrives, the server has handled everything before it.
    Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace platform
