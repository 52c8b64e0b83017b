// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// A window's place on a real X server with a window manager: the place given before the show
// is the one read back, also in the moment after the show before the window manager has framed
// the window, which is when a session that ends during a slow start saves it. And the frame a
// window manager announces, taken side by side.

#include "controls/Form.h"

#include <QApplication>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// A window manager whose frames are unequal on every side (left 7, right 3, top 20, bottom 4),
// as much of one as a window asks of it before it is shown: it lists _NET_REQUEST_FRAME_EXTENTS
// as supported and answers each request, from its own connection, by setting the window's
// _NET_FRAME_EXTENTS. It frames nothing and maps nothing, so it runs with no other window manager.
class UnequalFramer {
public:
    UnequalFramer() : c_(xcb_connect(nullptr, nullptr)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const xcb_atom_t supported = atom("_NET_SUPPORTED");
        request_ = atom("_NET_REQUEST_FRAME_EXTENTS");
        extents_ = atom("_NET_FRAME_EXTENTS");
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root, XCB_CW_EVENT_MASK, &mask);
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, root, supported, XCB_ATOM_ATOM, 32, 1, &request_);
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));  // all of it done
        answering_ = std::jthread([this](const std::stop_token& stop) { answer(stop); });
    }
    ~UnequalFramer() {
        answering_ = {};
        xcb_disconnect(c_);
    }
    UnequalFramer(const UnequalFramer&) = delete;
    UnequalFramer& operator=(const UnequalFramer&) = delete;

private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }
    void answer(const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            xcb_generic_event_t* e = xcb_poll_for_event(c_);
            if (!e) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e);
            if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE && m->type == request_) {
                const uint32_t leftRightTopBottom[] = {7, 3, 20, 4};
                xcb_change_property(c_, XCB_PROP_MODE_REPLACE, m->window, extents_, XCB_ATOM_CARDINAL, 32, 4,
                                    leftRightTopBottom);
                xcb_flush(c_);
            }
            std::free(e);
        }
    }

    xcb_connection_t* const c_;
    xcb_atom_t request_ = XCB_ATOM_NONE;
    xcb_atom_t extents_ = XCB_ATOM_NONE;
    std::jthread answering_;
};

}  // namespace

class TestFormFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void placeGivenIsPlaceRead() {
        ctl::Form form;
        form.resize(300, 200);
        form.Move(100 * 15, 120 * 15);
        QCOMPARE(form.Left(), 1500.0f);
        QCOMPARE(form.Top(), 1800.0f);
        const QMargins announced = form.frameMargins();
        QVERIFY2(announced.top() > 1, "no window manager announced a title bar");

        form.show();
        // No event handled yet: Qt does not know the frame and takes the client area for it.
        QCOMPARE(form.frameGeometry(), form.geometry());
        QCOMPARE(form.Left(), 1500.0f);
        QCOMPARE(form.Top(), 1800.0f);

        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(form.frameGeometry() != form.geometry());
        QCOMPARE(form.frameMargins(), announced);
        QCOMPARE(form.Left(), 1500.0f);
        QCOMPARE(form.Top(), 1800.0f);
        QCOMPARE(form.frameGeometry().topLeft(), QPoint(100, 120));
    }

    // Each side of the announced frame where the window manager has it: the client area is
    // placed inside the frame's left and top, the size grows by all four.
    void anUnequalFrame() {
        const UnequalFramer framer;
        ctl::Form form;
        form.resize(300, 200);
        form.Move(100 * 15, 120 * 15);
        QCOMPARE(form.frameMargins(), QMargins(7, 20, 3, 4));
        QCOMPARE(form.geometry().topLeft(), QPoint(107, 140));
        QCOMPARE(form.Left(), 1500.0f);
        QCOMPARE(form.Top(), 1800.0f);
        QCOMPARE(form.Width(), 310.0f * 15);
        QCOMPARE(form.Height(), 224.0f * 15);
    }
};

QTEST_MAIN(TestFormFrame)
#include "tst_form_frame.moc"
