// Lists that keep only a window of their items and ask the window callback
// for the rest: virtual lists (a window of 2 x half items that moves by the
// half when the rows shown leave it), fetch lists (as many items as rows,
// one fetched at a time at either end, whole windows for the paging keys),
// and the file viewer's window and keys, which move the view only.
#include "toolkit/widgets/list_internal.h"

#include "toolkit/core/keys.h"
#include "toolkit/core/window_system.h"

#include <algorithm>

namespace {

bool KeepsWindow(const WkListData* d) { return d->windowCallback && !d->fetchMode && d->windowHalf > 0; }

// The window holds the rows shown wherever they start: a view of more rows
// than the half grows it.
void EnsureCapacity(WkObject* l) {
    WkListData* d = WkListRecord(l);
    const int needed = d->visibleRows + d->windowHalf;
    if (d->windowCapacity >= needed && d->store->count >= d->windowCapacity) return;
    d->windowCapacity = std::max(d->windowCapacity, needed);
    list::ReadWindow(l, d->windowStart);
}

// A chain of fresh nodes for a fetch, freed with WkListFreeChain.
WkItemNode* NewChain(int count, int itemLength) {
    WkItemNode* first = nullptr;
    for (int i = 0; i < count; ++i) {
        WkItemNode* node = WkNewItemNode(itemLength);
        node->next = first;
        first = node;
    }
    return first;
}

int Ask(WkObject* l, int mode, int offset, int count, WkItemNode* first) {
    WkListData* d = WkListRecord(l);
    WkListRequest request{mode, offset, d->itemLength, count, first};
    d->windowCallback(l, &request, d->windowData, d->itemLength);
    return std::min(request.count, count);
}

// One item before (step -1) or after (+1) the window: it enters at that end
// and the item at the other end goes.
bool FetchOne(WkObject* l, int step) {
    WkListData* d = WkListRecord(l);
    WkItemNode* node = NewChain(1, d->itemLength);
    const bool got = Ask(l, 1, step < 0 ? -1 : d->store->count, 1, node) > 0;
    if (got) {
        if (step < 0) {
            WkItemListInsert(d->store, 0, node->text, node->value);
            if (d->store->count > d->windowCapacity) WkItemListRemove(d->store, d->store->count - 1);
        } else {
            WkItemListAdd(d->store, node->text, node->value);
            if (d->store->count > d->windowCapacity) WkItemListRemove(d->store, 0);
        }
        d->fetchedAtTop = step < 0;
        d->count = d->store->count;
        list::DrawAll(l);
    }
    WkListFreeChain(node);
    return got;
}

// A whole window from the callback; below 0 leaves the list as it was.
bool FetchWindow(WkObject* l, int mode, int offset) {
    WkListData* d = WkListRecord(l);
    WkItemNode* chain = NewChain(d->windowCapacity, d->itemLength);
    const int got = Ask(l, mode, offset, d->windowCapacity, chain);
    if (got >= 0) {
        WkItemListClear(d->store);
        int i = 0;
        for (WkItemNode* node = chain; node && i < got; node = node->next, ++i)
            WkItemListAdd(d->store, node->text, node->value);
        d->count = d->store->count;
        d->firstRow = 0;
        d->current = d->count ? std::clamp(d->current, 0, d->count - 1) : -1;
        list::ResetSearch(d);
        list::DrawAll(l);
    }
    WkListFreeChain(chain);
    return got >= 0;
}

int Half(int rowHeight, int rows) { return std::max(rows, WkScreenHeight() / std::max(1, rowHeight)); }

WkObject* Create(WkObject* parent, WkListWindowCallback callback, void* data, std::intptr_t word1,
                 std::intptr_t word2, int font, int rows, int columns, int itemLength, bool fetch) {
    WkListData record = list::NewRecord(itemLength, rows, columns);
    record.windowCallback = callback;
    record.windowData = data;
    record.windowWords[0] = word1;
    record.windowWords[1] = word2;
    record.fetchMode = fetch;
    record.windowCapacity = record.visibleRows;
    return WkBuildList(parent, &record, font);
}

} // namespace

namespace list {

void ReadWindow(WkObject* l, int start) {
    WkListData* d = WkListRecord(l);
    d->windowStart = start;
    while (d->store->count < d->windowCapacity) WkItemListAdd(d->store, "", 0);
    d->store->orderedBy = nullptr; // the window's texts come from the application
    for (WkItemNode* node = d->store->first; node; node = node->next) {
        node->text[0] = '\0';
        node->flags = node->value = 0;
    }
    const int wanted = std::clamp(d->count - start, 0, d->store->count);
    if (d->windowCallback && wanted > 0) Ask(l, 0, start, wanted, d->store->first);
}

void FollowWindow(WkObject* l) {
    WkListData* d = WkListRecord(l);
    if (!KeepsWindow(d)) return;
    EnsureCapacity(l);
    const long long first = d->firstRow, end = first + d->visibleRows;
    if (first >= d->windowStart && end <= (long long)d->windowStart + d->windowCapacity) return;
    ReadWindow(l, d->firstRow / d->windowHalf * d->windowHalf);
}

bool FetchKey(WkObject* l, int key) {
    WkListData* d = WkListRecord(l);
    const int capacity = d->windowCapacity;
    switch (key) {
    case WK_KEY_HOME:
        if (FetchWindow(l, 0, 0) && d->count) MoveCurrent(l, 0);
        return true;
    case WK_KEY_END:
        if (FetchWindow(l, 2, -capacity) && d->count) MoveCurrent(l, d->count - 1);
        return true;
    case WK_KEY_PGDN:
        if (d->store->count >= capacity && FetchWindow(l, 1, 0) && d->count) MoveCurrent(l, 0);
        return true;
    case WK_KEY_PGUP:
        if (FetchWindow(l, 1, 2 - 2 * capacity) && d->count) MoveCurrent(l, 0);
        return true;
    case WK_KEY_UP:
        if (d->current > 0) return false;
        FetchOne(l, -1);
        return true;
    case WK_KEY_DOWN:
        if (d->current < d->count - 1 || d->store->count < capacity) return false;
        FetchOne(l, 1);
        return true;
    default: return false;
    }
}

bool ViewKey(WkObject* l, int key) {
    WkListData* d = WkListRecord(l);
    const long long first = d->firstRow, page = std::max(1, d->visibleRows - 1);
    long long row = first;
    switch (key) {
    case WK_KEY_UP: row = first - 1; break;
    case WK_KEY_DOWN: row = first + 1; break;
    case WK_KEY_PGUP: row = first - page; break;
    case WK_KEY_PGDN: row = first + page; break;
    case WK_KEY_HOME: row = 0; break;
    case WK_KEY_END: row = (long long)d->count - d->visibleRows; break;
    case WK_KEY_LEFT: SetFirstColumn(l, d->firstColumn - 1); return true;
    case WK_KEY_RIGHT: SetFirstColumn(l, d->firstColumn + 1); return true;
    default: return false;
    }
    SetFirstRow(l, int(std::clamp<long long>(row, 0, std::max(0, d->count - d->visibleRows))));
    return true;
}

} // namespace list

WkObject* WkCreateVirtualList(WkObject* parent, WkListWindowCallback callback, void* data, std::intptr_t word1,
                              std::intptr_t word2, int font, int visibleRows, int visibleColumns, int itemLength,
                              int count) {
    WkObject* l = Create(parent, callback, data, word1, word2, font, visibleRows, visibleColumns, itemLength, false);
    WkListData* d = WkListRecord(l);
    d->count = std::max(0, count);
    d->windowHalf = Half(d->rowHeight, d->visibleRows);
    d->windowCapacity = 2 * d->windowHalf;
    if (d->count) d->current = 0;
    EnsureCapacity(l);
    list::UpdateBars(l);
    return l;
}

WkObject* WkCreateFetchList(WkObject* parent, WkListWindowCallback callback, void* data, std::intptr_t word1,
                            std::intptr_t word2, int font, int visibleRows, int visibleColumns, int itemLength) {
    WkObject* l = Create(parent, callback, data, word1, word2, font, visibleRows, visibleColumns, itemLength, true);
    FetchWindow(l, 0, 0);
    if (WkListRecord(l)->count) WkListRecord(l)->current = 0;
    return l;
}
