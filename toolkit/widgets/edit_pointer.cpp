// The edit field's pointer: hit testing, clicks counted within the blink
// timeout (one places the cursor and starts a drag, two select a word,
// three a line), Shift+click, dragging under the pointer grab, pasting
// with another button, and the wheel, which moves the vertical bar.
#include "toolkit/widgets/edit_internal.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/letters.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>
#include <cctype>

namespace edit {

namespace {

constexpr int kButton1Held = 0x100;
constexpr int kShiftHeld = 0x1;

bool WordCharacter(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return WkIsLetter(u) || std::isdigit(u) || c == '_';
}

// Rounds towards minus infinity, so a point above the text lies on the
// line above the top line.
int FloorDivide(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

void Select(WkObject* field, int anchor, int end) {
    WkEditData* d = WkEditRecord(field);
    d->anchor = anchor;
    d->selectionEnd = end;
    d->cursor = end;
    CursorMoved(field, true);
}

void SelectWord(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    const char* t = d->store.buffer;
    int from = d->cursor, to = d->cursor;
    while (from > 0 && WordCharacter(t[from - 1])) --from;
    while (to < d->length && WordCharacter(t[to])) ++to;
    Select(field, from, to);
}

void SelectLine(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    int from = LineStart(d, d->cursor), to = LineEnd(d, d->cursor);
    if (to < d->length) ++to; // the newline
    Select(field, from, to);
}

// Moves the cursor to the point; with extend the selection reaches from
// its anchor (the old cursor when there was none) to there.
void PlaceCursor(WkObject* field, const WkMessage* m, bool extend) {
    WkEditData* d = WkEditRecord(field);
    int target = HitTest(field, WkPointerX(m), WkPointerY(m));
    if (extend && !HasSelection(d)) d->anchor = d->cursor;
    d->cursor = target;
    if (extend) d->selectionEnd = target;
    else ClearSelection(d);
    CursorMoved(field, true);
}

void OpenPopupOrIgnore(WkObject* field) {
    if (WkEditRecord(field)->popup) WkEditOpenPopup(field);
}

void Press(WkObject* field, WkMessage* m) {
    WkEditData* d = WkEditRecord(field);
    if (!Usable(field)) return;
    if (WkPointerButton(m) != 1) {
        if (d->flags & WK_EDIT_READ_ONLY) return;
        PlaceCursor(field, m, false);
        Paste(field);
        return;
    }
    if (!(field->layout & WK_LAYOUT_FOCUSABLE)) {
        WkBeep();
        return;
    }
    if (!(field->state & WK_STATE_FOCUS)) {
        WkObjectSetFocusBy(field, WK_FOCUS_BY_POINTER);
        // A placeholder, or a focus callback, that selected the text keeps
        // its selection.
        if (HasSelection(d)) return;
    }
    if (d->flags & WK_EDIT_READ_ONLY) {
        OpenPopupOrIgnore(field);
        return;
    }
    RestartBlink(field);
    if (WkGetGrab() != field) WkPushGrab(field);
    d->clicks = std::uint8_t(d->clicks + 1);
    switch (d->clicks) {
    case 1:
        PlaceCursor(field, m, WkPointerState(m) & kShiftHeld);
        d->flags |= WK_EDIT_DRAGGING;
        break;
    case 2: SelectWord(field); break;
    case 3: SelectLine(field); break;
    default: d->clicks = 1; break;
    }
}

void Motion(WkObject* field, WkMessage* m) {
    WkEditData* d = WkEditRecord(field);
    if (!(d->flags & WK_EDIT_DRAGGING) || !(WkPointerState(m) & kButton1Held)) return;
    int target = HitTest(field, WkPointerX(m), WkPointerY(m));
    if (target == d->cursor) return;
    if (!HasSelection(d)) d->anchor = d->cursor;
    d->cursor = d->selectionEnd = target;
    CursorMoved(field, true);
}

void Release(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    d->flags &= std::uint16_t(~WK_EDIT_DRAGGING);
    if (WkGetGrab() == field) WkPopGrab(field);
    if (field->layout & WK_LAYOUT_FOCUSABLE) ShowCursor(field, true);
}

} // namespace

int HitTest(WkObject* field, int x, int y) {
    WkEditData* d = WkEditRecord(field);
    const int f = Frame(field);
    int line = 0;
    if (d->flags & WK_EDIT_MULTI_LINE) {
        int pitch = std::max(1, WkFontHeight("M", field->font) + d->vMargin);
        line = std::clamp(FloorDivide(y - f - d->vMargin, pitch) + d->topLine, 0, d->lastLine);
    }
    return IndexAtX(field, line, x + d->xOffset - f - d->hMargin);
}

void CursorMoved(WkObject* field, bool notify) {
    ShowCursor(field, false);
    UpdateCursor(field);
    DrawAll(field);
    ScrollIntoView(field);
    ShowCursor(field, true);
    if (notify) CallCursorCallback(field);
}

int HandlePointer(WkObject* field, WkMessage* message) {
    switch (message->type) {
    case WK_MSG_PRESS: Press(field, message); return 1;
    case WK_MSG_MOTION: Motion(field, message); return 1;
    case WK_MSG_RELEASE:
    case WK_MSG_POP_DOWN: Release(field); return 1;
    case WK_MSG_WHEEL:
        if (WkObject* bar = WkEditRecord(field)->verticalBar)
            WkScrollBarSetValue(
                bar, int(std::clamp<long long>((long long)WkScrollBarGetValue(bar) + WkWheelLines(message), 0,
                                               WK_EDIT_MAX_TEXT)));
        return 1;
    default: return 0;
    }
}

} // namespace edit
