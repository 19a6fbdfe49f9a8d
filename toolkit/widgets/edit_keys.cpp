// The edit field's keys: the steps a key goes through (arrows to the step
// callback, Tab and the leave check, Alt+digit composition, key callbacks,
// read-only), the editing and moving keys, the character filter and the
// clipboard.
#include "toolkit/widgets/edit_internal.h"

#include "toolkit/core/clipboard.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/letters.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace edit {

namespace {

constexpr int kKeyEnterPad = 0xE00D;
constexpr int kKeyCut = 0x2D18;
constexpr int kKeyCopy = 0x2E03;
constexpr int kKeyPaste = 0x2F16;

// The Alt+digit composition, one for the whole process.
int composed = 0, composedDigits = 0;

int OldSwitchPolicy() { return WkFocusSwitchPolicy(); }

// The focus moves to the next or previous field of the parent form, or by
// the old policy's steps out of it.
void MoveFocus(WkObject* field, bool forward, bool oldSteps) {
    WkObject* form = field->parent;
    if (!form) return;
    if (oldSteps) forward ? WkFocusLeaveForward(form) : WkFocusLeaveBackward(form);
    else forward ? WkFocusNext(form) : WkFocusPrevious(form);
}

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The character after folding, or -1 when the filter refuses it. Letters
// and their cases are Windows-1252's, accented ones included; digits and
// white space the C locale's.
int Filter(WkObject* field, unsigned char c) {
    WkEditData* d = WkEditRecord(field);
    const int mode = d->filter;
    if (mode == WK_FILTER_ALL) return c;
    if (mode & WK_FILTER_UPPER) c = static_cast<unsigned char>(WkToUpper(c));
    else if (mode & WK_FILTER_LOWER) c = static_cast<unsigned char>(WkToLower(c));
    if ((mode & WK_FILTER_LETTERS) && WkIsLetter(c)) return c;
    if ((mode & WK_FILTER_DIGITS) && std::isdigit(c)) return c;
    if ((mode & WK_FILTER_SPACE) && std::isspace(c)) return c;
    if ((mode & WK_FILTER_SIGN) && (c == '+' || c == '-')) {
        int from, to;
        SelectionRange(d, &from, &to);
        return d->cursorColumn == 0 || (HasSelection(d) && from == 0) ? c : -1;
    }
    if ((mode & WK_FILTER_POINT) && c == '.') return std::memchr(d->store.buffer, '.', std::size_t(d->length)) ? -1 : c;
    if (d->extra && c && std::strchr(d->extra, c)) return c;
    return -1;
}

void Copy(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    int from, to;
    SelectionRange(d, &from, &to);
    WkSetClipboardText(WkObjectGetNativeWindow(field), d->store.buffer + from, to - from);
}

// Copies the selection; a masked field beeps instead. 1 when copied.
bool CopySelection(WkObject* field) {
    if (WkEditRecord(field)->flags & WK_EDIT_MASKED) {
        WkBeep();
        return false;
    }
    Copy(field);
    return true;
}

void RemoveRange(WkObject* field, int position, int count) {
    WkEditData* d = WkEditRecord(field);
    WkEditChange change{d->store.buffer, nullptr, position, count, 0, 0, 1};
    ApplyChange(field, &change, true, true, true);
}

void RemoveSelection(WkObject* field) {
    int from, to;
    SelectionRange(WkEditRecord(field), &from, &to);
    RemoveRange(field, from, to - from);
}

// How many characters from the cursor an insertion of count overwrites: not
// past the end of the line.
int Overwritten(const WkEditData* d, int count) {
    if ((d->flags & WK_EDIT_INSERT) || HasSelection(d)) return 0;
    return std::min(count, LineEnd(d, d->cursor) - d->cursor);
}

// An untouched preset goes whole with the first character typed or pasted,
// wherever the caret stands: it is selected, so the character replaces it.
void TakePreset(WkObject* field) {
    if (PresetUntouched(WkEditRecord(field))) WkEditSelectAll(field);
}

void TypeCharacter(WkObject* field, int key) {
    WkEditData* d = WkEditRecord(field);
    if (key == 0) return;
    TakePreset(field);
    // A one-line field keeps what it holds: a character that has no room
    // beeps wherever the cursor stands.
    if (!(d->flags & WK_EDIT_MULTI_LINE) && !HasSelection(d) &&
        (d->cursor >= d->maxLength ||
         (d->length >= d->maxLength && ((d->flags & WK_EDIT_INSERT) || d->cursor >= d->length)))) {
        WkBeep();
        return;
    }
    int c = Filter(field, static_cast<unsigned char>(key));
    if (c < 0) {
        WkBeep();
        return;
    }
    char ch = char(c);
    ChangeAtCursor(field, &ch, 1, Overwritten(d, 1));
}

void NewLine(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    std::string text = "\n";
    if (d->flags & WK_EDIT_AUTO_INDENT)
        for (int i = LineStart(d, d->cursor); i < d->cursor && (d->store.buffer[i] == ' ' || d->store.buffer[i] == '\t'); ++i)
            text.push_back(d->store.buffer[i]);
    ChangeAtCursor(field, text.data(), int(text.size()), Overwritten(d, int(text.size())));
}

// The place in the line nearest to the pixel position x.
int NearestInLine(WkObject* field, int line, int x) {
    WkEditData* d = WkEditRecord(field);
    int start = StartOfLine(d, line), end = LineEnd(d, start), best = start, bestDistance = -1;
    for (int i = start; i <= end; ++i) {
        int distance = std::abs(XOf(field, start, i) - x);
        if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
    }
    return best;
}

// The cursor's new place for a moving key, or -1 when the key moves nothing.
int MoveTarget(WkObject* field, int key, int modifiers, bool* clearSelection) {
    WkEditData* d = WkEditRecord(field);
    const bool ctrl = modifiers & WK_MOD_CTRL, multi = d->flags & WK_EDIT_MULTI_LINE;
    const char* t = d->store.buffer;
    int i = d->cursor;
    switch (key) {
    case WK_KEY_LEFT:
        if (!ctrl) return std::max(0, i - 1);
        while (i > 0 && IsSpace(t[i - 1])) --i;
        while (i > 0 && !IsSpace(t[i - 1])) --i;
        return i;
    case WK_KEY_RIGHT:
        if (!ctrl) return std::min(d->length, i + 1);
        while (i < d->length && !IsSpace(t[i])) ++i;
        while (i < d->length && IsSpace(t[i])) ++i;
        return i;
    case WK_KEY_HOME: return ctrl ? 0 : LineStart(d, i);
    case WK_KEY_END: return ctrl ? d->length : LineEnd(d, i);
    case WK_KEY_UP:
    case WK_KEY_DOWN: {
        if (!multi) return -1;
        int line = d->cursorLine + (key == WK_KEY_UP ? -1 : 1);
        if (line < 0 || line > d->lastLine) return -1;
        return NearestInLine(field, line, d->cursorX);
    }
    case WK_KEY_PGUP:
    case WK_KEY_PGDN: {
        if (!multi) return -1;
        int line = key == WK_KEY_PGUP ? std::max(0, d->topLine - (d->visibleLines - 1))
                                      : std::min(d->lastLine, d->topLine + 2 * d->visibleLines - 2);
        *clearSelection = true;
        return NearestInLine(field, line, d->xOffset);
    }
    default: return -1;
    }
}

bool MoveCursor(WkObject* field, int key, int modifiers) {
    WkEditData* d = WkEditRecord(field);
    bool clearSelection = !(modifiers & WK_MOD_SHIFT);
    int target = MoveTarget(field, key, modifiers, &clearSelection);
    if (target < 0) return false;
    int oldFrom, oldTo, old = d->cursor;
    SelectionRange(d, &oldFrom, &oldTo);
    int firstLine = std::min(LineOf(d, oldFrom), d->cursorLine), lastLine = std::max(LineOf(d, oldTo), d->cursorLine);
    ShowCursor(field, false);
    d->cursor = target;
    if (clearSelection) {
        ClearSelection(d);
    } else {
        if (!HasSelection(d)) d->anchor = old;
        d->selectionEnd = target;
    }
    UpdateCursor(field);
    firstLine = std::min(firstLine, d->cursorLine);
    lastLine = std::max(lastLine, d->cursorLine);
    if (oldFrom != oldTo || HasSelection(d)) DrawLines(field, firstLine, lastLine);
    ScrollIntoView(field);
    ShowCursor(field, true);
    return true;
}

// The leave check for a key that leaves the field; when it accepts (and,
// for Enter, the field holds the focus), the focus moves. The focus-out of
// a move has seen the check run; a field that kept the focus after all
// (nothing else could take it) is checked again when it loses it later.
void Leave(WkObject* field, int key, bool forward, bool oldSteps) {
    const bool enter = key == WK_KEY_ENTER || key == kKeyEnterPad;
    if (LeaveCheck(field, key, 0) && (!enter || (field->state & WK_STATE_FOCUS)))
        MoveFocus(field, forward, oldSteps);
    WkEditRecord(field)->flags &= std::uint16_t(~WK_EDIT_LEAVE_CHECKED);
}

int EditingKey(WkObject* field, int modifiers, int key) {
    WkEditData* d = WkEditRecord(field);
    const bool multi = d->flags & WK_EDIT_MULTI_LINE, shift = modifiers & WK_MOD_SHIFT;
    if (key < 0x100) {
        TypeCharacter(field, key);
        return 1;
    }
    switch (key) {
    case WK_KEY_BACKSPACE:
        if (HasSelection(d)) RemoveSelection(field);
        else if (d->cursor > 0) RemoveRange(field, d->cursor - 1, 1);
        return 1;
    case WK_KEY_DEL:
        if (shift && HasSelection(d)) {
            if (CopySelection(field)) RemoveSelection(field);
        } else if (HasSelection(d)) {
            RemoveSelection(field);
        } else if (d->cursor < d->length) {
            RemoveRange(field, d->cursor, 1);
        }
        return 1;
    case kKeyCut:
        if (HasSelection(d) && CopySelection(field)) RemoveSelection(field);
        return 1;
    case kKeyCopy:
    case WK_KEY_INS:
        if (shift) {
            Paste(field);
        } else if (key == kKeyCopy || (modifiers & WK_MOD_CTRL)) {
            if (HasSelection(d)) CopySelection(field);
        } else {
            ShowCursor(field, false);
            d->flags ^= WK_EDIT_INSERT;
            ShowCursor(field, true);
        }
        return 1;
    case kKeyPaste:
        Paste(field);
        return 1;
    case WK_KEY_ENTER:
    case kKeyEnterPad:
        // A disabled field that still holds the focus runs no command, as it
        // takes no character.
        if (!Usable(field)) {
            WkBeep();
            return 1;
        }
        if (multi) {
            NewLine(field);
            return 1;
        }
        if (!(d->flags & WK_EDIT_ENTER_STAYS)) Leave(field, key, true, false);
        if (d->activate) d->activate(field, d->store.buffer, d->activateData);
        return 1;
    case WK_KEY_TAB:
        if (multi) ChangeAtCursor(field, "\t", 1, Overwritten(d, 1));
        return 1;
    case WK_KEY_PGUP:
    case WK_KEY_PGDN:
        // A one-line field has no pages, but the keys stay with the field
        // that has the focus rather than paging the form around it.
        MoveCursor(field, key, modifiers);
        return 1;
    default:
        return MoveCursor(field, key, modifiers) ? 1 : 0;
    }
}

// Steps 4 to 6: key callbacks, read-only, the editing keys.
int KeyFromStep4(WkObject* field, int modifiers, int key) {
    WkEditData* d = WkEditRecord(field);
    if (key >= 0x100 && WkInvokeCallbacks(d->keyCallbacks, field, key, std::uint32_t(key), 1) > 0) return 1;
    // Escape is no field's own: it goes on to the dialog, which closes.
    if (d->flags & WK_EDIT_READ_ONLY) return key == WK_KEY_ESC ? 0 : 1;
    // The activate callback of a one-line field may destroy it.
    if (!(d->flags & WK_EDIT_MULTI_LINE) && (key == WK_KEY_ENTER || key == kKeyEnterPad))
        return EditingKey(field, modifiers, key);
    const int old = d->cursor;
    const int handled = EditingKey(field, modifiers, key);
    if (d->cursor != old) CallCursorCallback(field);
    return handled;
}

} // namespace

void Paste(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    if (!Usable(field)) {
        WkBeep();
        return;
    }
    const char* text = WkGetClipboardText(WkObjectGetNativeWindow(field));
    if (!text) return;
    TakePreset(field);
    // Pasted characters pass the filter as typed ones do: what it refuses
    // is left out, with one beep.
    const bool multi = d->flags & WK_EDIT_MULTI_LINE;
    std::string kept;
    bool refused = false;
    for (const char* c = text; *c; ++c) {
        const int f = multi && (*c == '\n' || *c == '\r') ? *c : Filter(field, static_cast<unsigned char>(*c));
        if (f < 0) refused = true;
        else kept.push_back(char(f));
    }
    if (refused) WkBeep();
    int length = int(kept.size());
    if (!multi) length = std::min(length, d->maxLength);
    if (length > 0) ChangeAtCursor(field, kept.data(), length, 0);
}

int HandleKey(WkObject* field, WkMessage* message) {
    WkEditData* d = WkEditRecord(field);
    const int modifiers = WkKeyModifiers(message), key = WkKeyCode(message);
    const bool multi = d->flags & WK_EDIT_MULTI_LINE;
    // Alt+digit composes a character code; the third digit or any other key
    // (which is dropped) types it.
    const bool digit = key >= WK_KEY_ALT_0 && key <= WK_KEY_ALT_0 + 9;
    if (digit) {
        composed = composed * 10 + (key - WK_KEY_ALT_0);
        ++composedDigits;
    }
    if (composedDigits > 0) {
        if (digit && composedDigits < 3) return 1;
        const int code = composed;
        composed = composedDigits = 0;
        return KeyFromStep4(field, 0, code);
    }
    if ((key == WK_KEY_UP || key == WK_KEY_DOWN) && (!multi || (modifiers & WK_MOD_CTRL))) {
        const int step = key == WK_KEY_UP ? 1 : -1;
        if (key == WK_KEY_DOWN && d->popup && Usable(field)) WkEditOpenPopup(field);
        else if (d->step && Usable(field)) d->step(field, step, d->stepData);
        else if (OldSwitchPolicy()) Leave(field, key, key == WK_KEY_DOWN, false);
        return 1;
    }
    if (key == WK_KEY_TAB && (!multi || (modifiers & (WK_MOD_SHIFT | WK_MOD_CTRL)))) {
        if (multi) MoveFocus(field, !(modifiers & WK_MOD_SHIFT), false);
        else Leave(field, key, !(modifiers & WK_MOD_SHIFT), OldSwitchPolicy() != 0);
        return 1;
    }
    return KeyFromStep4(field, modifiers, key);
}

} // namespace edit
