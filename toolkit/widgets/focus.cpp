#include "toolkit/widgets/focus.h"

#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/form_scroll.h"
#include "toolkit/widgets/header_table.h"
#include "toolkit/widgets/tab_toggle.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Why the object taking the focus now takes it (WK_FOCUS_BY_...): the
// keyboard's steps and the callers that name a reason set it for as long as
// they run, and every focus in they cause carries it.
int focusReason = WK_FOCUS_BY_PROGRAM;

class ReasonScope {
  public:
    explicit ReasonScope(int reason) : saved_(focusReason) { focusReason = reason; }
    ~ReasonScope() { focusReason = saved_; }
    ReasonScope(const ReasonScope&) = delete;
    ReasonScope& operator=(const ReasonScope&) = delete;

  private:
    int saved_;
};

void SendFocusIn(WkObject* object) { WkSendSimpleMessage(object, WK_MSG_FOCUS_IN, 0, focusReason); }

// A greyed control takes no input: the keyboard's steps pass over it, and
// over the tab of a page whose contents are all greyed.
bool CanTakeFocus(WkObject* o) {
    return (o->layout & WK_LAYOUT_FOCUSABLE) && (o->state & WK_STATE_SENSITIVE) && WkObjectDrawable(o) &&
           WkPageTabLeadsSomewhere(o);
}

void DrawFocusFrame(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !(d->flags & WK_FORM_FOCUS_FRAME) || !WkObjectDrawable(form)) return;
    WkObjectDrawFrame(form, 0, 0, form->width, form->height, WkBlackColor(), WkObjectBorder(form) > 1 ? 2 : 1);
}

void RemoveFocusFrame(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !(d->flags & WK_FORM_FOCUS_FRAME) || !WkObjectDrawable(form)) return;
    if (form->shadowType != WK_SHADOW_NONE && WkObjectBorder(form) > 1) WkObjectDrawShadow(form);
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
    if (child->layout & WK_LAYOUT_SCROLL_INTO_VIEW) WkObjectScrollIntoView(child);
    SendFocusIn(child);
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

// The first (last) object of a form that could take the focus, depth
// first, without giving it.
WkObject* FindEnd(WkObject* form, bool first) {
    WkFormPage* page = WkFormCurrentPage(form);
    for (int k = 0; page && k < page->count; ++k) {
        WkObject* child = page->children[first ? k : page->count - 1 - k];
        if (!WkObjectDrawable(child)) continue;
        if (CanTakeFocus(child)) return child;
        if (WkFormRecord(child))
            if (WkObject* hit = FindEnd(child, first)) return hit;
    }
    return nullptr;
}

// The forms whose focus link one climb has followed already.
using Followed = std::vector<WkObject*>;

int Climb(WkObject* form, int climb, bool forward, Followed& followed) {
    WkFormData* d = WkFormRecord(form);
    WkFormPage* page = WkFormCurrentPage(form);
    if (!d || !page) return 0;
    int f = page->focused;
    bool focusedIsLeaf = f >= 0 && f < page->count && (page->children[f]->layout & WK_LAYOUT_FOCUSABLE);
    int start = forward ? f + 1 : (f < 0 ? page->count - 1 : f - 1);
    for (int i = start; i >= 0 && i < page->count; i += forward ? 1 : -1) {
        WkObject* child = page->children[i];
        if (!WkObjectDrawable(child)) continue;
        if (WkFormRecord(child)) {
            if (Climb(child, 0, forward, followed)) return 1;
        } else if (CanTakeFocus(child) && !focusedIsLeaf) {
            WkFocusObject(child, 0);
            return 1;
        }
    }
    // The old policy turns the page at its end.
    int next = d->currentPage + (forward ? 1 : -1);
    if (WkFocusSwitchPolicy() && d->pageCount >= 2 && next >= 0 && next < d->pageCount) {
        WkFormSetPage(form, next);
        return 1;
    }
    WkObject* link = forward ? d->nextFocusForm : d->previousFocusForm;
    if (link && std::find(followed.begin(), followed.end(), form) == followed.end()) {
        followed.push_back(form);
        if (Climb(link, 0, forward, followed)) return 1;
    }
    if (WkShellRecord(form->parent)) {
        if (forward) WkFormFocusFirst(form);
        else WkFormFocusLast(form);
        return 1;
    }
    if (climb == 0 || !form->parent) return 0;
    return Climb(form->parent, 1, forward, followed);
}

void Step(WkObject* object, bool forward) {
    WkObject* form = WkFormRecord(object) ? object : object ? object->parent : nullptr;
    WkFormData* d = WkFormRecord(form);
    WkFormPage* page = WkFormCurrentPage(form);
    if (!d || !page) return;
    int n = page->count, f = page->focused;
    bool wraps = !(d->flags & WK_FORM_NO_WRAP);
    int i = forward ? f + 1 : (f < 0 ? n - 1 : f - 1);
    // Every child once at most: a wrapping form with nothing to take the
    // focus leaves instead of going round for ever.
    for (int looked = 0; looked < n; ++looked, i += forward ? 1 : -1) {
        if (forward ? i > n : i < -1) break;
        if (forward ? i == n : i == -1) {
            if (!wraps) break;
            i = forward ? 0 : n - 1;
        }
        if (i == f) break;
        WkObject* child = page->children[i];
        if (!WkObjectDrawable(child)) continue;
        if (CanTakeFocus(child)) return WkFocusObject(child, 1);
        if (WkFormRecord(child))
            if (WkObject* hit = FindEnd(child, forward)) return WkFocusObject(hit, 0);
    }
    if (forward) WkFocusClimbForward(form, 1);
    else WkFocusClimbBackward(form, 1);
}

// A search that reaches a tab toggle that is off lands on the tab of its
// row that is on, when there is one.
WkObject* SelectedSibling(WkObject* object) {
    if (!WkIsTabToggle(object) || WkTabToggleGetState(object)) return object;
    int p, i;
    if (!WkFormFindChild(object->parent, object, &p, &i)) return object;
    const WkFormPage& page = WkFormRecord(object->parent)->pages[p];
    for (int k = 0; k < page.count; ++k)
        if (WkIsTabToggle(page.children[k]) && WkTabToggleGetState(page.children[k])) return page.children[k];
    return object;
}

bool Contains(WkObject* outer, WkObject* inner) {
    for (WkObject* o = inner; o; o = o->parent)
        if (o == outer) return true;
    return false;
}

void SetFocus(WkObject* object) {
    WkObject* shell = WkObjectGetShell(object);
    if (!object || !(object->state & WK_STATE_SHOWN) || !shell || !(shell->state & WK_STATE_SHOWN)) return;
    if (WkObject* form = WkFormOf(object)) WkFormFocusFirst(form);
    else WkFocusObject(object, 1);
}

} // namespace

void WkObjectSetFocus(WkObject* object) { WkObjectSetFocusBy(object, WK_FOCUS_BY_PROGRAM); }

void WkObjectSetFocusBy(WkObject* object, int reason) {
    ReasonScope scope(reason);
    SetFocus(object);
}

int WkFormFocusFirst(WkObject* form) { return FocusEnd(form, true); }
int WkFormFocusLast(WkObject* form) { return FocusEnd(form, false); }
void WkFocusNext(WkObject* object) {
    ReasonScope scope(WK_FOCUS_BY_KEY);
    Step(object, true);
}
void WkFocusPrevious(WkObject* object) {
    ReasonScope scope(WK_FOCUS_BY_KEY);
    Step(object, false);
}
void WkFocusLeaveForward(WkObject* form) { WkFocusClimbForward(form, 1); }
void WkFocusLeaveBackward(WkObject* form) { WkFocusClimbBackward(form, 1); }

int WkFocusClimbForward(WkObject* form, int climb) {
    ReasonScope scope(WK_FOCUS_BY_KEY);
    Followed followed;
    return Climb(form, climb, true, followed);
}

int WkFocusClimbBackward(WkObject* form, int climb) {
    ReasonScope scope(WK_FOCUS_BY_KEY);
    Followed followed;
    return Climb(form, climb, false, followed);
}

void WkFocusObject(WkObject* object, int keep) {
    if (!keep && !WkFocusSwitchPolicy()) object = SelectedSibling(object);
    if (!object || !(object->layout & WK_LAYOUT_FOCUSABLE)) return;
    if (object->layout & WK_LAYOUT_SCROLL_INTO_VIEW) WkObjectScrollIntoView(object);
    SendFocusIn(object);
    // The pages the new path runs through that are not on show, innermost
    // first: they are turned to, so the object is seen with the keys.
    std::vector<std::pair<WkObject*, int>> turns;
    WkObject* child = object;
    for (WkObject* form = object->parent; WkFormRecord(form); child = form, form = form->parent) {
        WkFormData* d = WkFormRecord(form);
        int p, i;
        if (!WkFormFindChild(form, child, &p, &i)) break;
        int before = d->pages[d->currentPage].focused;
        d->pages[p].focused = std::int16_t(i);
        if (p != d->currentPage) turns.emplace_back(form, p);
        DrawFocusFrame(form);
        CallFocusCallback(form, child, i);
        if (before < 0) continue;
        // The form where the new path meets the old one: its old branch goes.
        WkFormPage& page = d->pages[d->currentPage];
        if (before < page.count && !(p == d->currentPage && before == i)) {
            WkObject* old = page.children[before];
            WkSendSimpleMessage(old, WK_MSG_FOCUS_OUT);
            // Moving along a row of tabs selects the tab reached.
            if (!WkFocusSwitchPolicy() && child == object && WkIsTabToggle(old) && WkTabToggleGetState(old) &&
                WkIsTabToggle(object) && !WkTabToggleGetState(object) && WkButtonUsable(object))
                WkTabToggleSelect(object);
        }
        break;
    }
    for (const auto& [form, p] : turns) WkFormSetPage(form, p);
}

WkObject* WkFormGetFocus(WkObject* formOrWindow) {
    WkObject* form = WkFormOf(formOrWindow);
    while (WkFormPage* page = WkFormCurrentPage(form)) {
        if (page->focused < 0 || page->focused >= page->count) return nullptr;
        WkObject* child = page->children[page->focused];
        if (!WkFormRecord(child)) return (child->layout & WK_LAYOUT_FOCUSABLE) ? child : nullptr;
        form = child;
    }
    return nullptr;
}

void WkFormFocusOut(WkObject* form) {
    WkFormPage* page = WkFormCurrentPage(form);
    if (!page) return;
    int old = page->focused;
    page->focused = -1;
    if (old >= 0 && old < page->count) WkSendSimpleMessage(page->children[old], WK_MSG_FOCUS_OUT);
    RemoveFocusFrame(form);
    CallFocusCallback(form, form, -1);
}

void WkFocusFirstInWindow(WkObject* object) {
    if (WkObject* form = WkFormOf(WkObjectGetShell(object))) WkFormFocusFirst(form);
}

void WkFormSetFocusCallback(WkObject* form, WkFocusCallback callback, void* userData) {
    if (WkFormData* d = WkFormRecord(form)) d->focusCallback = callback, d->focusData = userData;
}

void WkFormSetNoWrap(WkObject* form, int on) {
    if (WkFormData* d = WkFormRecord(form))
        d->flags = std::uint16_t(on ? d->flags | WK_FORM_NO_WRAP : d->flags & ~WK_FORM_NO_WRAP);
}

void WkFormSetFocusFrame(WkObject* object, int on) {
    if (!object) return;
    if (WkFormData* d = WkFormRecord(object->outer ? object->outer : object))
        d->flags = std::uint16_t(on ? d->flags | WK_FORM_FOCUS_FRAME : d->flags & ~WK_FORM_FOCUS_FRAME);
}

void WkFormLinkFocus(WkObject* a, WkObject* b) {
    WkFormData* da = WkFormRecord(a);
    WkFormData* db = WkFormRecord(b);
    if (!da || !db || Contains(a, b) || Contains(b, a)) return;
    da->nextFocusForm = b;
    db->previousFocusForm = a;
}

void WkObjectScrollIntoView(WkObject* object) {
    if (!object) return;
    WkRect visible;
    int vx, vy;
    WkObjectGetVisibleRect(object, &visible, &vx, &vy);
    if (visible.width == object->width && visible.height == object->height) return;
    long x = object->x, y = object->y;
    WkObject* form = object->parent;
    while (WkFormRecord(form) && !WkFormRecord(form)->scroll) {
        x += form->x, y += form->y;
        form = form->parent;
    }
    WkFormData* d = WkFormRecord(form);
    if (!d) return;
    WkFormScroll* s = d->scroll;
    auto follow = [](long offset, long start, int size, int formSize, int view) {
        if (view <= 0) return offset;
        if (start < offset) return start;
        if (start + size > offset + formSize) return start - formSize + std::min(size, view);
        return offset;
    };
    long newY = follow(s->y, y, object->height, form->height, s->viewHeight);
    long newX = follow(s->x, x, object->width, form->width, s->viewWidth);
    // A heading view of a table with frozen headings moves with its body.
    WkObject* scrolled = WkTableScrolledView(form);
    if (newY != s->y) WkFormScrollToY(scrolled, int(newY));
    if (newX != s->x) WkFormScrollToX(scrolled, int(newX));
}
