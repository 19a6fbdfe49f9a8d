// The edit field's constructors, class handler, callback setters, focus
// and blink, sizes and destruction.
#include "toolkit/widgets/edit_field.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/edit_internal.h"
#include "toolkit/widgets/form.h"

#include <algorithm>
#include <cstring>

namespace {

int WidthOfA(const WkObject* field) { return WkCharWidth('a', field->font); }

bool FixedPitch(const WkObject* field) { return WkCharWidth('W', field->font) == WkCharWidth('l', field->font); }

void Blink(int, void* data) {
    auto* field = static_cast<WkObject*>(data);
    WkEditData* d = WkEditRecord(field);
    d->timer = 0;
    d->clicks = 0;
    edit::ShowCursor(field, !(d->flags & WK_EDIT_CURSOR_SHOWN));
    if (field->state & WK_STATE_FOCUS) d->timer = WkAddTimeout(WK_EDIT_BLINK_MS, Blink, field);
}

void FocusIn(WkObject* field, int reason) {
    WkEditData* d = WkEditRecord(field);
    field->state |= WK_STATE_FOCUS;
    // Entered from the keyboard, a one-line field is typed over, as is one
    // still showing its preset however it is entered; a click keeps the
    // caret where it falls. A read-only field has nothing to type over, and
    // a multi-line one keeps its text from the next Enter.
    const bool preset = edit::PresetUntouched(d);
    const bool keyed =
        reason == WK_FOCUS_BY_KEY && !(d->flags & (WK_EDIT_READ_ONLY | WK_EDIT_MULTI_LINE));
    if (d->length > 0 && (preset || keyed)) {
        WkEditSelectAll(field);
        d->flags |= WK_EDIT_ENTRY_SELECTED;
    }
    edit::DrawFocusFrame(field);
    edit::ShowCursor(field, true);
    WkRestartTimeout(&d->timer, WK_EDIT_BLINK_MS, Blink, field);
}

void FocusOut(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    WkClearTimeout(&d->timer);
    field->state &= std::uint16_t(~WK_STATE_FOCUS);
    edit::DrawFocusFrame(field);
    edit::ShowCursor(field, false);
    // The whole text that taking the focus selected, still selected, goes
    // with the focus: a form tabbed through is not left highlighted field
    // by field.
    int from, to;
    edit::SelectionRange(d, &from, &to);
    if ((d->flags & WK_EDIT_ENTRY_SELECTED) && from == 0 && to == d->length && to > 0) {
        edit::ClearSelection(d);
        if (WkObjectDrawable(field)) edit::DrawAll(field);
    }
    if (!(d->flags & WK_EDIT_LEAVE_CHECKED)) edit::LeaveCheck(field, 0, 1);
    d->flags &= std::uint16_t(~(WK_EDIT_LEAVE_CHECKED | WK_EDIT_DRAGGING | WK_EDIT_ENTRY_SELECTED));
}

void QuerySize(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    const int f = edit::Frame(field), wa = WidthOfA(field);
    field->height = 2 * f + d->vMargin + d->visibleLines * (WkFontHeight("A", field->font) + d->vMargin) + 2;
    if (field->layout & WK_LAYOUT_FIXED_WIDTH)
        d->visibleWidth = field->fixedWidth - 2 * d->hMargin - 2 * f;
    else
        field->width = d->visibleColumns * wa + 2 * f + 2 * d->hMargin + 3;
    if ((d->horizontalBar || (field->layout & WK_LAYOUT_GROW_X)) && !(field->layout & WK_LAYOUT_MIN_WIDTH))
        field->minWidth = WkClampSize16(2LL * f + 4LL * wa + 2LL * d->hMargin);
    if (d->verticalBar && !(field->layout & WK_LAYOUT_MIN_HEIGHT))
        field->minHeight = WkClampSize16(2 * f + 2 * (d->vMargin + WkFontHeight("A", field->font)) + 2);
}

void Resize(WkObject* field, int width, int height) {
    WkEditData* d = WkEditRecord(field);
    const int f = edit::Frame(field), wa = std::max(1, WidthOfA(field));
    field->width = width;
    field->height = height;
    d->visibleWidth = std::max(0, width - 2 * f - 2 * d->hMargin - 3);
    d->visibleColumns = d->visibleWidth / wa;
    if (d->flags & WK_EDIT_MULTI_LINE) d->maxLength = d->visibleColumns;
    if (FixedPitch(field)) d->flags |= WK_EDIT_FIXED_PITCH;
    else d->flags &= std::uint16_t(~WK_EDIT_FIXED_PITCH);
    d->visibleLines = std::max(1, (height - 2 * f - d->vMargin - 2) / (WkFontHeight("M", field->font) + d->vMargin));
    d->xOffset = 0;
    edit::UpdateBars(field);
}

void Destroy(WkObject* field) {
    WkEditData* d = WkEditRecord(field);
    WkClearTimeout(&d->timer);
    WkFree(d->extra);
    WkFree(d->placeholder);
    WkFreeCallbacks(&d->keyCallbacks);
    WkFree(d->store.buffer);
    d->extra = d->store.buffer = d->placeholder = nullptr;
    for (WkColor c : {d->markedForeground, d->markedBackground, d->normalForeground, d->normalBackground})
        WkFreeColor(c);
    // A drop-down's popup window goes with its field.
    if (WkObject* popup = d->popup) {
        d->popup = d->list = nullptr;
        WkShellDestroy(popup);
    }
}

void Expose(WkObject* field) {
    WkObjectDrawBackground(field);
    edit::DrawAll(field);
    if (field->state & WK_STATE_FOCUS) edit::DrawFocusFrame(field);
}

void Mask(WkObject* field, char display) {
    WkEditData* d = WkEditRecord(field);
    d->flags |= WK_EDIT_MASKED;
    d->displayChar = display;
}

} // namespace

int WkEditHandler(WkObject* field, WkMessage* message) {
    WkEditData* d = WkEditRecord(field);
    switch (message->type) {
    case WK_MSG_KEY: return edit::HandleKey(field, message);
    case WK_MSG_PRESS:
    case WK_MSG_RELEASE:
    case WK_MSG_MOTION:
    case WK_MSG_POP_DOWN:
    case WK_MSG_WHEEL: return edit::HandlePointer(field, message);
    case WK_MSG_EXPOSE: Expose(field); return 1;
    case WK_MSG_DESTROY: Destroy(field); return 1;
    case WK_MSG_QUERY_SIZE: QuerySize(field); return 1;
    case WK_MSG_RESIZE: Resize(field, WkNewWidth(message), WkNewHeight(message)); return 1;
    case WK_MSG_FOCUS_IN: FocusIn(field, WkFocusReason(message)); return 1;
    case WK_MSG_FOCUS_OUT: FocusOut(field); return 1;
    case WK_MSG_SHADOW:
        field->shadowType = std::uint8_t(WkNewShadowType(message));
        field->shadowWidth = std::uint8_t(WkNewShadowWidth(message));
        field->outerShadowWidth = std::uint8_t(WkNewOuterShadowWidth(message));
        WkRedraw(field, 1);
        return 1;
    case WK_MSG_SET_TEXT: WkEditReplaceText(field, WkNewText(message), 0, 0); return 1;
    case WK_MSG_GET_TEXT: WkMessageReturnText(message, d->store.buffer); return 1;
    case WK_MSG_COLORS:
        if (d->flags & WK_EDIT_TINTED) WkEditTintParts(field);
        if (d->popup) WkObjectSetColors(d->popup, field->background, field->foreground);
        WkRedraw(field, 0);
        return 1;
    case WK_MSG_SENSITIVE:
        // A drop-down greys as a whole: its arrow must not open the popup
        // of a field that takes no input.
        if (d->arrowButton && WkObjectIsSensitive(d->arrowButton) != (WkTurnedOn(message) ? 1 : 0))
            WkObjectSetSensitive(d->arrowButton, WkTurnedOn(message));
        // A spin field greys with its arrows.
        for (WkObject* arrow : d->arrows)
            if (arrow) WkObjectSetSensitive(arrow, WkTurnedOn(message));
        WkRedraw(field, 0);
        return 1;
    case WK_MSG_ACTIVE: WkRedraw(field, 0); return 1;
    default: return 0;
    }
}

WkObject* WkCreateEditEx(WkObject* parent, const char* text, int columns, int lines, int visible, int font) {
    bool multi = false;
    columns = std::max(columns, 0);
    if (lines < 1) lines = 1;
    if (visible < 0) {
        multi = true;
        visible = columns;
    }
    if (visible > columns) visible = columns;
    if (lines >= 2) multi = true;
    WkObject base = WkBaseTemplate(WK_CLASS_EDIT);
    base.handler = WkEditHandler;
    base.font = font;
    WkObject* field = WkNewObject(base, nullptr, sizeof(WkEditData));
    WkInheritColors(parent, field);
    WkEditData* d = WkEditRecord(field);
    d->markedForeground = WkAddColorRef(field->foreground);
    d->markedBackground = WkAddColorRef(field->background);
    d->normalForeground = WkAddColorRef(field->foreground);
    d->normalBackground = WkAddColorRef(field->background);
    d->store.capacity = int(std::min<long long>((long long)columns * lines, WK_EDIT_MAX_TEXT));
    d->store.buffer = WkMallocText(std::size_t(d->store.capacity) + 2);
    d->store.buffer[0] = '\0';
    d->flags = WK_EDIT_INSERT | (multi ? WK_EDIT_MULTI_LINE : 0);
    d->filter = WK_FILTER_ALL;
    d->hMargin = 2;
    d->tabWidth = 8;
    d->maxLength = columns;
    d->visibleColumns = visible;
    d->visibleLines = lines;
    if (FixedPitch(field)) d->flags |= WK_EDIT_FIXED_PITCH;
    QuerySize(field);
    Resize(field, field->width, field->height);
    if (multi) WkObjectSetResizable(field, 1, 1);
    else if (visible != columns) WkObjectSetResizable(field, 1, -1);
    WkEditReplaceText(field, text, 0, 0);
    WkAddChild(parent, field);
    return field;
}

WkObject* WkCreateEdit(WkObject* parent, const char* text, int maxLength, int font) {
    return WkCreateEditEx(parent, text, maxLength, 1, maxLength, font);
}

WkObject* WkCreateEditWithWidth(WkObject* parent, const char* text, int length, int visible, int font) {
    return WkCreateEditEx(parent, text, length, 1, visible <= 0 ? length : visible, font);
}

WkObject* WkCreateMultiLineEdit(WkObject* parent, const char* text, int columns, int lines, int font) {
    return WkCreateEditEx(parent, text, columns, lines, -1, font);
}

WkObject* WkCreateMaskedEdit(WkObject* parent, const char* text, int length, int font, char display) {
    WkObject* field = WkCreateEdit(parent, text, length, font);
    Mask(field, display);
    return field;
}

WkObject* WkCreateMaskedEditWithWidth(WkObject* parent, const char* text, int length, int visible, int font,
                                      char display) {
    WkObject* field = WkCreateEditWithWidth(parent, text, length, visible, font);
    Mask(field, display);
    return field;
}

void edit::RestartBlink(WkObject* field) {
    WkRestartTimeout(&WkEditRecord(field)->timer, WK_EDIT_BLINK_MS, Blink, field);
}

namespace {

template <class Callback>
void Store(Callback& slot, void*& dataSlot, Callback callback, void* data) {
    slot = callback;
    dataSlot = data;
}

} // namespace

void WkEditSetActivateCallback(WkObject* field, WkEditTextCallback callback, void* data) {
    Store(WkEditRecord(field)->activate, WkEditRecord(field)->activateData, callback, data);
}
void WkEditSetValueCallback(WkObject* field, WkEditTextCallback callback, void* data) {
    Store(WkEditRecord(field)->value, WkEditRecord(field)->valueData, callback, data);
}
void WkEditSetVerifyCallback(WkObject* field, WkEditVerifyCallback callback, void* data) {
    Store(WkEditRecord(field)->verify, WkEditRecord(field)->verifyData, callback, data);
}
void WkEditSetStepCallback(WkObject* field, WkEditStepCallback callback, void* data) {
    Store(WkEditRecord(field)->step, WkEditRecord(field)->stepData, callback, data);
}
void WkEditSetLeaveCallback(WkObject* field, WkEditLeaveCallback callback, void* data) {
    Store(WkEditRecord(field)->leave, WkEditRecord(field)->leaveData, callback, data);
}
void WkEditSetCursorCallback(WkObject* field, WkEditCursorCallback callback, void* data) {
    Store(WkEditRecord(field)->cursorMoved, WkEditRecord(field)->cursorData, callback, data);
}

void WkEditAddKeyCallback(WkObject* field, int key, WkValueCallback callback, void* data) {
    WkAppendCallback(&WkEditRecord(field)->keyCallbacks, callback, data, std::uint32_t(key));
}

void WkEditSetFilter(WkObject* field, int mode, const char* extra) {
    WkEditData* d = WkEditRecord(field);
    d->filter = std::uint16_t(mode);
    WkFree(d->extra);
    d->extra = nullptr;
    if (extra) {
        d->extra = WkMallocText(std::strlen(extra) + 1);
        std::strcpy(d->extra, extra);
    }
}

int WkEditGetFilter(WkObject* field) { return WkEditRecord(field)->filter; }

void WkEditSetAutoIndent(WkObject* field, int on) {
    WkEditData* d = WkEditRecord(field);
    if (on) d->flags |= WK_EDIT_AUTO_INDENT;
    else d->flags &= std::uint16_t(~WK_EDIT_AUTO_INDENT);
}

void WkEditSetEnterStays(WkObject* field, int on) {
    WkEditData* d = WkEditRecord(field);
    if (on) d->flags |= WK_EDIT_ENTER_STAYS;
    else d->flags &= std::uint16_t(~WK_EDIT_ENTER_STAYS);
}
