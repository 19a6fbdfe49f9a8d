#include "toolkit/widgets/focus.h"

#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/core/window_system.h"

namespace {

bool CanTakeFocus(const WkObject* o) { return (o->layout & WK_LAYOUT_FOCUSABLE) && WkObjectDrawable(o); }

void DrawFocusFrame(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !(d->flags & WK_FORM_FOCUS_FRAME) || !WkObjectDrawable(form)) return;
    WkObjectDrawFrame(form, 0, 0, form->width, form->height, WkBlackColor(), WkObjectBorder(form) > 1 ? 2 : 1);
}

void RemoveFocusFrame(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !(d->flags & WK_FORM_FOCUS_FRAME) || !WkObjectDrawable(form)) return;
    if (form->shadowType != WK_SHADOW_NONE && WkObjectBorder(form) > 0) WkObjectDrawShadow(form);
    else WkRedraw(form, 0);
}

void CallFocusCallback(WkObject* form, WkObject* object, int index) {
    WkFormData* d = WkFormRecord(form);
    if (d && d->focusCallback) d->focusCallback(object, index, d->focusData);
}

// Focus first and last: the child found at index takes the focus.
void TakeAt(WkObject* form, WkFormPage* page, int index) {
    if (index == page->focused) return;
    int old = page->focused;
    page->focused = std::int16_t(index);
    DrawFocusFrame(form);
    WkObject* child = page->children[index];
    CallFocusCallback(form, form, index);
    WkSendSimpleMessage(child, WK_MSG_FOCUS_IN);
    if (old >= 0 && old < page->count) WkSendSimpleMessage(page->children[old], WK_MSG_FOCUS_OUT);
}

int FocusEnd(WkObject* form, bool first) {
    WkFormData* d = WkFormRecord(form);
    WkFormPage* page = WkFormCurrentPage(form);
    if (!d || !page || (d->flags & WK_FORM_TAB_ROW)) return 0;
    for (int k = 0; k < page->count; ++k) {
        int i = first ? k : page->count - 1 - k;
        WkObject* child = page->children[i];
        bool found = WkFormRecord(child) ? FocusEnd(child, first) : CanTakeFocus(child);
        if (!found) continue;
        TakeAt(form, page, i);
        return 1;
    }
    return 0;
}

} // namespace

int WkFormFocusFirst(WkObject* form) { return FocusEnd(form, true); }
int WkFormFocusLast(WkObject* form) { return FocusEnd(form, false); }

void WkFormFocusOut(WkObject* form) {
    WkFormPage* page = WkFormCurrentPage(form);
    if (!page) return;
    if (page->focused >= 0 && page->focused < page->count)
        WkSendSimpleMessage(page->children[page->focused], WK_MSG_FOCUS_OUT);
    page->focused = -1;
    RemoveFocusFrame(form);
    CallFocusCallback(form, form, -1);
}

void WkFocusFirstInWindow(WkObject* object) {
    if (WkObject* form = WkFormOf(WkObjectGetShell(object))) WkFormFocusFirst(form);
}
