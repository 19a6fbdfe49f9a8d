#include "toolkit/widgets/form_layout.h"

#include "toolkit/core/object_layout.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/header_table.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>
#include <vector>

namespace {

// One direction of the layout: the fields and flags of the horizontal or
// the vertical axis, so that both passes are one routine.
struct Axis {
    bool vertical;
    std::uint8_t WkObject::*attachStart;
    std::uint8_t WkObject::*attachEnd;
    std::int16_t WkObject::*offsetStart;
    std::int16_t WkObject::*offsetEnd;
    std::int16_t WkObject::*siblingStart;
    std::int16_t WkObject::*siblingEnd;
    std::uint16_t WkObject::*minSize;
    std::uint16_t WkObject::*fixedSize;
    std::int32_t WkObject::*pos;
    std::int32_t WkObject::*size;
    std::uint8_t WkObject::*policy;
    std::uint8_t WkObject::*align;
    std::uint16_t grow, noSpare, fixedFlag, minFlag;
};

const Axis kX{false,
              &WkObject::attachLeft,
              &WkObject::attachRight,
              &WkObject::offsetLeft,
              &WkObject::offsetRight,
              &WkObject::siblingLeft,
              &WkObject::siblingRight,
              &WkObject::minWidth,
              &WkObject::fixedWidth,
              &WkObject::x,
              &WkObject::width,
              &WkObject::policyX,
              &WkObject::hAlign,
              WK_LAYOUT_GROW_X,
              WK_LAYOUT_NO_SPARE_X,
              WK_LAYOUT_FIXED_WIDTH,
              WK_LAYOUT_MIN_WIDTH};
const Axis kY{true,
              &WkObject::attachTop,
              &WkObject::attachBottom,
              &WkObject::offsetTop,
              &WkObject::offsetBottom,
              &WkObject::siblingTop,
              &WkObject::siblingBottom,
              &WkObject::minHeight,
              &WkObject::fixedHeight,
              &WkObject::y,
              &WkObject::height,
              &WkObject::policyY,
              &WkObject::vAlign,
              WK_LAYOUT_GROW_Y,
              WK_LAYOUT_NO_SPARE_Y,
              WK_LAYOUT_FIXED_HEIGHT,
              WK_LAYOUT_MIN_HEIGHT};

bool Grows(const WkObject* o, const Axis& a) { return o->layout & a.grow; }
bool MayGrow(const WkObject* o, const Axis& a) {
    return !(o->layout & a.fixedFlag) && o->*a.policy != WK_POLICY_FIXED;
}

// Where an object of size within a cell of size + extra starts: left or
// top, right or bottom, else centred.
int AlignOffset(const Axis& a, int align, int extra) {
    int start = a.vertical ? 3 : 0, end = a.vertical ? 4 : 1;
    return align == start ? 0 : align == end ? extra : extra / 2;
}

bool DirectForm(const WkObject* o) {
    return o->classCode == WK_CLASS_FORM && !o->handlers && WkFormRecord(const_cast<WkObject*>(o));
}

void QueryChild(WkObject* c) {
    if (DirectForm(c)) WkFormQuerySize(c);
    else WkObjectQuerySize(c);
    if (c->classCode == WK_CLASS_FORM) return;
    for (const Axis* a : {&kX, &kY}) {
        if (c->layout & a->fixedFlag) c->*a->size = c->*a->fixedSize;
        if ((c->layout & a->grow) && (c->layout & a->minFlag))
            c->*a->size = std::max<std::int32_t>(c->*a->size, c->*a->minSize);
        else
            c->*a->minSize = WkSaturateU16(c->*a->size);
    }
}

// The sibling an object is tied to at its end, or null when the tie leads
// nowhere on the page.
WkObject* EndSibling(WkObject** children, int count, WkObject* o, const Axis& a) {
    if (o->*a.attachEnd != WK_ATTACH_SIBLING) return nullptr;
    int s = o->*a.siblingEnd;
    return s >= 0 && s < count ? children[s] : nullptr;
}

// The children of the chain that starts at first. A chain that comes back
// to a child it has passed is cut there: that link becomes an edge tie.
std::vector<WkObject*> Chain(WkObject** children, int count, WkObject* first, const Axis& a) {
    std::vector<WkObject*> chain{first};
    WkObject* cur = first;
    while (WkObject* next = EndSibling(children, count, cur, a)) {
        if (std::find(chain.begin(), chain.end(), next) != chain.end()) {
            cur->*a.attachEnd = WK_ATTACH_EDGE;
            cur->*a.siblingEnd = -1;
            break;
        }
        chain.push_back(next);
        cur = next;
    }
    return chain;
}

struct Extent {
    long size = 0, min = 0;
};

Extent ChainsExtent(WkObject* form, WkFormPage& page, const Axis& a) {
    Extent e;
    for (int i = 0; i < page.count; ++i) {
        WkObject* first = page.children[i];
        if (i > 0 && first->*a.attachStart == WK_ATTACH_SIBLING && first->*a.siblingStart == i - 1) continue;
        if (first->*a.attachStart == WK_ATTACH_EDGE && first->*a.attachEnd == WK_ATTACH_EDGE &&
            first->classCode == WK_CLASS_FORM && MayGrow(first, a))
            first->layout |= a.grow;
        std::vector<WkObject*> chain = Chain(page.children, page.count, first, a);
        long size = 0, min = 0;
        bool anyGrows = false;
        for (WkObject* c : chain) {
            size += c->*a.offsetStart + c->*a.size;
            min += c->*a.offsetStart + c->*a.minSize;
            anyGrows |= Grows(c, a);
        }
        size += chain.back()->*a.offsetEnd;
        min += chain.back()->*a.offsetEnd;
        if (first->*a.attachStart == WK_ATTACH_EDGE && chain.back()->*a.attachEnd == WK_ATTACH_EDGE && anyGrows &&
            MayGrow(form, a))
            form->layout |= a.grow;
        e.size = std::max(e.size, size);
        e.min = std::max(e.min, min);
    }
    return e;
}

void TableExtent(WkObject* form, WkFormData* d, Extent* ex, Extent* ey) {
    WkTableData* t = d->table;
    WkFormPage& page = d->pages[0];
    int columns = t->columns, rows = t->rows;
    for (int k = 0; k < columns; ++k)
        if (!t->columnSlots[k].fixed) t->columnSlots[k].size = 0;
    for (int k = 0; k < rows; ++k)
        if (!t->rowSlots[k].fixed) t->rowSlots[k].size = 0;
    auto raise = [](WkTableSlot& slot, long value) {
        if (!slot.fixed) slot.size = std::max(slot.size, WkSaturateS16(value));
    };
    auto sum = [&](const WkTableSlot* slots, int n) {
        long total = d->spacing;
        for (int k = 0; k < n; ++k) total += slots[k].size + d->spacing;
        return total;
    };
    int usedColumns = std::min(columns, int(page.count));
    bool growX = false, growY = false;
    for (int i = 0; i < page.count; ++i) {
        WkObject* c = page.children[i];
        raise(t->columnSlots[i % columns], c->minWidth);
        raise(t->rowSlots[i / columns], c->minHeight);
        growX |= Grows(c, kX);
        growY |= Grows(c, kY);
    }
    ex->min = sum(t->columnSlots, usedColumns);
    ey->min = sum(t->rowSlots, rows);
    for (int i = 0; i < page.count; ++i) {
        WkObject* c = page.children[i];
        raise(t->columnSlots[i % columns], c->width);
        raise(t->rowSlots[i / columns], c->height);
    }
    ex->size = sum(t->columnSlots, usedColumns);
    ey->size = sum(t->rowSlots, rows);
    if (growX && MayGrow(form, kX)) form->layout |= WK_LAYOUT_GROW_X;
    if (growY && MayGrow(form, kY)) form->layout |= WK_LAYOUT_GROW_Y;
}

void SetSize(WkObject* form, WkFormData* d, const Axis& a, const Extent& e) {
    int b = WkObjectBorder(form);
    std::int32_t* view = d->scroll ? (a.vertical ? &d->scroll->viewHeight : &d->scroll->viewWidth) : nullptr;
    if (view && *view >= 1) {
        form->*a.size = *view + 2 * b;
        (a.vertical ? d->scroll->scrolledHeight : d->scroll->scrolledWidth) = std::int32_t(e.size + 2 * b);
        form->*a.minSize = 10;
        return;
    }
    if (form->layout & a.fixedFlag) {
        // A fixed size too small for what the children need at least grows
        // to it: children are never cut off by their form's own edge. A
        // composite's wrapper keeps its size: its parts fit themselves to it.
        form->*a.size = form->*a.fixedSize;
        if (!(form->layout & WK_LAYOUT_OUTER_WRAPPER))
            form->*a.size = std::max<std::int32_t>(form->*a.size, std::int32_t(std::min<long>(e.min + 2 * b, 0xFFFF)));
        form->*a.minSize = WkSaturateU16(form->*a.size);
        return;
    }
    form->*a.size = std::int32_t(std::min<long>(e.size + 2 * b, 0x7FFFFFFF));
    if (!(form->layout & a.minFlag)) form->*a.minSize = WkSaturateU16(e.min + 2 * b);
}

// Gives a child a new size on one axis.
void ResizeChild(WkObject* c, const Axis& a, int size) {
    c->*a.size = size;
    if (DirectForm(c)) WkFormPlaceChildren(c, a.vertical ? -1 : size, a.vertical ? size : -1);
    else WkSendSimpleMessage(c, WK_MSG_RESIZE, 0, c->width, c->height);
}

void PlaceChainFromStart(const std::vector<WkObject*>& chain, const Axis& a, int b, long available) {
    WkObject* first = chain.front();
    WkObject* last = chain.back();
    long x = first->*a.offsetStart + b;
    int growing = 0, sharing = 0;
    for (WkObject* c : chain) {
        c->*a.pos = std::int32_t(x);
        x += c->*a.size + c->*a.offsetEnd;
        growing += Grows(c, a);
        sharing += Grows(c, a) || !(c->layout & a.noSpare);
    }
    if (last->*a.attachEnd == WK_ATTACH_NONE || sharing == 0) return;
    long spare = available - (last->*a.offsetEnd + b + last->*a.pos + last->*a.size);
    bool allFixed = growing == 0;
    std::vector<char> atMinimum(chain.size(), 0);
    int stopped = 0;
    for (int pass = 0; pass < 3 && spare != 0; ++pass) {
        x = first->*a.offsetStart + b;
        int g = growing - stopped, n = sharing;
        for (std::size_t k = 0; k < chain.size(); ++k) {
            WkObject* c = chain[k];
            long cell = c->*a.size;
            if (Grows(c, a) && !atMinimum[k] && g > 0 && (pass == 0 || spare > 0 || cell > c->*a.minSize)) {
                long old = cell;
                cell += spare / g;
                if (cell < c->*a.minSize) {
                    cell = c->*a.minSize;
                    atMinimum[k] = 1;
                    ++stopped;
                }
                spare -= cell - old;
                --g;
                if (cell != old) ResizeChild(c, a, int(cell));
            } else if (allFixed && !(c->layout & a.noSpare) && n > 0) {
                long share = spare / n;
                cell += share;
                spare -= share;
                --n;
            }
            c->*a.pos = std::int32_t(x + AlignOffset(a, c->*a.align, int(cell - c->*a.size)));
            x += cell + c->*a.offsetEnd;
        }
    }
}

void PlaceChainFromEnd(WkObject** children, int count, WkObject* c, const Axis& a, int b, long available,
                       std::vector<char>& placed) {
    c->*a.pos = std::int32_t(available - b - c->*a.size - c->*a.offsetEnd);
    for (int steps = 0; steps < count && c->*a.attachStart == WK_ATTACH_SIBLING; ++steps) {
        int s = c->*a.siblingStart;
        if (s < 0 || s >= count) break;
        WkObject* p = children[s];
        p->*a.pos = c->*a.pos - c->*a.offsetStart - p->*a.size;
        placed[s] = 1;
        c = p;
    }
}

void PlacePage(WkFormPage& page, const Axis& a, int b, long available) {
    std::vector<char> placed(page.count, 0);
    for (int i = 0; i < page.count; ++i) page.children[i]->*a.pos = -1;
    for (int i = 0; i < page.count; ++i) {
        if (placed[i]) continue;
        WkObject* c = page.children[i];
        if (c->*a.attachStart == WK_ATTACH_EDGE) {
            std::vector<WkObject*> chain = Chain(page.children, page.count, c, a);
            for (WkObject* member : chain)
                for (int k = 0; k < page.count; ++k)
                    if (page.children[k] == member) placed[k] = 1;
            PlaceChainFromStart(chain, a, b, available);
        } else if (c->*a.attachEnd == WK_ATTACH_EDGE) {
            placed[i] = 1;
            PlaceChainFromEnd(page.children, page.count, c, a, b, available, placed);
        }
    }
}

// A table: the first line (the first row for the columns, the first column
// for the rows) shares the spare space and sets the slots; the other lines
// follow the slots.
void PlaceTable(WkFormData* d, const Axis& a, int b, long available) {
    WkTableData* t = d->table;
    WkFormPage& page = d->pages[0];
    int columns = t->columns;
    int lines = a.vertical ? columns : t->rows;
    int cells = a.vertical ? t->rows : columns;
    WkTableSlot* slots = a.vertical ? t->rowSlots : t->columnSlots;
    auto child = [&](int line, int k) -> WkObject* {
        int i = a.vertical ? k * columns + line : line * columns + k;
        return i < page.count ? page.children[i] : nullptr;
    };
    auto alignOf = [&](WkObject* c, int k) {
        return c->*a.align == WK_ALIGN_DEFAULT ? slots[k].align : c->*a.align;
    };
    if (page.count == 0) return;
    int growing = 0, sharing = 0, lastK = 0;
    long x = child(0, 0)->*a.offsetStart + b;
    for (int k = 0; k < cells && child(0, k); ++k) {
        WkObject* c = child(0, k);
        growing += Grows(c, a);
        sharing += !Grows(c, a) && !(c->layout & a.noSpare);
        lastK = k;
        if (k > 0) x += slots[k - 1].size + d->spacing;
    }
    WkObject* last = child(0, lastK);
    long spare = 0;
    if (last->*a.attachEnd != WK_ATTACH_NONE && growing + sharing > 0)
        spare = available - (last->*a.offsetEnd + b + x + slots[lastK].size);
    for (int line = 0; line < lines; ++line) {
        if (!child(line, 0)) break;
        x = child(line, 0)->*a.offsetStart + b;
        for (int k = 0; k < cells; ++k) {
            WkObject* c = child(line, k);
            if (!c) break;
            long cell = slots[k].size;
            if (line == 0) {
                if (Grows(c, a) && growing > 0) {
                    cell += spare / growing;
                    if (k == lastK && c->*a.attachEnd == WK_ATTACH_EDGE) cell += spare % growing;
                } else if (growing == 0 && !(c->layout & a.noSpare) && sharing > 0) {
                    cell += spare / sharing;
                }
                if (!slots[k].fixed) slots[k].size = WkSaturateS16(cell);
            }
            if (Grows(c, a)) {
                if (c->*a.size != cell) ResizeChild(c, a, int(cell));
                c->*a.pos = std::int32_t(x);
            } else {
                int extra = int(cell - c->*a.size);
                c->*a.pos = std::int32_t(x + (extra > 0 ? AlignOffset(a, alignOf(c, k), extra) : 0));
            }
            x += slots[k].size + d->spacing;
        }
    }
}

void PlaceAxis(WkObject* form, WkFormData* d, const Axis& a, int size) {
    form->*a.size = size;
    long available = size;
    if (WkFormScroll* s = d->scroll) {
        std::int32_t& view = a.vertical ? s->viewHeight : s->viewWidth;
        // An axis that is not scrolled stays so.
        if (size > 0 && view >= 1) view = size;
        if (view >= 1) available = a.vertical ? s->scrolledHeight : s->scrolledWidth;
        WkObject* bar = a.vertical ? s->verticalBar : s->horizontalBar;
        if (bar && view >= 1) WkScrollBarSetValues(bar, int(available), size, a.vertical ? s->y : s->x);
    }
    int b = WkObjectBorder(form);
    if (d->table) return PlaceTable(d, a, b, available);
    for (int p = 0; p < d->pageCount; ++p) PlacePage(d->pages[p], a, b, available);
}

} // namespace

void WkFormQuerySize(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return;
    form->state &= std::uint16_t(~WK_STATE_NEEDS_LAYOUT);
    if (d->flags & WK_FORM_TABBED) WkTabbedFormShareFont(form);
    if (d->table && d->table->body) WkTableSyncHeadings(form);
    for (const Axis* a : {&kX, &kY}) {
        if (form->*a->policy == WK_POLICY_GROW) form->layout |= a->grow;
        else form->layout &= std::uint16_t(~a->grow);
    }
    int pages = d->table ? 1 : d->pageCount;
    for (int p = 0; p < pages; ++p)
        for (int i = 0; i < d->pages[p].count; ++i) QueryChild(d->pages[p].children[i]);
    Extent ex, ey;
    if (d->table) {
        TableExtent(form, d, &ex, &ey);
    } else {
        for (int p = 0; p < pages; ++p) {
            Extent px = ChainsExtent(form, d->pages[p], kX), py = ChainsExtent(form, d->pages[p], kY);
            ex.size = std::max(ex.size, px.size), ex.min = std::max(ex.min, px.min);
            ey.size = std::max(ey.size, py.size), ey.min = std::max(ey.min, py.min);
        }
    }
    SetSize(form, d, kX, ex);
    SetSize(form, d, kY, ey);
    WkFormPlaceChildren(form, form->width, form->height);
}

void WkFormPlaceChildren(WkObject* form, int width, int height) {
    WkFormData* d = WkFormRecord(form);
    if (!d) return;
    if (width >= 0) PlaceAxis(form, d, kX, width);
    if (!(d->table && d->table->body)) {
        if (height >= 0) PlaceAxis(form, d, kY, height);
        return;
    }
    // Each bar of a table with frozen headings takes room only when needed.
    WkTableFitBarRow(form);
    if (height >= 0) PlaceAxis(form, d, kY, height);
    if (WkTableFitBarColumn(form) && width >= 0) PlaceAxis(form, d, kX, width);
}
