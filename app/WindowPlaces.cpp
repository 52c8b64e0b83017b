// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "app/WindowPlaces.h"

#include <algorithm>

namespace placement {

namespace {

bool shows(const Window& window, const QList<Screen>& screens) {
    return std::any_of(screens.begin(), screens.end(),
                       [&](const Screen& s) { return s.geometry.intersects(window.titleBar); });
}

// How far apart two rectangles lie: 0 when they touch or overlap.
long long gap(const QRect& a, const QRect& b) {
    const long long dx = std::max({0LL, (long long)b.left() - a.right(), (long long)a.left() - b.right()});
    const long long dy = std::max({0LL, (long long)b.top() - a.bottom(), (long long)a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

// The first screen (the primary, as the window system lists it) wins a tie.
const Screen& nearest(const QRect& rect, const QList<Screen>& screens) {
    return *std::min_element(screens.begin(), screens.end(), [&](const Screen& a, const Screen& b) {
        return gap(rect, a.geometry) < gap(rect, b.geometry);
    });
}

// The shortest move that brings rect within area; its top-left corner to area's where it is larger.
QPoint shiftInto(const QRect& rect, const QRect& area) {
    const auto along = [](int start, int length, int areaStart, int areaLength) {
        if (length >= areaLength)
            return areaStart - start;
        return std::clamp(start, areaStart, areaStart + areaLength - length) - start;
    };
    return {along(rect.left(), rect.width(), area.left(), area.width()),
            along(rect.top(), rect.height(), area.top(), area.height())};
}

QPoint movedOnto(const QRect& frame, const QList<Screen>& screens) {
    return frame.topLeft() + shiftInto(frame, nearest(frame, screens).available);
}

}  // namespace

Corners reachableCorners(const Window& bus, const Window& panel, const QList<Screen>& screens) {
    Corners places{bus.frame.topLeft(), panel.frame.topLeft()};
    if (screens.isEmpty())
        return places;
    const bool busShows = shows(bus, screens);
    const bool panelShows = shows(panel, screens);
    if (!busShows && !panelShows) {
        const QRect both = bus.frame.united(panel.frame);
        const QRect area = nearest(both, screens).available;
        if (both.width() <= area.width() && both.height() <= area.height()) {
            const QPoint shift = shiftInto(both, area);
            return {places.bus + shift, places.panel + shift};
        }
    }
    if (!busShows)
        places.bus = movedOnto(bus.frame, screens);
    if (!panelShows)
        places.panel = movedOnto(panel.frame, screens);
    return places;
}

}  // namespace placement
