#include "toolkit/widgets/header_table.h"

#include "toolkit/core/inherit.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_layout.h"
#include "toolkit/widgets/form_scroll.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>

namespace {

WkTableData* Frozen(WkObject* form) {
    WkFormData* d = WkFormRecord(form);
    return d && d->table && d->table->body ? d->table : nullptr;
}

WkTableData* TableOf(WkObject* form) { return form ? WkFormRecord(form)->table : nullptr; }
int CellCount(WkObject* form) { return form ? WkFormRecord(form)->pages[0].count : 0; }

// Inner parts: no frame, see-through, in their parent's colours.
WkObject* Plain(WkObject* form) {
    WkObjectSetShadow(form, WK_SHADOW_NONE, 0, 0);
    WkObjectSetTransparency(form, WK_TRANSPARENT);
    WkObjectInheritBackground(form, 1, 100);
    WkObjectInheritForeground(form, 1);
    return form;
}

WkObject* View(WkObject* outer, int width, int height, int growX, int growY) {
    WkObject* view = Plain(WkCreateScrollView(outer, width, height));
    WkFormSetSpacing(view, 0);
    WkObjectSetResizable(view, growX, growY);
    return view;
}

WkObject* Inner(WkObject* parent, int columns) { return Plain(WkCreateTableForm(parent, std::max(columns, 1))); }

void Filler(WkObject* outer) { WkCreateLabel(outer, "", 0); }

WkFormScroll* ScrollOf(WkObject* view) { return view ? WkFormRecord(view)->scroll : nullptr; }

void HorizontalMoved(WkObject*, std::intptr_t value, void* data) {
    WkTableData* t = Frozen(static_cast<WkObject*>(data));
    if (!t) return;
    WkFormSetScrollX(t->bodyView, int(value));
    if (t->headingRowView) WkFormSetScrollX(t->headingRowView, int(value));
}

void VerticalMoved(WkObject*, std::intptr_t value, void* data) {
    WkTableData* t = Frozen(static_cast<WkObject*>(data));
    if (!t) return;
    WkFormSetScrollY(t->bodyView, int(value));
    if (t->headingColumnView) WkFormSetScrollY(t->headingColumnView, int(value));
}

// The slots of two tables take the larger size of each pair and are fixed
// at it until the next synchronisation; returns their sum with spacing.
long Unify(WkObject* a, WkObject* b, bool rows) {
    WkTableData* ta = TableOf(a);
    WkTableData* tb = TableOf(b);
    const int na = rows ? ta->rows : ta->columns, nb = rows ? tb->rows : tb->columns;
    WkTableSlot* sa = rows ? ta->rowSlots : ta->columnSlots;
    WkTableSlot* sb = rows ? tb->rowSlots : tb->columnSlots;
    const int spacing = WkFormRecord(b)->spacing;
    long sum = spacing;
    for (int k = 0; k < std::max(na, nb); ++k) {
        std::int16_t size = std::max(k < na ? sa[k].size : std::int16_t(0), k < nb ? sb[k].size : std::int16_t(0));
        if (k < na) sa[k] = WkTableSlot{1, sa[k].align, size};
        if (k < nb) sb[k] = WkTableSlot{1, sb[k].align, size};
        sum += size + spacing;
    }
    return sum;
}

void Unfix(WkObject* table) {
    WkTableData* t = TableOf(table);
    if (!t) return;
    for (int k = 0; k < t->columnCapacity; ++k) t->columnSlots[k].fixed = 0;
    for (int k = 0; k < t->rowCapacity; ++k) t->rowSlots[k].fixed = 0;
}

void SetView(WkObject* view, int width, int height) {
    WkFormScroll* s = ScrollOf(view);
    if (!s) return;
    if (width >= 1) s->viewWidth = width;
    if (height >= 1) s->viewHeight = height;
}

WkObject* HorizontalBar(WkTableData* t) { return ScrollOf(t->bodyView)->horizontalBar; }
WkObject* VerticalBar(WkTableData* t) { return ScrollOf(t->bodyView)->verticalBar; }

// Shows or hides a bar and sizes its row or column slot (fixed either way
// for the column, fixed only when hidden for the row).
bool FitBar(WkObject* bar, WkTableSlot& slot, bool needed, int size, bool keepFixed) {
    const WkTableSlot before = slot;
    if (needed) {
        slot = WkTableSlot{std::uint8_t(keepFixed ? 1 : 0), slot.align, std::int16_t(size)};
        if (!(bar->state & WK_STATE_SHOWN)) WkMapObject(bar);
    } else {
        slot = WkTableSlot{1, slot.align, 0};
        if (bar->state & WK_STATE_SHOWN) WkUnmapObject(bar, 0);
    }
    return before.fixed != slot.fixed || before.size != slot.size;
}

} // namespace

WkObject* WkCreateHeaderTableForm(WkObject* parent, int columns, int visibleWidth, int visibleHeight,
                                  int headingRows, int headingColumns) {
    columns = std::clamp(columns, 1, 32767);
    headingRows = std::clamp(headingRows, 0, 32767);
    headingColumns = std::clamp(headingColumns, 0, columns - 1);
    WkObject* outer = WkCreateTableForm(parent, headingColumns > 0 ? 3 : 2);
    WkFormSetSpacing(outer, 0);
    WkObjectSetResizable(outer, -1, 1);
    WkObject *corner = nullptr, *headingRowView = nullptr, *headingColumnView = nullptr;
    if (headingRows > 0) {
        if (headingColumns > 0) corner = Inner(outer, headingColumns);
        headingRowView = View(outer, 50, -1, 1, -1);
        headingRowView->layout |= WK_LAYOUT_NO_SPARE_Y;
        Filler(outer);
    }
    if (headingColumns > 0) headingColumnView = View(outer, -1, 50, -1, 1);
    WkObject* bodyView = View(outer, 300, 50, 1, 1);
    WkObject* vertical = WkCreateScrollBar(outer, WK_SCROLL_VERTICAL, 1, 1);
    if (headingColumns > 0) Filler(outer);
    WkObject* horizontal = WkCreateScrollBar(outer, WK_SCROLL_HORIZONTAL, 1, 1);
    Filler(outer);
    for (WkObject* bar : {vertical, horizontal}) WkObjectRefuseFocus(bar);
    WkScrollBarSetCallback(horizontal, HorizontalMoved, outer);
    WkScrollBarSetCallback(vertical, VerticalMoved, outer);
    WkFormScroll* s = ScrollOf(bodyView);
    s->horizontalBar = horizontal;
    s->verticalBar = vertical;

    WkTableData* t = WkFormRecord(outer)->table;
    t->visibleWidth = std::int16_t(std::clamp(visibleWidth, -32768, 32767));
    t->visibleHeight = std::int16_t(std::clamp(visibleHeight, -32768, 32767));
    t->headingRows = std::int16_t(headingRows);
    t->headingColumns = std::int16_t(headingColumns);
    t->totalColumns = std::int16_t(columns);
    t->corner = corner;
    t->headingRowView = headingRowView;
    t->headingColumnView = headingColumnView;
    t->bodyView = bodyView;
    if (headingRowView) t->headingRowTable = Inner(headingRowView, columns - headingColumns);
    if (headingColumnView) t->headingColumnTable = Inner(headingColumnView, headingColumns);
    // Set last: from here on new cells go to the inner tables.
    t->body = Inner(bodyView, columns - headingColumns);
    return outer;
}

int WkTableHasFrozenHeadings(WkObject* form) { return Frozen(form) ? 1 : 0; }

WkObject* WkTableCellTarget(WkObject* form) {
    WkTableData* t = Frozen(form);
    if (!t) return form;
    const int n = CellCount(t->corner) + CellCount(t->headingRowTable) + CellCount(t->headingColumnTable) +
                  CellCount(t->body);
    const int row = n / t->totalColumns, column = n % t->totalColumns;
    const bool heading = row < t->headingRows, left = column < t->headingColumns;
    return heading && left ? t->corner : left ? t->headingColumnTable : heading ? t->headingRowTable : t->body;
}

void WkTableCellAdded(WkObject* form) {
    WkTableData* t = Frozen(form);
    if (!t || !WkObjectDrawable(form)) return;
    if (CellCount(t->body) % TableOf(t->body)->columns != 0) return;
    const int width = form->width, height = form->height;
    WkUnmapObject(form, 0);
    WkFormQuerySize(form);
    WkFormPlaceChildren(form, width, height);
    WkMapObject(form);
}

int WkTableInnerTables(WkObject* form, WkObject* tables[4]) {
    WkTableData* t = Frozen(form);
    if (!t) return 0;
    int n = 0;
    for (WkObject* inner : {t->corner, t->headingRowTable, t->headingColumnTable, t->body})
        if (inner) tables[n++] = inner;
    return n;
}

void WkTableSyncHeadings(WkObject* table) {
    WkTableData* t = Frozen(table);
    if (!t) return;
    for (WkObject* inner : {t->corner, t->headingRowTable, t->headingColumnTable, t->body})
        if (inner) {
            Unfix(inner);
            WkFormQuerySize(inner);
        }
    if (t->corner) {
        const long width = Unify(t->corner, t->headingColumnTable, false);
        WkFormPlaceChildren(t->corner, int(width), -1);
        WkFormPlaceChildren(t->headingColumnTable, int(width), -1);
        const long height = Unify(t->corner, t->headingRowTable, true);
        WkFormPlaceChildren(t->corner, -1, int(height));
        WkFormPlaceChildren(t->headingRowTable, -1, int(height));
    }
    if (t->headingRowTable) {
        const long width = Unify(t->headingRowTable, t->body, false);
        WkFormPlaceChildren(t->headingRowTable, int(width), -1);
        WkFormPlaceChildren(t->body, int(width), -1);
    }
    if (t->headingColumnTable) {
        const long height = Unify(t->headingColumnTable, t->body, true);
        WkFormPlaceChildren(t->headingColumnTable, -1, int(height));
        WkFormPlaceChildren(t->body, -1, int(height));
    }
    WkTableData* outer = t;
    WkTableSlot& barRow = outer->rowSlots[outer->rows - 1];
    WkTableSlot& barColumn = outer->columnSlots[outer->columns - 1];
    int width, height;
    if (t->visibleWidth < 1) {
        width = t->body->width;
        FitBar(HorizontalBar(t), barRow, false, 0, false);
    } else {
        width = t->visibleWidth - (t->headingColumnTable ? t->headingColumnTable->width : 0);
        FitBar(HorizontalBar(t), barRow, t->body->width > width, HorizontalBar(t)->height, false);
    }
    if (t->visibleHeight < 1) {
        height = t->body->height;
        FitBar(VerticalBar(t), barColumn, false, 0, true);
    } else {
        height = t->visibleHeight - (t->headingRowTable ? t->headingRowTable->height : 0);
        FitBar(VerticalBar(t), barColumn, t->body->height > height, VerticalBar(t)->width, true);
    }
    width = std::max(width, 1), height = std::max(height, 1);
    SetView(t->bodyView, width, height);
    SetView(t->headingRowView, width, -1);
    SetView(t->headingColumnView, -1, height);
}

void WkTableFitBarRow(WkObject* form) {
    WkTableData* t = Frozen(form);
    if (!t || t->visibleWidth < 1) return;
    WkObject* bar = HorizontalBar(t);
    FitBar(bar, t->rowSlots[t->rows - 1], t->bodyView->width < t->body->width, bar->height, false);
}

int WkTableFitBarColumn(WkObject* form) {
    WkTableData* t = Frozen(form);
    if (!t || t->visibleHeight < 1) return 0;
    WkObject* bar = VerticalBar(t);
    return FitBar(bar, t->columnSlots[t->columns - 1], t->bodyView->height < t->body->height, bar->width, true);
}

WkObject* WkTableScrolledView(WkObject* form) {
    WkObject* outer = form ? form->parent : nullptr;
    WkTableData* t = Frozen(outer);
    if (!t || (form != t->headingRowView && form != t->headingColumnView)) return form;
    return t->bodyView;
}

WkObject* WkTableLocateCell(WkObject* form, int* column, int* row) {
    WkTableData* t = Frozen(form);
    if (!t || *column < 0 || *row < 0) return nullptr;
    const bool heading = *row < t->headingRows, left = *column < t->headingColumns;
    if (!left) *column -= t->headingColumns;
    if (!heading) *row -= t->headingRows;
    return heading && left ? t->corner : left ? t->headingColumnTable : heading ? t->headingRowTable : t->body;
}
