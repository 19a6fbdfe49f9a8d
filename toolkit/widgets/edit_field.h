// The edit field: the toolkit's one- and multi-line text entry. It holds its
// text buffer (Windows-1252 bytes, newlines between lines), the cursor, the
// selection and the view offsets, filters typed characters, talks to the
// clipboard and reports through its callbacks. Every edit of the text goes
// through one change routine: verify, apply, redraw, value callback.
//
// The operations that read and change a field from outside, the scrolled
// field (a form holding the field and two scroll bars) and the text search
// are declared here too.
//
// A field owns its class record (WkEditData) with the text store, the extra
// filter characters, the placeholder, the key callbacks, its blink timeout
// and its own references to the two colour pairs; all are freed with it.
#pragma once

#include "toolkit/core/callback_list.h"
#include "toolkit/core/object.h"

#include <cstdint>

// Flag bits of WkEditData::flags.
inline constexpr std::uint16_t WK_EDIT_INSERT = 0x0001;
inline constexpr std::uint16_t WK_EDIT_CURSOR_SHOWN = 0x0002;
inline constexpr std::uint16_t WK_EDIT_LEAVE_CHECKED = 0x0004;
inline constexpr std::uint16_t WK_EDIT_DRAGGING = 0x0008;
inline constexpr std::uint16_t WK_EDIT_MULTI_LINE = 0x0010;
inline constexpr std::uint16_t WK_EDIT_PRESET = 0x0020;  // every text the program gives it is a preset
inline constexpr std::uint16_t WK_EDIT_TOUCHED = 0x0040; // the user changed the text the program gave it
inline constexpr std::uint16_t WK_EDIT_AUTO_INDENT = 0x0080;
inline constexpr std::uint16_t WK_EDIT_MASKED = 0x0100;
inline constexpr std::uint16_t WK_EDIT_READ_ONLY = 0x0400;
inline constexpr std::uint16_t WK_EDIT_FIXED_PITCH = 0x0800;
inline constexpr std::uint16_t WK_EDIT_TINTED = 0x1000;
inline constexpr std::uint16_t WK_EDIT_ENTRY_SELECTED = 0x2000; // taking the focus selected the text
// Enter runs the activate callback and leaves the focus in the field.
inline constexpr std::uint16_t WK_EDIT_ENTER_STAYS = 0x4000;

// Filter modes (WkEditFilter); characters outside the chosen classes pass
// only when they are among the field's extra characters.
inline constexpr std::uint16_t WK_FILTER_ALL = 0x1;
inline constexpr std::uint16_t WK_FILTER_LETTERS = 0x2;
inline constexpr std::uint16_t WK_FILTER_DIGITS = 0x4;
inline constexpr std::uint16_t WK_FILTER_SPACE = 0x8;
inline constexpr std::uint16_t WK_FILTER_SIGN = 0x100;  // '+' or '-' at the start only
inline constexpr std::uint16_t WK_FILTER_POINT = 0x200; // one '.'
inline constexpr std::uint16_t WK_FILTER_UPPER = 0x400;
inline constexpr std::uint16_t WK_FILTER_LOWER = 0x800;

inline constexpr int WK_EDIT_BLINK_MS = 300;
// The longest text a field takes.
inline constexpr int WK_EDIT_MAX_TEXT = 2147483595;

// One edit of the text, as the verify callback sees it: it may clear accept
// or rewrite the other fields (newText must then hold insertCount bytes and
// live until the callback's caller returns).
struct WkEditChange {
    char* text; // the field's buffer
    const char* newText;
    int position;
    int removeCount;
    int insertCount;
    int marked; // the marked state to show afterwards
    int accept;
};

// What the leave callback sees. It may rewrite the buffer in place (at most
// capacity characters; anything past them is cut off) and then set changed.
struct WkEditLeaveInfo {
    char* text;
    std::int16_t length;
    int key;    // the key that moves the focus, 0 when the focus was lost otherwise
    int reason; // 1 the focus was lost, 0 a key
    int accept;
    int changed;
    int marked;
    int capacity;
};

struct WkEditCursorInfo {
    int index, column, line;
};

using WkEditTextCallback = void (*)(WkObject* field, char* text, void* data);
using WkEditVerifyCallback = void (*)(WkObject* field, WkEditChange* change, void* data);
using WkEditStepCallback = void (*)(WkObject* field, int step, void* data);
using WkEditLeaveCallback = void (*)(WkObject* field, WkEditLeaveInfo* info, void* data, int key);
using WkEditCursorCallback = void (*)(WkObject* field, const WkEditCursorInfo* cursor, void* data);

struct WkListItem;
// A drop-down's selection callback: (field, the chosen item, data, popup
// window), called before the item's text replaces the field's.
using WkComboCallback = void (*)(WkObject* field, WkListItem* item, void* data, WkObject* popup);

struct WkEditText {
    char* buffer;  // capacity + 2 bytes
    int capacity;  // characters
};

struct WkEditData {
    WkColor markedForeground, markedBackground;
    WkColor normalForeground, normalBackground;
    WkEditText store;
    char* extra; // extra characters the filter accepts, or null
    int timer;
    WkEditTextCallback activate, value;
    WkEditVerifyCallback verify;
    WkEditStepCallback step;
    WkEditLeaveCallback leave;
    WkEditCursorCallback cursorMoved;
    void *activateData, *valueData, *verifyData, *leaveData, *cursorData, *stepData;
    WkEventHandler* keyCallbacks;
    WkObject* popup;
    // A drop-down's parts: the list in the popup and the arrow button.
    WkObject *list, *arrowButton;
    WkComboCallback select;
    void* selectData;
    WkObject *verticalBar, *horizontalBar;
    WkObject* arrows[2];
    char* placeholder; // selected whole when the field takes the focus showing it, or null
    int length;
    int cursor;
    int anchor, selectionEnd;
    int maxLength;
    int visibleColumns;
    int lastLine;
    int xOffset;
    int topLine;
    int visibleWidth;
    int visibleLines;
    int cursorX;
    int cursorColumn;
    int cursorLine;
    std::uint16_t flags;
    std::uint16_t filter;
    std::uint8_t hMargin, vMargin;
    std::uint8_t tabWidth;
    std::uint8_t clicks;
    std::uint8_t marked;
    char displayChar;
};

inline WkEditData* WkEditRecord(WkObject* field) { return static_cast<WkEditData*>(field->classRecord); }

// Constructors. Lines below 1 count as 1; a negative visible width makes a
// multi-line field as wide as its columns, a visible width above the
// columns counts as the columns, two or more lines make it multi-line.
WkObject* WkCreateEditEx(WkObject* parent, const char* text, int columns, int lines, int visible, int font);
WkObject* WkCreateEdit(WkObject* parent, const char* text, int maxLength, int font);
// A visible length of 0 or less means the length.
WkObject* WkCreateEditWithWidth(WkObject* parent, const char* text, int length, int visible, int font);
WkObject* WkCreateMultiLineEdit(WkObject* parent, const char* text, int columns, int lines, int font);
WkObject* WkCreateMaskedEdit(WkObject* parent, const char* text, int length, int font, char display);
WkObject* WkCreateMaskedEditWithWidth(WkObject* parent, const char* text, int length, int visible, int font,
                                      char display);

int WkEditHandler(WkObject* field, WkMessage* message);

void WkEditSetActivateCallback(WkObject* field, WkEditTextCallback callback, void* data);
void WkEditSetValueCallback(WkObject* field, WkEditTextCallback callback, void* data);
void WkEditSetVerifyCallback(WkObject* field, WkEditVerifyCallback callback, void* data);
void WkEditSetStepCallback(WkObject* field, WkEditStepCallback callback, void* data);
void WkEditSetLeaveCallback(WkObject* field, WkEditLeaveCallback callback, void* data);
void WkEditSetCursorCallback(WkObject* field, WkEditCursorCallback callback, void* data);
// Called as (field, key, data) for a key with a scan-code part equal to key;
// a match consumes the key.
void WkEditAddKeyCallback(WkObject* field, int key, WkValueCallback callback, void* data);

// The text buffer itself, read in place.
char* WkEditGetText(WkObject* field);
// Replaces the whole text; with notify the verify callback may refuse and
// the value callback hears of it. The cursor goes to 0.
void WkEditReplaceText(WkObject* field, const char* text, int marked, int notify);

// The filter mode and a copy of the extra characters (null: none).
void WkEditSetFilter(WkObject* field, int mode, const char* extra);
int WkEditGetFilter(WkObject* field);
void WkEditSetAutoIndent(WkObject* field, int on);
// A one-line field whose Enter is a command of its own (a search, a
// choice) keeps the focus, so that Enter pressed again never reaches the
// object after it.
void WkEditSetEnterStays(WkObject* field, int on);

// A multi-line field with a horizontal and a vertical scroll bar in a form
// of its own, the field a part of it; returns the field. The bars follow
// every change of the text and the view, and moving them scrolls the text.
WkObject* WkCreateScrolledEdit(WkObject* parent, const char* text, int columns, int lines, int font);

// Positions are clamped to 0..length throughout. Replaces count characters
// at position by length characters of text, without the verify or value
// callbacks and also while the field is hidden.
void WkEditReplaceRange(WkObject* field, int position, int count, const char* text, int length);
// Copies from..to (at most size - 1 characters) and a terminator into the
// buffer; returns the characters copied.
int WkEditGetRange(WkObject* field, int from, int to, char* buffer, int size);
void WkEditSetReadOnly(WkObject* field);
void WkEditSetWritable(WkObject* field);
// One-line fields: the visible columns become min(visible, maximum) and the
// text, cursor and selection are cut to the maximum.
void WkEditSetMaxLength(WkObject* field, int visible, int maximum);
// Values of 0 or less keep the present one; the field is resized.
void WkEditSetVisibleSize(WkObject* field, int columns, int lines);
void WkEditSetMargins(WkObject* field, int horizontal, int vertical);
// 1..15 spaces; anything else is ignored.
void WkEditSetTabWidth(WkObject* field, int spaces);
void WkEditSetMask(WkObject* field, char display);
void WkEditClearMask(WkObject* field);
void WkEditSelectAll(WkObject* field);
void WkEditSelectRange(WkObject* field, int from, int to);
// A field holding a preset: a value the user is meant to replace, not to
// edit (a 0 that stands for "none", a sample such as "Game/xx", a proposed
// number). Every text the program gives the field, now and later, is a
// preset: while the user has not changed it, taking the focus selects it
// whole however the focus came, and the first character typed or pasted
// replaces it wherever the caret stands.
void WkEditSetPreset(WkObject* field, int on);
// The same for one text only (an unknown date such as "00.00.00"), while
// the field reads it; null takes the placeholder away.
void WkEditSetPlaceholder(WkObject* field, const char* text);
// The smaller end first.
void WkEditGetSelection(WkObject* field, int* from, int* to);
void WkEditSetCursor(WkObject* field, int index);
// The place nearest to the column and line in the view.
void WkEditSetCursorAt(WkObject* field, int column, int line);
int WkEditGetCursor(WkObject* field);
void WkEditGetCursorPosition(WkObject* field, int* column, int* line);
int WkEditIsMarked(WkObject* field);
// The field takes its own references to the colours.
void WkEditSetMarkedColors(WkObject* field, WkColor background, WkColor foreground);
void WkEditSetNormalColors(WkObject* field, WkColor background, WkColor foreground);
// The arrow buttons and scroll bars take a tint of the field's background,
// now and after every colour change; untinted they take the default one.
void WkEditTintParts(WkObject* field);
void WkEditUntintParts(WkObject* field);
WkObject* WkEditGetVerticalScrollBar(WkObject* field);
WkObject* WkEditGetHorizontalScrollBar(WkObject* field);
void WkEditSetScrollBarColor(WkObject* field, WkColor color);
void WkEditSetScrollBarShade(WkObject* field, int percent);
// Shows the popup window under the field, as wide as it, with the pointer
// grab and the focus on the popup's list; a button callback of drop-downs.
void WkEditOpenPopup(WkObject* field);

// The first occurrence at or after start, or the nearest one that ends
// before start; -1 when there is none, for an empty pattern or a start out
// of the text. Ignoring case compares the bytes' lower-case forms.
int WkEditSearchForward(WkObject* field, int start, const char* pattern, int ignoreCase);
int WkEditSearchBackward(WkObject* field, int start, const char* pattern, int ignoreCase);
