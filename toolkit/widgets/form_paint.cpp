
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/rect_list.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"

namespace {

bool Overlap(const WkRect& a, const WkRect& b, WkRect* out) {
    WkIntersection cut;
    if (!WkIntersectRect(a, b, &cut)) return false;
    *out = cut.overlap;
    return true;
}

void PaintArea(WkObject* form, const WkMessage* expose, const WkRect& area) {
    WkMessage m = *expose;
    WkSetExposeClip(&m, area);
    WkBeginDraw(form, &m);
    WkPaintObjectBackground(form);
}

// The expose message's flags: the parent painted its whole area
// (children paint theirs in full too), and what lies behind the object is
// drawn already (a transparent form then need not clear it again).
constexpr int kParentPainted = 1, kBehindCleared = 2;

// A transparent form clears its whole exposed area to what lies behind it
// before its children draw. A transparent child form would clear the same
// pixels again with the same picture, once per level of nesting: it need not
// when nothing drew over them since, neither a sibling before it that
// overlaps it nor a handler of its own that draws before it clears.
bool BehindLeftAsCleared(WkFormPage* page, int index, int sx, int sy) {
    WkObject* c = page->children[index];
    if (c->classCode != WK_CLASS_FORM || c->transparency != WK_TRANSPARENT || c->handlers) return false;
    const WkRect place{c->x - sx, c->y - sy, c->width, c->height};
    for (int k = 0; k < index; ++k) {
        WkObject* before = page->children[k];
        WkRect overlap;
        if (WkObjectDrawable(before) &&
            Overlap(place, WkRect{before->x - sx, before->y - sy, before->width, before->height}, &overlap))
            return false;
    }
    return true;
}

bool IsMainForm(WkObject* form) {
    WkShellData* shell = WkShellRecord(form->parent);
    return shell && shell->mainForm == form;
}

// A form painted by its parent already that looks just like the parent
// needs only its frame.
bool OnlyShadow(WkObject* form, WkFormData* d) {
    WkObject* parent = form->parent;
    return parent && !IsMainForm(form) && form->background == parent->background && !form->image && !d->scroll &&
           d->pageCount == 1 && parent->transparency != WK_TRANSPARENT && !parent->image;
}

void DrawGrid(WkObject* form, WkFormData* d) {
    WkTableData* t = d->table;
    int b = WkObjectBorder(form), s = d->spacing;
    int columns = std::min<int>(t->columns, d->pages[0].count);
    if (columns == 0) return;
    int left = b + s / 2, top = b + s / 2, right = left, bottom = top;
    for (int k = 0; k < columns; ++k) right += t->columnSlots[k].size + s;
    for (int k = 0; k < t->rows; ++k) bottom += t->rowSlots[k].size + s;
    WkColor color = form->foreground;
    for (int k = 0, x = left; k <= columns; x += k < columns ? t->columnSlots[k].size + s : 0, ++k)
        WkObjectDrawLine(form, x, top, x, bottom, color);
    for (int k = 0, y = top; k <= t->rows; y += k < t->rows ? t->rowSlots[k].size + s : 0, ++k)
        WkObjectDrawLine(form, left, y, right, y, color);
}

} // namespace

void WkFormExpose(WkObject* form, WkMessage* message) {
    WkFormData* d = WkFormRecord(form);
    WkFormPage* page = WkFormCurrentPage(form);
    if (!d || !page || !WkObjectDrawable(form)) return;
    int b = WkObjectBorder(form);
    WkRect area;
    if (!Overlap(WkExposeClip(message), WkRect{b, b, form->width - 2 * b, form->height - 2 * b}, &area)) {
        WkObjectDrawShadow(form);
        return;
    }
    int sx = 0, sy = 0;
    WkFormScrollOffset(form, &sx, &sy);
    bool parentPainted = (WkExposeFlags(message) & kParentPainted) != 0;
    bool paintAll = (d->flags & WK_FORM_PAINT_ALL) || parentPainted;
    if (paintAll) {
        if (parentPainted && OnlyShadow(form, d)) WkObjectDrawShadow(form);
        else PaintArea(form, message, WkExposeClip(message));
    } else {
        if (form->transparency == WK_TRANSPARENT && !(WkExposeFlags(message) & kBehindCleared))
            WkObjectClearExposed(form, message);
        WkRectNode* uncovered = WkNewRect(area.x, area.y, area.width, area.height);
        for (int i = 0; i < page->count; ++i) {
            WkObject* c = page->children[i];
            bool seeThrough = c->transparency == WK_TRANSPARENT && c->classCode != WK_CLASS_FORM &&
                              c->classCode != WK_CLASS_SCROLL_BAR;
            if (WkObjectDrawable(c) && !seeThrough)
                WkSubtractRect(&uncovered, WkRect{c->x - sx, c->y - sy, c->width, c->height});
        }
        if (form->transparency != WK_TRANSPARENT) {
            for (WkRectNode* r = uncovered; r; r = r->next)
                PaintArea(form, message, WkRect{r->x, r->y, r->width, r->height});
            WkBeginDraw(form, message);
            WkObjectDrawShadow(form);
        }
        WkFreeRectList(uncovered);
    }
    for (int i = 0; i < page->count; ++i) {
        WkObject* c = page->children[i];
        WkRect part;
        if (!WkObjectDrawable(c) || !Overlap(area, WkRect{c->x - sx, c->y - sy, c->width, c->height}, &part))
            continue;
        WkMessage expose = *message;
        WkSetExposeOrigin(&expose, WkExposeOriginX(message) + c->x - sx,
                          WkExposeOriginY(message) + c->y - sy);
        WkSetExposeClip(&expose, WkRect{part.x - (c->x - sx), part.y - (c->y - sy), part.width, part.height});
        int flags = paintAll ? kParentPainted : 0;
        if (!paintAll && form->transparency == WK_TRANSPARENT && BehindLeftAsCleared(page, i, sx, sy))
            flags |= kBehindCleared;
        WkSetExposeFlags(&expose, flags);
        WkBeginDraw(c, &expose);
        WkSendMessage(c, &expose);
    }
    WkBeginDraw(form, message);
    if ((d->flags & WK_FORM_FOCUS_FRAME) && page->focused >= 0)
        WkObjectDrawFrame(form, 0, 0, form->width, form->height, WkBlackColor(), b > 1 ? 2 : 1);
    if (d->table && d->table->grid) DrawGrid(form, d);
    if (d->flags & (WK_FORM_TABBED | WK_FORM_TAB_ROW)) WkTabbedFormDraw(form);
}
