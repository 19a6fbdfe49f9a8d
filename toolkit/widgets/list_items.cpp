// The scrolled list's items: adding, inserting, deleting and replacing,
// the queries that fill the shared item record, the iterations, marks and
// emphasis. List positions are store positions plus the window start, so
// that lists keeping only a window of their items use the same paths.
#include "toolkit/widgets/list_internal.h"

#include "toolkit/core/memory.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The one record every query returns, with its own copy of the text, so
// that a record read after its item went away still reads that item.
WkListItem shared{};
std::vector<char> sharedText(1, '\0');

WkItemList* Store(WkObject* l) { return WkListRecord(l)->store; }

bool Full(const WkListData* d) { return d->windowCapacity > 0 && d->store->count >= d->windowCapacity; }

// After the count changed: the bars, the view and the picture.
void Changed(WkObject* l) {
    WkListData* d = WkListRecord(l);
    list::ResetSearch(d);
    list::UpdateBars(l);
    list::SetFirstRow(l, d->firstRow);
    list::DrawAll(l);
}

int Added(WkObject* l, int position) {
    WkListData* d = WkListRecord(l);
    ++d->count;
    if (d->current < 0) d->current = 0;
    Changed(l);
    return position;
}

void SetFlag(WkItemNode* node, int flag, bool on) {
    if (on) node->flags |= flag;
    else node->flags &= ~flag;
}

WkItemNode* FindText(WkObject* l, const char* text, int* position) {
    if (!text) return nullptr;
    int at = -1;
    WkItemNode* node = WkItemListFind(Store(l), text, &at);
    if (position) *position = node ? at + WkListRecord(l)->windowStart : -1;
    return node;
}

// The next node of the running iteration whose marked flag is as asked.
WkListItem* NextWithMark(WkObject* l, WkItemNode* node, int marked) {
    WkListData* d = WkListRecord(l);
    int index = d->store->index;
    while (node && ((node->flags & WK_ITEM_MARKED) != 0) != (marked != 0)) node = WkItemListNext(d->store, &index);
    return node ? list::Fill(node, d->windowStart + d->store->index) : nullptr;
}

} // namespace

namespace list {

WkItemNode* Node(WkObject* l, int position) {
    WkListData* d = WkListRecord(l);
    const int at = position - d->windowStart;
    if (position < 0 || at < 0 || at >= d->store->count) return nullptr;
    return WkItemListNth(d->store, at);
}

WkListItem* Fill(WkItemNode* node, int position) {
    const char* text = node ? node->text : "(NULL)";
    const std::size_t n = std::strlen(text);
    if (sharedText.size() < n + 1) sharedText.resize(n + 1);
    std::memcpy(sharedText.data(), text, n + 1);
    shared.text = sharedText.data();
    shared.userData = node ? node->value : 0;
    shared.position = node ? position : 0;
    shared.marked = node ? (node->flags & WK_ITEM_MARKED) != 0 : 0;
    shared.emphasised = node ? (node->flags & WK_ITEM_EMPHASISED) != 0 : 0;
    return &shared;
}

void ResetSearch(WkListData* d) {
    d->typedLength = 0;
    d->searchItem = nullptr;
    d->searchOffset = 0;
}

} // namespace list

int WkListAddItem(WkObject* l, const char* text, int userData) {
    WkListData* d = WkListRecord(l);
    if (Full(d)) return -1;
    return Added(l, WkItemListAdd(d->store, text, userData) + d->windowStart);
}

int WkListInsertItem(WkObject* l, int position, const char* text, int userData) {
    WkListData* d = WkListRecord(l);
    if (Full(d)) return -1;
    const int at = std::clamp(position - d->windowStart, 0, d->store->count);
    WkItemListInsert(d->store, at, text, userData);
    return Added(l, at + d->windowStart);
}

int WkListDeleteItem(WkObject* l, int position) {
    WkListData* d = WkListRecord(l);
    if (!list::Node(l, position)) return -1;
    WkItemListRemove(d->store, position - d->windowStart);
    --d->count;
    const bool notify = position <= d->current;
    if (d->current >= d->count) d->current = d->count - 1;
    Changed(l);
    if (notify) list::NotifySelect(l, nullptr);
    return 0;
}

int WkListDeleteText(WkObject* l, const char* text) {
    int position;
    return FindText(l, text, &position) ? WkListDeleteItem(l, position) : -1;
}

int WkListReplaceItem(WkObject* l, int position, const char* text, int userData) {
    WkListData* d = WkListRecord(l);
    WkItemNode* node = list::Node(l, position);
    if (!node) return -1;
    const int flags = node->flags;
    WkItemListReplace(d->store, position - d->windowStart, text, userData);
    node->flags = flags;
    list::ResetSearch(d);
    list::DrawRow(l, position);
    return position;
}

int WkListReplaceText(WkObject* l, const char* key, const char* text, int userData) {
    int position;
    return FindText(l, key, &position) ? WkListReplaceItem(l, position, text, userData) : -1;
}

void WkListClear(WkObject* l) {
    WkListData* d = WkListRecord(l);
    WkItemListClear(d->store);
    d->count = 0;
    d->windowStart = 0;
    d->firstRow = 0;
    d->current = -1;
    Changed(l);
    list::NotifySelect(l, nullptr);
}

int WkListGetCount(WkObject* l) { return WkListRecord(l)->count; }

WkListItem* WkListGetItem(WkObject* l, int position) {
    WkItemNode* node = list::Node(l, position);
    return node ? list::Fill(node, position) : nullptr;
}

WkListItem* WkListGetSelectedItem(WkObject* l) { return WkListGetItem(l, WkListRecord(l)->current); }

WkListItem* WkListFindItem(WkObject* l, const char* text) {
    int position;
    WkItemNode* node = FindText(l, text, &position);
    return node ? list::Fill(node, position) : nullptr;
}

WkListItem* WkListGetFirstItem(WkObject* l) {
    WkItemNode* node = WkItemListFirst(Store(l));
    return node ? list::Fill(node, WkListRecord(l)->windowStart) : nullptr;
}

WkListItem* WkListGetNextItem(WkObject* l) {
    int index;
    WkItemNode* node = WkItemListNext(Store(l), &index);
    return node ? list::Fill(node, WkListRecord(l)->windowStart + index) : nullptr;
}

WkListItem* WkListGetFirstMarked(WkObject* l) { return NextWithMark(l, WkItemListFirst(Store(l)), 1); }
WkListItem* WkListGetNextMarked(WkObject* l) { return NextWithMark(l, WkItemListNext(Store(l), nullptr), 1); }
WkListItem* WkListGetFirstUnmarked(WkObject* l) { return NextWithMark(l, WkItemListFirst(Store(l)), 0); }
WkListItem* WkListGetNextUnmarked(WkObject* l) { return NextWithMark(l, WkItemListNext(Store(l), nullptr), 0); }

void WkListSelectItem(WkObject* l, int position) {
    WkListData* d = WkListRecord(l);
    WkItemNode* node = list::Node(l, position);
    if (!node) return;
    if (d->multipleSelection) {
        node->flags |= WK_ITEM_MARKED;
        list::DrawRow(l, position);
        return;
    }
    list::MoveCurrent(l, position);
    list::SetFirstRow(l, position);
}

void WkListSelectNone(WkObject* l) {
    list::MoveCurrent(l, -1);
}

void WkListMarkText(WkObject* l, const char* text) {
    int position;
    WkItemNode* node = FindText(l, text, &position);
    if (!node || !WkListRecord(l)->multipleSelection) return;
    node->flags |= WK_ITEM_MARKED;
    list::DrawRow(l, position);
}

void WkListUnmarkText(WkObject* l, const char* text) {
    int position;
    if (WkItemNode* node = FindText(l, text, &position)) {
        node->flags &= ~WK_ITEM_MARKED;
        list::DrawRow(l, position);
    }
}

void WkListUnmarkItem(WkObject* l, int position) {
    if (WkItemNode* node = list::Node(l, position)) {
        node->flags &= ~WK_ITEM_MARKED;
        list::DrawRow(l, position);
    }
}

void WkListSetEmphasis(WkObject* l, const char* text, int on) {
    int position;
    if (WkItemNode* node = FindText(l, text, &position)) {
        SetFlag(node, WK_ITEM_EMPHASISED, on != 0);
        list::DrawRow(l, position);
    }
}

int WkListGetEmphasis(WkObject* l, const char* text) {
    WkItemNode* node = FindText(l, text, nullptr);
    return node && (node->flags & WK_ITEM_EMPHASISED) ? 1 : 0;
}
