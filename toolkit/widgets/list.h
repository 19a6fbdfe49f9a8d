// The scrolled list: a column of one-line text items in a framed item area
// with a vertical scroll bar and, when the items are wider than the area, a
// horizontal one. One item is the current item; with multiple selection the
// items can also be marked. The handle every operation takes is the item
// area (class code 11); a horizontal form around it is its outer object.
//
// A list owns its class record (WkListData): the item store, the linked
// object table, the double-click timeout, the two current-row colours and
// the pointer grab while a press lasts. Its forms, bars and title label are
// children of the outer form and go with it.
//
// Every query fills the one WkListItem record shared by all lists and
// returns it; the next query overwrites it, so callers copy what they keep.
// The record holds its own copy of the text.
#pragma once

#include "toolkit/core/item_list.h"
#include "toolkit/core/object.h"

#include <cstdint>

inline constexpr int WK_LIST_KIND_ITEMS = 1;
inline constexpr int WK_LIST_KIND_FILE_VIEWER = 3;

// Flag bits of an item node.
inline constexpr int WK_ITEM_MARKED = 0x1;
inline constexpr int WK_ITEM_EMPHASISED = 0x2;

inline constexpr int WK_LIST_DOUBLE_CLICK_MS = 250;

struct WkListItem {
    char* text; // the record's own copy
    int userData;
    int position;
    int marked;
    int emphasised;
};

// extra: 0 on activation, 1 on a click, the causing message (or 0 when the
// program made the change) on a change of the current item.
using WkListCallback = void (*)(WkObject* list, WkListItem* item, void* data, std::intptr_t extra);

// What a list asks its window callback for (lists that keep only a window
// of their items); the callback fills the nodes' texts in order.
struct WkListRequest {
    int mode;   // 0 from the start, 1 relative to the window, 2 from the end
    int offset; // or, for a virtual list, the window start
    int itemLength;
    int count;  // in: items wanted; out: items delivered, below 0 none
    WkItemNode* first;
};
using WkListWindowCallback = int (*)(WkObject* list, WkListRequest* request, void* data, int itemLength);

struct WkListLink {
    WkObject* object;
    std::int16_t offset;
};

struct WkListData {
    WkItemList* store;
    WkObject* horizontalBar;
    WkObject* verticalBar;
    WkObject* titleBox;
    WkObject* titleLabel;
    int firstColumn;
    int firstRow;
    int count;
    int windowStart;
    int windowHalf;
    int visibleRows;
    int visibleColumns;
    int itemLength;
    int windowCapacity; // 0: every item is stored
    std::uint16_t border;
    std::uint16_t rowSpacing;
    std::uint16_t rowHeight;
    std::uint16_t charWidth;
    std::uint16_t kind;
    WkListWindowCallback windowCallback;
    void* windowData;
    std::intptr_t windowWords[2];
    std::uint8_t multipleSelection;
    std::uint8_t fetchMode;
    std::uint8_t fetchedAtTop;
    std::uint8_t moveOption;
    std::uint8_t typedLength;
    int searchOffset;
    int current;
    WkItemNode* searchItem;
    WkListCallback activate, click, select;
    void *activateData, *clickData, *selectData;
    WkObject* pagingColumn;
    WkListLink* links;
    int linkCount;
    std::uint8_t doubleClickOpen;
    int doubleClickTimer;
    WkColor currentBackground, currentText;
    std::uint8_t tintedBars;
    std::uint8_t pressed; // a press of this list holds the grab
};

inline WkListData* WkListRecord(WkObject* list) { return static_cast<WkListData*>(list->classRecord); }

// Constructors: each returns the item area.
WkObject* WkCreateList(WkObject* parent, int font, int itemLength, int visibleRows, int visibleColumns);
WkObject* WkCreateMultiSelectList(WkObject* parent, int font, int itemLength, int visibleRows, int visibleColumns);
// A list of count items of which only a window is stored; the callback is
// asked for a new window when the rows shown leave it. The two words are
// kept for the callback's owner.
WkObject* WkCreateVirtualList(WkObject* parent, WkListWindowCallback callback, void* data, std::intptr_t word1,
                              std::intptr_t word2, int font, int visibleRows, int visibleColumns, int itemLength,
                              int count);
// A list of as many items as rows, fetched one at a time at either end and
// a window at a time by the paging keys, with paging buttons for a bar.
WkObject* WkCreateFetchList(WkObject* parent, WkListWindowCallback callback, void* data, std::intptr_t word1,
                            std::intptr_t word2, int font, int visibleRows, int visibleColumns, int itemLength);
// Composes the widget from a record the constructor filled (item length,
// visible rows and columns, kind, window capacity, ...).
WkObject* WkBuildList(WkObject* parent, const WkListData* record, int font);
int WkListHandler(WkObject* list, WkMessage* message);

// Items; positions count from 0.
int WkListAddItem(WkObject* list, const char* text, int userData);
int WkListInsertItem(WkObject* list, int position, const char* text, int userData);
int WkListDeleteItem(WkObject* list, int position);
int WkListDeleteText(WkObject* list, const char* text);
int WkListReplaceItem(WkObject* list, int position, const char* text, int userData);
int WkListReplaceText(WkObject* list, const char* key, const char* text, int userData);
void WkListClear(WkObject* list);
int WkListGetCount(WkObject* list);
WkListItem* WkListGetItem(WkObject* list, int position);
WkListItem* WkListGetSelectedItem(WkObject* list);
WkListItem* WkListFindItem(WkObject* list, const char* text);
// Iterations share the store's one cursor: one runs per list at a time.
WkListItem* WkListGetFirstItem(WkObject* list);
WkListItem* WkListGetNextItem(WkObject* list);
WkListItem* WkListGetFirstMarked(WkObject* list);
WkListItem* WkListGetNextMarked(WkObject* list);
WkListItem* WkListGetFirstUnmarked(WkObject* list);
WkListItem* WkListGetNextUnmarked(WkObject* list);
void WkListSelectItem(WkObject* list, int position);
// Leaves no item current (items and scroll position stay); no callback.
void WkListSelectNone(WkObject* list);
void WkListMarkText(WkObject* list, const char* text);
void WkListUnmarkText(WkObject* list, const char* text);
void WkListUnmarkItem(WkObject* list, int position);
void WkListSetEmphasis(WkObject* list, const char* text, int on);
int WkListGetEmphasis(WkObject* list, const char* text);

// Behaviour and appearance.
void WkListSetActivateCallback(WkObject* list, WkListCallback callback, void* data);
void WkListSetClickCallback(WkObject* list, WkListCallback callback, void* data);
void WkListSetSelectCallback(WkObject* list, WkListCallback callback, void* data);
void WkListSetCompareFunction(WkObject* list, WkItemCompare compare);
void WkListEnableMultipleSelection(WkObject* list);
void WkListDisableMultipleSelection(WkObject* list);
void WkListSetOption(WkObject* list);
void WkListClearOption(WkObject* list);
// Null removes the title.
void WkListSetTitle(WkObject* list, const char* text);
// Copies at most the item length of the title (an empty text without one).
void WkListGetTitle(WkObject* list, char* buffer);
void WkListSetTitleColors(WkObject* list, WkColor background, WkColor foreground);
void WkListSetTitleBackgroundImage(WkObject* list, struct WkImage* image, int mode);
void WkListSetRowSpacing(WkObject* list, int pixels);
void WkListSetCurrentColors(WkObject* list, WkColor background, WkColor text);
void WkListSetCurrentTextColor(WkObject* list, WkColor color);
void WkListSetScrollBarColor(WkObject* list, WkColor color);
void WkListSetScrollBarShade(WkObject* list, int percent);
void WkListTintScrollBars(WkObject* list);
void WkListUntintScrollBars(WkObject* list);
WkObject* WkListGetVerticalScrollBar(WkObject* list);
WkObject* WkListGetHorizontalScrollBar(WkObject* list);
void WkListHide(WkObject* list);
void WkListShow(WkObject* list);

// Frees a chain of nodes linked through their first word.
void WkListFreeChain(void* chain);

