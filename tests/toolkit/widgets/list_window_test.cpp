// Lists that keep a window of their items: a virtual and a fetch list with
// a recording window callback, and the file viewer on generated CR LF files
// (the index, the window following the view, tabs, line ends, long lines,
// files missing, empty or cut short under the viewer).
#include "toolkit/widgets/file_viewer.h"
#include "toolkit/widgets/list_internal.h"

#include "toolkit/core/window_system.h"
#include "toolkit/widgets/scroll_bar.h"
#include "input_fixture.h"

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

using Asked = std::vector<std::vector<int>>; // mode, offset, count

struct Source {
    int total = 10000;
    int top = 0; // a fetch list's window start as its owner follows it
    Asked asked;
};

// Items "Item n" of a sequence; nothing before its start or past its end.
int Deliver(WkObject*, WkListRequest* r, void* data, int length) {
    auto* s = static_cast<Source*>(data);
    s->asked.push_back({r->mode, r->offset, r->count});
    int at = r->mode == 0 ? r->offset : r->mode == 2 ? s->total + r->offset : s->top + r->offset;
    if (r->count == 1 && (at < 0 || at >= s->total)) return r->count = -1;
    at = std::clamp(at, 0, s->total);
    const int n = std::min(r->count, s->total - at);
    WkItemNode* node = r->first;
    for (int i = 0; i < n && node; ++i, node = node->next) std::snprintf(node->text, length + 1, "Item %d", at + i);
    s->top = r->count == 1 ? s->top + (r->offset < 0 ? -1 : 1) : at;
    return r->count = n;
}

std::string Write(const std::string& name, const std::string& text) {
    const std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string Numbered(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += "Line " + std::to_string(i) + "\r\n";
    return text;
}

class ListWindowTest : public wt::InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        shell = Window();
    }
    void Key(WkObject* l, int key) { WkSendSimpleMessage(l, WK_MSG_KEY, 0, 0, key); }
    // The item's text without the blanks a viewer pads it with.
    std::string Text(WkObject* l, int position) {
        WkListItem* item = WkListGetItem(l, position);
        std::string text = item ? item->text : "-";
        return text.erase(text.find_last_not_of(' ') + 1);
    }
    void ScrollTo(WkObject* l, int row) { WkScrollBarSetValue(WkListGetVerticalScrollBar(l), row); }
    WkObject* View(const std::string& path, int rows = 20) {
        WkObject* v = WkCreateFileViewer(shell, path.c_str(), 0, rows, 40);
        Show(shell);
        return v;
    }
    WkObject* shell = nullptr;
    Source source;
};

TEST_F(ListWindowTest, VirtualListAsksForTheWindowsTheViewNeeds) {
    WkObject* l = WkCreateVirtualList(shell, Deliver, &source, 0, 0, 0, 10, 20, 20, 10000);
    Show(shell);
    WkListData* d = WkListRecord(l);
    const int half = WkScreenHeight() / d->rowHeight;
    const auto window = [&](int first) { return Asked{{0, first / half * half, 2 * half}}; };
    EXPECT_EQ(source.asked, window(0));
    const int pages = (2 * half - 10) / 9 + 1; // PgDn presses until the view leaves the first window
    struct Step {
        std::function<void()> act;
        int firstRow;
        Asked asked;
    } steps[] = {
        {[&] { Key(l, WK_KEY_END); }, 9990, Asked{{0, 9990 / half * half, 10000 - 9990 / half * half}}},
        {[&] { Key(l, WK_KEY_HOME); }, 0, window(0)},
        {[&] { Key(l, WK_KEY_PGDN); }, 9, {}},
        {[&] { for (int i = 1; i < pages; ++i) Key(l, WK_KEY_PGDN); }, 9 * pages, window(9 * pages)},
        {[&] { ScrollTo(l, 5000); }, 5000, window(5000)},
    };
    for (const Step& s : steps) {
        source.asked.clear();
        s.act();
        EXPECT_EQ(d->firstRow, s.firstRow);
        EXPECT_EQ(source.asked, s.asked) << s.firstRow;
        EXPECT_EQ(Text(l, s.firstRow), "Item " + std::to_string(s.firstRow));
    }
    const int y = WkObjectBorder(l) + 3 * d->rowHeight + d->rowHeight / 2;
    Button(l, 10, y, true);
    Button(l, 10, y, false);
    EXPECT_STREQ(WkListGetSelectedItem(l)->text, "Item 5003");
}

TEST_F(ListWindowTest, FetchListFetchesOneItemAtEitherEndAndWindowsForPages) {
    source.total = 100;
    WkObject* l = WkCreateFetchList(shell, Deliver, &source, 0, 0, 0, 5, 20, 20);
    Show(shell);
    WkListData* d = WkListRecord(l);
    EXPECT_EQ(source.asked, (Asked{{0, 0, 5}}));
    struct Step {
        int key, presses;
        Asked asked;
        int first, current;
    } steps[] = {
        {WK_KEY_DOWN, 4, {}, 0, 4},           {WK_KEY_DOWN, 1, {{1, 5, 1}}, 1, 4},
        {WK_KEY_UP, 5, {{1, -1, 1}}, 0, 0},   {WK_KEY_UP, 1, {{1, -1, 1}}, 0, 0},
        {WK_KEY_END, 1, {{2, -5, 5}}, 95, 4}, {WK_KEY_HOME, 1, {{0, 0, 5}}, 0, 0},
        {WK_KEY_PGDN, 1, {{1, 0, 5}}, 0, 0},  {WK_KEY_PGUP, 1, {{1, -8, 5}}, 0, 0},
    };
    for (const Step& s : steps) {
        source.asked.clear();
        for (int i = 0; i < s.presses; ++i) Key(l, s.key);
        EXPECT_EQ(source.asked, s.asked) << s.key;
        EXPECT_EQ(d->count, 5);
        EXPECT_EQ(Text(l, 0), "Item " + std::to_string(s.first)) << s.key;
        EXPECT_EQ(Text(l, 4), "Item " + std::to_string(s.first + 4)) << s.key;
        EXPECT_EQ(d->current, s.current) << s.key;
    }
}

TEST_F(ListWindowTest, ViewerIndexesAndFollowsTheView) {
    WkObject* v = View(Write("viewer250.txt", Numbered(250)));
    WkListData* d = WkListRecord(v);
    auto* file = static_cast<WkFileViewerData*>(d->windowData);
    EXPECT_EQ(d->count, 250);
    ASSERT_EQ(file->indexCount, 3);
    EXPECT_EQ(file->index[1], 10 * 8 + 90 * 9);
    WkFileViewerLoad(v, Write("viewer1000.txt", Numbered(1000)).c_str());
    for (auto [row, start] : {std::pair{190, 100}, {150, 100}, {290, 200}, {85, 0}, {980, 900}}) {
        ScrollTo(v, row);
        EXPECT_EQ(d->windowStart, start) << row;
        EXPECT_EQ(Text(v, row), "Line " + std::to_string(row));
    }
    for (auto [key, first] : {std::pair{WK_KEY_HOME, 0}, {WK_KEY_DOWN, 1}, {WK_KEY_PGDN, 20}, {WK_KEY_UP, 19},
                              {WK_KEY_PGUP, 0}, {WK_KEY_END, 980}}) {
        Key(v, key);
        EXPECT_EQ(d->firstRow, first) << key;
    }
    EXPECT_EQ(d->current, -1);
    ScrollTo(v, 500);
    SavePng(shell, "file_viewer.png");
}

TEST_F(ListWindowTest, ViewerExpandsLinesAsItCountsThem) {
    std::string text = "a\tb\r\n\t\t\t\t\t\t\t\tx\r\n";
    for (int i = 2; i < 102; ++i) text += (i == 50 ? std::string(2047, 'y') : "Line " + std::to_string(i)) + "\r\n";
    WkObject* v = View(Write("viewer_lines.txt", text + "last"));
    EXPECT_EQ(WkListRecord(v)->count, 103);
    EXPECT_EQ(Text(v, 0), "a       b");
    EXPECT_EQ(Text(v, 1), std::string(64, ' ') + "x");
    EXPECT_EQ(Text(v, 50).size(), 2047u);
    EXPECT_EQ(Text(v, 101), "Line 101");
    EXPECT_EQ(Text(v, 102), "last");
    for (int i = 0; i < 103; ++i) EXPECT_EQ(std::strchr(WkListGetItem(v, i)->text, '\r'), nullptr);
}

// Meant for the sanitizers: nothing is read outside the window or the index.
TEST_F(ListWindowTest, ViewerScrollsShortMissingAndEmptyFilesCleanly) {
    const std::string path = Write("viewer_cut.txt", Numbered(1000)), missing = path + ".none";
    WkObject* big = View(path, 150);
    ScrollTo(big, 199);
    EXPECT_EQ(Text(big, 348), "Line 348");
    WkObject* cut = View(path);
    Write("viewer_cut.txt", Numbered(10));
    WkObject* views[] = {big, cut, View(missing), View(Write("viewer_empty.txt", ""))};
    for (WkObject* v : views) {
        for (int key : {WK_KEY_END, WK_KEY_PGUP, WK_KEY_UP, WK_KEY_RIGHT, WK_KEY_HOME, WK_KEY_PGDN, WK_KEY_DOWN})
            Key(v, key);
        ScrollTo(v, 500);
    }
    EXPECT_EQ(Text(cut, 500), "");
    EXPECT_EQ(WkListRecord(views[2])->count + WkListRecord(views[3])->count, 0);
    WkFileViewerLoad(cut, missing.c_str());
    EXPECT_EQ(WkListRecord(cut)->count, 0);
}

} // namespace
