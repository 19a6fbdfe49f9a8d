#include "toolkit/widgets/drawing_area.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"

#include <cstdint>

namespace {

WkDrawingAreaData* Data(WkObject* area) { return static_cast<WkDrawingAreaData*>(area->classRecord); }

bool Live(const WkObject* area) {
    const std::uint16_t bits = WK_STATE_SENSITIVE | WK_STATE_ACTIVE;
    return (area->state & bits) == bits;
}

void ToInput(WkObject* area, WkMessage* m) {
    WkDrawingAreaData* d = Data(area);
    if (d->input && Live(area)) d->input(area, m, d->inputData);
}

void Resize(WkObject* area, WkMessage* m) {
    WkDrawingAreaData* d = Data(area);
    WkDrawingAreaSize size{area->width, area->height, WkNewWidth(m), WkNewHeight(m)};
    if (d->resize) d->resize(area, &size, d->resizeData);
    area->width = d->width = size.newWidth;
    area->height = d->height = size.newHeight;
}

int Handler(WkObject* area, WkMessage* m) {
    WkDrawingAreaData* d = Data(area);
    switch (m->type) {
    case WK_MSG_KEY:
        if (WkKeyCode(m) != WK_KEY_TAB)
            ToInput(area, m);
        else if (WkKeyModifiers(m) & WK_MOD_SHIFT)
            WkFocusLeaveBackward(area->parent);
        else
            WkFocusLeaveForward(area->parent);
        return 1;
    case WK_MSG_PRESS:
        if (!d->input) return 1;
        if ((area->layout & WK_LAYOUT_FOCUSABLE) && !(area->state & WK_STATE_FOCUS)) WkObjectSetFocus(area);
        area->state |= WK_STATE_ON;
        if (WkGetGrab() != area) WkPushGrab(area);
        ToInput(area, m);
        return 1;
    case WK_MSG_RELEASE:
        if (WkGetGrab() != area) return 1;
        area->state &= std::uint16_t(~WK_STATE_ON);
        ToInput(area, m);
        WkPopGrab(area);
        return 1;
    case WK_MSG_MOTION:
    case WK_MSG_ENTER:
    case WK_MSG_LEAVE:
    case WK_MSG_POP_DOWN:
    case WK_MSG_WHEEL:
        ToInput(area, m);
        return 1;
    case WK_MSG_EXPOSE:
        if (!WkObjectDrawable(area)) return 1;
        WkBeginDraw(area, m);
        WkPaintObjectBackground(area);
        if (d->expose) d->expose(area, m, d->exposeData);
        WkEndDraw();
        return 1;
    case WK_MSG_DESTROY:
        if (WkGetGrab() == area) WkPopGrab(area);
        return 1;
    case WK_MSG_QUERY_SIZE:
        area->width = d->width;
        area->height = d->height;
        return 1;
    case WK_MSG_RESIZE:
        Resize(area, m);
        return 1;
    case WK_MSG_FOCUS_IN:
        area->state |= WK_STATE_FOCUS;
        if (d->input) d->input(area, m, d->inputData);
        return 1;
    case WK_MSG_FOCUS_OUT:
        area->state &= std::uint16_t(~WK_STATE_FOCUS);
        if (d->input) d->input(area, m, d->inputData);
        return 1;
    default:
        return 0;
    }
}

WkDrawingAreaData* Checked(WkObject* area) {
    return area && area->classCode == WK_CLASS_DRAWING_AREA && area->handler == Handler ? Data(area) : nullptr;
}

} // namespace

WkObject* WkCreateDrawingArea(WkObject* parent, int width, int height) {
    WkObject base = WkBaseTemplate(WK_CLASS_DRAWING_AREA);
    base.handler = Handler;
    base.width = width;
    base.height = height;
    WkDrawingAreaData record{};
    record.width = width;
    record.height = height;
    WkObject* area = WkNewObject(base, &record, sizeof record);
    WkInheritColors(parent, area);
    WkAddChild(parent, area);
    return area;
}

void WkDrawingAreaSetExposeCallback(WkObject* area, WkDrawingAreaCallback callback, void* userData) {
    if (WkDrawingAreaData* d = Checked(area)) {
        d->expose = callback;
        d->exposeData = userData;
    }
}

void WkDrawingAreaSetInputCallback(WkObject* area, WkDrawingAreaCallback callback, void* userData) {
    if (WkDrawingAreaData* d = Checked(area)) {
        d->input = callback;
        d->inputData = userData;
        area->layout |= WK_LAYOUT_FOCUSABLE;
    }
}

void WkDrawingAreaSetResizeCallback(WkObject* area, WkDrawingAreaResizeCallback callback, void* userData) {
    if (WkDrawingAreaData* d = Checked(area)) {
        d->resize = callback;
        d->resizeData = userData;
    }
}
