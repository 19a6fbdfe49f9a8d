// The operations through which the application and the composite widgets
// read and change an edit field: ranges, selection, cursor, read-only
// state, sizes, margins, tab width, masking, colour pairs, tinting of the
// companion parts, the scroll bars and the popup. Every position taken
// from outside is clamped to the text.
#include "toolkit/widgets/edit_internal.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>
#include <cstring>

namespace {

int Clamped(const WkEditData* d, int index) { return std::clamp(index, 0, d->length); }

void SetFlag(WkObject* field, std::uint16_t flag, bool on) {
    WkEditData* d = WkEditRecord(field);
    if (on) d->flags |= flag;
    else d->flags &= std::uint16_t(~flag);
}

// After a change of what the lines measure: the cursor's place and the
// whole text again.
void Remeasure(WkObject* field) {
    edit::UpdateCursor(field);
    edit::DrawAll(field);
    edit::UpdateBars(field);
}

void StorePair(WkColor* background, WkColor* foreground, WkColor newBackground, WkColor newForeground) {
    WkColor b = WkAddColorRef(newBackground), f = WkAddColorRef(newForeground);
    WkFreeColor(*background);
    WkFreeColor(*foreground);
    *background = b;
    *foreground = f;
}

void ColorParts(WkObject* field, WkColor color) {
    WkEditData* d = WkEditRecord(field);
    // On the arrows themselves: a colour set on a part would go to its composite.
    for (WkObject* arrow : d->arrows) {
        if (!arrow) continue;
        WkApplyColorsOrKeep(arrow, WkAddColorRef(color), WK_COLOR_KEEP);
        WkRedraw(arrow, 0);
    }
    WkEditSetScrollBarColor(field, color);
}

} // namespace

void WkEditReplaceRange(WkObject* field, int position, int count, const char* text, int length) {
    if (!field) return;
    WkEditData* d = WkEditRecord(field);
    position = Clamped(d, position);
    count = std::clamp(count, 0, d->length - position);
    length = text ? int(strnlen(text, std::size_t(std::max(length, 0)))) : 0;
    edit::ClearSelection(d);
    WkEditChange change{d->store.buffer, text, position, count, length, d->marked, 1};
    edit::ApplyChange(field, &change, false, false, false);
}

int WkEditGetRange(WkObject* field, int from, int to, char* buffer, int size) {
    if (!field || !buffer || size <= 0) return 0;
    WkEditData* d = WkEditRecord(field);
    from = Clamped(d, from);
    to = Clamped(d, to);
    int count = std::clamp(to - from, 0, size - 1);
    std::memcpy(buffer, d->store.buffer + from, std::size_t(count));
    buffer[count] = '\0';
    return count;
}

void WkEditSetReadOnly(WkObject* field) {
    SetFlag(field, WK_EDIT_READ_ONLY, true);
    edit::DrawAll(field);
}

void WkEditSetWritable(WkObject* field) {
    SetFlag(field, WK_EDIT_READ_ONLY, false);
    edit::DrawAll(field);
}

void WkEditSetMaxLength(WkObject* field, int visible, int maximum) {
    WkEditData* d = WkEditRecord(field);
    if (d->visibleLines >= 2) return;
    maximum = std::clamp(maximum, 0, WK_EDIT_MAX_TEXT);
    d->visibleColumns = std::clamp(visible, 0, maximum);
    d->xOffset = 0;
    d->store.buffer = WkReallocText(d->store.buffer, std::size_t(maximum) + 2);
    d->store.capacity = d->maxLength = maximum;
    if (d->length > maximum) {
        d->length = maximum;
        d->store.buffer[maximum] = '\0';
        d->lastLine = int(std::count(d->store.buffer, d->store.buffer + maximum, '\n'));
    }
    // Nothing may point past the text that is left.
    d->cursor = Clamped(d, d->cursor);
    d->anchor = Clamped(d, d->anchor);
    d->selectionEnd = Clamped(d, d->selectionEnd);
    Remeasure(field);
}

void WkEditSetVisibleSize(WkObject* field, int columns, int lines) {
    WkEditData* d = WkEditRecord(field);
    if (columns > 0) d->visibleColumns = columns;
    if (lines > 0) d->visibleLines = lines;
    WkResize(field, -1, -1);
}

void WkEditSetMargins(WkObject* field, int horizontal, int vertical) {
    WkEditData* d = WkEditRecord(field);
    if (horizontal > 0) d->hMargin = std::uint8_t(std::min(horizontal, 255));
    if (vertical > 0) d->vMargin = std::uint8_t(std::min(vertical, 255));
    WkResize(field, -1, -1);
}

void WkEditSetTabWidth(WkObject* field, int spaces) {
    if (spaces < 1 || spaces > 15) return;
    WkEditRecord(field)->tabWidth = std::uint8_t(spaces);
    Remeasure(field);
}

void WkEditSetMask(WkObject* field, char display) {
    SetFlag(field, WK_EDIT_MASKED, true);
    WkEditRecord(field)->displayChar = display;
    Remeasure(field);
}

void WkEditClearMask(WkObject* field) {
    SetFlag(field, WK_EDIT_MASKED, false);
    Remeasure(field);
}

void WkEditSelectAll(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    edit::ShowCursor(field, false);
    d->anchor = 0;
    d->selectionEnd = d->cursor = d->length;
    edit::CursorMoved(field, false);
    // The whole text selected in the field with the focus is there to be
    // typed over, as the one taking the focus selects: it goes with the
    // focus, so that the field reached next shows the only selection.
    if ((field->state & WK_STATE_FOCUS) && d->length > 0) d->flags |= WK_EDIT_ENTRY_SELECTED;
}

void WkEditSetPreset(WkObject* field, int on) { SetFlag(field, WK_EDIT_PRESET, on != 0); }

void WkEditSetPlaceholder(WkObject* field, const char* text) {
    WkEditData* d = WkEditRecord(field);
    WkFree(d->placeholder);
    d->placeholder = text ? WkCopyText(text) : nullptr;
}

void WkEditSelectRange(WkObject* field, int from, int to) {
    WkEditData* d = WkEditRecord(field);
    d->anchor = Clamped(d, from);
    d->selectionEnd = d->cursor = Clamped(d, to);
    edit::CursorMoved(field, false);
}

void WkEditGetSelection(WkObject* field, int* from, int* to) {
    int f, t;
    edit::SelectionRange(WkEditRecord(field), &f, &t);
    if (from) *from = f;
    if (to) *to = t;
}

void WkEditSetCursor(WkObject* field, int index) {
    WkEditData* d = WkEditRecord(field);
    edit::ShowCursor(field, false);
    d->cursor = Clamped(d, index);
    edit::CursorMoved(field, true);
}

void WkEditSetCursorAt(WkObject* field, int column, int line) {
    WkEditData* d = WkEditRecord(field);
    const int f = edit::Frame(field), wa = WkCharWidth('a', field->font);
    const int x = f + d->hMargin + column * wa - d->xOffset;
    const int y = f + d->vMargin + (line - d->topLine) * (WkFontHeight("A", field->font) + d->vMargin);
    WkEditSetCursor(field, edit::HitTest(field, x, y));
}

int WkEditGetCursor(WkObject* field) { return WkEditRecord(field)->cursor; }

void WkEditGetCursorPosition(WkObject* field, int* column, int* line) {
    WkEditData* d = WkEditRecord(field);
    if (column) *column = d->cursorColumn;
    if (line) *line = d->cursorLine;
}

int WkEditIsMarked(WkObject* field) { return WkEditRecord(field)->marked; }

void WkEditSetMarkedColors(WkObject* field, WkColor background, WkColor foreground) {
    WkEditData* d = WkEditRecord(field);
    StorePair(&d->markedBackground, &d->markedForeground, background, foreground);
    if (d->marked) WkObjectSetColors(field, background, foreground);
}

void WkEditSetNormalColors(WkObject* field, WkColor background, WkColor foreground) {
    WkEditData* d = WkEditRecord(field);
    StorePair(&d->normalBackground, &d->normalForeground, background, foreground);
    if (!d->marked) WkObjectSetColors(field, background, foreground);
}

void WkEditTintParts(WkObject* field) {
    SetFlag(field, WK_EDIT_TINTED, true);
    WkColor tint = WkObjectAllocTintColor(field);
    ColorParts(field, tint);
    WkFreeColor(tint);
}

void WkEditUntintParts(WkObject* field) {
    SetFlag(field, WK_EDIT_TINTED, false);
    WkColor color = WkDefaultBackgroundColor();
    ColorParts(field, color);
    WkFreeColor(color);
}

WkObject* WkEditGetVerticalScrollBar(WkObject* field) { return WkEditRecord(field)->verticalBar; }
WkObject* WkEditGetHorizontalScrollBar(WkObject* field) { return WkEditRecord(field)->horizontalBar; }

void WkEditSetScrollBarColor(WkObject* field, WkColor color) {
    WkEditData* d = WkEditRecord(field);
    for (WkObject* bar : {d->verticalBar, d->horizontalBar})
        if (bar) WkScrollBarSetColor(bar, color);
}

void WkEditSetScrollBarShade(WkObject* field, int percent) {
    WkEditData* d = WkEditRecord(field);
    for (WkObject* bar : {d->verticalBar, d->horizontalBar})
        if (bar) WkScrollBarSetShade(bar, percent);
}

void WkEditOpenPopup(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    WkObject* popup = d->popup;
    WkObject* below = field->outer ? field->outer : field;
    WkObject* shell = WkObjectGetShell(field);
    if (!popup || !shell) return;
    int x, y;
    WkObjectGetAbsolutePosition(below, &x, &y);
    // Under the field, or above it when it would pass the screen's bottom.
    WkShellFitToForm(popup);
    int top = shell->y + y + below->height;
    if (top + popup->height > WkScreenHeight()) top = shell->y + y - popup->height;
    WkShellRealizeWithGeometry(popup, shell->x + x, top, below->width, WK_KEEP);
    WkObject* form = WkFormOf(popup);
    if (!form) return;
    // The list opens on the field's value, so that Enter keeps it; a value
    // the list does not hold leaves the list's own choice.
    if (d->list)
        if (const WkListItem* item = WkListFindItem(d->list, d->store.buffer)) WkListSelectItem(d->list, item->position);
    WkPushGrab(form);
    WkObjectSetFocus(form);
}
