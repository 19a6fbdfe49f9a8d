#include "toolkit/widgets/form.h"

#include "toolkit/core/draw_image.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/log.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_layout.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/form_scroll.h"
#include "toolkit/widgets/header_table.h"

#include <algorithm>
#include <cstring>

namespace {

struct StockFile {
    const char* name;
    int transparentCorner;
};
constexpr StockFile kStockFiles[WK_STOCK_BITMAPS] = {
    {"pfpagup.bmp", 0}, {"pfpagdw.bmp", 0}, {"pfhome.bmp", 0}, {"pfend.bmp", 1},
    {"pfrowup.bmp", 0}, {"pfrowdw.bmp", 0}, {"sbup.bmp", 1},   {"sbdown.bmp", 1},
    {"sbleft.bmp", 1},  {"sbright.bmp", 1}, {"spinup.bmp", 1}, {"spindown.bmp", 1},
};

WkImage* stockBitmaps[WK_STOCK_BITMAPS] = {};
bool classReady = false;
int switchPolicy = 0;
// What the class set-up may change in the templates.
std::uint8_t templateSpacing = 3;
std::uint8_t templateShadow[3] = {WK_SHADOW_OUT, 1, 0};

int PageChildren(WkObject* form, WkObject* const** children) {
    WkFormPage* page = WkFormCurrentPage(form);
    if (!page) return 0;
    *children = page->children;
    return page->count;
}

int ScrollOffset(WkObject* form, int* dx, int* dy) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !d->scroll) return 0;
    *dx = d->scroll->x;
    *dy = d->scroll->y;
    return 1;
}

WkObject* FocusedChild(WkObject* form) {
    WkFormPage* page = WkFormCurrentPage(form);
    return page && page->focused >= 0 && page->focused < page->count ? page->children[page->focused] : nullptr;
}

// Takes a child out of its page without any layout: for a form being
// destroyed, which is going with all its children anyway.
void DropChild(WkObject* form, WkObject* child) {
    WkFormData* d = WkFormRecord(form);
    for (int p = 0; d && p < d->pageCount; ++p) {
        WkFormPage& page = d->pages[p];
        for (int i = 0; i < page.count; ++i) {
            if (page.children[i] != child) continue;
            std::memmove(page.children + i, page.children + i + 1, sizeof(WkObject*) * (page.count - i - 1));
            --page.count;
            if (page.focused == i) page.focused = -1;
            else if (page.focused > i) --page.focused;
            child->parent = nullptr;
            return;
        }
    }
}

void RemoveChildSeam(WkObject* form, WkObject* child) {
    if (form->state & WK_STATE_DESTROYING) DropChild(form, child);
    else WkObjectRemoveFromParent(child, 0);
}

// The wheel over a scrolled form turns its bar.
WkObject* WheelReceiver(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !d->scroll) return nullptr;
    return d->scroll->verticalBar ? d->scroll->verticalBar : d->scroll->horizontalBar;
}

WkObject* MakeMainForm(WkObject* shell) { return WkCreateVerticalForm(shell); }

void InstallIntoCore() {
    WkFormAccess access{};
    access.pageChildren = PageChildren;
    access.scrollOffset = ScrollOffset;
    access.removeChild = RemoveChildSeam;
    access.wheelReceiver = WheelReceiver;
    access.hasTableBody = WkTableHasFrozenHeadings;
    access.focusedChild = FocusedChild;
    access.focusHolder = WkFormGetFocus;
    access.setFocus = WkObjectSetFocusBy;
    access.focusPrevious = WkFocusPrevious;
    WkSetFormAccess(&access);
    WkSetMainFormMaker(MakeMainForm);
    WkShutdownHooks hooks = WkCurrentShutdownHooks();
    hooks.freeStockBitmaps = WkFreeStockBitmaps;
    WkSetShutdownHooks(&hooks);
}

// Linked in with the first widget: top-level windows made from then on get
// real forms.
[[maybe_unused]] const bool installed = (InstallIntoCore(), true);

void Tie(std::uint8_t* kind, std::int16_t* sibling, std::uint8_t newKind, int newSibling) {
    *kind = newKind;
    *sibling = std::int16_t(newSibling);
}

// The ties a table child takes from its place in the grid.
void LinkTableChild(WkObject** children, int i, int columns) {
    WkObject* c = children[i];
    if (i % columns == 0) Tie(&c->attachLeft, &c->siblingLeft, WK_ATTACH_EDGE, -1);
    else {
        Tie(&c->attachLeft, &c->siblingLeft, WK_ATTACH_SIBLING, i - 1);
        Tie(&children[i - 1]->attachRight, &children[i - 1]->siblingRight, WK_ATTACH_SIBLING, i);
    }
    if (i < columns) Tie(&c->attachTop, &c->siblingTop, WK_ATTACH_EDGE, -1);
    else {
        Tie(&c->attachTop, &c->siblingTop, WK_ATTACH_SIBLING, i - columns);
        Tie(&children[i - columns]->attachBottom, &children[i - columns]->siblingBottom, WK_ATTACH_SIBLING, i);
    }
    Tie(&c->attachBottom, &c->siblingBottom, WK_ATTACH_EDGE, -1);
    Tie(&c->attachRight, &c->siblingRight, WK_ATTACH_EDGE, -1);
}

void SetTableShape(WkFormData* d) {
    WkTableData* t = d->table;
    int count = d->pages[0].count;
    t->rows = std::int16_t((count + t->columns - 1) / t->columns);
    WkTableGrowSlots(&t->columnSlots, &t->columnCapacity, t->columns);
    WkTableGrowSlots(&t->rowSlots, &t->rowCapacity, t->rows);
}

// A child stands for its share of the colours: the new ones shaded to its
// percentages when it inherits them.
void PassColors(WkObject* child, WkColor background, WkColor foreground) {
    if (WkImageHasTransparency(child->image) && child->image &&
        (child->colorFlags & WK_INHERIT_DERIVED_IMAGE))
        WkRefreshBackground(child, 0);
    bool inheritBg = child->colorFlags & WK_INHERIT_BACKGROUND;
    bool inheritFg = child->colorFlags & WK_INHERIT_FOREGROUND;
    if (!inheritBg && !inheritFg) {
        if (child->transparency == WK_TRANSPARENT) {
            WkStoreColors(child, WkAddColorRef(background), WkAddColorRef(foreground));
            WkSendSimpleMessage(child, WK_MSG_RECOLOR);
        }
        return;
    }
    auto shade = [](WkColor c, int percent) { return percent == 100 ? WkAddColorRef(c) : WkShadeColor(c, percent); };
    WkApplyColorsOrKeep(child, inheritBg ? shade(background, child->backgroundPercent) : WK_COLOR_KEEP,
                        inheritFg ? shade(foreground, child->foregroundPercent) : WK_COLOR_KEEP);
}

template <class Visit> void EveryChildLastFirst(WkFormData* d, Visit visit) {
    for (int p = d->pageCount - 1; p >= 0; --p)
        for (int i = d->pages[p].count - 1; i >= 0; --i) visit(d->pages[p].children[i]);
}

void Recolor(WkFormData* d) {
    EveryChildLastFirst(d, [](WkObject* child) {
        WkRefreshBackground(child, 0);
        WkSendSimpleMessage(child, WK_MSG_RECOLOR);
    });
}

void SetActive(WkObject* form, WkFormPage* page, std::intptr_t on) {
    for (int i = 0; i < page->count; ++i) {
        WkObject* child = page->children[i];
        if (on) {
            if (!(form->state & WK_STATE_SENSITIVE)) continue;
            child->state |= WK_STATE_ACTIVE;
        } else {
            if (!(child->state & WK_STATE_ACTIVE)) continue;
            child->state &= std::uint16_t(~WK_STATE_ACTIVE);
        }
        WkSendSimpleMessage(child, WK_MSG_ACTIVE, on);
    }
}

void Realize(WkObject* form, WkFormData* d) {
    if (form->state & WK_STATE_NEEDS_LAYOUT) WkFormQuerySize(form);
    WkFormPage* page = &d->pages[d->currentPage];
    for (int i = 0; i < page->count; ++i) {
        WkObject* child = page->children[i];
        child->state |= WK_STATE_REALIZED;
        WkSendSimpleMessage(child, WK_MSG_REALIZE);
        WkRefreshBackground(child, 0);
    }
}

void Unrealize(WkFormPage* page, int type) {
    for (int i = 0; i < page->count; ++i) {
        WkObject* child = page->children[i];
        if (!(child->state & WK_STATE_REALIZED)) continue;
        child->state &= std::uint16_t(~WK_STATE_REALIZED);
        WkSendSimpleMessage(child, type);
    }
}

void Destroy(WkObject* form, WkFormData* d) {
    for (int p = 0; p < d->pageCount; ++p) {
        WkFormPage& page = d->pages[p];
        while (page.count > 0) {
            WkObject* child = page.children[page.count - 1];
            WkObjectDestroy(child);
            // A child that refused to go (already going) leaves the page anyway.
            if (page.count > 0 && page.children[page.count - 1] == child) DropChild(form, child);
        }
        WkFree(page.children);
    }
    WkFree(d->pages);
    d->pages = nullptr;
    d->pageCount = 0;
    WkFree(d->scroll);
    d->scroll = nullptr;
    if (d->table) {
        WkFree(d->table->columnSlots);
        WkFree(d->table->rowSlots);
        WkFree(d->table);
        d->table = nullptr;
    }
    WkFreeCallbacks(&d->accelerators);
}

} // namespace

WkImage* WkStockBitmap(int slot) { return slot >= 0 && slot < WK_STOCK_BITMAPS ? stockBitmaps[slot] : nullptr; }

void WkInitFormClass() {
    InstallIntoCore();
    if (classReady) return;
    for (int i = 0; i < WK_STOCK_BITMAPS; ++i)
        WkLoadToolkitBitmap(WkGetToolkitDir(), kStockFiles[i].name, &stockBitmaps[i], kStockFiles[i].transparentCorner);
    templateSpacing = 3;
    int spacing = 0;
    if (WkReadIntSetting("Form", "childSpacing", &spacing) && spacing >= 1 && spacing <= 20)
        templateSpacing = std::uint8_t(spacing);
    int type, width, outer;
    templateShadow[0] = WK_SHADOW_OUT, templateShadow[1] = 1, templateShadow[2] = 0;
    if (WkReadShadowSetting("Form", &type, &width, &outer))
        templateShadow[0] = std::uint8_t(type), templateShadow[1] = std::uint8_t(width),
        templateShadow[2] = std::uint8_t(outer);
    switchPolicy = 0;
    WkReadIntSetting("Focus", "UseOldSwitchPolicy", &switchPolicy);
    classReady = true;
}

void WkFreeStockBitmaps() {
    // A toolkit started again sets the class up again, on its own settings,
    // and loads the pictures anew from its own toolkit folder and in its
    // own colours: one without them draws its arrows itself.
    for (WkImage*& image : stockBitmaps) {
        WkFreeImage(image);
        image = nullptr;
    }
    classReady = false;
}

int WkFocusSwitchPolicy() { return switchPolicy; }

WkObject* WkCreateForm(WkObject* parent, int count, int kind) {
    if (!classReady) WkInitFormClass();
    WkObject base = WkBaseTemplate(WK_CLASS_FORM);
    base.handler = WkFormHandler;
    base.shadowType = templateShadow[0];
    base.shadowWidth = templateShadow[1];
    base.outerShadowWidth = templateShadow[2];
    WkFormData data{};
    data.flags = WK_FORM_NO_WRAP;
    data.kind = std::uint8_t(kind);
    data.spacing = templateSpacing;
    data.pageCount = std::int16_t(kind == WK_FORM_TABLE ? 1 : std::clamp(count, 1, 32767));
    WkObject* form = WkNewObject(base, &data, sizeof data);
    WkFormData* d = WkFormRecord(form);
    d->pages = static_cast<WkFormPage*>(WkCalloc(d->pageCount, sizeof(WkFormPage)));
    for (int p = 0; p < d->pageCount; ++p) d->pages[p].focused = -1;
    if (kind == WK_FORM_TABLE) {
        d->table = static_cast<WkTableData*>(WkCalloc(1, sizeof(WkTableData)));
        d->table->columns = std::int16_t(std::clamp(count, 1, 32767));
        d->table->columnCapacity = d->table->rowCapacity = 0;
        WkTableGrowSlots(&d->table->columnSlots, &d->table->columnCapacity, 0);
        WkTableGrowSlots(&d->table->rowSlots, &d->table->rowCapacity, 0);
        SetTableShape(d);
    }
    WkInheritColors(parent, form);
    WkAddChild(parent, form);
    return form;
}

WkObject* WkCreateAttachmentForm(WkObject* parent) { return WkCreateForm(parent, 1, WK_FORM_ATTACHMENT); }
WkObject* WkCreateVerticalForm(WkObject* parent) { return WkCreateForm(parent, 1, WK_FORM_VERTICAL); }
WkObject* WkCreateHorizontalForm(WkObject* parent) { return WkCreateForm(parent, 1, WK_FORM_HORIZONTAL); }
WkObject* WkCreateTableForm(WkObject* parent, int columns) { return WkCreateForm(parent, columns, WK_FORM_TABLE); }

WkFormData* WkFormRecord(WkObject* object) {
    if (!object || object->classCode != WK_CLASS_FORM || object->handler != WkFormHandler) return nullptr;
    return static_cast<WkFormData*>(object->classRecord);
}

WkObject* WkFormOf(WkObject* object) {
    if (WkShellData* shell = WkShellRecord(object)) object = shell->mainForm;
    return WkFormRecord(object) ? object : nullptr;
}

WkFormPage* WkFormCurrentPage(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d || d->currentPage < 0 || d->currentPage >= d->pageCount) return nullptr;
    return &d->pages[d->currentPage];
}

int WkFormFindChild(WkObject* form, WkObject* child, int* page, int* index) {
    WkFormData* d = WkFormRecord(form);
    for (int p = d ? d->pageCount - 1 : -1; p >= 0; --p)
        for (int i = 0; i < d->pages[p].count; ++i)
            if (d->pages[p].children[i] == child) {
                if (page) *page = p;
                if (index) *index = i;
                return 1;
            }
    return 0;
}

void WkAddChild(WkObject* parent, WkObject* child) {
    if (!parent || !child) return;
    if (WkShellData* shell = WkShellRecord(parent)) {
        if (!shell->mainForm) {
            shell->mainForm = shell->colorHolder = child;
            child->parent = parent;
            return;
        }
        parent = shell->colorHolder ? shell->colorHolder : shell->mainForm;
    }
    if (WkObject* inner = WkTableCellTarget(parent); inner != parent) {
        WkAddChild(inner, child);
        WkTableCellAdded(parent);
        return;
    }
    WkFormData* d = WkFormRecord(parent);
    WkFormPage* page = WkFormCurrentPage(parent);
    if (!d || !page) return;
    if (page->count >= WK_FORM_MAX_CHILDREN) {
        WkLog(1, "A form page holds at most %d children; one more is refused", WK_FORM_MAX_CHILDREN);
        return;
    }
    child->state |= WK_STATE_SHOWN;
    if (page->count == page->capacity) {
        int grown = std::min(page->capacity + 4, WK_FORM_MAX_CHILDREN);
        page->children = static_cast<WkObject**>(WkRealloc(page->children, sizeof(WkObject*) * grown));
        page->capacity = std::int16_t(grown);
    }
    int i = page->count;
    page->children[i] = child;
    child->siblingTop = child->siblingBottom = child->siblingLeft = child->siblingRight = -1;
    child->offsetTop = child->offsetBottom = child->offsetLeft = child->offsetRight = d->spacing;
    WkObject* previous = i > 0 ? page->children[i - 1] : nullptr;
    switch (d->kind) {
    case WK_FORM_ATTACHMENT:
        child->attachTop = child->attachLeft = WK_ATTACH_EDGE;
        child->attachBottom = child->attachRight = WK_ATTACH_NONE;
        break;
    case WK_FORM_VERTICAL:
        child->attachLeft = child->attachRight = child->attachBottom = WK_ATTACH_EDGE;
        if (!previous) Tie(&child->attachTop, &child->siblingTop, WK_ATTACH_EDGE, -1);
        else {
            Tie(&child->attachTop, &child->siblingTop, WK_ATTACH_SIBLING, i - 1);
            Tie(&previous->attachBottom, &previous->siblingBottom, WK_ATTACH_SIBLING, i);
        }
        break;
    case WK_FORM_HORIZONTAL:
        child->attachTop = child->attachBottom = child->attachRight = WK_ATTACH_EDGE;
        if (!previous) Tie(&child->attachLeft, &child->siblingLeft, WK_ATTACH_EDGE, -1);
        else {
            Tie(&child->attachLeft, &child->siblingLeft, WK_ATTACH_SIBLING, i - 1);
            Tie(&previous->attachRight, &previous->siblingRight, WK_ATTACH_SIBLING, i);
        }
        break;
    case WK_FORM_TABLE:
        LinkTableChild(page->children, i, d->table->columns);
        break;
    }
    page->count = std::int16_t(i + 1);
    child->parent = parent;
    if (d->table) SetTableShape(d);
    if ((parent->state & (WK_STATE_SENSITIVE | WK_STATE_ACTIVE)) == (WK_STATE_SENSITIVE | WK_STATE_ACTIVE))
        child->state |= WK_STATE_ACTIVE;
    if (WkObjectDrawable(parent)) {
        WkResize(parent, -1, -1);
        child->state |= WK_STATE_REALIZED;
    } else {
        parent->state |= WK_STATE_NEEDS_LAYOUT;
    }
}

void WkObjectRemoveFromParent(WkObject* object, int resizeParent) {
    if (!object) return;
    WkObject* form = object->parent;
    int p, i;
    if (!WkFormFindChild(form, object, &p, &i)) return;
    WkFormData* d = WkFormRecord(form);
    WkFormPage& page = d->pages[p];
    WkUnmapObject(object, 0);
    object->state &= std::uint16_t(~WK_STATE_REALIZED);
    if (WkShellData* shell = WkShellRecord(WkObjectGetShell(form)))
        if (shell->underPointer == object) shell->underPointer = nullptr;
    object->parent = nullptr;
    bool heldFocus = page.focused == i;
    // The focused index never names another child than the one removed.
    if (heldFocus) page.focused = -1;
    else if (page.focused > i) --page.focused;
    std::memmove(page.children + i, page.children + i + 1, sizeof(WkObject*) * (page.count - i - 1));
    --page.count;
    if (d->table) {
        WkTableRelink(form);
    } else if (d->kind == WK_FORM_VERTICAL || d->kind == WK_FORM_HORIZONTAL) {
        for (int k = 0; k < page.count; ++k) {
            WkObject* c = page.children[k];
            auto takeOver = [i](std::uint8_t* kind, std::int16_t* sibling, std::int16_t* offset, std::uint8_t gkind,
                                std::int16_t gsibling, std::int16_t goffset) {
                if (*kind == WK_ATTACH_SIBLING && *sibling == i) *kind = gkind, *sibling = gsibling, *offset = goffset;
            };
            takeOver(&c->attachTop, &c->siblingTop, &c->offsetTop, object->attachTop, object->siblingTop,
                     object->offsetTop);
            takeOver(&c->attachBottom, &c->siblingBottom, &c->offsetBottom, object->attachBottom,
                     object->siblingBottom, object->offsetBottom);
            takeOver(&c->attachLeft, &c->siblingLeft, &c->offsetLeft, object->attachLeft, object->siblingLeft,
                     object->offsetLeft);
            takeOver(&c->attachRight, &c->siblingRight, &c->offsetRight, object->attachRight,
                     object->siblingRight, object->offsetRight);
            for (std::int16_t* s : {&c->siblingTop, &c->siblingBottom, &c->siblingLeft, &c->siblingRight})
                if (*s > i) --*s;
        }
    }
    if (WkObjectDrawable(form)) WkResize(form, resizeParent ? -1 : form->width, resizeParent ? -1 : form->height);
    else form->state |= WK_STATE_NEEDS_LAYOUT;
    if (heldFocus) {
        WkSendSimpleMessage(object, WK_MSG_FOCUS_OUT);
        WkFocusFirstInWindow(form);
    }
}

void WkFormSetSpacing(WkObject* form, int pixels) {
    form = WkFormOf(form);
    WkObject* inner[4];
    if (int n = WkTableInnerTables(form, inner))
        for (int i = 0; i < n; ++i) WkFormSetSpacing(inner[i], pixels);
    else if (WkFormData* d = WkFormRecord(form))
        d->spacing = std::uint8_t(std::clamp(pixels, 0, 255));
}

void WkFormSetKind(WkObject* form, int kind) {
    if (WkFormData* d = WkFormRecord(form)) d->kind = std::uint8_t(kind);
}

int WkFormGetPage(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    return d ? d->currentPage : 0;
}

namespace {
void SetFlag(WkObject* form, std::uint16_t flag, bool on) {
    if (WkFormData* d = WkFormRecord(form)) d->flags = std::uint16_t(on ? d->flags | flag : d->flags & ~flag);
}
} // namespace

void WkFormSetPaintAll(WkObject* form) { SetFlag(form, WK_FORM_PAINT_ALL, true); }
void WkFormClearPaintAll(WkObject* form) { SetFlag(form, WK_FORM_PAINT_ALL, false); }
void WkFormSetPagingKeysOff(WkObject* form) { SetFlag(form, WK_FORM_NO_PAGING_KEYS, true); }
void WkFormSetPagingKeysOn(WkObject* form) { SetFlag(form, WK_FORM_NO_PAGING_KEYS, false); }

void WkTableGrowSlots(WkTableSlot** slots, std::int16_t* capacity, int needed) {
    if (needed <= *capacity) return;
    int grown = std::min(needed + 4, 32767);
    *slots = static_cast<WkTableSlot*>(WkRealloc(*slots, sizeof(WkTableSlot) * grown));
    for (int i = *capacity; i < grown; ++i) (*slots)[i] = WkTableSlot{0, WK_ALIGN_DEFAULT, 0};
    *capacity = std::int16_t(grown);
}

void WkTableShowGrid(WkObject* form, int on) {
    WkObject* inner[4];
    for (int i = 0, n = WkTableInnerTables(form, inner); i < n; ++i) WkTableShowGrid(inner[i], on);
    WkFormData* d = WkFormRecord(form);
    if (!d || !d->table) return;
    d->table->grid = on ? 1 : 0;
    if (!WkObjectDrawable(form)) return;
    if (form->transparency == WK_TRANSPARENT) WkObjectClear(form);
    WkRedraw(form, 0);
}
void WkTableGridOn(WkObject* form) { WkTableShowGrid(form, 1); }
void WkTableGridOff(WkObject* form) { WkTableShowGrid(form, 0); }

void WkTableRelink(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !d->table) return;
    WkFormPage& page = d->pages[0];
    for (int i = 0; i < page.count; ++i) LinkTableChild(page.children, i, d->table->columns);
    SetTableShape(d);
}

void WkTableSetColumns(WkObject* form, int columns) {
    WkFormData* d = WkFormRecord(form);
    if (!d || !d->table) return;
    d->table->columns = std::int16_t(std::clamp(columns, 1, 32767));
    WkTableRelink(form);
    if (WkObjectDrawable(form)) WkResize(form, -1, -1);
    else form->state |= WK_STATE_NEEDS_LAYOUT;
}

int WkTableGetColumns(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    return d && d->table ? d->table->columns : 0;
}

int WkFormHandler(WkObject* form, WkMessage* message) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return 0;
    WkFormPage* page = WkFormCurrentPage(form);
    switch (message->type) {
    case WK_MSG_KEY: {
        WkObject* child = FocusedChild(form);
        if (child && !WkObjectDrawable(child)) child = nullptr;
        // The focused object keeps the paging keys it takes (the cursor
        // keys of a field, a list's own paging); the form pages only with
        // those it leaves.
        if (WkIsPagingKey(WkKeyCode(message)) && child) {
            const WkMessage key = *message;
            if (WkSendMessage(child, message) || message->type != WK_MSG_KEY) return 1;
            *message = key;
            child = nullptr;
        }
        if (WkFormPagingKey(form, message)) return 1;
        if (WkInvokeCallbacks(d->accelerators, form, WkKeyCode(message), WkKeyCode(message), 1) > 0) return 1;
        return child ? WkSendMessage(child, message) : 0;
    }
    case WK_MSG_EXPOSE:
        WkFormExpose(form, message);
        return 1;
    case WK_MSG_DESTROY:
        Destroy(form, d);
        return 1;
    case WK_MSG_MAP:
        if (form->state & WK_STATE_REALIZED) Realize(form, d);
        return 1;
    case WK_MSG_UNMAP:
    case WK_MSG_UNREALIZE:
        if (page) Unrealize(page, message->type);
        return 1;
    case WK_MSG_QUERY_SIZE:
        WkFormQuerySize(form);
        return 1;
    case WK_MSG_RESIZE:
        WkFormPlaceChildren(form, WkNewWidth(message), WkNewHeight(message));
        return 1;
    case WK_MSG_FOCUS_OUT:
        WkFormFocusOut(form);
        return 1;
    case WK_MSG_REALIZE:
        Realize(form, d);
        return 1;
    case WK_MSG_COLORS: {
        auto background = WkNewBackground(message), foreground = WkNewForeground(message);
        WkFormRetintScrollBars(form);
        WkTabbedFormShareColors(form, background, foreground);
        EveryChildLastFirst(d, [&](WkObject* child) { PassColors(child, background, foreground); });
        return 1;
    }
    case WK_MSG_SHADOW:
        form->shadowType = std::uint8_t(WkNewShadowType(message));
        // A scrolled form's view is its whole size: it keeps no border.
        form->shadowWidth = d->scroll ? 0 : std::uint8_t(WkNewShadowWidth(message));
        form->outerShadowWidth = d->scroll ? 0 : std::uint8_t(WkNewOuterShadowWidth(message));
        WkRedraw(form, 1);
        return 1;
    case WK_MSG_SET_TEXT:
    case WK_MSG_GET_TEXT:
        return page && page->label ? WkSendMessage(page->label, message) : 0;
    case WK_MSG_SENSITIVE:
        WkRedrawPageTabOf(form);
        if (!(form->state & WK_STATE_ACTIVE)) return 1;
        [[fallthrough]];
    case WK_MSG_ACTIVE:
        if (page) SetActive(form, page, WkTurnedOn(message));
        return 1;
    case WK_MSG_TRANSPARENCY:
        WkTabbedFormShareTransparency(form, WkNewTransparency(message));
        Recolor(d);
        return 1;
    case WK_MSG_IMAGE:
    case WK_MSG_RECOLOR:
        Recolor(d);
        return 1;
    default:
        return 0;
    }
}
