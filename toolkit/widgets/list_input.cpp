// The scrolled list's keys (moving the current item and the view, marks,
// moving items, activation, the incremental search) and pointer (press,
// drag, release with the double-click window, wheel).
#include "toolkit/widgets/list_internal.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {

constexpr int kKeypadEnter = 0xE00D;

int Compare(const WkItemList* store, const char* a, const char* b) {
    return store->compare ? store->compare(a, b) : std::strcmp(a, b);
}

// The first n characters of a node's text against the prefix.
int ComparePrefix(const WkItemList* store, const WkItemNode* node, const std::string& prefix) {
    const std::string head(node->text, std::min(std::strlen(node->text), prefix.size()));
    return Compare(store, head.c_str(), prefix.c_str());
}

int LeadingBlanks(const char* text) {
    int n = 0;
    while (text[n] == ' ') ++n;
    return n;
}

// Looks for the prefix from the node at index start on: the matching
// node's index, or -1 at the first one above it or at the end.
int Seek(const WkItemList* store, int start, const std::string& prefix) {
    int index = 0;
    for (WkItemNode* node = store->first; node; node = node->next, ++index) {
        if (index < start) continue;
        const int order = ComparePrefix(store, node, prefix);
        if (order == 0) return index;
        if (order > 0) return -1;
    }
    return -1;
}

void Found(WkObject* l, int index) {
    WkListData* d = WkListRecord(l);
    d->searchOffset = index;
    d->searchItem = WkItemListNth(d->store, index);
    list::MoveCurrent(l, d->windowStart + index);
    list::ScrollIntoView(l, d->current);
}

// A typed character: true when the search found an item.
bool Search(WkObject* l, int character) {
    WkListData* d = WkListRecord(l);
    if (d->store->count == 0) return false;
    if (!d->searchItem) {
        d->searchItem = d->store->first;
        d->searchOffset = 0;
        d->typedLength = std::uint8_t(std::min(LeadingBlanks(d->searchItem->text), 255));
    }
    const int typed = std::min(int(d->typedLength), int(std::strlen(d->searchItem->text)));
    if (typed >= d->itemLength || typed >= 254) {
        WkBeep();
        return false;
    }
    std::string prefix(d->searchItem->text, std::size_t(typed));
    prefix += char(character);
    const int index = Seek(d->store, d->searchOffset, prefix);
    if (index < 0) {
        WkBeep();
        return false;
    }
    d->typedLength = std::uint8_t(typed + 1);
    Found(l, index);
    return true;
}

// Backspace: the last typed character is taken back and the first item
// that begins with what is left becomes current again.
void TakeBack(WkObject* l) {
    WkListData* d = WkListRecord(l);
    if (!d->searchItem || d->typedLength == 0) return;
    --d->typedLength;
    if (d->typedLength <= LeadingBlanks(d->searchItem->text)) return;
    const std::string prefix(d->searchItem->text, d->typedLength);
    const int index = Seek(d->store, 0, prefix);
    if (index >= 0) Found(l, index);
}

void ToggleMark(WkObject* l) {
    WkListData* d = WkListRecord(l);
    if (WkItemNode* node = list::Node(l, d->current)) {
        node->flags ^= WK_ITEM_MARKED;
        list::DrawRow(l, d->current);
    }
}

// Alt+Up and Alt+Down: the current item changes places with its neighbour.
bool MoveItem(WkObject* l, int step) {
    WkListData* d = WkListRecord(l);
    const int target = d->current + step;
    if (d->current < 0 || !list::Node(l, target)) return false;
    WkItemListMoveUp(d->store, std::max(d->current, target) - d->windowStart);
    list::MoveCurrent(l, target);
    list::DrawRow(l, target - step);
    list::ScrollIntoView(l, target);
    return true;
}

void Step(WkObject* l, int position) {
    WkListData* d = WkListRecord(l);
    if (d->count == 0) return;
    position = std::clamp(position, 0, d->count - 1);
    list::MoveCurrent(l, position);
    list::ScrollIntoView(l, position);
}

void Page(WkObject* l, int firstRow, bool down) {
    WkListData* d = WkListRecord(l);
    if (d->count == 0) return;
    // On the last page the view goes no further, so PgDn goes on to the last
    // row (PgUp on the first page comes to row 0 as the view's top).
    const bool lastPage = d->firstRow + d->visibleRows >= d->count;
    list::SetFirstRow(l, firstRow);
    int target = d->firstRow;
    // PgDn never takes a current row on show back up, where the view stops
    // short of a whole page at the end.
    if (down && d->current > target && d->current < d->firstRow + d->visibleRows) target = d->current;
    if (down && lastPage) target = d->count - 1;
    list::MoveCurrent(l, std::clamp(target, 0, d->count - 1));
}

void Tab(WkObject* l, bool back) {
    WkObject* form = l->outer->parent;
    if (!form) return;
    if (WkFocusSwitchPolicy()) back ? WkFocusLeaveBackward(form) : WkFocusLeaveForward(form);
    else back ? WkFocusPrevious(form) : WkFocusNext(form);
}

// The keys that move the view or the current item; false for others.
bool Navigate(WkObject* l, int key) {
    WkListData* d = WkListRecord(l);
    const long long current = d->current, rows = d->visibleRows;
    if (d->fetchMode && list::FetchKey(l, key)) return true;
    switch (key) {
    case WK_KEY_HOME:
        list::SetFirstRow(l, 0);
        if (d->count) list::MoveCurrent(l, 0);
        return true;
    case WK_KEY_END:
        list::SetFirstRow(l, d->count - d->visibleRows);
        if (d->count) list::MoveCurrent(l, d->count - 1);
        return true;
    case WK_KEY_UP: Step(l, int(std::max(current - 1, 0LL))); return true;
    case WK_KEY_DOWN: Step(l, int(std::min(current + 1, (long long)INT_MAX))); return true;
    case WK_KEY_PGUP: Page(l, int(std::max(d->firstRow - rows + 1, (long long)INT_MIN)), false); return true;
    case WK_KEY_PGDN: Page(l, int(std::min(d->firstRow + rows - 1, (long long)INT_MAX)), true); return true;
    case WK_KEY_LEFT: list::SetFirstColumn(l, d->firstColumn - 1); return true;
    case WK_KEY_RIGHT: list::SetFirstColumn(l, d->firstColumn + 1); return true;
    default: return false;
    }
}

} // namespace

namespace list {

int HandleKey(WkObject* l, WkMessage* m) {
    WkListData* d = WkListRecord(l);
    const int key = WkKeyCode(m), modifiers = WkKeyModifiers(m);
    if (key == WK_KEY_TAB) {
        Tab(l, modifiers & WK_MOD_SHIFT);
        return 1;
    }
    if (!Live(l)) return 0;
    if (d->kind == WK_LIST_KIND_FILE_VIEWER) return ViewKey(l, key) ? 1 : 0;
    const int before = d->current;
    bool keepSearch = false, handled = true;
    if (modifiers & WK_MOD_ALT) {
        if (!(key == WK_KEY_UP || key == WK_KEY_DOWN) || !d->moveOption || d->store->compare) return 0;
        if (MoveItem(l, key == WK_KEY_UP ? -1 : 1)) NotifySelect(l, m);
        ResetSearch(d);
        return 1;
    }
    if (key == WK_KEY_ENTER || key == kKeypadEnter) {
        if (Node(l, d->current)) Activate(l, d->current, 0);
    } else if (d->multipleSelection && (key == WK_KEY_INS || key == ' ')) {
        ToggleMark(l);
        NotifySelect(l, m);
    } else if (key == WK_KEY_BACKSPACE) {
        TakeBack(l);
        keepSearch = true;
    } else if (key >= ' ' && key < 0x100 && key != 0x7F) {
        keepSearch = Search(l, key);
    } else {
        handled = Navigate(l, key);
    }
    if (!keepSearch) ResetSearch(d);
    if (d->current != before) NotifySelect(l, m);
    return handled ? 1 : 0;
}

} // namespace list

namespace {

void CloseDoubleClick(int, void* data) {
    WkListData* d = WkListRecord(static_cast<WkObject*>(data));
    d->doubleClickTimer = 0;
    d->doubleClickOpen = 0;
}

// The position of the row under the pointer (it may lie past the items).
int RowAt(WkObject* l, const WkMessage* m) {
    WkListData* d = WkListRecord(l);
    const long long y = WkPointerY(m) - WkObjectBorder(l);
    if (y < 0) return -1;
    return int(std::min<long long>(d->firstRow + y / d->rowHeight, INT_MAX));
}

void Press(WkObject* l, WkMessage* m) {
    WkListData* d = WkListRecord(l);
    if (!list::Live(l)) return;
    if (WkGetGrab() != l) WkPushGrab(l);
    d->pressed = 1;
    const int row = RowAt(l, m);
    const bool onItem = row >= 0 && row < d->count;
    if (!(l->state & WK_STATE_FOCUS)) {
        if (onItem) list::MoveCurrent(l, row);
        WkObjectSetFocus(l);
    } else if (onItem && row != d->current) {
        list::MoveCurrent(l, row);
    }
}

void Motion(WkObject* l, WkMessage* m) {
    WkListData* d = WkListRecord(l);
    if (!d->pressed || !(WkPointerState(m) & 0x100) || d->count == 0) return;
    const long long y = WkPointerY(m) - WkObjectBorder(l);
    const long long row = d->firstRow + (y < 0 ? y / d->rowHeight - 1 : y / d->rowHeight);
    const int position = int(std::clamp<long long>(row, 0, d->count - 1));
    list::MoveCurrent(l, position);
    list::ScrollIntoView(l, position);
}

void Release(WkObject* l, WkMessage* m) {
    WkListData* d = WkListRecord(l);
    if (WkGetGrab() == l) WkPopGrab(l);
    if (!d->pressed) return;
    d->pressed = 0;
    if (!list::Live(l)) return;
    const int row = RowAt(l, m);
    // The release's point is the list's own (as RowAt reads it), not its parent's.
    const int x = WkPointerX(m), y = WkPointerY(m);
    const bool inside = x >= 0 && x < l->width && y >= 0 && y < l->height;
    const bool onItem = row >= 0 && row < d->count && inside;
    if (onItem) {
        if (d->multipleSelection) ToggleMark(l);
        list::NotifySelect(l, m);
    }
    if (d->doubleClickOpen) {
        WkClearTimeout(&d->doubleClickTimer);
        d->doubleClickOpen = 0;
        if (onItem) list::Activate(l, row, 0);
        return;
    }
    if (onItem) list::Activate(l, row, 1);
    d->doubleClickOpen = 1;
    WkRestartTimeout(&d->doubleClickTimer, WK_LIST_DOUBLE_CLICK_MS, CloseDoubleClick, l);
}

} // namespace

namespace list {

int HandlePointer(WkObject* l, WkMessage* m) {
    WkListData* d = WkListRecord(l);
    // A viewer has no current line: a press only takes the focus.
    if (d->kind == WK_LIST_KIND_FILE_VIEWER && m->type != WK_MSG_WHEEL) {
        if (m->type == WK_MSG_PRESS && Live(l)) WkObjectSetFocus(l);
        return 1;
    }
    switch (m->type) {
    case WK_MSG_PRESS: Press(l, m); return 1;
    case WK_MSG_MOTION: Motion(l, m); return 1;
    case WK_MSG_RELEASE: Release(l, m); return 1;
    case WK_MSG_WHEEL:
        if (Live(l) && d->verticalBar)
            SetFirstRow(l, int(std::clamp<long long>((long long)d->firstRow + WkWheelLines(m), 0, INT_MAX)));
        return 1;
    default: return 0;
    }
}

} // namespace list
