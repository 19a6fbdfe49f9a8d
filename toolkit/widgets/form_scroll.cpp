#include "toolkit/widgets/form_scroll.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>
#include <cstdlib>

namespace {

WkFormScroll* ScrollOf(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    return d ? d->scroll : nullptr;
}

// Draws one area of the form (its own coordinates) as an expose would.
void ExposeArea(WkObject* form, int originX, int originY, const WkRect& area) {
    WkMessage expose = WkExposeMessage(std::intptr_t(WkObjectGetNativeWindow(form)), originX, originY, area);
    WkBeginDraw(form, &expose);
    WkSendMessage(form, &expose);
    WkEndDraw();
}

// The offsets grew by dx, dy: the pixels still seen move the other way and
// only the strips they uncover are drawn. A see-through form shows what
// lies behind it, which does not move: it is drawn whole.
void MoveContent(WkObject* form, int dx, int dy) {
    if (!WkObjectDrawable(form)) return;
    if (form->transparency == WK_TRANSPARENT) return WkRedraw(form, 1);
    int b = WkObjectBorder(form);
    WkRect visible;
    int ox, oy;
    WkObjectGetVisibleRect(form, &visible, &ox, &oy);
    WkIntersection cut;
    if (!WkIntersectRect(visible, WkRect{b, b, form->width - 2 * b, form->height - 2 * b}, &cut)) return;
    WkRect in = cut.overlap;
    if (std::abs(dx) >= in.width || std::abs(dy) >= in.height) return WkRedraw(form, 0);
    WkBeginDraw(form, nullptr);
    WkNativeScrollArea(ox + in.x, oy + in.y, in.width, in.height, ox + in.x - dx, oy + in.y - dy);
    WkEndDraw();
    if (dy) ExposeArea(form, ox, oy, WkRect{in.x, dy > 0 ? in.y + in.height - dy : in.y, in.width, std::abs(dy)});
    if (dx) ExposeArea(form, ox, oy, WkRect{dx > 0 ? in.x + in.width - dx : in.x, in.y, std::abs(dx), in.height});
}

void SetOffset(WkObject* form, bool vertical, int offset) {
    WkFormScroll* s = ScrollOf(form);
    if (!s) return;
    long content = vertical ? s->scrolledHeight : s->scrolledWidth;
    long view = vertical ? s->viewHeight : s->viewWidth;
    long value = std::max<long>(std::min<long>(offset, content - view), 0);
    std::int32_t& field = vertical ? s->y : s->x;
    int delta = int(value - field);
    if (delta == 0) return;
    field = std::int32_t(value);
    MoveContent(form, vertical ? 0 : delta, vertical ? delta : 0);
    // The bar's thumb follows; a value it rounds otherwise comes back here.
    if (WkObject* bar = vertical ? s->verticalBar : s->horizontalBar)
        if (WkScrollBarGetValue(bar) != value) WkScrollBarSetValues(bar, 0, 0, int(value));
}

void HorizontalMoved(WkObject*, std::intptr_t value, void* form) {
    SetOffset(static_cast<WkObject*>(form), false, int(value));
}
void VerticalMoved(WkObject*, std::intptr_t value, void* form) {
    SetOffset(static_cast<WkObject*>(form), true, int(value));
}

WkObject* AddBar(WkObject* outer, WkObject* inner, int orientation, int view) {
    WkObject* bar = WkCreateScrollBar(outer, orientation, view, view);
    WkObjectRefuseFocus(bar);
    bool vertical = orientation == WK_SCROLL_VERTICAL;
    WkScrollBarSetCallback(bar, vertical ? VerticalMoved : HorizontalMoved, inner);
    WkObjectSetResizable(inner, vertical ? -1 : 1, vertical ? 1 : -1);
    return bar;
}

// A scrolled list answers with its own bars.
WkObject* FindBar(WkObject* object, bool vertical) {
    if (object && object->classCode == WK_CLASS_LIST && object->handler == WkListHandler)
        return vertical ? WkListGetVerticalScrollBar(object) : WkListGetHorizontalScrollBar(object);
    for (WkObject* o = object; o; o = o->parent)
        if (WkFormScroll* s = ScrollOf(o)) return vertical ? s->verticalBar : s->horizontalBar;
    return nullptr;
}

void ColorBars(WkFormScroll* s, WkColor color) {
    for (WkObject* bar : {s->verticalBar, s->horizontalBar})
        if (bar) WkScrollBarSetColor(bar, color);
}

WkObject* ScrollView(WkObject* parent, int viewWidth, int viewHeight, int kind) {
    WkObject* form = WkCreateForm(parent, 1, kind);
    WkFormSetSpacing(form, 0);
    form->shadowType = WK_SHADOW_NONE;
    form->shadowWidth = form->outerShadowWidth = 0;
    WkFormMakeScrolled(form, viewWidth, viewHeight);
    WkObjectSetResizable(form, viewWidth > 0 ? 1 : -1, viewHeight > 0 ? 1 : -1);
    return form;
}

} // namespace

void WkFormMakeScrolled(WkObject* form, int viewWidth, int viewHeight) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return;
    if (!d->scroll) d->scroll = static_cast<WkFormScroll*>(WkCalloc(1, sizeof(WkFormScroll)));
    d->scroll->viewWidth = d->scroll->scrolledWidth = viewWidth;
    d->scroll->viewHeight = d->scroll->scrolledHeight = viewHeight;
    // Its view is its whole size: a border would grow it at every layout.
    form->shadowWidth = form->outerShadowWidth = 0;
}

WkObject* WkCreateScrolledForm(WkObject* parent, int viewWidth, int viewHeight, int kind) {
    WkObject* outer = WkCreateVerticalForm(parent);
    WkObjectHide(outer);
    outer->layout |= WK_LAYOUT_OUTER_WRAPPER | WK_LAYOUT_SELF_ATTRS;
    outer->transparency = WK_TRANSPARENT;
    WkFormSetSpacing(outer, 0);
    WkObjectSetShadow(outer, WK_SHADOW_ETCHED_OUT, 1, 2);

    WkObject* inner = WkCreateForm(outer, 1, kind);
    inner->shadowType = WK_SHADOW_IN;
    WkFormMakeScrolled(inner, viewWidth, viewHeight);
    WkFormScroll* s = ScrollOf(inner);
    if (viewWidth >= 1) s->horizontalBar = AddBar(outer, inner, WK_SCROLL_HORIZONTAL, viewWidth);
    if (viewHeight >= 1) s->verticalBar = AddBar(outer, inner, WK_SCROLL_VERTICAL, viewHeight);
    WkObject* h = s->horizontalBar;
    WkObject* v = s->verticalBar;
    if (v) {
        WkObjectAttachTop(v, WK_ATTACH_EDGE, 0, nullptr);
        WkObjectAttachRight(inner, WK_ATTACH_SIBLING, 0, v);
        if (!h) {
            WkObjectAttachBottom(inner, WK_ATTACH_EDGE, 0, nullptr);
            WkObjectAttachBottom(v, WK_ATTACH_EDGE, 0, nullptr);
        } else {
            WkObjectAttachBottom(v, WK_ATTACH_EDGE, 18, nullptr);
            WkObjectAttachRight(h, WK_ATTACH_EDGE, 18, nullptr);
            WkObjectAttachBottom(h, WK_ATTACH_EDGE, 0, nullptr);
            WkObjectAttachBottom(inner, WK_ATTACH_SIBLING, 0, h);
        }
    }
    // Tied first: ties of a part go to its composite.
    inner->state |= WK_STATE_PART;
    inner->outer = outer;
    WkObjectShow(outer);
    if (outer->state & WK_STATE_REALIZED) WkResize(outer, -1, -1);
    return inner;
}

WkObject* WkCreateScrolledAttachmentForm(WkObject* parent, int w, int h) {
    return WkCreateScrolledForm(parent, w, h, WK_FORM_ATTACHMENT);
}
WkObject* WkCreateScrolledVerticalForm(WkObject* parent, int w, int h) {
    return WkCreateScrolledForm(parent, w, h, WK_FORM_VERTICAL);
}
WkObject* WkCreateScrolledHorizontalForm(WkObject* parent, int w, int h) {
    return WkCreateScrolledForm(parent, w, h, WK_FORM_HORIZONTAL);
}
WkObject* WkCreateScrollView(WkObject* parent, int w, int h) { return ScrollView(parent, w, h, WK_FORM_ATTACHMENT); }
WkObject* WkCreateVerticalScrollView(WkObject* parent, int w, int h) {
    return ScrollView(parent, w, h, WK_FORM_VERTICAL);
}
WkObject* WkCreateHorizontalScrollView(WkObject* parent, int w, int h) {
    return ScrollView(parent, w, h, WK_FORM_HORIZONTAL);
}

void WkFormScrollToX(WkObject* form, int offset) {
    WkFormScroll* s = ScrollOf(form);
    if (s && s->horizontalBar) WkScrollBarSetValue(s->horizontalBar, offset);
    else SetOffset(form, false, offset);
}

void WkFormScrollToY(WkObject* form, int offset) {
    WkFormScroll* s = ScrollOf(form);
    if (s && s->verticalBar) WkScrollBarSetValue(s->verticalBar, offset);
    else SetOffset(form, true, offset);
}

void WkFormSetScrollX(WkObject* form, int offset) { SetOffset(form, false, offset); }
void WkFormSetScrollY(WkObject* form, int offset) { SetOffset(form, true, offset); }
int WkFormGetScrollX(WkObject* form) { return ScrollOf(form) ? ScrollOf(form)->x : 0; }
int WkFormGetScrollY(WkObject* form) { return ScrollOf(form) ? ScrollOf(form)->y : 0; }

void WkFormSetScrollSteps(WkObject* form, int xStep, int yStep) {
    WkFormScroll* s = ScrollOf(form);
    if (!s) return;
    if (xStep >= 1 && s->horizontalBar) WkScrollBarSetStep(s->horizontalBar, xStep);
    if (yStep >= 1 && s->verticalBar) WkScrollBarSetStep(s->verticalBar, yStep);
}

void WkObjectSetScrollIntoView(WkObject* object, int on) {
    if (!object) return;
    if (on) object->layout |= WK_LAYOUT_SCROLL_INTO_VIEW;
    else object->layout &= std::uint16_t(~WK_LAYOUT_SCROLL_INTO_VIEW);
}

WkObject* WkFindVerticalScrollBar(WkObject* object) { return FindBar(object, true); }
WkObject* WkFindHorizontalScrollBar(WkObject* object) { return FindBar(object, false); }
WkObject* WkFormGetVerticalScrollBar(WkObject* form) { return ScrollOf(form) ? ScrollOf(form)->verticalBar : nullptr; }
WkObject* WkFormGetHorizontalScrollBar(WkObject* form) {
    return ScrollOf(form) ? ScrollOf(form)->horizontalBar : nullptr;
}

void WkFormSetScrollBarColor(WkObject* form, WkColor color) {
    if (WkFormScroll* s = ScrollOf(form)) ColorBars(s, color);
}

void WkFormSetScrollBarShade(WkObject* form, int percent) {
    WkFormScroll* s = ScrollOf(form);
    for (WkObject* bar : {s ? s->verticalBar : nullptr, s ? s->horizontalBar : nullptr})
        if (bar) WkScrollBarSetShade(bar, percent);
}

void WkFormTintScrollBars(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return;
    d->flags |= WK_FORM_TINTED_BARS;
    WkFormRetintScrollBars(form);
}

void WkFormUntintScrollBars(WkObject* form) {
    if (WkFormData* d = WkFormRecord(form)) d->flags &= std::uint16_t(~WK_FORM_TINTED_BARS);
}

void WkFormRetintScrollBars(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !d->scroll || !(d->flags & WK_FORM_TINTED_BARS)) return;
    WkColor tint = WkObjectAllocTintColor(form);
    ColorBars(d->scroll, tint);
    WkFreeColor(tint);
}
