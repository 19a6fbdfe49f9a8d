// Item list: the toolkit's container of text items, kept by the scrolled
// list, the drop-down list, the file viewer and the log.
//
// A singly linked list of nodes, each holding a text of at most textLength
// characters (always zero-terminated) and an int value; removed nodes go to a
// free chain and are reused before new ones are allocated. An optional compare
// function keeps the list sorted as items are added; without one, texts are
// compared byte by byte. One iteration cursor is built in. The list owns every
// node (allocated zeroed through the memory wrappers) and releases them only
// in WkFreeItemList. Positions count from 0.
#pragma once

using WkItemCompare = int (*)(const char* itemText, const char* otherText);

struct WkItemNode {
    WkItemNode* next;
    char* text;  // textLength + 1 characters stored right behind the node
    int flags;   // 0 whenever the node is filled; for the list widgets
    int value;
};

struct WkItemList {
    WkItemNode* first;
    WkItemNode* last;
    WkItemNode* free;
    int textLength;
    int count;
    WkItemCompare compare;
    WkItemNode* cursor; // next item of the running iteration
    int index;          // position of the item last returned by the iteration
    // The compare the items are known to stand in the order of (null: not
    // known); while it is the list's, a sorted add looks at the last item
    // first. Whatever places or rewrites items itself clears it.
    WkItemCompare orderedBy;
};

// A list whose items hold up to textLength characters, with preallocate
// spare nodes; compare may be null.
WkItemList* WkCreateItemList(int textLength, int preallocate, WkItemCompare compare);
// Frees every node and the header; null is ignored.
void WkFreeItemList(WkItemList* list);
// One zeroed, unlinked node with room for textLength characters and the zero.
WkItemNode* WkNewItemNode(int textLength);

// Adds the text (cut to textLength) with a value. Unsorted: at the end,
// returning the old count. Sorted: before the first item that compares above
// the new text (equal items keep the order they were added in), returning
// that position.
int WkItemListAdd(WkItemList* list, const char* text, int value);
// Links a new item before the one at position; at or past the end appends.
void WkItemListInsert(WkItemList* list, int position, const char* text, int value);
// The first item whose text compares equal; its position goes to *position
// when found (position may be null). Null when none.
WkItemNode* WkItemListFind(WkItemList* list, const char* text, int* position);
// The item at position (0 or below: the first), null past the end.
WkItemNode* WkItemListNth(WkItemList* list, int position);
// Removes the first item whose text compares equal; its position, or -1.
int WkItemListRemoveText(WkItemList* list, const char* text);
// Removes the item at position: 0, or -1 when there is none.
int WkItemListRemove(WkItemList* list, int position);
// Overwrites text and value of the first item equal to key: its position, or -1.
int WkItemListReplaceText(WkItemList* list, const char* key, const char* text, int value);
// Overwrites text and value of the item at position: the position, or -1.
int WkItemListReplace(WkItemList* list, int position, const char* text, int value);
// Moves every item to the free chain.
void WkItemListClear(WkItemList* list);

// Starts an iteration: the first item (null when empty), index 0.
WkItemNode* WkItemListFirst(WkItemList* list);
// The next item of the iteration (null at the end); the index grows by one on
// every call, also at the end, and goes to *index when index is not null.
WkItemNode* WkItemListNext(WkItemList* list, int* index);

// Swaps the items at p - 1 and p (p of 0 or below: items 0 and 1); nothing
// when there is no item at p. Returns p - 1, 0 on an empty list.
int WkItemListMoveUp(WkItemList* list, int p);
