// The edit field's text model: lines and pixel positions in the buffer, the
// one change routine every edit goes through, whole-text replacement, the
// leave check and the marked state.
#include "toolkit/widgets/edit_internal.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace edit {

bool Usable(const WkObject* field) {
    return (field->state & (WK_STATE_SENSITIVE | WK_STATE_ACTIVE)) == (WK_STATE_SENSITIVE | WK_STATE_ACTIVE);
}

int Frame(const WkObject* field) { return WkObjectBorder(field); }

int LineHeight(const WkObject* field) { return WkFontHeight("A", field->font); }

int CharWidth(WkObject* field, unsigned char c) {
    WkEditData* d = WkEditRecord(field);
    if (d->flags & WK_EDIT_MASKED) c = static_cast<unsigned char>(d->displayChar);
    return c ? WkCharWidth(c, field->font) : 0;
}

int TabStop(WkObject* field) { return std::max(1, WkEditRecord(field)->tabWidth * WkCharWidth(' ', field->font)); }

int LineStart(const WkEditData* d, int index) {
    const char* t = d->store.buffer;
    while (index > 0 && t[index - 1] != '\n') --index;
    return index;
}

int LineEnd(const WkEditData* d, int index) {
    const char* t = d->store.buffer;
    while (index < d->length && t[index] != '\n') ++index;
    return index;
}

int LineOf(const WkEditData* d, int index) {
    return int(std::count(d->store.buffer, d->store.buffer + std::min(index, d->length), '\n'));
}

int StartOfLine(const WkEditData* d, int line) {
    int index = 0;
    for (int l = 0; l < line && index < d->length; ++l) index = LineEnd(d, index) + 1;
    return std::min(index, d->length);
}

int XOf(WkObject* field, int lineStart, int index) {
    WkEditData* d = WkEditRecord(field);
    int x = 0, stop = TabStop(field);
    for (int i = lineStart; i < index; ++i) {
        unsigned char c = static_cast<unsigned char>(d->store.buffer[i]);
        x = c == '\t' && !(d->flags & WK_EDIT_MASKED) ? (x / stop + 1) * stop : x + CharWidth(field, c);
    }
    return x;
}

int ColumnOf(const WkEditData* d, int lineStart, int index) {
    int column = 0;
    for (int i = lineStart; i < index; ++i)
        column = d->store.buffer[i] == '\t' ? (column / d->tabWidth + 1) * d->tabWidth : column + 1;
    return column;
}

int IndexAtX(WkObject* field, int line, int x) {
    WkEditData* d = WkEditRecord(field);
    int start = StartOfLine(d, line), end = LineEnd(d, start);
    for (int i = start; i < end; ++i)
        if (XOf(field, start, i + 1) > x) return i;
    return end;
}

void UpdateCursor(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    int start = LineStart(d, d->cursor);
    d->cursorX = XOf(field, start, d->cursor);
    d->cursorColumn = ColumnOf(d, start, d->cursor);
    d->cursorLine = LineOf(d, d->cursor);
}

void ClearSelection(WkEditData* d) { d->anchor = d->selectionEnd = d->cursor; }

bool HasSelection(const WkEditData* d) { return d->anchor != d->selectionEnd; }

bool PresetUntouched(const WkEditData* d) {
    if (d->length == 0 || (d->flags & (WK_EDIT_TOUCHED | WK_EDIT_READ_ONLY | WK_EDIT_MULTI_LINE))) return false;
    return (d->flags & WK_EDIT_PRESET) || (d->placeholder && std::strcmp(d->store.buffer, d->placeholder) == 0);
}

void SelectionRange(const WkEditData* d, int* from, int* to) {
    *from = std::min(d->anchor, d->selectionEnd);
    *to = std::max(d->anchor, d->selectionEnd);
}

void SetMarked(WkObject* field, int marked) {
    WkEditData* d = WkEditRecord(field);
    marked = marked ? 1 : 0;
    if (marked == d->marked) return;
    d->marked = std::uint8_t(marked);
    if (d->markedBackground == d->normalBackground && d->markedForeground == d->normalForeground) return;
    if (marked) WkObjectSetColors(field, d->markedBackground, d->markedForeground);
    else WkObjectSetColors(field, d->normalBackground, d->normalForeground);
}

void CallCursorCallback(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    if (!d->cursorMoved) return;
    WkEditCursorInfo info{d->cursor, d->cursorColumn, d->cursorLine};
    d->cursorMoved(field, &info, d->cursorData);
}

namespace {

// The inserted bytes as the field stores them: the carriage return of a CR
// LF pair dropped, no zero bytes, and in a one-line field blanks for
// newlines and tabs.
std::string Prepared(const WkEditData* d, const char* text, int count) {
    std::string out;
    if (!text || count <= 0) return out;
    out.reserve(std::size_t(count));
    const bool multi = d->flags & WK_EDIT_MULTI_LINE;
    for (int i = 0; i < count; ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < count && text[i + 1] == '\n') continue;
        if (c == '\0') continue;
        if (!multi && (c == '\n' || c == '\t')) c = ' ';
        out.push_back(c);
    }
    return out;
}

} // namespace

int ApplyChange(WkObject* field, WkEditChange* change, bool byUser, bool verify, bool notify) {
    WkEditData* d = WkEditRecord(field);
    if (byUser && !Usable(field)) {
        WkBeep();
        return 0;
    }
    if (verify && d->verify) {
        d->verify(field, change, d->verifyData);
        if (!change->accept) return 0;
    }
    ShowCursor(field, false);
    ClearSelection(d);
    const bool multi = d->flags & WK_EDIT_MULTI_LINE;
    int position = std::clamp(change->position, 0, d->length);
    int remove = std::clamp(change->removeCount, 0, d->length - position);
    std::string insert = Prepared(d, change->newText, change->insertCount);
    // A one-line field never gives up text it holds: what does not fit into
    // the room left is cut from the insertion.
    if (!multi) {
        long long room = (long long)d->maxLength - d->length + remove;
        if ((long long)insert.size() > room) insert.resize(std::size_t(std::max(0LL, room)));
    }
    long long newLength = (long long)d->length - remove + (long long)insert.size();
    if (newLength > WK_EDIT_MAX_TEXT) {
        WkBeep();
        return 0;
    }
    int count = int(insert.size());
    if (newLength > d->store.capacity) {
        if (multi) {
            d->store.buffer = WkReallocText(d->store.buffer, std::size_t(newLength) + 52);
            d->store.capacity = int(newLength) + 50;
        } else {
            count -= int(newLength - d->store.capacity);
            newLength = d->store.capacity;
        }
    }
    char* t = d->store.buffer;
    int removedLines = int(std::count(t + position, t + position + remove, '\n'));
    int insertedLines = int(std::count(insert.begin(), insert.begin() + count, '\n'));
    std::memmove(t + position + count, t + position + remove, std::size_t(d->length - position - remove));
    std::memcpy(t + position, insert.data(), std::size_t(count));
    d->length = int(newLength);
    t[d->length] = '\0';
    d->lastLine += insertedLines - removedLines;
    d->cursor = position + count;
    ClearSelection(d);
    UpdateCursor(field);
    int firstLine = LineOf(d, position);
    DrawLines(field, firstLine, removedLines || insertedLines ? d->topLine + d->visibleLines : firstLine);
    ScrollIntoView(field);
    ShowCursor(field, true);
    SetMarked(field, change->marked);
    if (byUser) d->flags |= WK_EDIT_TOUCHED;
    if (notify && d->value) d->value(field, d->store.buffer, d->valueData);
    return 1;
}

int ChangeAtCursor(WkObject* field, const char* text, int insertCount, int removeAfter) {
    WkEditData* d = WkEditRecord(field);
    WkEditChange change{d->store.buffer, text, d->cursor, removeAfter, insertCount, 0, 1};
    if (HasSelection(d)) {
        int from, to;
        SelectionRange(d, &from, &to);
        change.position = from;
        change.removeCount = to - from;
    }
    return ApplyChange(field, &change, true, true, true);
}

int LeaveCheck(WkObject* field, int key, int reason) {
    WkEditData* d = WkEditRecord(field);
    d->flags |= WK_EDIT_LEAVE_CHECKED;
    if (d->marked || !d->leave) return 1;
    WkEditLeaveInfo info{d->store.buffer, std::int16_t(std::min(d->length, 32767)), key, reason, 1, 0, 0,
                         d->store.capacity};
    d->leave(field, &info, d->leaveData, key);
    if (info.changed) {
        char* t = d->store.buffer;
        t[d->store.capacity] = '\0';
        d->length = int(strnlen(t, std::size_t(d->store.capacity)));
        d->lastLine = int(std::count(t, t + d->length, '\n'));
        if (d->cursor >= d->length) d->cursor = std::max(0, d->length - 1);
        ClearSelection(d);
        d->xOffset = d->topLine = 0;
        UpdateCursor(field);
        DrawAll(field);
        UpdateBars(field);
    }
    SetMarked(field, info.marked);
    // A refused departure is checked again when the focus goes after all.
    if (!info.accept) d->flags &= std::uint16_t(~WK_EDIT_LEAVE_CHECKED);
    return info.accept;
}

} // namespace edit

char* WkEditGetText(WkObject* field) { return field ? WkEditRecord(field)->store.buffer : nullptr; }

void WkEditReplaceText(WkObject* field, const char* text, int marked, int notify) {
    if (!field) return;
    WkEditData* d = WkEditRecord(field);
    int oldCursor = d->cursor;
    int length = text ? int(strnlen(text, std::size_t(WK_EDIT_MAX_TEXT) + 1)) : 0;
    WkEditChange change{d->store.buffer, text, 0, d->length, length, marked, 1};
    d->anchor = d->selectionEnd = d->cursor;
    if (!edit::ApplyChange(field, &change, false, notify != 0, false)) return;
    d->flags &= std::uint16_t(~WK_EDIT_TOUCHED);
    d->xOffset = d->topLine = 0;
    d->cursor = d->cursorX = d->cursorColumn = d->cursorLine = 0;
    edit::ClearSelection(d);
    edit::SetMarked(field, change.marked);
    edit::DrawAll(field);
    edit::UpdateBars(field);
    if (notify) {
        if (d->value) d->value(field, d->store.buffer, d->valueData);
        if (oldCursor != 0) edit::CallCursorCallback(field);
    }
}
