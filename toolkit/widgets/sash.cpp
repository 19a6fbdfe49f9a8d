#include "toolkit/widgets/sash.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/widgets/form.h"

#include <algorithm>

namespace {

// The pointer shapes of the two orientations: left-right and up-down arrows.
constexpr int kCursorSideways = 4;
constexpr int kCursorUpDown = 5;

WkSashData* Data(WkObject* sash) { return static_cast<WkSashData*>(sash->classRecord); }

bool Sideways(const WkObject* sash) {
    WkFormData* d = WkFormRecord(sash->parent);
    return d && d->kind == WK_FORM_HORIZONTAL;
}

// What a neighbour can give up along the axis; one already below its
// minimum gives nothing (never a negative amount, which would move the
// boundary against the drag).
int Slack(const WkObject* o, bool sideways) {
    const int slack = sideways ? o->width - o->minWidth : o->height - o->minHeight;
    return std::max(0, slack);
}

void MoveBoundary(WkObject* sash) {
    WkObject* form = sash->parent;
    WkFormPage* page = WkFormCurrentPage(form);
    if (!page) return;
    int i = 0;
    while (i < page->count && page->children[i] != sash) ++i;
    if (i < 1 || i + 1 >= page->count) return;
    WkObject* before = page->children[i - 1];
    WkObject* after = page->children[i + 1];
    const bool sideways = Sideways(sash);
    const WkSashData* d = Data(sash);
    int delta = sideways ? d->currentX - d->pressX : d->currentY - d->pressY;
    delta = std::clamp(delta, -Slack(before, sideways), Slack(after, sideways));
    if (delta == 0) return;
    int beforeW = before->width, beforeH = before->height, afterW = after->width, afterH = after->height;
    if (sideways) {
        sash->x += delta, after->x += delta;
        beforeW += delta, afterW -= delta;
    } else {
        sash->y += delta, after->y += delta;
        beforeH += delta, afterH -= delta;
    }
    WkSendSimpleMessage(form, WK_MSG_UNMAP);
    WkSendSimpleMessage(before, WK_MSG_RESIZE, 0, beforeW, beforeH);
    WkSendSimpleMessage(after, WK_MSG_RESIZE, 0, afterW, afterH);
    WkRefreshBackground(before, 0);
    WkRefreshBackground(after, 0);
    WkSendSimpleMessage(form, WK_MSG_MAP);
    WkRedraw(form, 1);
}

} // namespace

int WkSashHandler(WkObject* sash, WkMessage* m) {
    WkSashData* d = Data(sash);
    switch (m->type) {
    case WK_MSG_PRESS:
        if (WkGetGrab() != sash) WkPushGrab(sash);
        d->pressX = d->currentX = WkPointerX(m);
        d->pressY = d->currentY = WkPointerY(m);
        return 1;
    case WK_MSG_MOTION:
    case WK_MSG_ENTER: // the pointer leaves and enters the thin sash as it drags
    case WK_MSG_LEAVE:
        if (WkGetGrab() != sash) return 1;
        d->currentX = WkPointerX(m), d->currentY = WkPointerY(m);
        MoveBoundary(sash);
        return 1;
    case WK_MSG_RELEASE:
        if (WkGetGrab() != sash) return 1;
        WkPopGrab(sash);
        d->currentX = WkPointerX(m), d->currentY = WkPointerY(m);
        MoveBoundary(sash);
        return 1;
    case WK_MSG_EXPOSE:
        if (!WkObjectDrawable(sash)) return 1;
        WkBeginDraw(sash, m);
        WkPaintObjectBackground(sash);
        WkEndDraw();
        return 1;
    case WK_MSG_QUERY_SIZE:
        sash->width = sash->height = 4;
        sash->minWidth = sash->minHeight = 4;
        return 1;
    case WK_MSG_RESIZE:
        sash->width = WkNewWidth(m), sash->height = WkNewHeight(m);
        return 1;
    default:
        return 0;
    }
}

WkObject* WkCreateSash(WkObject* form) {
    form = WkFormOf(form);
    if (!form) return nullptr;
    WkObject base = WkBaseTemplate(WK_CLASS_SASH);
    base.handler = WkSashHandler;
    base.state = WK_STATE_SENSITIVE;
    base.colorFlags = WK_INHERIT_BACKGROUND;
    base.backgroundPercent = 100;
    base.shadowType = WK_SHADOW_OUT;
    base.shadowWidth = 1, base.outerShadowWidth = 0;
    base.transparency = WK_TRANSPARENT;
    WkSashData record{};
    WkObject* sash = WkNewObject(base, &record, sizeof record);
    WkInheritColors(form, sash);
    const bool sideways = WkFormRecord(form)->kind == WK_FORM_HORIZONTAL;
    sash->layout |= sideways ? WK_LAYOUT_GROW_Y : WK_LAYOUT_GROW_X;
    WkAddChild(form, sash);
    WkObjectSetCursor(sash, sideways ? kCursorSideways : kCursorUpDown);
    return sash;
}
