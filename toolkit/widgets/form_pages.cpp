#include "toolkit/widgets/form_pages.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/form_scroll.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/scroll_bar.h"
#include "toolkit/widgets/tab_toggle.h"

#include <cstdio>
#include <cstring>

namespace {

bool Inside(WkObject* object, WkObject* form) {
    for (WkObject* o = object; o; o = o->parent)
        if (o == form) return true;
    return false;
}

void SetNumber(WkObject* label, int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", number);
    WkObjectSetText(label, text);
}

// Shows page p of the form: the focus leaves the old page and, when it was
// there, enters the new one.
void SwitchPage(WkObject* form, int p) {
    WkFormData* d = WkFormRecord(form);
    if (!d || p < 0 || p >= d->pageCount || p == d->currentPage) return;
    bool hadFocus = d->pages[d->currentPage].focused >= 0;
    if (!hadFocus) {
        WkShellData* shell = WkShellRecord(WkObjectGetShell(form));
        if (shell && Inside(shell->underPointer, form)) shell->underPointer = nullptr;
    } else {
        WkFormFocusOut(form);
    }
    bool shown = form->state & WK_STATE_SHOWN;
    bool drawable = WkObjectDrawable(form);
    if (drawable) {
        form->state &= std::uint16_t(~WK_STATE_SHOWN);
        WkSendSimpleMessage(form, WK_MSG_UNMAP);
    }
    d->currentPage = std::int16_t(p);
    // The window's activation reached only the page shown then.
    if (form->state & WK_STATE_ACTIVE) WkSendSimpleMessage(form, WK_MSG_ACTIVE, 1);
    if (d->pageNumberLabel) SetNumber(d->pageNumberLabel, p + 1);
    if (drawable && form->transparency == WK_TRANSPARENT) WkObjectClearBehind(form);
    if (shown) {
        form->state &= std::uint16_t(~WK_STATE_SHOWN);
        WkMapObject(form);
    }
    if (hadFocus && d->pages[p].focused < 0 && !WkFormFocusFirst(form)) WkFocusPrevious(form->parent);
    if (d->pageCallback) d->pageCallback(form, p, d->pageData);
}

WkObject* AddTab(WkObject* row, int k, WkFontSlot font) {
    char text[16];
    std::snprintf(text, sizeof text, "P.%d", k + 1);
    WkObject* tab = WkCreatePageTab(row, text, font);
    WkObjectSetUserData(tab, reinterpret_cast<void*>(std::intptr_t(k)));
    WkObjectSetResizable(tab, 0, 0);
    WkTabToggleSetCallback(tab, WkTabPressed, reinterpret_cast<void*>(std::intptr_t(k)));
    return tab;
}

void SeeThroughLikeParent(WkObject* o) {
    o->transparency = WK_TRANSPARENT;
    WkObjectInheritBackground(o, 1, 100);
    WkObjectInheritForeground(o, 1);
}

int PagingSlot(int key) {
    switch (key) {
    case WK_KEY_PGUP: return WK_BMP_PAGE_UP;
    case WK_KEY_PGDN: return WK_BMP_PAGE_DOWN;
    case WK_KEY_HOME: return WK_BMP_HOME;
    case WK_KEY_END: return WK_BMP_END;
    case WK_KEY_UP: return WK_BMP_ROW_UP;
    case WK_KEY_DOWN: return WK_BMP_ROW_DOWN;
    default: return -1;
    }
}

bool HoldsFocus(WkObject* target) {
    if (WkFormPage* page = WkFormCurrentPage(target)) return page->focused >= 0;
    return target->state & WK_STATE_FOCUS;
}

void PagingPressed(WkObject* button, void*, void* data) {
    auto* target = static_cast<WkObject*>(data);
    int key = int(reinterpret_cast<std::intptr_t>(WkObjectGetUserData(button)));
    if (!HoldsFocus(target)) WkObjectSetFocus(target);
    // A form pages itself: the object focused on its page must not take
    // the key on the way (End would only move a field's cursor).
    WkMessage message;
    message.type = WK_MSG_KEY;
    WkSetKey(&message, 0, key);
    if (!WkFormRecord(target) || !WkFormPagingKey(target, &message)) WkSendMessage(target, &message);
}

} // namespace

void WkFormSetPage(WkObject* form, int page) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return;
    if (page < 0 || page >= d->pageCount) return WkBeep();
    if (page == d->currentPage) return;
    // A tabbed form switches through its tabs, whose callback shows the page.
    WkObject* tab = d->pages[page].label;
    if (d->pages[d->currentPage].label && tab) WkTabToggleSelect(tab);
    else SwitchPage(form, page);
}

void WkFormSetPageCount(WkObject* form, int count) {
    WkFormData* d = WkFormRecord(form);
    if (!d || d->table || count < 2 || count > 100 || count == d->pageCount) return;
    if (d->currentPage >= count) WkFormSetPage(form, count - 1);
    for (int p = d->pageCount - 1; p >= count; --p) {
        WkFormPage& page = d->pages[p];
        while (page.count > 0) {
            WkObject* child = page.children[--page.count];
            child->parent = nullptr;
            child->state &= WK_STATE_REALIZED;
            WkObjectDestroy(child);
        }
        WkFree(page.children);
        WkObject* tab = page.label;
        page = WkFormPage{};
        if (tab) WkObjectDestroy(tab);
    }
    int old = d->pageCount;
    d->pages = static_cast<WkFormPage*>(WkRealloc(d->pages, sizeof(WkFormPage) * count));
    for (int p = old; p < count; ++p) d->pages[p] = WkFormPage{nullptr, nullptr, 0, 0, -1};
    WkObject* first = d->pages[0].label;
    if (first && first->parent) {
        WkObject* last = nullptr;
        for (int k = old; k < count; ++k) d->pages[k].label = last = AddTab(first->parent, k, first->font);
        if (last) WkObjectAttachRight(last, WK_ATTACH_NONE, 0, nullptr);
    }
    d->pageCount = std::int16_t(count);
    if (WkObjectDrawable(form)) WkResize(form, -1, -1);
    else form->state |= WK_STATE_NEEDS_LAYOUT;
}

void WkFormSetPageCallback(WkObject* form, WkValueCallback callback, void* userData) {
    if (WkFormData* d = WkFormRecord(form)) d->pageCallback = callback, d->pageData = userData;
}

void WkFormSetPageLabelText(WkObject* form, const char* text) {
    WkFormPage* page = WkFormCurrentPage(form);
    if (page && page->label) WkObjectSetText(page->label, text);
}

char* WkFormGetPageLabelText(WkObject* form, char* buffer, int size) {
    if (buffer && size > 0) buffer[0] = 0;
    WkFormPage* page = WkFormCurrentPage(form);
    if (!page || !page->label) return nullptr;
    return WkObjectGetText(page->label, buffer, std::size_t(size));
}

bool WkIsPagingKey(int key) {
    return key == WK_KEY_HOME || key == WK_KEY_END || key == WK_KEY_PGUP || key == WK_KEY_PGDN;
}

int WkFormPagingKey(WkObject* form, const WkMessage* message) {
    WkFormData* d = WkFormRecord(form);
    if (d && (d->flags & WK_FORM_TABBED) && d->innerPagedForm) d = WkFormRecord(form = d->innerPagedForm);
    if (!d) return 0;
    int key = WkKeyCode(message);
    if (!WkIsPagingKey(key)) return 0;
    if (WkObject* bar = d->scroll ? d->scroll->verticalBar : nullptr) {
        const WkFormScroll& s = *d->scroll;
        int target = key == WK_KEY_HOME  ? 0
                     : key == WK_KEY_END ? s.scrolledHeight - s.viewHeight
                     : key == WK_KEY_PGUP ? s.y - s.viewHeight
                                          : s.y + s.viewHeight;
        WkScrollBarSetValue(bar, target);
        return 1;
    }
    if (d->pageCount < 2 || (d->flags & WK_FORM_NO_PAGING_KEYS)) return 0;
    int page = key == WK_KEY_HOME  ? 0
               : key == WK_KEY_END ? d->pageCount - 1
               : key == WK_KEY_PGUP ? d->currentPage - 1
                                    : d->currentPage + 1;
    WkFormSetPage(form, page);
    return 1;
}

WkObject* WkCreatePagingButton(WkObject* parent, WkObject* target, int key) {
    WkImage* picture = WkStockBitmap(PagingSlot(key));
    WkObject* button = picture ? WkCreateButtonImages3Only(parent, picture, nullptr, nullptr)
                               : WkCreateButton(parent, "", 0);
    WkObjectSetUserData(button, reinterpret_cast<void*>(std::intptr_t(key)));
    WkObjectRefuseFocus(button);
    WkObjectSetResizable(button, 0, -1);
    WkButtonSetRepeat(button, 500, 100);
    WkButtonSetCallback(button, PagingPressed, target);
    return button;
}

WkObject* WkCreatePagedForm(WkObject* parent, int pages, int kind) {
    if (pages <= 1) return WkCreateForm(parent, 1, kind);
    WkObject* outer = WkCreateHorizontalForm(parent);
    WkFormSetSpacing(outer, 0);
    outer->shadowType = WK_SHADOW_NONE;
    outer->shadowWidth = outer->outerShadowWidth = 0;
    outer->layout |= WK_LAYOUT_OUTER_WRAPPER;
    WkObject* paged = WkCreateForm(outer, pages, kind);
    SeeThroughLikeParent(paged);
    WkObject* column = WkCreateVerticalForm(outer);
    SeeThroughLikeParent(column);
    WkObjectSetShadow(column, WK_SHADOW_IN, 2, 0);
    WkFormSetSpacing(column, 0);
    for (int key : {WK_KEY_PGUP, WK_KEY_HOME, WK_KEY_END, WK_KEY_PGDN}) WkCreatePagingButton(column, paged, key);
    WkObject* number = WkCreateLabel(column, "1", 0);
    WkObjectSetResizable(number, 0, 0);
    WkObjectAttachTop(number, WK_ATTACH_NONE, 0, nullptr);
    WkFormRecord(paged)->pageNumberLabel = number;
    char text[16];
    std::snprintf(text, sizeof text, "%d", pages);
    WkObjectSetResizable(WkCreateLabel(column, text, 0), 0, 0);
    paged->state |= WK_STATE_PART;
    paged->outer = outer;
    return paged;
}

WkObject* WkCreateAttachmentPagedForm(WkObject* parent, int pages) {
    return WkCreatePagedForm(parent, pages, WK_FORM_ATTACHMENT);
}
WkObject* WkCreateVerticalPagedForm(WkObject* parent, int pages) {
    return WkCreatePagedForm(parent, pages, WK_FORM_VERTICAL);
}
WkObject* WkCreateHorizontalPagedForm(WkObject* parent, int pages) {
    return WkCreatePagedForm(parent, pages, WK_FORM_HORIZONTAL);
}
WkObject* WkCreateAttachmentPagesForm(WkObject* parent, int pages) {
    return WkCreateForm(parent, pages, WK_FORM_ATTACHMENT);
}
WkObject* WkCreateVerticalPagesForm(WkObject* parent, int pages) { return WkCreateForm(parent, pages, WK_FORM_VERTICAL); }
WkObject* WkCreateHorizontalPagesForm(WkObject* parent, int pages) {
    return WkCreateForm(parent, pages, WK_FORM_HORIZONTAL);
}

WkObject* WkCreateTabbedForm(WkObject* parent, int pages, int kind, WkFontSlot font) {
    WkObject* outer = WkCreateVerticalForm(parent);
    outer->layout |= WK_LAYOUT_OUTER_WRAPPER | WK_LAYOUT_SELF_ATTRS;
    outer->shadowType = WK_SHADOW_NONE;
    outer->shadowWidth = outer->outerShadowWidth = 0;
    WkFormSetSpacing(outer, 0);
    outer->transparency = WK_TRANSPARENT;
    WkFormData* od = WkFormRecord(outer);
    od->flags |= WK_FORM_TABBED;

    WkObject* row = WkCreateHorizontalScrollView(outer, 10, -1);
    WkObjectSetResizable(row, 1, 0);
    WkFormSetNoWrap(row, 0);
    WkObjectInheritBackground(row, 1, 100);
    row->transparency = WK_TRANSPARENT;
    row->layout |= WK_LAYOUT_SELF_ATTRS;
    WkFormRecord(row)->flags |= WK_FORM_TAB_ROW;

    WkObject* paged = WkCreateForm(outer, pages, kind);
    paged->shadowType = WK_SHADOW_NONE;
    paged->shadowWidth = paged->outerShadowWidth = 0;
    WkObjectSetOffsets(paged, 0, 2, 2, 2);
    paged->font = font;
    od->innerPagedForm = paged;
    WkObjectSetUserData(row, paged);
    WkFormData* pd = WkFormRecord(paged);
    WkObject* tab = nullptr;
    for (int k = 0; k < pd->pageCount; ++k) pd->pages[k].label = tab = AddTab(row, k, font);
    if (tab) WkObjectAttachRight(tab, WK_ATTACH_NONE, 0, nullptr);
    if (pd->pageCount > 0) WkTabToggleSelect(pd->pages[0].label);
    paged->state |= WK_STATE_PART;
    paged->outer = outer;
    return paged;
}

WkObject* WkCreateTabbedAttachmentForm(WkObject* parent, int pages, WkFontSlot font) {
    return WkCreateTabbedForm(parent, pages, WK_FORM_ATTACHMENT, font);
}
WkObject* WkCreateTabbedVerticalForm(WkObject* parent, int pages, WkFontSlot font) {
    return WkCreateTabbedForm(parent, pages, WK_FORM_VERTICAL, font);
}
WkObject* WkCreateTabbedHorizontalForm(WkObject* parent, int pages, WkFontSlot font) {
    return WkCreateTabbedForm(parent, pages, WK_FORM_HORIZONTAL, font);
}

void WkTabPressed(WkObject* tab, int state, void* userData) {
    if (!state || !tab || !tab->parent) return;
    SwitchPage(static_cast<WkObject*>(WkObjectGetUserData(tab->parent)), int(reinterpret_cast<std::intptr_t>(userData)));
}

int WkPageTabLeadsSomewhere(WkObject* object) {
    WkObject* row = WkIsTabToggle(object) ? object->parent : nullptr;
    WkFormData* rd = WkFormRecord(row);
    if (!rd || !(rd->flags & WK_FORM_TAB_ROW)) return 1;
    WkFormData* d = WkFormRecord(static_cast<WkObject*>(WkObjectGetUserData(row)));
    const int k = int(reinterpret_cast<std::intptr_t>(WkObjectGetUserData(object)));
    if (!d || k < 0 || k >= d->pageCount || d->pages[k].label != object) return 1;
    const WkFormPage& page = d->pages[k];
    for (int i = 0; i < page.count; ++i)
        if (page.children[i]->state & WK_STATE_SENSITIVE) return 1;
    return page.count == 0;
}

void WkRedrawPageTabOf(WkObject* form) {
    WkObject* paged = form ? form->parent : nullptr;
    int p;
    if (!WkFormRecord(paged) || !WkFormFindChild(paged, form, &p, nullptr)) return;
    if (WkObject* tab = WkFormRecord(paged)->pages[p].label) WkRedraw(tab, 1);
}

void WkTabbedFormShareFont(WkObject* outer) {
    WkFormData* od = WkFormRecord(outer);
    WkFormData* pd = od ? WkFormRecord(od->innerPagedForm) : nullptr;
    for (int k = 0; pd && k < pd->pageCount; ++k)
        if (WkObject* tab = pd->pages[k].label) tab->font = od->innerPagedForm->font;
}

void WkTabbedFormShareColors(WkObject* paged, WkColor background, WkColor foreground) {
    WkFormData* d = WkFormRecord(paged);
    WkObject* first = d && d->pageCount > 0 ? d->pages[0].label : nullptr;
    if (!first || !first->parent) return;
    // The row stores them without the message, which would reach the tabs a
    // second time; the outer form is left alone: its own colour changes
    // come down to here.
    WkAssignColors(first->parent, background, foreground);
    for (int k = 0; k < d->pageCount; ++k)
        if (WkObject* tab = d->pages[k].label) WkApplyColors(tab, background, foreground);
}

void WkTabbedFormShareTransparency(WkObject* paged, int level) {
    WkFormData* d = WkFormRecord(paged);
    for (int k = 0; d && k < d->pageCount; ++k)
        if (WkObject* tab = d->pages[k].label) WkObjectSetTransparency(tab, level);
}

void WkTabbedFormDraw(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return;
    if ((d->flags & WK_FORM_TABBED) && d->innerPagedForm) {
        WkObject* paged = d->innerPagedForm;
        int top = paged->y - 2;
        WkObjectDrawBevel(form, 0, top, form->width, form->height - top, paged->lightShadow, paged->darkShadow, 2);
    }
    if (d->flags & WK_FORM_TAB_ROW) {
        auto* paged = static_cast<WkObject*>(form->userData);
        if (!paged) return;
        int w = form->width, h = form->height;
        WkObjectDrawLine(form, 0, h - 2, w - 4, h - 2, paged->lightShadow);
        WkObjectDrawLine(form, 0, h - 1, w - 3, h - 1, paged->lightShadow);
    }
}
