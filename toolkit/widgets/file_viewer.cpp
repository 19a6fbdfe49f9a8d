#include "toolkit/widgets/file_viewer.h"

#include "toolkit/core/folders.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/widgets/list_internal.h"
#include "toolkit/widgets/scroll_bar.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTab = 8;

WkFileViewerData* Viewer(WkObject* list) { return static_cast<WkFileViewerData*>(WkListRecord(list)->windowData); }

// One line (or a piece of a longer one) without its line end; a carriage
// return right before the line feed belongs to the line end. False at the
// end of the file with nothing read.
bool ReadPiece(std::FILE* file, char* buffer, int* length) {
    int n = 0;
    bool ended = false;
    while (n < WK_VIEWER_PIECE) {
        const int c = std::getc(file);
        if (c == EOF) break;
        if (c == '\n') {
            ended = true;
            break;
        }
        if (c == '\r') {
            const int next = std::getc(file);
            if (next == '\n') {
                ended = true;
                break;
            }
            if (next != EOF) std::ungetc(next, file);
        }
        buffer[n++] = char(c);
    }
    // A piece that filled the buffer takes the line end right behind it, so
    // that a line of exactly the piece length stays one line.
    if (n == WK_VIEWER_PIECE && !ended) {
        const long at = std::ftell(file);
        const int c = std::getc(file);
        ended = c == '\n' || (c == '\r' && std::getc(file) == '\n');
        if (!ended && at >= 0) std::fseek(file, at, SEEK_SET);
    }
    buffer[n] = '\0';
    *length = n;
    return n > 0 || ended;
}

// The columns a line takes once its tabs are expanded.
int Columns(const char* text, int length) {
    int column = 0;
    for (int i = 0; i < length; ++i) column = text[i] == '\t' ? (column / kTab + 1) * kTab : column + 1;
    return column;
}

// The line expanded into an item of exactly width characters.
void Expand(const char* text, int length, char* item, int width) {
    int column = 0;
    for (int i = 0; i < length && column < width; ++i) {
        if (text[i] != '\t') {
            item[column++] = text[i];
            continue;
        }
        const int next = std::min((column / kTab + 1) * kTab, width);
        while (column < next) item[column++] = ' ';
    }
    std::memset(item + column, ' ', std::size_t(width - column));
    item[width] = '\0';
}

void Close(WkFileViewerData* v) {
    if (v->file) std::fclose(v->file);
    v->file = nullptr;
    WkFree(v->index);
    v->index = nullptr;
    v->indexCount = v->indexRoom = 0;
}

void AddIndex(WkFileViewerData* v, long position) {
    if (v->indexCount == v->indexRoom) {
        v->indexRoom += 256;
        v->index = static_cast<long*>(WkRealloc(v->index, sizeof(long) * std::size_t(v->indexRoom)));
    }
    v->index[v->indexCount++] = position;
}

// Counts the lines and the widest one, and notes where every 100th begins.
void Index(WkFileViewerData* v, WkListData* d, const char* path) {
    Close(v);
    d->count = 0;
    d->windowStart = 0;
    d->windowHalf = WK_VIEWER_INDEX_STEP;
    d->windowCapacity = std::max(2 * WK_VIEWER_INDEX_STEP, d->visibleRows + WK_VIEWER_INDEX_STEP);
    v->file = WkOpenFile(path, "r");
    if (!v->file) {
        d->itemLength = 4;
        return;
    }
    AddIndex(v, 0);
    char buffer[WK_VIEWER_PIECE + 1];
    int length = 0, widest = 0;
    while (ReadPiece(v->file, buffer, &length)) {
        widest = std::max(widest, Columns(buffer, length));
        if (++d->count % WK_VIEWER_INDEX_STEP == 0) AddIndex(v, std::ftell(v->file));
    }
    d->itemLength = widest + 1;
}

// The window callback: the lines from the window start on, blanks past the
// end of the file (also of a file cut short since it was indexed).
int ReadLines(WkObject*, WkListRequest* request, void* data, int itemLength) {
    auto* v = static_cast<WkFileViewerData*>(data);
    const int entry = request->offset / WK_VIEWER_INDEX_STEP;
    bool more = v->file && entry >= 0 && entry < v->indexCount && std::fseek(v->file, v->index[entry], SEEK_SET) == 0;
    char buffer[WK_VIEWER_PIECE + 1];
    int delivered = 0;
    WkItemNode* node = request->first;
    for (int i = 0; i < request->count && node; ++i, node = node->next) {
        int length = 0;
        more = more && ReadPiece(v->file, buffer, &length);
        if (more) ++delivered;
        Expand(more ? buffer : "", more ? length : 0, node->text, itemLength);
    }
    request->count = delivered;
    return delivered;
}

void Destroyed(WkObject* list, WkMessage*, void* data, std::uint32_t) {
    auto* v = static_cast<WkFileViewerData*>(data);
    Close(v);
    WkFree(v);
    WkListRecord(list)->windowData = nullptr;
}

// A new store of blank lines of the item length, filled from line 0.
void NewStore(WkObject* list) {
    WkListData* d = WkListRecord(list);
    WkFreeItemList(d->store);
    d->store = WkCreateItemList(d->itemLength, d->windowCapacity, nullptr);
    list::ReadWindow(list, 0);
}

} // namespace

WkObject* WkCreateFileViewer(WkObject* parent, const char* path, int font, int visibleRows, int visibleColumns) {
    auto* v = static_cast<WkFileViewerData*>(WkCalloc(1, sizeof(WkFileViewerData)));
    WkListData record = list::NewRecord(1, visibleRows, visibleColumns);
    record.kind = WK_LIST_KIND_FILE_VIEWER;
    record.windowCallback = ReadLines;
    record.windowData = v;
    Index(v, &record, path);
    WkObject* list = WkBuildList(parent, &record, font);
    WkObjectAddDestroyHandler(list, Destroyed, v);
    NewStore(list);
    list::UpdateBars(list);
    return list;
}

void WkFileViewerLoad(WkObject* list, const char* path) {
    WkListData* d = WkListRecord(list);
    Index(Viewer(list), d, path);
    d->firstRow = d->firstColumn = 0;
    NewStore(list);
    list::UpdateBars(list);
    for (WkObject* bar : {d->verticalBar, d->horizontalBar})
        if (bar) WkScrollBarSetValue(bar, 0);
    WkRedraw(list, 0);
}
