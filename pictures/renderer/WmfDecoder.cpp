// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "pictures/renderer/WmfDecoder.h"

#include "pictures/renderer/DrawnSize.h"
#include "pictures/MetafileHeaders.h"
#include "pictures/PictureFormat.h"
#include "pictures/PictureErrors.h"
#include "pictures/PictureLimits.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>

namespace pictures {

namespace {

constexpr std::int64_t kStandardHeaderBytes = 18;
constexpr std::uint16_t kSetWindowOrg = 0x020B;

struct ApiDeleter {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};
using Api = std::unique_ptr<wmfAPI, ApiDeleter>;

// libwmf's gd layer fills an ellipse as a chord from 0 to 360 degrees, which is empty,
// and a chord as a triangle. Both are drawn here as polygons through the same layer,
// so the brush and pen apply as they do to any polygon.
void (*gdDrawPolygon)(wmfAPI*, wmfPolyLine_t*) = nullptr;

// The gd layer draws a wide pen point by point, so a pen thousands of pixels wide takes it
// minutes. No picture needs a pen wider than this many pixels; wider ones are drawn this wide.
constexpr double kMaxPenPixels = 64;
double maxPenUnits = 0;  // kMaxPenPixels in device units, set for each play

void limitPen(wmfDC* dc) {
    if (!dc || !dc->pen || maxPenUnits <= 0)
        return;
    dc->pen->width = std::min(dc->pen->width, maxPenUnits);
    dc->pen->height = std::min(dc->pen->height, maxPenUnits);
}

// Every drawing function of the layer, with the pen limited first.
float toFloat(double v) {
    constexpr double kFar = 1e9;  // far off any page, still exact enough and a float
    return static_cast<float>(std::clamp(v, -kFar, kFar));
}

void drawArcAsPolygon(wmfAPI* api, const wmfDrawArc_t& arc, bool whole) {
    const double cx = (arc.TL.x + arc.BR.x) / 2.0, cy = (arc.TL.y + arc.BR.y) / 2.0;
    const double rx = std::abs(arc.BR.x - arc.TL.x) / 2.0, ry = std::abs(arc.BR.y - arc.TL.y) / 2.0;
    if (rx <= 0 || ry <= 0 || !gdDrawPolygon)
        return;
    double from = 0, to = 2 * std::numbers::pi;
    if (!whole) {  // the angles of the points on the ellipse in the start and end directions
        from = std::atan2(arc.start.y / ry, arc.start.x / rx);
        to = std::atan2(arc.end.y / ry, arc.end.x / rx);
        if (to <= from)
            to += 2 * std::numbers::pi;
    }
    constexpr int kSteps = 96;
    std::array<wmfD_Coord, kSteps + 1> points{};
    for (int i = 0; i <= kSteps; ++i) {
        const double a = from + (to - from) * i / kSteps;
        points[i] = {toFloat(cx + rx * std::cos(a)), toFloat(cy + ry * std::sin(a))};
    }
    limitPen(arc.dc);
    wmfPolyLine_t polygon{arc.dc, points.data(), static_cast<U16>(whole ? kSteps : kSteps + 1)};
    gdDrawPolygon(api, &polygon);
}

void drawEllipse(wmfAPI* api, wmfDrawArc_t* arc) { drawArcAsPolygon(api, *arc, true); }
void drawChord(wmfAPI* api, wmfDrawArc_t* arc) { drawArcAsPolygon(api, *arc, false); }

template <class Draw>
struct PenLimited {
    static inline void (*original)(wmfAPI*, Draw*) = nullptr;
    static void draw(wmfAPI* api, Draw* shape) {
        limitPen(shape->dc);
        if (original)
            original(api, shape);
    }
    static void wrap(void (*&slot)(wmfAPI*, Draw*)) {
        original = slot;
        slot = &draw;
    }
};

// A play that runs longer than this stops between records: the picture is refused rather than
// leaving the program unresponsive.
constexpr auto kPlayBudget = std::chrono::seconds(2);

int stopWhenOverBudget(void* context, float) {
    const auto* deadline = static_cast<const std::chrono::steady_clock::time_point*>(context);
    return std::chrono::steady_clock::now() > *deadline ? 1 : 0;
}

int appendToBuffer(void* context, char* data, int length) {
    if (length > 0)
        static_cast<QByteArray*>(context)->append(data, length);
    return length;
}

Api createApi() {
    wmfAPI* raw = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    const wmf_error_t error = wmf_api_create(&raw, flags, &options);
    Api api(raw);
    if (error != wmf_E_None)
        return nullptr;
    auto* functions = static_cast<wmfFunctionReference*>(api->function_reference);
    gdDrawPolygon = functions->draw_polygon;
    functions->draw_ellipse = drawEllipse;
    functions->draw_chord = drawChord;
    PenLimited<wmfDrawArc_t>::wrap(functions->draw_pie);
    PenLimited<wmfDrawArc_t>::wrap(functions->draw_arc);
    PenLimited<wmfDrawLine_t>::wrap(functions->draw_line);
    PenLimited<wmfPolyLine_t>::wrap(functions->poly_line);
    PenLimited<wmfPolyLine_t>::wrap(functions->draw_polygon);
    PenLimited<wmfPolyPoly_t>::wrap(functions->draw_polypolygon);
    PenLimited<wmfDrawRectangle_t>::wrap(functions->draw_rectangle);
    return api;
}

// One play of the scanned metafile into an image of `size` pixels showing `frame`
// (in libwmf's device units).
QImage play(wmfAPI* api, const wmfD_Rect& frame, QSize size) {
    QByteArray png;
    auto* device = WMF_GD_GetData(api);
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = appendToBuffer;
    device->bbox = frame;
    device->width = static_cast<unsigned>(size.width());
    device->height = static_cast<unsigned>(size.height());
    const double frameWidth = std::max<double>(frame.BR.x - frame.TL.x, 1e-6);
    maxPenUnits = kMaxPenPixels * frameWidth / std::max(size.width(), 1);
    const auto deadline = std::chrono::steady_clock::now() + kPlayBudget;
    wmf_status_function(api, const_cast<std::chrono::steady_clock::time_point*>(&deadline), &stopWhenOverBudget);
    wmfD_Rect played = frame;
    if (wmf_play(api, 0, &played) != wmf_E_None)
        return {};
    return QImage::fromData(png, "PNG");
}

}  // namespace

std::optional<WmfLayout> readWmfLayout(const Bytes& b) {
    WmfLayout layout;
    std::int64_t at = 0;
    if (b.u32(0) == kPlaceableKey) {
        const auto left = b.s16(6), top = b.s16(8), right = b.s16(10), bottom = b.s16(12);
        const auto inch = b.u16(14);
        if (!left || !top || !right || !bottom || !inch || *inch == 0)
            return std::nullopt;
        layout.placeable = true;
        layout.frame = QRectF(QPointF(*left, *top), QPointF(*right, *bottom)).normalized();
        layout.unitsPerInch = *inch;
        at = kPlaceableHeaderBytes;
    }
    const auto maxRecordWords = b.u32(at + 12);
    if (!isStandardWmfHeader(b, at) || !maxRecordWords)
        return std::nullopt;
    // The player allocates a buffer of the largest record's size before reading any.
    if (std::int64_t{*maxRecordWords} * 2 > b.size())
        return std::nullopt;
    // The record chain must end with the end-of-file record inside the data, each record
    // no longer than the header's maximum: the player trusts both.
    for (std::int64_t pos = at + kStandardHeaderBytes;;) {
        const auto words = b.u32(pos);
        const auto function = b.u16(pos + 4);
        if (!words || !function || *words < 3 || *words - 3 > *maxRecordWords)
            return std::nullopt;
        if (*words == 3 && *function == 0)
            return layout;
        if (*function == kSetWindowOrg)
            layout.setsWindowOrigin = true;
        const std::int64_t bytes = std::int64_t{*words} * 2;
        if (!b.has(pos, bytes))
            return std::nullopt;
        pos += bytes;
    }
}

core::Picture renderWmf(const QByteArray& data, const QString& name) {
    const auto layout = readWmfLayout(Bytes(data));
    if (!layout)
        throw corrupt(name, Format::Wmf);

    QSize size;
    if (layout->placeable) {
        const double perInch = layout->unitsPerInch;
        size = naturalSize(layout->frame.width() * kScreenDpi / perInch, layout->frame.height() * kScreenDpi / perInch,
                           name, Format::Wmf);
    }

    const Api api = createApi();
    if (!api)
        throw corrupt(name, Format::Wmf);
    QByteArray bytes = data;  // the player's input is not const
    wmfD_Rect scanned{};
    if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()) != wmf_E_None ||
        wmf_scan(api.get(), 0, &scanned) != wmf_E_None)
        throw corrupt(name, Format::Wmf);

    wmfD_Rect frame = scanned;
    if (layout->placeable) {
        // The player's device unit for a placeable file is the point, counted from the window
        // origin. A file that sets its own origin puts it at the page's top-left corner, as
        // Windows plays it; otherwise the origin stays 0 and the header's box is the page.
        const double scale = 72.0 / layout->unitsPerInch;
        const QPointF origin = layout->setsWindowOrigin ? layout->frame.topLeft() : QPointF();
        const QRectF page = layout->frame.translated(-origin);
        frame.TL = {static_cast<float>(page.left() * scale), static_cast<float>(page.top() * scale)};
        frame.BR = {static_cast<float>(page.right() * scale), static_cast<float>(page.bottom() * scale)};
    } else {
        // Without a header box the drawing's own extent is the page, one device unit a pixel.
        size = naturalSize(std::ceil(scanned.BR.x - scanned.TL.x), std::ceil(scanned.BR.y - scanned.TL.y), name,
                           Format::Wmf);
    }

    const QImage base = play(api.get(), frame, size);
    if (base.isNull())
        throw corrupt(name, Format::Wmf);
    const QSize doubled = size * 2;
    QImage hi = fitsRenderLimits(doubled) ? play(api.get(), frame, doubled) : QImage();
    return core::Picture(base, std::move(hi));
}

}  // namespace pictures
