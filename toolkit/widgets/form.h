// The form: the container every window is laid out on. A form holds its
// children on one or more pages (one shown at a time) and arranges them by
// attachments, one below the other, side by side or in a table; it routes
// keys to the child holding the focus, draws its background, frame and grid,
// and passes state changes on to its children. The form class also owns the
// twelve stock bitmaps the paging buttons, scroll bars and spin arrows draw,
// the class settings read once at the first form, and the process-wide
// focus switch policy.
//
// A form owns its pages, their children arrays and the children themselves
// (destroyed with it), its table and scroll records and its accelerator
// list. The size query and the placement are form_layout.h.
#pragma once

#include "toolkit/core/callback_list.h"
#include "toolkit/core/object.h"

#include <cstdint>

struct WkImage;

// WkFormKind.
inline constexpr std::uint8_t WK_FORM_ATTACHMENT = 0;
inline constexpr std::uint8_t WK_FORM_VERTICAL = 1;
inline constexpr std::uint8_t WK_FORM_HORIZONTAL = 2;
inline constexpr std::uint8_t WK_FORM_TABLE = 3;

// Form flags.
inline constexpr std::uint16_t WK_FORM_FOCUS_FRAME = 0x1;
inline constexpr std::uint16_t WK_FORM_NO_WRAP = 0x2;
inline constexpr std::uint16_t WK_FORM_NO_PAGING_KEYS = 0x4;
inline constexpr std::uint16_t WK_FORM_PAINT_ALL = 0x8;
inline constexpr std::uint16_t WK_FORM_TABBED = 0x10;
inline constexpr std::uint16_t WK_FORM_TAB_ROW = 0x20;
inline constexpr std::uint16_t WK_FORM_TINTED_BARS = 0x40;

// The most children one page holds: indices are 16-bit.
inline constexpr int WK_FORM_MAX_CHILDREN = 32767;

struct WkFormPage {
    WkObject** children; // owned array, the children owned too
    WkObject* label;     // the page's tab, or none
    std::int16_t count, capacity;
    std::int16_t focused; // -1: no child of the page holds the focus
};

// One column or row of a table.
struct WkTableSlot {
    std::uint8_t fixed; // 0: recomputed at every size query
    std::uint8_t align; // WK_ALIGN_DEFAULT: centred
    std::int16_t size;
};

struct WkTableData {
    std::uint8_t grid;
    std::int16_t columns, rows;
    std::int16_t columnCapacity, rowCapacity;
    // A table with frozen headings (set on its outer table only; the body
    // marks such a table). Below 1 a visible size means no scrolling that way.
    std::int16_t visibleWidth, visibleHeight;
    std::int16_t headingColumns, headingRows, totalColumns;
    WkTableSlot* columnSlots; // owned
    WkTableSlot* rowSlots;    // owned
    WkObject *corner, *headingRowTable, *headingColumnTable, *body;
    WkObject *headingRowView, *headingColumnView, *bodyView;
};

// The scroll state of a form that scrolls its children.
struct WkFormScroll {
    std::int32_t x, y;                          // offsets
    std::int32_t viewWidth, viewHeight;         // below 1: not scrolled on that axis
    std::int32_t scrolledWidth, scrolledHeight; // content plus border
    WkObject* horizontalBar;                    // the bars that move it, or none
    WkObject* verticalBar;
};

using WkFocusCallback = void (*)(WkObject* object, std::intptr_t index, void* userData);

struct WkFormData {
    WkFormPage* pages; // owned
    WkTableData* table;
    WkFormScroll* scroll;
    WkObject* nextFocusForm;
    WkObject* previousFocusForm;
    WkObject* pageNumberLabel;
    WkObject* innerPagedForm;
    WkFocusCallback focusCallback;
    void* focusData;
    WkValueCallback pageCallback;
    void* pageData;
    WkEventHandler* accelerators;
    std::uint16_t flags;
    std::int16_t pageCount, currentPage;
    std::int16_t walkCursor;
    std::uint8_t kind;
    std::uint8_t spacing;
};

// The twelve stock bitmaps, in the order of their slots.
enum WkStockBitmap {
    WK_BMP_PAGE_UP, WK_BMP_PAGE_DOWN, WK_BMP_HOME, WK_BMP_END, WK_BMP_ROW_UP, WK_BMP_ROW_DOWN,
    WK_BMP_SCROLL_UP, WK_BMP_SCROLL_DOWN, WK_BMP_SCROLL_LEFT, WK_BMP_SCROLL_RIGHT,
    WK_BMP_SPIN_UP, WK_BMP_SPIN_DOWN, WK_STOCK_BITMAPS
};
// The stock bitmap of a slot, none when its file was missing.
WkImage* WkStockBitmap(int slot);

// Sets the class up once (stock bitmaps, settings, switch policy) and
// installs the form into the core: its seams and the main-form maker of the
// top-level windows, and the release of the stock bitmaps at shut-down.
void WkInitFormClass();
// Frees the stock bitmaps at shut-down; a toolkit started again loads them anew.
void WkFreeStockBitmaps();
// 0 the new focus switch policy, any other value the old one.
int WkFocusSwitchPolicy();

// Kind 3: count is the number of columns (at least 1) on one page; other
// kinds: count is the number of pages.
WkObject* WkCreateForm(WkObject* parent, int count, int kind);
WkObject* WkCreateAttachmentForm(WkObject* parent);
WkObject* WkCreateVerticalForm(WkObject* parent);
WkObject* WkCreateHorizontalForm(WkObject* parent);
WkObject* WkCreateTableForm(WkObject* parent, int columns);

// Puts a new child into a form (or a top-level window's main form; the
// window's first child becomes its main form).
void WkAddChild(WkObject* parent, WkObject* child);
// Takes an object out of its form without destroying it; the form is laid
// out again, at its preferred size with resizeParent.
void WkObjectRemoveFromParent(WkObject* object, int resizeParent);

// The record of a form, none for any other object.
WkFormData* WkFormRecord(WkObject* object);
// The form that holds a window's children: its main form for a top-level
// window, the object itself for a form, else none.
WkObject* WkFormOf(WkObject* object);
// The current page, none for anything but a form.
WkFormPage* WkFormCurrentPage(WkObject* form);
// Page and index of a child in its form, searching the pages from the last
// to the first; 0 when not found.
int WkFormFindChild(WkObject* form, WkObject* child, int* page, int* index);

void WkFormSetSpacing(WkObject* form, int pixels);
void WkFormSetKind(WkObject* form, int kind);
int WkFormGetPage(WkObject* form);
void WkFormSetPaintAll(WkObject* form);
void WkFormClearPaintAll(WkObject* form);
void WkFormSetPagingKeysOff(WkObject* form);
void WkFormSetPagingKeysOn(WkObject* form);

void WkTableShowGrid(WkObject* form, int on);
void WkTableGridOn(WkObject* form);
void WkTableGridOff(WkObject* form);
void WkTableSetColumns(WkObject* form, int columns);
int WkTableGetColumns(WkObject* form);
// Widens a slot array to the needed count plus 4 (new slots not fixed,
// alignment the default, size 0).
void WkTableGrowSlots(WkTableSlot** slots, std::int16_t* capacity, int needed);
// Ties every child of a table form into the grid of its columns again.
void WkTableRelink(WkObject* form);

int WkFormHandler(WkObject* form, WkMessage* message);
// The expose step of the handler: background where no child covers it,
// the children, the focus frame and a table's grid.
void WkFormExpose(WkObject* form, WkMessage* expose);
