#include "toolkit/widgets/form_attach.h"

#include "toolkit/core/inherit.h"
#include "toolkit/core/log.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_layout.h"

#include <cstring>

namespace {

enum Side { TOP, BOTTOM, LEFT, RIGHT };

struct SideFields {
    std::uint8_t WkObject::*kind;
    std::int16_t WkObject::*offset;
    std::int16_t WkObject::*sibling;
    Side opposite;
};

const SideFields kSides[] = {
    {&WkObject::attachTop, &WkObject::offsetTop, &WkObject::siblingTop, BOTTOM},
    {&WkObject::attachBottom, &WkObject::offsetBottom, &WkObject::siblingBottom, TOP},
    {&WkObject::attachLeft, &WkObject::offsetLeft, &WkObject::siblingLeft, RIGHT},
    {&WkObject::attachRight, &WkObject::offsetRight, &WkObject::siblingRight, LEFT},
};

void SetSide(WkObject* o, Side side, int kind, int offset, int sibling) {
    const SideFields& f = kSides[side];
    o->*f.kind = std::uint8_t(kind);
    o->*f.offset = WkSaturateS16(offset);
    o->*f.sibling = std::int16_t(sibling);
}

WkObject* OuterComposite(WkObject* o) {
    while (o && (o->state & WK_STATE_PART) && o->parent) o = o->parent;
    return o;
}

// The form an object lies in, with the object's index in its current page.
WkObject* PlaceOf(WkObject* object, int* index) {
    WkObject* form = WkFormOf(object ? object->parent : nullptr);
    WkFormPage* page = WkFormCurrentPage(form);
    for (int i = 0; page && i < page->count; ++i)
        if (page->children[i] == object) return *index = i, form;
    return nullptr;
}

void Relayout(WkObject* form, bool preferred) {
    if (!WkObjectDrawable(form)) {
        form->state |= WK_STATE_NEEDS_LAYOUT;
        return;
    }
    WkObject* target = WkShellRecord(form->parent) ? form->parent : form;
    WkResize(target, preferred ? -1 : target->width, preferred ? -1 : target->height);
}

// Ties one side without laying out; returns the form when it changed anything.
WkObject* Tie(WkObject* object, Side side, int kind, int offset, WkObject* sibling) {
    object = OuterComposite(object);
    int i, j;
    WkObject* form = PlaceOf(object, &i);
    if (!form) return nullptr;
    WkFormPage* page = WkFormCurrentPage(form);
    const SideFields& f = kSides[side];
    if (kind == WK_ATTACH_SIBLING) {
        sibling = sibling ? (sibling->outer ? sibling->outer : sibling) : nullptr;
        if (PlaceOf(sibling, &j) != form) return nullptr;
        SetSide(object, side, kind, offset, j);
        SetSide(sibling, f.opposite, kind, offset, i);
    } else if (kind == WK_ATTACH_NONE || kind == WK_ATTACH_EDGE) {
        int old = object->*f.sibling;
        if (object->*f.kind == WK_ATTACH_SIBLING && old >= 0 && old < page->count)
            page->children[old]->*kSides[f.opposite].kind = WK_ATTACH_NONE;
        SetSide(object, side, kind, offset, -1);
    }
    return form;
}

void Attach(WkObject* object, Side side, int kind, int offset, WkObject* sibling) {
    if (WkObject* form = Tie(object, side, kind, offset, sibling)) Relayout(form, true);
}

// A sibling tie of every child that points at or past the index moves on by
// one: top and left from the index, bottom and right after it.
void RaiseSiblings(WkFormPage* page, int at) {
    for (int k = 0; k < page->count; ++k) {
        WkObject* c = page->children[k];
        for (Side side : {TOP, BOTTOM, LEFT, RIGHT}) {
            const SideFields& f = kSides[side];
            int s = c->*f.sibling;
            bool from = side == TOP || side == LEFT ? s >= at : s > at;
            if (c->*f.kind == WK_ATTACH_SIBLING && from) c->*f.sibling = std::int16_t(s + 1);
        }
    }
}

// An object of an attachment form sits where it asked to be.
void PinAtRequest(WkObject* o, int border) {
    SetSide(o, TOP, WK_ATTACH_EDGE, o->requestedY - border, -1);
    SetSide(o, LEFT, WK_ATTACH_EDGE, o->requestedX - border, -1);
    o->attachBottom = o->attachRight = WK_ATTACH_NONE;
}

void Link(WkFormData* d, WkObject** children, int p, int n, int border) {
    WkObject* previous = children[p];
    WkObject* next = children[n];
    if (d->kind == WK_FORM_VERTICAL) {
        SetSide(previous, BOTTOM, WK_ATTACH_SIBLING, previous->offsetBottom, n);
        SetSide(next, TOP, WK_ATTACH_SIBLING, next->offsetTop, p);
    } else if (d->kind == WK_FORM_ATTACHMENT) {
        PinAtRequest(previous, border);
    } else {
        SetSide(previous, RIGHT, WK_ATTACH_SIBLING, previous->offsetRight, n);
        SetSide(next, LEFT, WK_ATTACH_SIBLING, next->offsetLeft, p);
    }
}

WkObject* ChildAt(WkObject* form, int index) {
    WkFormPage* page = WkFormCurrentPage(form);
    return page && index >= 0 && index < page->count ? WkResolveComposite(page->children[index]) : nullptr;
}

} // namespace

void WkObjectAttachTop(WkObject* o, int kind, int offset, WkObject* s) { Attach(o, TOP, kind, offset, s); }
void WkObjectAttachBottom(WkObject* o, int kind, int offset, WkObject* s) { Attach(o, BOTTOM, kind, offset, s); }
void WkObjectAttachLeft(WkObject* o, int kind, int offset, WkObject* s) { Attach(o, LEFT, kind, offset, s); }
void WkObjectAttachRight(WkObject* o, int kind, int offset, WkObject* s) { Attach(o, RIGHT, kind, offset, s); }

void WkObjectDetach(WkObject* object, int keepTop, int keepBottom, int keepLeft, int keepRight) {
    const int keep[] = {keepTop, keepBottom, keepLeft, keepRight};
    WkObject* form = nullptr;
    // A side let go also lets go of the sibling's tie back, as tying it to
    // nothing does: otherwise the sibling's chain would still reach it.
    for (Side side : {TOP, BOTTOM, LEFT, RIGHT})
        if (!keep[side]) form = Tie(object, side, WK_ATTACH_NONE, 0, nullptr);
    if (form) Relayout(form, true);
}

void WkObjectSetOffsets(WkObject* object, int top, int bottom, int left, int right) {
    WkObject* outer = OuterComposite(object);
    int i;
    WkObject* form = PlaceOf(outer, &i);
    if (!form) return;
    WkFormPage* page = WkFormCurrentPage(form);
    const int values[] = {top, bottom, left, right};
    for (Side side : {TOP, BOTTOM, LEFT, RIGHT}) {
        if (values[side] == -1) continue;
        const SideFields& f = kSides[side];
        int s = outer->*f.sibling;
        WkObject* sibling = s >= 0 && s < page->count ? page->children[s] : nullptr;
        Tie(outer, side, outer->*f.kind, values[side], sibling);
    }
    Relayout(form, true);
}

void WkObjectInsert(WkObject* form, WkObject* object, WkObject* before, int resizeParent) {
    form = WkFormOf(form);
    WkFormData* d = WkFormRecord(form);
    if (!d || !object || object->parent || !object->outer) return;
    int p = 0, i = 0;
    if (before && !WkFormFindChild(form, before, &p, &i)) return;
    if (!before) p = d->currentPage;
    WkFormPage& page = d->pages[p];
    if (page.count >= WK_FORM_MAX_CHILDREN) {
        WkLog(1, "A form page holds at most %d children; one more is refused", WK_FORM_MAX_CHILDREN);
        return;
    }
    if (page.count == page.capacity) {
        int grown = std::min(page.capacity + 4, WK_FORM_MAX_CHILDREN);
        page.children = static_cast<WkObject**>(WkRealloc(page.children, sizeof(WkObject*) * grown));
        page.capacity = std::int16_t(grown);
    }
    int b = WkObjectBorder(form);
    if (!before) {
        i = page.count;
        page.children[page.count++] = object;
        for (Side side : {TOP, BOTTOM, LEFT, RIGHT}) SetSide(object, side, WK_ATTACH_EDGE, d->spacing, -1);
        if (object->layout & WK_LAYOUT_FIXED_X) {
            SetSide(object, LEFT, WK_ATTACH_EDGE, object->requestedX - b, -1);
            object->attachRight = WK_ATTACH_NONE;
        }
        if (object->layout & WK_LAYOUT_FIXED_Y) {
            SetSide(object, TOP, WK_ATTACH_EDGE, object->requestedY - b, -1);
            object->attachBottom = WK_ATTACH_NONE;
        }
        // An attachment form leaves its earlier children as they are and
        // puts the new one where it asked to be.
        if (d->kind == WK_FORM_ATTACHMENT) PinAtRequest(object, b);
        else if (i > 0) Link(d, page.children, i - 1, i, b);
    } else {
        std::memmove(page.children + i + 1, page.children + i, sizeof(WkObject*) * (page.count - i));
        page.children[i] = object;
        ++page.count;
        if (d->kind != WK_FORM_ATTACHMENT)
            for (Side side : {TOP, BOTTOM, LEFT, RIGHT}) {
                const SideFields& f = kSides[side];
                SetSide(object, side, before->*f.kind, before->*f.offset, before->*f.sibling);
            }
        RaiseSiblings(&page, i);
        Link(d, page.children, i, i + 1, b);
    }
    object->parent = form;
    object->state |= WK_STATE_SHOWN;
    if ((form->state & (WK_STATE_SENSITIVE | WK_STATE_ACTIVE)) == (WK_STATE_SENSITIVE | WK_STATE_ACTIVE)) {
        object->state |= WK_STATE_ACTIVE;
        if (WkFormRecord(object)) WkSendSimpleMessage(object, WK_MSG_ACTIVE, 1);
    }
    if (d->table) WkTableRelink(form);
    if (WkObjectDrawable(form) && p == d->currentPage) {
        object->state |= WK_STATE_REALIZED;
        WkSendSimpleMessage(object, WK_MSG_REALIZE);
    }
    Relayout(form, resizeParent);
    WkRefreshBackground(object, 0);
}

void WkObjectMoveBefore(WkObject* form, WkObject* object, WkObject* before) {
    if (!object || !WkFormRecord(object->parent)) return;
    WkObjectRemoveFromParent(object, 1);
    WkObjectInsert(form, object, before, 1);
}

void WkAddAccelerator(WkObject* object, int keyCode, WkValueCallback callback, void* userData) {
    if (WkFormData* d = WkFormRecord(WkFormOf(object)))
        WkAppendCallback(&d->accelerators, callback, userData, std::uint32_t(keyCode));
}

WkObject* WkResolveComposite(WkObject* object) {
    while (WkFormRecord(object) &&
           ((object->state & WK_STATE_PART) || (object->layout & WK_LAYOUT_OUTER_WRAPPER))) {
        WkFormPage* page = WkFormCurrentPage(object);
        WkObject* part = nullptr;
        for (int i = 0; page && i < page->count && !part; ++i)
            if (page->children[i]->state & WK_STATE_PART) part = page->children[i];
        if (!part) return object;
        object = part;
    }
    return object;
}

WkObject* WkFormFirstChild(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return nullptr;
    d->walkCursor = 0;
    return ChildAt(form, 0);
}

WkObject* WkFormNextChild(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return nullptr;
    if (d->walkCursor < WK_FORM_MAX_CHILDREN) ++d->walkCursor;
    return ChildAt(form, d->walkCursor);
}

int WkFormGetChildCount(WkObject* form) {
    WkFormPage* page = WkFormCurrentPage(form);
    return page ? page->count : 0;
}
