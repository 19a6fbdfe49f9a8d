#include "toolkit/widgets/table_cells.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/header_table.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

WkTableData* PlainTable(WkObject* table) {
    WkFormData* d = WkFormRecord(table);
    return d && d->kind == WK_FORM_TABLE && d->table && !d->table->body ? d->table : nullptr;
}

WkFormPage& Cells(WkObject* table) { return WkFormRecord(table)->pages[0]; }

WkObject* CellOfPlain(WkObject* table, int column, int row) {
    WkTableData* t = PlainTable(table);
    if (!t || column < 0 || column >= t->columns || row < 0 || row >= t->rows) return nullptr;
    const long index = long(row) * t->columns + column;
    const WkFormPage& page = Cells(table);
    return index < page.count ? WkResolveComposite(page.children[index]) : nullptr;
}

// Every filled cell of a column of a plain table.
template <typename Fn>
void ForColumn(WkObject* table, int column, Fn fn) {
    WkTableData* t = PlainTable(table);
    if (!t || column < 0 || column >= t->columns) return;
    const WkFormPage& page = Cells(table);
    for (int i = column; i < page.count; i += t->columns) fn(WkResolveComposite(page.children[i]));
}

void SetRGB(WkObject* cell, bool background, int red, int green, int blue) {
    if (!cell) return;
    background ? WkObjectSetBackgroundRGB(cell, red, green, blue) : WkObjectSetForegroundRGB(cell, red, green, blue);
}

void Relayout(WkObject* table) {
    if (WkObjectDrawable(table)) WkResize(table, table->width, table->height);
    else table->state |= WK_STATE_NEEDS_LAYOUT;
}

void SetSlotAlignment(WkObject* table, bool column, int index, int alignment) {
    WkTableData* t = PlainTable(table);
    if (!t || index < 0 || (column && index >= t->columns) || index >= 32767) return;
    if (column) WkTableGrowSlots(&t->columnSlots, &t->columnCapacity, index + 1);
    else WkTableGrowSlots(&t->rowSlots, &t->rowCapacity, index + 1);
    (column ? t->columnSlots : t->rowSlots)[index].align = std::uint8_t(alignment);
    Relayout(table);
}

// Takes rows [first, first + count) out of a plain table and destroys their
// cells; the later cells and the row slots move up.
void DeleteFrom(WkObject* table, int first, int count) {
    WkTableData* t = PlainTable(table);
    if (!t || first < 0 || first >= t->rows) return;
    if (count < 0 || count > t->rows - first) count = t->rows - first;
    if (count == 0) return;
    WkFormPage& page = Cells(table);
    const int from = first * t->columns, to = std::min((first + count) * t->columns, int(page.count));
    const int gone = to - from;
    if (page.focused >= to) page.focused = std::int16_t(page.focused - gone);
    else if (page.focused >= from) page.focused = -1;
    std::vector<WkObject*> cells(page.children + from, page.children + to);
    std::memmove(page.children + from, page.children + to, sizeof(WkObject*) * (page.count - to));
    page.count = std::int16_t(page.count - gone);
    std::memmove(t->rowSlots + first, t->rowSlots + first + count, sizeof(WkTableSlot) * (t->rows - first - count));
    for (int r = t->rows - count; r < t->rows; ++r) t->rowSlots[r] = WkTableSlot{0, WK_ALIGN_DEFAULT, 0};
    WkTableRelink(table);
    for (WkObject* cell : cells) {
        // Already out of the table: destroyed without a layout of it.
        cell->state &= std::uint16_t(~(WK_STATE_SHOWN | WK_STATE_REALIZED));
        cell->parent = nullptr;
        WkObjectDestroy(cell);
    }
}

} // namespace

WkObject* WkTableGetCell(WkObject* table, int column, int row) {
    if (WkTableHasFrozenHeadings(table)) {
        WkObject* inner = WkTableLocateCell(table, &column, &row);
        return inner ? CellOfPlain(inner, column, row) : nullptr;
    }
    return CellOfPlain(table, column, row);
}

void WkTableSetCellText(WkObject* table, int column, int row, const char* text) {
    if (WkObject* cell = WkTableGetCell(table, column, row)) WkObjectSetText(cell, text);
}

char* WkTableGetCellText(WkObject* table, int column, int row, char* buffer, std::size_t size) {
    WkObject* cell = WkTableGetCell(table, column, row);
    return cell ? WkObjectGetText(cell, buffer, size) : nullptr;
}

void WkTableSetCellFont(WkObject* table, int column, int row, int font) {
    WkObject* cell = WkTableGetCell(table, column, row);
    if (!cell) return;
    cell->font = font;
    if (!WkObjectDrawable(cell)) return;
    if (cell->transparency == WK_TRANSPARENT) WkObjectClear(cell);
    WkRedraw(cell, 0);
}

void WkTableSetCellAlignment(WkObject* table, int column, int row, int horizontal, int vertical) {
    if (WkObject* cell = WkTableGetCell(table, column, row)) WkObjectSetAlignment(cell, horizontal, vertical);
}

void WkTableSetCellBackgroundRGB(WkObject* table, int column, int row, int red, int green, int blue) {
    SetRGB(WkTableGetCell(table, column, row), true, red, green, blue);
}

void WkTableSetCellForegroundRGB(WkObject* table, int column, int row, int red, int green, int blue) {
    SetRGB(WkTableGetCell(table, column, row), false, red, green, blue);
}

void WkObjectSetAlignment(WkObject* object, int horizontal, int vertical) {
    if (!object) return;
    if (horizontal == WK_ALIGN_DEFAULT || (horizontal >= 0 && horizontal <= 2))
        object->hAlign = std::uint8_t(horizontal);
    if (vertical == WK_ALIGN_DEFAULT || (vertical >= 2 && vertical <= 4)) object->vAlign = std::uint8_t(vertical);
    if (object->parent && WkObjectDrawable(object->parent)) Relayout(object->parent);
}

void WkTableSetColumnWidth(WkObject* table, int column, int width) {
    ForColumn(table, column, [width](WkObject* cell) { WkObjectSetPartWidth(cell, width); });
}

void WkTableSetRowHeight(WkObject* table, int row, int height) {
    WkTableData* t = PlainTable(table);
    if (!t || row < 0 || row >= t->rows) return;
    const WkFormPage& page = Cells(table);
    const int end = std::min((row + 1) * t->columns, int(page.count));
    for (int i = row * t->columns; i < end; ++i) WkObjectSetPartHeight(WkResolveComposite(page.children[i]), height);
}

void WkTableSetColumnFont(WkObject* table, int column, int font) {
    ForColumn(table, column, [font](WkObject* cell) { WkObjectSetFont(cell, font, 0); });
}

void WkTableSetColumnBackgroundRGB(WkObject* table, int column, int red, int green, int blue) {
    ForColumn(table, column, [=](WkObject* cell) { SetRGB(cell, true, red, green, blue); });
}

void WkTableSetColumnForegroundRGB(WkObject* table, int column, int red, int green, int blue) {
    ForColumn(table, column, [=](WkObject* cell) { SetRGB(cell, false, red, green, blue); });
}

void WkTableSetColumnAlignment(WkObject* table, int column, int alignment) {
    SetSlotAlignment(table, true, column, alignment);
}

void WkTableSetRowAlignment(WkObject* table, int row, int alignment) { SetSlotAlignment(table, false, row, alignment); }

void WkTableDeleteRows(WkObject* table, int first, int count) {
    const bool frozen = WkTableHasFrozenHeadings(table);
    if (!frozen && !PlainTable(table)) return;
    const bool shown = table->state & WK_STATE_SHOWN;
    const int width = table->width, height = table->height;
    if (shown) WkObjectHide(table);
    if (frozen) {
        // The heading rows stay; the rows go from the heading column and the body.
        WkTableData* t = WkFormRecord(table)->table;
        for (WkObject* inner : {t->headingColumnTable, t->body})
            if (inner) DeleteFrom(inner, first, count);
    } else {
        DeleteFrom(table, first, count);
    }
    WkObjectQuerySize(table);
    WkResize(table, width, height);
    if (shown) WkObjectShow(table);
}

void WkTableDeleteRow(WkObject* table, int row) { WkTableDeleteRows(table, row, 1); }

void WkTableClear(WkObject* table) { WkTableDeleteRows(table, 0, -1); }
