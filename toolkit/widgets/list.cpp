// The scrolled list's constructors and composition, class handler, drawing
// of rows, the view and its bars, and the appearance setters.
#include "toolkit/widgets/list_internal.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>
#include <cstring>

namespace list {

WkListData NewRecord(int itemLength, int rows, int columns) {
    WkListData record{};
    record.kind = WK_LIST_KIND_ITEMS;
    record.itemLength = std::max(1, itemLength);
    record.visibleRows = std::max(1, rows);
    record.visibleColumns = std::max(1, columns);
    return record;
}

bool Live(const WkObject* l) {
    const std::uint16_t bits = WK_STATE_SENSITIVE | WK_STATE_ACTIVE;
    return (l->state & bits) == bits;
}

namespace {

bool IsWhite(WkColor c) {
    int r, g, b;
    WkColorToRGB(c, &r, &g, &b);
    return r == 255 && g == 255 && b == 255;
}

void PaintRow(WkObject* l, int position, WkItemNode* node) {
    WkListData* d = WkListRecord(l);
    const int row = position - d->firstRow;
    if (row < 0 || row >= d->visibleRows) return;
    const int f = WkObjectBorder(l);
    const int y = f + row * d->rowHeight, width = l->width - 2 * f;
    if (width <= 0 || y + d->rowHeight > l->height - f + d->rowSpacing) return;
    const bool current = position == d->current && node;
    const bool marked = d->multipleSelection && node && (node->flags & WK_ITEM_MARKED);
    WkColor fill = l->background, text = l->foreground;
    if (marked && current) fill = l->foreground, text = l->background;
    else if (marked) fill = l->darkShadow, text = l->lightShadow;
    else if (current) fill = d->currentBackground, text = d->currentText;
    if (!Live(l)) text = l->darkShadow;
    WkObjectFillRect(l, f, y, width, d->rowHeight, fill);
    if (current && (l->state & WK_STATE_FOCUS))
        WkObjectDrawBevel(l, f, y, width, d->rowHeight, l->darkShadow, l->lightShadow, 1);
    if (!node) return;
    WkColor white = 0;
    if (node->flags & WK_ITEM_EMPHASISED) {
        white = IsWhite(text) ? WkAllocColor(0, 0, 0) : WkAllocColor(255, 255, 255);
        text = white;
    }
    const int length = int(std::strlen(node->text));
    if (d->firstColumn < length) {
        const char* shown = node->text + d->firstColumn;
        const int boxWidth = l->width - 2 * (f + d->border);
        const int n = WkTextFitCount(shown, l->font, boxWidth);
        WkObjectDrawTextN(l, f + d->border, y, boxWidth, d->rowHeight, shown, l->font, text, 0, n);
    }
    if (white) WkFreeColor(white);
}

} // namespace

void DrawRow(WkObject* l, int position) {
    if (!WkObjectDrawable(l)) return;
    PaintRow(l, position, Node(l, position));
}

void DrawAll(WkObject* l) {
    FollowWindow(l);
    if (!WkObjectDrawable(l)) return;
    WkListData* d = WkListRecord(l);
    WkObjectDrawBackground(l);
    WkItemNode* node = Node(l, d->firstRow);
    for (int p = d->firstRow; node && p < d->firstRow + d->visibleRows; ++p, node = node->next) PaintRow(l, p, node);
}

void UpdateBars(WkObject* l) {
    WkListData* d = WkListRecord(l);
    if (d->verticalBar) WkScrollBarSetValues(d->verticalBar, std::max(1, d->count), std::max(1, d->visibleRows), -1);
    if (d->horizontalBar)
        WkScrollBarSetValues(d->horizontalBar, std::max(1, d->itemLength), std::max(1, d->visibleColumns), -1);
}

void SetFirstRow(WkObject* l, int row) {
    WkListData* d = WkListRecord(l);
    if (d->verticalBar) {
        WkScrollBarSetValue(d->verticalBar, row);
        return;
    }
    row = std::clamp(row, 0, std::max(0, d->count - d->visibleRows));
    if (row == d->firstRow) return;
    d->firstRow = row;
    DrawAll(l);
}

void SetFirstColumn(WkObject* l, int column) {
    WkListData* d = WkListRecord(l);
    if (d->horizontalBar) WkScrollBarSetValue(d->horizontalBar, column);
}

void ScrollIntoView(WkObject* l, int position) {
    WkListData* d = WkListRecord(l);
    if (position < 0) return;
    if (position >= d->firstRow + d->visibleRows) SetFirstRow(l, position - d->visibleRows + 1);
    else if (position < d->firstRow) SetFirstRow(l, position);
}

bool MoveCurrent(WkObject* l, int position) {
    WkListData* d = WkListRecord(l);
    if (position == d->current) return false;
    const int old = d->current;
    d->current = position;
    DrawRow(l, old);
    DrawRow(l, position);
    return true;
}

void NotifySelect(WkObject* l, WkMessage* cause) {
    WkListData* d = WkListRecord(l);
    if (!d->select || !Live(l)) return;
    d->select(l, Fill(Node(l, d->current), d->current), d->selectData, reinterpret_cast<std::intptr_t>(cause));
}

void Activate(WkObject* l, int position, int extra) {
    WkListData* d = WkListRecord(l);
    if (!Live(l)) return;
    WkItemNode* node = Node(l, position);
    if (node && d->linkCount > 0) {
        const int length = int(std::strlen(node->text));
        for (int i = 0; i < d->linkCount; ++i) {
            const WkListLink& link = d->links[i];
            WkObjectSetText(link.object, node->text + std::clamp(int(link.offset), 0, length));
        }
        WkObjectSetFocus(d->links[0].object);
    }
    WkListCallback callback = extra ? d->click : d->activate;
    void* data = extra ? d->clickData : d->activateData;
    if (callback) callback(l, Fill(Node(l, position), position), data, extra);
}

} // namespace list

namespace {

void VerticalMoved(WkObject*, std::intptr_t value, void* data) {
    auto* l = static_cast<WkObject*>(data);
    WkListData* d = WkListRecord(l);
    if (int(value) == d->firstRow) return;
    d->firstRow = int(value);
    list::DrawAll(l);
}

void HorizontalMoved(WkObject*, std::intptr_t value, void* data) {
    auto* l = static_cast<WkObject*>(data);
    WkListData* d = WkListRecord(l);
    if (int(value) == d->firstColumn) return;
    d->firstColumn = int(value);
    list::DrawAll(l);
    if (d->titleLabel) {
        WkLabelSetMargins(d->titleLabel, 5 - d->firstColumn * d->charWidth, 3);
    }
}

void CurrentColors(WkObject* l) {
    WkListData* d = WkListRecord(l);
    WkFreeColor(d->currentText);
    WkFreeColor(d->currentBackground);
    d->currentText = WkAddColorRef(l->foreground);
    d->currentBackground = WkHighlightColor(l->background, l->foreground);
}

void ColorBars(WkObject* l, WkColor color) {
    WkListData* d = WkListRecord(l);
    for (WkObject* bar : {d->verticalBar, d->horizontalBar})
        if (bar) WkScrollBarSetColor(bar, color);
}

void Tint(WkObject* l) {
    WkColor tint = WkObjectAllocTintColor(l);
    ColorBars(l, tint);
    WkFreeColor(tint);
}

void Metrics(WkObject* l) {
    WkListData* d = WkListRecord(l);
    d->charWidth = std::uint16_t(std::max(1, WkCharWidth('a', l->font)));
    d->rowHeight = std::uint16_t(std::max(1, WkFontHeight("A", l->font) + d->rowSpacing));
}

// The font may have changed since the last query: the metrics and the
// title follow it.
void QuerySize(WkObject* l) {
    WkListData* d = WkListRecord(l);
    Metrics(l);
    if (d->titleLabel) d->titleLabel->font = l->font;
    l->width = d->charWidth * d->visibleColumns + 2 * d->border;
    l->height = d->visibleRows * d->rowHeight + 1;
    if (!(l->layout & WK_LAYOUT_MIN_WIDTH)) l->minWidth = WkClampSize16(d->charWidth * 4 + 2 * d->border);
    if (!(l->layout & WK_LAYOUT_MIN_HEIGHT)) l->minHeight = WkClampSize16(2 * d->rowHeight + 1);
}

void Resize(WkObject* l, int width, int height) {
    WkListData* d = WkListRecord(l);
    l->width = width;
    l->height = height;
    d->visibleRows = std::max(1, height / std::max(1, int(d->rowHeight)));
    d->visibleColumns = std::max(1, (width - 2 * d->border) / std::max(1, int(d->charWidth)));
    list::UpdateBars(l);
}

void Destroy(WkObject* l) {
    WkListData* d = WkListRecord(l);
    if (WkGetGrab() == l) WkPopGrab(l);
    WkFreeItemList(d->store);
    d->store = nullptr;
    WkFree(d->links);
    d->links = nullptr;
    d->linkCount = 0;
    WkClearTimeout(&d->doubleClickTimer);
    WkFreeColor(d->currentBackground);
    WkFreeColor(d->currentText);
    d->currentBackground = d->currentText = 0;
}

void Expose(WkObject* l, WkMessage* m) {
    if (!WkObjectDrawable(l)) return;
    WkBeginDraw(l, m);
    list::DrawAll(l);
    WkEndDraw();
}

WkObject* Column(WkObject* parent) {
    WkObject* column = WkCreateVerticalForm(parent);
    WkFormSetSpacing(column, 0);
    WkObjectSetShadow(column, WK_SHADOW_NONE, 0, 0);
    WkObjectSetTransparency(column, WK_TRANSPARENT);
    WkObjectSetResizable(column, 1, 1);
    return column;
}

WkObject* Create(WkObject* parent, int font, int itemLength, int rows, int columns, bool multiple) {
    WkListData record = list::NewRecord(itemLength, rows, columns);
    record.multipleSelection = multiple;
    return WkBuildList(parent, &record, font);
}

} // namespace

int WkListHandler(WkObject* l, WkMessage* m) {
    WkListData* d = WkListRecord(l);
    switch (m->type) {
    case WK_MSG_KEY: return list::HandleKey(l, m);
    case WK_MSG_PRESS:
    case WK_MSG_RELEASE:
    case WK_MSG_MOTION:
    case WK_MSG_WHEEL: return list::HandlePointer(l, m);
    case WK_MSG_POP_DOWN:
        if (WkGetGrab() == l) WkPopGrab(l);
        d->pressed = 0;
        return 1;
    case WK_MSG_EXPOSE: Expose(l, m); return 1;
    case WK_MSG_DESTROY: Destroy(l); return 1;
    case WK_MSG_QUERY_SIZE: QuerySize(l); return 1;
    case WK_MSG_RESIZE: Resize(l, WkNewWidth(m), WkNewHeight(m)); return 1;
    case WK_MSG_FOCUS_IN:
    case WK_MSG_FOCUS_OUT:
        if (m->type == WK_MSG_FOCUS_IN) l->state |= WK_STATE_FOCUS;
        else l->state &= std::uint16_t(~WK_STATE_FOCUS);
        list::DrawRow(l, d->current);
        return 1;
    case WK_MSG_COLORS:
        CurrentColors(l);
        if (d->pagingColumn) WkApplyColorsOrKeep(d->pagingColumn, l->background, l->foreground);
        if (d->tintedBars) Tint(l);
        WkRedraw(l, 0);
        return 1;
    case WK_MSG_SHADOW:
        l->shadowType = std::uint8_t(WkNewShadowType(m));
        l->shadowWidth = std::uint8_t(WkNewShadowWidth(m));
        l->outerShadowWidth = std::uint8_t(WkNewOuterShadowWidth(m));
        WkRedraw(l, 1);
        return 1;
    case WK_MSG_SENSITIVE:
    case WK_MSG_ACTIVE: WkRedraw(l, 0); return 1;
    default: return 0;
    }
}

WkObject* WkBuildList(WkObject* parent, const WkListData* record, int font) {
    WkObject base = WkBaseTemplate(WK_CLASS_LIST);
    base.handler = WkListHandler;
    base.font = font;
    WkObject* l = WkNewObject(base, record, sizeof *record);
    WkListData* d = WkListRecord(l);
    d->border = 3;
    d->rowSpacing = 2;
    d->current = -1;
    d->store = WkCreateItemList(d->itemLength, d->windowCapacity, nullptr);
    Metrics(l);
    const int frame = 2 * WkObjectBorder(l);
    l->width = d->visibleColumns * d->charWidth + 6 + frame;
    l->height = d->visibleRows * d->rowHeight + frame;

    WkObject* outer = WkCreateHorizontalForm(parent);
    WkObjectHide(outer);
    outer->layout |= WK_LAYOUT_OUTER_WRAPPER;
    WkFormSetSpacing(outer, 0);
    WkObjectSetShadow(outer, WK_SHADOW_ETCHED_OUT, 1, 2);
    WkObject* left = Column(outer);
    WkObject* right = Column(outer);
    WkObjectSetResizable(right, 0, 1); // the spare width goes to the items

    d->titleBox = WkCreateVerticalForm(left);
    WkFormSetSpacing(d->titleBox, 0);
    WkObjectSetResizable(d->titleBox, 1, 0);
    WkInheritColors(left, l);
    WkAddChild(left, l);
    l->state |= WK_STATE_PART;
    l->outer = outer;

    const bool plain = d->kind == WK_LIST_KIND_ITEMS && d->windowCapacity == 0;
    if (!plain || d->itemLength > d->visibleColumns) {
        d->horizontalBar = WkCreateScrollBar(left, WK_SCROLL_HORIZONTAL, d->visibleColumns, d->itemLength);
        WkScrollBarSetCallback(d->horizontalBar, HorizontalMoved, l);
    }
    if (!d->fetchMode) {
        d->verticalBar = WkCreateScrollBar(right, WK_SCROLL_VERTICAL, d->visibleRows, std::max(1, d->count));
        WkScrollBarSetCallback(d->verticalBar, VerticalMoved, l);
        WkObjectSetResizable(d->verticalBar, 0, 1);
        if (d->horizontalBar) WkObjectAttachBottom(d->verticalBar, WK_ATTACH_EDGE, 20, nullptr);
    } else {
        d->pagingColumn = right;
        for (int key : {WK_KEY_UP, WK_KEY_PGUP, WK_KEY_PGDN, WK_KEY_DOWN}) WkCreatePagingButton(right, l, key);
    }
    for (WkObject* bar : {d->verticalBar, d->horizontalBar})
        if (bar) WkObjectRefuseFocus(bar);

    d->currentText = WkAddColorRef(l->foreground);
    d->currentBackground = WkHighlightColor(l->background, l->foreground);
    l->layout |= WK_LAYOUT_FOCUSABLE;
    outer->layout |= WK_LAYOUT_FOCUSABLE;

    WkObjectShow(outer);
    if (outer->state & WK_STATE_REALIZED) WkResize(outer, -1, -1);
    return l;
}

WkObject* WkCreateList(WkObject* parent, int font, int itemLength, int visibleRows, int visibleColumns) {
    return Create(parent, font, itemLength, visibleRows, visibleColumns, false);
}

WkObject* WkCreateMultiSelectList(WkObject* parent, int font, int itemLength, int visibleRows, int visibleColumns) {
    return Create(parent, font, itemLength, visibleRows, visibleColumns, true);
}

// Behaviour and appearance.

void WkListSetActivateCallback(WkObject* l, WkListCallback callback, void* data) {
    WkListRecord(l)->activate = callback;
    WkListRecord(l)->activateData = data;
}

void WkListSetClickCallback(WkObject* l, WkListCallback callback, void* data) {
    WkListRecord(l)->click = callback;
    WkListRecord(l)->clickData = data;
}

void WkListSetSelectCallback(WkObject* l, WkListCallback callback, void* data) {
    WkListRecord(l)->select = callback;
    WkListRecord(l)->selectData = data;
}

void WkListSetCompareFunction(WkObject* l, WkItemCompare compare) { WkListRecord(l)->store->compare = compare; }

void WkListEnableMultipleSelection(WkObject* l) {
    WkListRecord(l)->multipleSelection = 1;
    list::DrawAll(l);
}

void WkListDisableMultipleSelection(WkObject* l) {
    WkListRecord(l)->multipleSelection = 0;
    list::DrawAll(l);
}

void WkListSetOption(WkObject* l) { WkListRecord(l)->moveOption = 1; }
void WkListClearOption(WkObject* l) { WkListRecord(l)->moveOption = 0; }

void WkListSetTitle(WkObject* l, const char* text) {
    WkListData* d = WkListRecord(l);
    if (!text) {
        if (d->titleLabel) WkObjectDestroy(d->titleLabel);
        d->titleLabel = nullptr;
        if (d->titleBox->state & WK_STATE_REALIZED) WkResize(l->outer, -1, -1);
        return;
    }
    if (d->titleLabel) {
        WkObjectSetText(d->titleLabel, text);
        return;
    }
    d->titleLabel = WkCreateLabel(d->titleBox, text, l->font);
    WkObjectSetShadow(d->titleLabel, WK_SHADOW_OUT, 2, 0);
    WkLabelSetAlignment(d->titleLabel, 0);
    WkLabelSetMargins(d->titleLabel, 5 - d->firstColumn * d->charWidth, 3);
    WkObjectSetResizable(d->titleLabel, 1, 0);
    if (d->titleBox->state & WK_STATE_REALIZED) WkResize(l->outer, -1, -1);
}

void WkListGetTitle(WkObject* l, char* buffer) {
    WkListData* d = WkListRecord(l);
    buffer[0] = '\0';
    if (d->titleLabel) WkObjectGetText(d->titleLabel, buffer, std::size_t(d->itemLength) + 1);
}

namespace {

// The title label, or the form holding the first linked object.
WkObject* TitleObject(WkObject* l) {
    WkListData* d = WkListRecord(l);
    if (d->linkCount > 0 && d->links[0].object->parent) return d->links[0].object->parent;
    return d->titleLabel;
}

} // namespace

void WkListSetTitleColors(WkObject* l, WkColor background, WkColor foreground) {
    if (WkObject* title = TitleObject(l)) WkObjectSetColors(title, background, foreground);
}

void WkListSetTitleBackgroundImage(WkObject* l, WkImage* image, int mode) {
    if (WkObject* title = TitleObject(l)) WkObjectSetBackgroundImage(title, image, mode);
}

void WkListSetRowSpacing(WkObject* l, int pixels) {
    WkListData* d = WkListRecord(l);
    d->rowSpacing = std::uint16_t(std::clamp(pixels, 0, 100));
    Metrics(l);
    if (l->state & WK_STATE_REALIZED) WkResize(l->outer, -1, -1);
    else list::DrawAll(l);
}

void WkListSetCurrentColors(WkObject* l, WkColor background, WkColor text) {
    WkListData* d = WkListRecord(l);
    WkColor oldBackground = d->currentBackground, oldText = d->currentText;
    d->currentBackground = WkAddColorRef(background);
    d->currentText = WkAddColorRef(text);
    WkFreeColor(oldBackground);
    WkFreeColor(oldText);
    list::DrawRow(l, d->current);
}

void WkListSetCurrentTextColor(WkObject* l, WkColor color) {
    WkColor background = WkHighlightColor(l->background, color);
    WkListSetCurrentColors(l, background, color);
    WkFreeColor(background);
}

void WkListSetScrollBarColor(WkObject* l, WkColor color) { ColorBars(l, color); }

void WkListSetScrollBarShade(WkObject* l, int percent) {
    WkListData* d = WkListRecord(l);
    for (WkObject* bar : {d->verticalBar, d->horizontalBar})
        if (bar) WkScrollBarSetShade(bar, percent);
}

void WkListTintScrollBars(WkObject* l) {
    WkListRecord(l)->tintedBars = 1;
    Tint(l);
}

void WkListUntintScrollBars(WkObject* l) {
    WkListRecord(l)->tintedBars = 0;
    WkColor color = WkDefaultBackgroundColor();
    ColorBars(l, color);
    WkFreeColor(color);
}

WkObject* WkListGetVerticalScrollBar(WkObject* l) { return WkListRecord(l)->verticalBar; }
WkObject* WkListGetHorizontalScrollBar(WkObject* l) { return WkListRecord(l)->horizontalBar; }

void WkListHide(WkObject* l) {
    WkListData* d = WkListRecord(l);
    for (WkObject* o : {l, d->verticalBar, d->horizontalBar})
        if (o) o->state &= std::uint16_t(~WK_STATE_SHOWN);
}

void WkListShow(WkObject* l) {
    WkListData* d = WkListRecord(l);
    if (!(l->outer->state & WK_STATE_SHOWN)) return;
    for (WkObject* o : {l, d->verticalBar, d->horizontalBar})
        if (o) {
            o->state |= WK_STATE_SHOWN;
            WkRedraw(o, 1);
        }
}

void WkListSetLinkedObjects(WkObject* l, const WkListLink* links, int count) {
    WkListData* d = WkListRecord(l);
    WkFree(d->links);
    d->links = nullptr;
    d->linkCount = 0;
    if (count <= 0 || !links) return;
    d->links = static_cast<WkListLink*>(WkMalloc(sizeof(WkListLink) * std::size_t(count)));
    std::memcpy(d->links, links, sizeof(WkListLink) * std::size_t(count));
    d->linkCount = count;
}

void WkListFreeChain(void* chain) {
    while (chain) {
        void* next = *static_cast<void**>(chain);
        WkFree(chain);
        chain = next;
    }
}
