// Scrolled lists: the horizontal-bar rule, deleting around the current
// item, the shared record, clicks and double clicks on the virtual clock,
// the incremental search, moving items, marks, and the picture.
#include "toolkit/widgets/list_internal.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_scroll.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/scroll_bar.h"
#include "input_fixture.h"

#include <cstring>

namespace {

struct Calls {
    std::vector<std::string> log; // "a:text", "c:text", "s:text"
};

void Record(char kind, WkListItem* item, void* data) {
    static_cast<Calls*>(data)->log.push_back(std::string(1, kind) + ":" + item->text);
}
void OnActivate(WkObject*, WkListItem* i, void* d, std::intptr_t) { Record('a', i, d); }
void OnClick(WkObject*, WkListItem* i, void* d, std::intptr_t) { Record('c', i, d); }
void OnSelect(WkObject*, WkListItem* i, void* d, std::intptr_t) { Record('s', i, d); }

int Plain(const char* a, const char* b) { return std::strcmp(a, b); }

class ListTest : public wt::InputTest {
protected:
    WkObject* Make(std::vector<const char*> items, int rows = 4, int columns = 12, int length = 12,
                   bool multiple = false) {
        if (!shell) shell = Window();
        WkObject* l = multiple ? WkCreateMultiSelectList(shell, 0, length, rows, columns)
                               : WkCreateList(shell, 0, length, rows, columns);
        for (const char* text : items) WkListAddItem(l, text, 0);
        WkListSetActivateCallback(l, OnActivate, &calls);
        WkListSetClickCallback(l, OnClick, &calls);
        WkListSetSelectCallback(l, OnSelect, &calls);
        return l;
    }
    void Live() {
        Show(shell);
        for (WkObject* o = list; o; o = o->parent) o->state |= WK_STATE_ACTIVE | WK_STATE_SENSITIVE;
    }
    void Keys(std::vector<int> keys, int modifiers = 0) {
        for (int k : keys) WkSendSimpleMessage(list, WK_MSG_KEY, 0, modifiers, k);
    }
    int Current() { return WkListRecord(list)->current; }
    void Click(int row) {
        const int y = WkObjectBorder(list) + row * WkListRecord(list)->rowHeight + 3;
        Button(list, 10, y, true);
        Button(list, 10, y, false);
    }

    WkObject* shell = nullptr;
    WkObject* list = nullptr;
    Calls calls;
};

TEST_F(ListTest, HorizontalBarOnlyWhenItemsAreWider) {
    for (auto [length, columns, bar] : {std::tuple{10, 10, false}, {11, 10, true}, {5, 20, false}}) {
        list = Make({}, 4, columns, length);
        EXPECT_EQ(WkListGetHorizontalScrollBar(list) != nullptr, bar) << length << " " << columns;
        EXPECT_NE(WkListGetVerticalScrollBar(list), nullptr);
        EXPECT_EQ(WkFindVerticalScrollBar(list), WkListGetVerticalScrollBar(list));
        EXPECT_EQ(WkFindHorizontalScrollBar(list), WkListGetHorizontalScrollBar(list));
    }
}

TEST_F(ListTest, DeletingAroundTheCurrentItem) {
    list = Make({"a", "b", "c", "d", "e"});
    Live();
    WkObject* bar = WkListGetVerticalScrollBar(list);
    EXPECT_EQ(Current(), 0); // the first added item
    WkListSelectItem(list, 2);
    struct Case {
        int position, result, current, selects;
    };
    for (Case c : {Case{3, 0, 2, 0}, {9, -1, 2, 0}, {-1, -1, 2, 0}, {2, 0, 2, 1}, {0, 0, 1, 1}}) {
        calls.log.clear();
        EXPECT_EQ(WkListDeleteItem(list, c.position), c.result) << c.position;
        EXPECT_EQ(Current(), c.current) << c.position;
        EXPECT_EQ(int(calls.log.size()), c.selects) << c.position;
    }
    EXPECT_EQ(WkListGetCount(list), 2); // b, e
    EXPECT_EQ(WkListGetItem(list, 2), nullptr);
    WkListDeleteItem(list, 1);
    EXPECT_EQ(Current(), 0);
    WkListDeleteItem(list, 0);
    EXPECT_EQ(Current(), -1);
    EXPECT_EQ(WkListGetSelectedItem(list), nullptr);
    EXPECT_EQ(WkScrollBarGetMaximum(bar), 1);
    EXPECT_EQ(WkListDeleteItem(list, 0), -1);
}

TEST_F(ListTest, RecordKeepsItsTextWhenTheItemGoes) {
    list = Make({"zero", "one", "two", "three", "four"});
    WkListItem* item = WkListGetItem(list, 3);
    WkListDeleteItem(list, 3);
    WkListAddItem(list, "a much longer text", 7);
    EXPECT_STREQ(item->text, "three");
    WkListItem* found = WkListFindItem(list, "a much longe");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->position, 4);
    EXPECT_EQ(found->userData, 7);
}

TEST_F(ListTest, ClicksAndDoubleClicks) {
    list = Make({"one", "two", "three"});
    Live();
    struct Case {
        int gap;
        std::vector<std::string> log;
    };
    for (const Case& c : {Case{200, {"s:two", "c:two", "s:two", "a:two"}},
                          Case{300, {"s:two", "c:two", "s:two", "c:two"}}}) {
        calls.log.clear();
        Click(1);
        Advance(c.gap);
        Click(1);
        Advance(400);
        EXPECT_EQ(calls.log, c.log) << c.gap;
    }
    EXPECT_EQ(Current(), 1);
}

TEST_F(ListTest, AClickOnTheTopRowUnderATitleSelectsIt) {
    list = Make({"one", "two"});
    WkListSetTitle(list, "title");
    Live();
    ASSERT_GT(list->y, 0);
    Click(0);
    EXPECT_EQ(calls.log, (std::vector<std::string>{"s:one", "c:one"}));
}

TEST_F(ListTest, IncrementalSearch) {
    list = Make({});
    WkListSetCompareFunction(list, Plain);
    for (const char* t : {"cat", "bee", "b", "bat", "apple", "b-2"}) WkListAddItem(list, t, 0);
    Live();
    struct Step {
        int key, current, beeps;
    };
    const int beeps = display->beepCount();
    int expectBeeps = 0;
    for (Step s : {Step{'b', 1, 0}, {'a', 3, 0}, {WK_KEY_BACKSPACE, 1, 0}, {'e', 4, 0}, {'z', 4, 1}}) {
        Keys({s.key});
        expectBeeps += s.beeps;
        EXPECT_EQ(Current(), s.current) << char(s.key);
        EXPECT_EQ(display->beepCount() - beeps, expectBeeps) << char(s.key);
    }
    // Right-aligned numbers are searched past their blanks.
    list = Make({"  1850", "  1900", "  2100"});
    Live();
    Keys({'1', '9'});
    EXPECT_EQ(Current(), 1);
    Keys({WK_KEY_HOME, '2'});
    EXPECT_EQ(Current(), 2);
}

TEST_F(ListTest, NavigationKeys) {
    list = Make({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}, 4);
    Live();
    WkObject* bar = WkListGetVerticalScrollBar(list);
    struct Step {
        int key, current, first;
    };
    for (Step s : {Step{WK_KEY_UP, 0, 0}, {WK_KEY_DOWN, 1, 0}, {WK_KEY_END, 9, 6}, {WK_KEY_DOWN, 9, 6},
                   {WK_KEY_PGUP, 3, 3}, {WK_KEY_UP, 2, 2}, {WK_KEY_PGDN, 5, 5}, {WK_KEY_HOME, 0, 0},
                   {WK_KEY_PGDN, 3, 3}, {WK_KEY_DOWN, 4, 3}, {WK_KEY_DOWN, 5, 3}, {WK_KEY_DOWN, 6, 3},
                   {WK_KEY_DOWN, 7, 4}, // past the bottom row the view follows
                   {WK_KEY_END, 9, 6}, {WK_KEY_PGDN, 9, 6}, // PgDn on the last row stays there
                   // On the last page PgDn goes to the last row, from the top row on show too;
                   // on the first page PgUp goes to the first row.
                   {WK_KEY_UP, 8, 6}, {WK_KEY_PGDN, 9, 6}, {WK_KEY_UP, 8, 6}, {WK_KEY_UP, 7, 6},
                   {WK_KEY_UP, 6, 6}, {WK_KEY_PGDN, 9, 6}, {WK_KEY_PGUP, 3, 3}, {WK_KEY_DOWN, 4, 3},
                   {WK_KEY_PGUP, 0, 0}, {WK_KEY_DOWN, 1, 0}, {WK_KEY_PGUP, 0, 0}}) {
        Keys({s.key});
        EXPECT_EQ(Current(), s.current) << std::hex << s.key;
        EXPECT_EQ(WkScrollBarGetValue(bar), s.first) << std::hex << s.key;
    }
    // Every row on show: the one page is the first and the last.
    list = Make({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}, 12);
    Live();
    for (Step s : {Step{WK_KEY_DOWN, 1, 0}, {WK_KEY_DOWN, 2, 0}, {WK_KEY_DOWN, 3, 0}, {WK_KEY_PGDN, 10, 0},
                   {WK_KEY_PGDN, 10, 0}, {WK_KEY_UP, 9, 0}, {WK_KEY_PGUP, 0, 0}, {WK_KEY_PGUP, 0, 0},
                   {WK_KEY_END, 10, 0}}) {
        Keys({s.key});
        EXPECT_EQ(Current(), s.current) << std::hex << s.key;
        EXPECT_EQ(WkScrollBarGetValue(WkListGetVerticalScrollBar(list)), s.first) << std::hex << s.key;
    }
}

TEST_F(ListTest, AltArrowsMoveItemsOnlyWithTheOption) {
    struct Case {
        bool option, sorted;
        const char* first;
        int current;
    };
    for (Case c : {Case{false, false, "a", 0}, {true, true, "a", 0}, {true, false, "b", 1}}) {
        list = Make({"a", "b", "c"});
        if (c.option) WkListSetOption(list);
        if (c.sorted) WkListSetCompareFunction(list, Plain);
        Live();
        Keys({WK_KEY_DOWN}, WK_MOD_ALT);
        EXPECT_STREQ(WkListGetItem(list, 0)->text, c.first);
        EXPECT_EQ(Current(), c.current);
    }
}

TEST_F(ListTest, MarksWithSpaceAndInsert) {
    list = Make({"a", "b", "c", "d"}, 4, 12, 12, true);
    Live();
    Keys({' ', WK_KEY_DOWN, WK_KEY_DOWN, WK_KEY_INS, WK_KEY_DOWN, ' ', ' '});
    std::vector<std::string> marked, unmarked;
    for (WkListItem* i = WkListGetFirstMarked(list); i; i = WkListGetNextMarked(list)) marked.push_back(i->text);
    for (WkListItem* i = WkListGetFirstUnmarked(list); i; i = WkListGetNextUnmarked(list))
        unmarked.push_back(i->text);
    EXPECT_EQ(marked, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(unmarked, (std::vector<std::string>{"b", "d"}));
}

TEST_F(ListTest, LinkedObjectsTakeTheTextOnActivation) {
    list = Make({"Smith, John", "Doe"});
    WkObject* label = WkCreateLabel(shell, "", 0);
    Live();
    const WkListLink links[] = {{label, 7}};
    WkListSetLinkedObjects(list, links, 1);
    Keys({WK_KEY_ENTER, WK_KEY_DOWN, WK_KEY_ENTER});
    char buffer[20];
    EXPECT_STREQ(WkObjectGetText(label, buffer, sizeof buffer), ""); // offset past "Doe"
    Keys({WK_KEY_UP, WK_KEY_ENTER});
    EXPECT_STREQ(WkObjectGetText(label, buffer, sizeof buffer), "John");
    // Tab leaves the list for the next object of the window and comes back.
    WkObject* field = WkCreateEdit(shell, "", 5, 0);
    WkFlushEvents();
    WkObjectSetFocus(list);
    Keys({WK_KEY_TAB});
    EXPECT_TRUE(field->state & WK_STATE_FOCUS);
    EXPECT_FALSE(list->state & WK_STATE_FOCUS);
}

TEST_F(ListTest, ColoursHideAndShow) {
    list = Make({"a", "b", "c"}, 4, 5, 8);
    Live();
    WkObject* bars[] = {WkListGetVerticalScrollBar(list), WkListGetHorizontalScrollBar(list)};
    const int y = WkObjectBorder(list) + 1, x = list->width - 4;
    WkColor red = WkAllocColor(200, 0, 0), blue = WkAllocColor(0, 0, 200);
    WkListSetCurrentColors(list, red, blue);
    EXPECT_EQ(At(list, x, y), Rgb(red));
    WkObjectSetColors(list, blue, red); // the current row follows the new colours
    WkFlushEvents();
    EXPECT_EQ(At(list, x, y), Rgb(WkListRecord(list)->currentBackground));
    EXPECT_NE(At(list, x, y), Rgb(red));
    WkFreeColor(red), WkFreeColor(blue);
    WkListHide(list);
    for (WkObject* o : {list, bars[0], bars[1]}) EXPECT_FALSE(o->state & WK_STATE_SHOWN);
    WkListShow(list);
    for (WkObject* o : {list, bars[0], bars[1]}) EXPECT_TRUE(o->state & WK_STATE_SHOWN);
}

TEST_F(ListTest, Picture) {
    shell = Window();
    WkObject* row = WkCreateHorizontalForm(shell);
    WkObject* plain = WkCreateList(row, 0, 20, 6, 10);
    WkObject* multi = WkCreateMultiSelectList(row, 0, 8, 6, 8);
    for (const char* t : {"Anand, Viswanathan", "Carlsen, Magnus", "Kasparov, Garry", "Karpov, Anatoly",
                          "Tal, Mikhail", "Fischer, Robert", "Spassky, Boris"})
        WkListAddItem(plain, t, 0), WkListAddItem(multi, t, 0);
    WkListSetTitle(plain, "Players");
    WkListSetEmphasis(plain, "Tal, Mikhail", 1);
    list = plain;
    Live();
    WkListSelectItem(plain, 2);
    WkScrollBarSetValue(WkListGetHorizontalScrollBar(plain), 3);
    WkObjectSetFocus(plain);
    list = multi;
    for (WkObject* o = multi; o; o = o->parent) o->state |= WK_STATE_ACTIVE | WK_STATE_SENSITIVE;
    Keys({' ', WK_KEY_DOWN, WK_KEY_DOWN, ' ', WK_KEY_DOWN});
    WkFlushEvents();
    SavePng(shell, "lists.png");
    ExpectPicture(shell, "lists.png");
    WkListData* d = WkListRecord(plain);
    const int f = WkObjectBorder(plain), y = f + (d->current - d->firstRow) * d->rowHeight + 1;
    EXPECT_EQ(At(plain, plain->width - f - 3, y), Rgb(d->currentBackground));
    EXPECT_EQ(At(plain, f, y), Rgb(plain->darkShadow)); // the focus frame
    EXPECT_EQ(At(multi, multi->width - 4, f + 1), Rgb(multi->darkShadow));       // marked
    EXPECT_EQ(At(multi, multi->width - 4, f + 3 * WkListRecord(multi)->rowHeight + 1),
              Rgb(WkListRecord(multi)->currentBackground));
    EXPECT_EQ(At(multi, multi->width - 4, f + 2 * WkListRecord(multi)->rowHeight + 1), Rgb(multi->darkShadow));
}

} // namespace
