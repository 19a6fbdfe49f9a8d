#include "toolkit/core/item_list.h"

#include <cstring>
#include <initializer_list>

#include "toolkit/core/memory.h"

namespace {

int Compare(const WkItemList* list, const char* a, const char* b) {
    return list->compare ? list->compare(a, b) : std::strcmp(a, b);
}

void Fill(const WkItemList* list, WkItemNode* node, const char* text, int value) {
    std::size_t n = text ? std::strlen(text) : 0;
    if (n > std::size_t(list->textLength)) n = std::size_t(list->textLength);
    if (n) std::memcpy(node->text, text, n);
    node->text[n] = '\0';
    node->text[list->textLength] = '\0';
    node->flags = 0;
    node->value = value;
}

WkItemNode* TakeNode(WkItemList* list, const char* text, int value) {
    WkItemNode* node = list->free;
    if (node)
        list->free = node->next;
    else
        node = WkNewItemNode(list->textLength);
    node->next = nullptr;
    Fill(list, node, text, value);
    return node;
}

// Links node behind prev (at the front when prev is null).
void LinkAfter(WkItemList* list, WkItemNode* prev, WkItemNode* node) {
    WkItemNode*& link = prev ? prev->next : list->first;
    node->next = link;
    link = node;
    if (!node->next) list->last = node;
    ++list->count;
}

// Unlinks the item behind prev (the first when prev is null) onto the free chain.
void Unlink(WkItemList* list, WkItemNode* prev, WkItemNode* node) {
    (prev ? prev->next : list->first) = node->next;
    if (list->last == node) list->last = prev;
    if (list->cursor == node) list->cursor = node->next;
    node->next = list->free;
    list->free = node;
    --list->count;
}

// The item equal to text with its predecessor and position; null when none.
WkItemNode* FindWithPrev(WkItemList* list, const char* text, WkItemNode** prev, int* position) {
    WkItemNode* before = nullptr;
    int i = 0;
    for (WkItemNode* n = list->first; n; before = n, n = n->next, ++i) {
        if (Compare(list, n->text, text) == 0) {
            if (prev) *prev = before;
            if (position) *position = i;
            return n;
        }
    }
    return nullptr;
}

WkItemNode* NthWithPrev(WkItemList* list, int position, WkItemNode** prev) {
    WkItemNode* before = nullptr;
    WkItemNode* n = list->first;
    for (int i = 0; n && i < position; ++i) {
        before = n;
        n = n->next;
    }
    if (prev) *prev = before;
    return n;
}

} // namespace

WkItemNode* WkNewItemNode(int textLength) {
    if (textLength < 0) textLength = 0;
    auto* node = static_cast<WkItemNode*>(WkCalloc(1, sizeof(WkItemNode) + std::size_t(textLength) + 1));
    node->text = reinterpret_cast<char*>(node + 1);
    return node;
}

WkItemList* WkCreateItemList(int textLength, int preallocate, WkItemCompare compare) {
    auto* list = static_cast<WkItemList*>(WkCalloc(1, sizeof(WkItemList)));
    list->textLength = textLength < 0 ? 0 : textLength;
    list->compare = compare;
    for (int i = 0; i < preallocate; ++i) {
        WkItemNode* node = WkNewItemNode(list->textLength);
        node->next = list->free;
        list->free = node;
    }
    return list;
}

void WkFreeItemList(WkItemList* list) {
    if (!list) return;
    for (WkItemNode* chain : {list->first, list->free}) {
        while (chain) {
            WkItemNode* next = chain->next;
            WkFree(chain);
            chain = next;
        }
    }
    WkFree(list);
}

int WkItemListAdd(WkItemList* list, const char* text, int value) {
    WkItemNode* node = TakeNode(list, text, value);
    if (!list->compare) {
        list->orderedBy = nullptr;
        int position = list->count;
        LinkAfter(list, list->last, node);
        return position;
    }
    // Items that come in order (a whole tournament's rows) go to the end at
    // once instead of passing every item before them.
    if (list->count == 0) list->orderedBy = list->compare;
    if (list->orderedBy == list->compare && list->last && list->compare(list->last->text, node->text) <= 0) {
        const int position = list->count;
        LinkAfter(list, list->last, node);
        return position;
    }
    WkItemNode* prev = nullptr;
    int position = 0;
    for (WkItemNode* n = list->first; n; prev = n, n = n->next, ++position)
        if (list->compare(n->text, node->text) > 0) break;
    LinkAfter(list, prev, node);
    return position;
}

void WkItemListInsert(WkItemList* list, int position, const char* text, int value) {
    list->orderedBy = nullptr;
    WkItemNode* node = TakeNode(list, text, value);
    if (position >= list->count) {
        LinkAfter(list, list->last, node);
        return;
    }
    WkItemNode* prev = nullptr;
    NthWithPrev(list, position, &prev);
    LinkAfter(list, prev, node);
}

WkItemNode* WkItemListFind(WkItemList* list, const char* text, int* position) {
    return FindWithPrev(list, text, nullptr, position);
}

WkItemNode* WkItemListNth(WkItemList* list, int position) {
    return NthWithPrev(list, position, nullptr);
}

int WkItemListRemoveText(WkItemList* list, const char* text) {
    WkItemNode* prev = nullptr;
    int position = -1;
    WkItemNode* node = FindWithPrev(list, text, &prev, &position);
    if (!node) return -1;
    Unlink(list, prev, node);
    return position;
}

int WkItemListRemove(WkItemList* list, int position) {
    if (position < 0) return -1;
    WkItemNode* prev = nullptr;
    WkItemNode* node = NthWithPrev(list, position, &prev);
    if (!node) return -1;
    Unlink(list, prev, node);
    return 0;
}

int WkItemListReplaceText(WkItemList* list, const char* key, const char* text, int value) {
    int position = -1;
    WkItemNode* node = FindWithPrev(list, key, nullptr, &position);
    if (!node) return -1;
    list->orderedBy = nullptr;
    Fill(list, node, text, value);
    return position;
}

int WkItemListReplace(WkItemList* list, int position, const char* text, int value) {
    if (position < 0) return -1;
    WkItemNode* node = NthWithPrev(list, position, nullptr);
    if (!node) return -1;
    list->orderedBy = nullptr;
    Fill(list, node, text, value);
    return position;
}

void WkItemListClear(WkItemList* list) {
    if (list->last) {
        list->last->next = list->free;
        list->free = list->first;
    }
    list->first = list->last = nullptr;
    list->count = 0;
    // The cursor would otherwise walk on into the free chain.
    list->cursor = nullptr;
}

WkItemNode* WkItemListFirst(WkItemList* list) {
    WkItemNode* first = list->first;
    if (first) {
        list->cursor = first->next;
        list->index = 0;
    }
    return first;
}

WkItemNode* WkItemListNext(WkItemList* list, int* index) {
    WkItemNode* node = list->cursor;
    if (node) list->cursor = node->next;
    ++list->index;
    if (index) *index = list->index;
    return node;
}

int WkItemListMoveUp(WkItemList* list, int p) {
    if (!list->first) return 0;
    if (p <= 0) p = 1;
    WkItemNode* abovePrev = nullptr;
    WkItemNode* above = NthWithPrev(list, p - 1, &abovePrev);
    WkItemNode* node = above ? above->next : nullptr;
    if (!node) return p - 1;
    list->orderedBy = nullptr;
    // abovePrev -> above -> node -> rest   becomes   abovePrev -> node -> above -> rest
    above->next = node->next;
    node->next = above;
    (abovePrev ? abovePrev->next : list->first) = node;
    if (list->last == node) list->last = above;
    return p - 1;
}
