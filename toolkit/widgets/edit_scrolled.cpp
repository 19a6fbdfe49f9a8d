// The scrolled edit field: a form holding a multi-line field and two scroll
// bars tied to its edges. The bars take the text's line count, the view,
// the widest visible line and the offsets after every change; moving them
// scrolls the text. The form owns the field and the bars like any children.
#include "toolkit/widgets/edit_internal.h"

#include "toolkit/core/fonts.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>

namespace edit {

namespace {

// Set while the field gives the bars its own state, so that their
// callbacks do not scroll it back.
bool syncing = false;

int WidestVisibleLine(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    int widest = 0;
    int start = StartOfLine(d, d->topLine);
    for (int line = d->topLine; line <= d->lastLine && line < d->topLine + d->visibleLines; ++line) {
        int end = LineEnd(d, start);
        widest = std::max(widest, XOf(field, start, end));
        start = end + 1;
    }
    return widest;
}

void HorizontalMoved(WkObject*, std::intptr_t value, void* data) {
    auto* field = static_cast<WkObject*>(data);
    WkEditData* d = WkEditRecord(field);
    if (syncing || int(value) == d->xOffset) return;
    d->xOffset = int(value);
    DrawAll(field);
}

void VerticalMoved(WkObject*, std::intptr_t value, void* data) {
    auto* field = static_cast<WkObject*>(data);
    WkEditData* d = WkEditRecord(field);
    if (syncing || int(value) == d->topLine) return;
    d->topLine = std::clamp(int(value), 0, d->lastLine);
    DrawAll(field);
    UpdateBars(field);
}

} // namespace

void UpdateBars(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    if (!d->verticalBar && !d->horizontalBar) return;
    syncing = true;
    const int lines = d->lastLine + 1;
    if (d->verticalBar)
        WkScrollBarSetValues(d->verticalBar, lines, std::min(d->visibleLines, lines), d->topLine);
    if (WkObject* bar = d->horizontalBar) {
        WkScrollBarSetStep(bar, d->flags & WK_EDIT_FIXED_PITCH ? WkCharWidth('a', field->font) : 1);
        WkScrollBarSetValues(bar, std::max(1, WidestVisibleLine(field)), std::max(1, d->visibleWidth),
                             d->xOffset);
    }
    syncing = false;
}

} // namespace edit

WkObject* WkCreateScrolledEdit(WkObject* parent, const char* text, int columns, int lines, int font) {
    WkObject* form = WkCreateVerticalForm(parent);
    WkObjectHide(form);
    WkFormSetSpacing(form, 0);
    WkObjectSetShadow(form, WK_SHADOW_OUT, 1, 0);
    form->layout |= WK_LAYOUT_OUTER_WRAPPER;

    WkObject* field = WkCreateEditEx(form, text, columns, lines, -1, font);
    WkObjectSetShadow(field, WK_SHADOW_IN, 2, 0);
    WkObjectSetTransparency(field, WK_TRANSPARENT);
    WkObject* horizontal = WkCreateScrollBar(form, WK_SCROLL_HORIZONTAL, 1, 1);
    WkObject* vertical = WkCreateScrollBar(form, WK_SCROLL_VERTICAL, 1, 1);
    for (WkObject* bar : {horizontal, vertical}) WkObjectRefuseFocus(bar);

    struct Tie {
        void (*attach)(WkObject*, int, int, WkObject*);
        WkObject* object;
        int kind, offset;
        WkObject* sibling;
    };
    constexpr int edge = WK_ATTACH_EDGE, none = WK_ATTACH_NONE, sibling = WK_ATTACH_SIBLING;
    for (const Tie& t : {Tie{WkObjectAttachTop, vertical, edge, 0, nullptr},
                         Tie{WkObjectAttachRight, vertical, edge, 0, nullptr},
                         Tie{WkObjectAttachBottom, vertical, edge, 18, nullptr},
                         Tie{WkObjectAttachLeft, vertical, none, 0, nullptr},
                         Tie{WkObjectAttachBottom, horizontal, edge, 0, nullptr},
                         Tie{WkObjectAttachLeft, horizontal, edge, 0, nullptr},
                         Tie{WkObjectAttachRight, horizontal, edge, 18, nullptr},
                         Tie{WkObjectAttachTop, horizontal, none, 0, nullptr},
                         Tie{WkObjectAttachTop, field, edge, 0, nullptr},
                         Tie{WkObjectAttachLeft, field, edge, 0, nullptr},
                         Tie{WkObjectAttachRight, field, sibling, 0, vertical},
                         Tie{WkObjectAttachBottom, field, sibling, 0, horizontal}})
        t.attach(t.object, t.kind, t.offset, t.sibling);

    // Tied first: ties of a part go to its composite.
    field->state |= WK_STATE_PART;
    field->outer = form;
    WkEditData* d = WkEditRecord(field);
    d->horizontalBar = horizontal;
    d->verticalBar = vertical;
    WkScrollBarSetCallback(horizontal, edit::HorizontalMoved, field);
    WkScrollBarSetCallback(vertical, edit::VerticalMoved, field);
    edit::UpdateBars(field);

    WkObjectShow(form);
    if (form->state & WK_STATE_REALIZED) WkResize(form, -1, -1);
    return field;
}
