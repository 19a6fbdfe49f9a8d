#include "toolkit/widgets/form_pages.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_scroll.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/scroll_bar.h"
#include "toolkit/widgets/tab_toggle.h"
#include "input_fixture.h"
#include "toolkit/widgets/focus.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using wt::MakeLeaf;
using wt::Paint;

std::vector<std::intptr_t> pages; // what the page callback heard
void Heard(WkObject*, std::intptr_t page, void*) { pages.push_back(page); }
std::vector<std::intptr_t> keys; // what reached the accelerators
void Accel(WkObject*, std::intptr_t key, void*) { keys.push_back(key); }

class Pages : public wt::InputTest {
protected:
    void SetUp() override {
        wt::InputTest::SetUp();
        pages.clear(), keys.clear();
        shell = Window();
    }
    // Sends a key as the window does, from its main form down.
    void Press(int code, int modifiers = 0) { WkSendSimpleMessage(WkFormOf(shell), WK_MSG_KEY, 0, modifiers, code); }
    int Beeps() { return display->beepCount(); }
    std::string Tab(WkObject* paged, int k) {
        char text[32];
        return WkObjectGetText(WkFormRecord(paged)->pages[k].label, text, sizeof text);
    }
    // Gives each page of the form n focusable leaves, coloured by page.
    std::vector<WkObject*> Fill(WkObject* form, int perPage, int width = 40, int height = 16) {
        std::vector<WkObject*> leaves;
        WkFormData* d = WkFormRecord(form);
        for (int p = 0; p < d->pageCount; ++p) {
            d->currentPage = std::int16_t(p);
            for (int i = 0; i < perPage; ++i) {
                leaves.push_back(MakeLeaf(form, width, height, WK_LAYOUT_FOCUSABLE));
                Paint(leaves.back(), 60 * p, 160 - 40 * i, 200 - 50 * p);
            }
        }
        d->currentPage = 0;
        return leaves;
    }
    // A click in the object's middle, apart from the one before.
    void Click(WkObject* object) {
        Advance(1000);
        Button(object, object->width / 2, object->height / 2, true);
        Button(object, object->width / 2, object->height / 2, false);
    }
    std::vector<plat::Rgb> Pixels() {
        plat::Surface* s = display->surface(WkObjectGetNativeWindow(shell));
        return std::vector<plat::Rgb>(s->pixels(), s->pixels() + s->width() * s->height());
    }
    WkObject* shell = nullptr;
};

TEST_F(Pages, PagingKeysAndSetPageRefuseWhatLiesOutside) {
    WkObject* form = WkCreateVerticalPagesForm(shell, 3);
    Fill(form, 1);
    WkFormSetPageCallback(form, Heard, nullptr);
    WkAddAccelerator(form, WK_KEY_PGDN, Accel, nullptr);
    Show(shell);
    struct Step {
        int page;      // -2: PgDn; -3: PgDn with the paging keys off; else WkFormSetPage
        int expected, beeps;
    } steps[] = {{3, 0, 1}, {-1, 0, 1}, {0, 0, 0}, {2, 2, 0}, {-2, 2, 1}, {-3, 2, 0}};
    for (const Step& s : steps) {
        int before = Beeps();
        if (s.page == -3) WkFormSetPagingKeysOff(form);
        if (s.page <= -2) Press(WK_KEY_PGDN);
        else WkFormSetPage(form, s.page);
        EXPECT_EQ(WkFormGetPage(form), s.expected) << s.page;
        EXPECT_EQ(Beeps() - before, s.beeps) << s.page;
    }
    EXPECT_EQ(pages, (std::vector<std::intptr_t>{2}));
    EXPECT_EQ(keys, (std::vector<std::intptr_t>{WK_KEY_PGDN}));
}

TEST_F(Pages, TabbedFormSwitchesByItsTabsAndGrows) {
    WkObject* paged = WkCreateTabbedVerticalForm(shell, 3, 0);
    std::vector<WkObject*> leaves = Fill(paged, 2, 150, 30);
    WkFormSetPageCallback(paged, Heard, nullptr);
    Show(shell);
    EXPECT_EQ(Tab(paged, 0) + Tab(paged, 1) + Tab(paged, 2), "P.1P.2P.3");
    WkObject* second = WkFormRecord(paged)->pages[1].label;
    Button(second, 4, 4, true), Button(second, 4, 4, false);
    EXPECT_EQ(WkFormGetPage(paged), 1);
    EXPECT_EQ(pages, (std::vector<std::intptr_t>{1}));
    EXPECT_TRUE(WkTabToggleGetState(second));
    SavePng(shell, "tabbed_form.png");
    ExpectPicture(shell, "tabbed_form.png");
    // The focus inside moves to the first child of the page shown.
    WkObjectSetFocus(leaves[3]);
    WkFormSetPage(paged, 2);
    EXPECT_EQ(WkFormGetFocus(shell), leaves[4]);
    WkFormSetPageCount(paged, 4);
    EXPECT_EQ(Tab(paged, 3), "P.4");
    WkFormSetPage(paged, 3);
    EXPECT_TRUE(WkTabToggleGetState(WkFormRecord(paged)->pages[3].label));
    EXPECT_EQ(pages, (std::vector<std::intptr_t>{1, 2, 3}));
    // The tabs take the paged form's colours.
    WkColor red = WkAllocColor(200, 0, 0);
    WkApplyColors(paged, red, paged->foreground);
    EXPECT_EQ(WkFormRecord(paged)->pages[2].label->background, red);
    WkFreeColor(red);
}

TEST_F(Pages, OldPolicyTabTurnsThePage) {
    Stop();
    Start("[Focus]\r\nUseOldSwitchPolicy=1\r\n");
    WkInitFormClass();
    shell = Window();
    WkObject* form = WkCreateVerticalPagesForm(shell, 2);
    std::vector<WkObject*> leaves = Fill(form, 2);
    Show(shell);
    WkObjectSetFocus(leaves[1]);
    Press(WK_KEY_TAB);
    EXPECT_EQ(WkFormGetPage(form), 1);
    EXPECT_EQ(WkFormGetFocus(shell), leaves[2]);
    Press(WK_KEY_TAB, WK_MOD_SHIFT);
    EXPECT_EQ(WkFormGetPage(form), 0);
}

// The focused object takes the paging keys it uses: a field moves its
// cursor and a list pages itself, both on the page they stand on; the form
// pages with the keys they leave (a button's) and with its paging buttons.
TEST_F(Pages, AFocusedFieldOrListKeepsThePagingKeys) {
    WkObject* paged = WkCreatePagedForm(shell, 3, 1);
    WkObject* field = WkCreateEdit(paged, "abcdef", 10, 0);
    WkObject* list = WkCreateList(paged, 0, 8, 4, 8);
    for (const char* item : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}) WkListAddItem(list, item, 0);
    WkObject* leaf = wt::MakeLeaf(paged, 40, 16, WK_LAYOUT_FOCUSABLE);
    WkObject* end = WkCreatePagingButton(shell, paged, WK_KEY_END);
    Show(shell);
    struct Case { WkObject* focus; int key; int page, cursor, current; };
    const Case cases[] = {
        {field, WK_KEY_END, 0, 6, 0}, {field, WK_KEY_PGDN, 0, 0, 0}, {list, WK_KEY_PGDN, 0, 0, 3},
        {leaf, WK_KEY_PGDN, 1, 0, 0}, {leaf, WK_KEY_END, 2, 0, 0},   {field, 0, 2, 0, 0}, // 0: the End button
    };
    for (const Case& c : cases) {
        WkFormSetPage(paged, 0);
        WkEditSetCursor(field, 0);
        WkListSelectItem(list, 0);
        WkObjectSetFocus(c.focus);
        if (c.key) Press(c.key);
        else Button(end, 3, 3, true), Button(end, 3, 3, false);
        EXPECT_EQ(WkFormGetPage(paged), c.page) << c.key;
        EXPECT_EQ(WkEditGetCursor(field), c.cursor) << c.key;
        EXPECT_EQ(WkListRecord(list)->current, c.current) << c.key;
    }
}

// A tabbed form of four pages, each a form of two fields (wide enough for
// every tab to show); pages 1 and 2 greyed when asked.
struct Notebook {
    WkObject *paged, *page[4], *field[4][2];
    WkObject* tab(int k) const { return WkFormRecord(paged)->pages[k].label; }
};
Notebook MakeNotebook(WkObject* shell) {
    Notebook n{WkCreateTabbedVerticalForm(shell, 4, 0), {}, {}};
    for (int k = 3; k >= 0; --k) {
        WkFormSetPage(n.paged, k);
        n.page[k] = WkCreateVerticalForm(n.paged);
        for (WkObject*& field : n.field[k]) field = WkCreateEdit(n.page[k], "", 24, 0);
    }
    return n;
}
int leaves = 0; // the departures the fields were told of
void Left(WkObject*, WkEditLeaveInfo*, void*, int) { ++leaves; }

// A field given the focus on a page not on show turns to its page and takes
// the keys, from a clicked tab, which keeps no frame, or from a field, told
// once that it lost them; a window entered again after its page was turned
// away stays on the page shown.
TEST_F(Pages, TheFocusGivenOnAnotherPageTurnsToItAndTakesTheKeys) {
    const Notebook n = MakeNotebook(shell);
    for (const auto& page : n.field)
        for (WkObject* field : page) WkEditSetLeaveCallback(field, Left, nullptr);
    Show(shell);
    struct Case {
        int from; // the page shown, its tab clicked; negative: its first field focused
        int page, field;
    } cases[] = {{3, 0, 1}, {-3, 0, 0}, {0, 3, 1}}; // the last page's last field
    for (const Case& c : cases) {
        WkFormSetPage(n.paged, std::abs(c.from));
        if (c.from >= 0) Click(n.tab(c.from));
        else WkObjectSetFocus(n.field[-c.from][0]);
        leaves = 0;
        WkObject* field = n.field[c.page][c.field];
        WkObjectSetFocus(field);
        testform::TypeKey(*display, 'X', 0x2D, 0, 'x');
        EXPECT_STREQ(WkEditGetText(field), "x") << c.from;
        EXPECT_EQ(WkFormGetPage(n.paged), c.page) << c.from;
        EXPECT_EQ(leaves, c.from < 0 ? 1 : 0) << c.from;
        EXPECT_FALSE(n.tab(std::abs(c.from))->state & WK_STATE_FOCUS) << c.from;
        WkEditReplaceText(field, "", 0, 0);
    }
    WkShellFocusOut(shell);
    WkFormSetPage(n.paged, 1);
    WkShellFocusIn(shell);
    EXPECT_EQ(WkFormGetPage(n.paged), 1);
    EXPECT_EQ(WkFormGetFocus(shell), n.field[1][0]);
}

// The arrows on the tabs pass over the tab of a page whose contents are all
// greyed, as Tab passes over a greyed button, round the row both ways.
TEST_F(Pages, ArrowsOnTheTabsPassOverGreyedPages) {
    const Notebook n = MakeNotebook(shell);
    WkObjectDisable(n.page[1]);
    WkObjectDisable(n.page[2]);
    Show(shell);
    const int cases[][3] = {{0, WK_KEY_RIGHT, 3}, {3, WK_KEY_LEFT, 0}, {3, WK_KEY_DOWN, 0}, {0, WK_KEY_UP, 3},
                            {3, WK_KEY_LEFT, 2}}; // page 2 no longer greyed
    for (const auto& [from, key, to] : cases) {
        if (to == 2) WkObjectEnable(n.page[2]);
        WkFormSetPage(n.paged, from);
        WkObjectSetFocus(n.tab(from));
        Press(key);
        EXPECT_EQ(WkFormGetPage(n.paged), to) << from << " " << key;
        EXPECT_EQ(WkFormGetFocus(shell), n.tab(to)) << from << " " << key;
    }
}

// The tab of a page whose contents are all greyed is drawn greyed at once
// and a click on it opens nothing; live again, it is drawn and opens so. A
// field's Ctrl key turns every notebook on the way to it: the outer one and
// the one on its last page, or the inner one alone.
TEST_F(Pages, GreyedPagesStayShutAndAFieldsKeyTurnsEveryNotebookToIt) {
    const Notebook outer = MakeNotebook(shell);
    WkFormSetPage(outer.paged, 3);
    const Notebook inner = MakeNotebook(outer.page[3]);
    WkObject* field = inner.field[3][1];
    WkAddAccelerator(shell, 0x310E, [](WkObject*, std::intptr_t, void* f) {
        WkObjectSetFocusBy(static_cast<WkObject*>(f), WK_FOCUS_BY_KEY); }, field);
    WkFormSetPage(outer.paged, 0);
    Show(shell);
    WkObjectSetFocus(outer.tab(0)); // no caret blinks
    const std::vector<plat::Rgb> live = Pixels();
    for (bool greyed : {true, false}) {
        WkObjectSetSensitive(outer.page[3], !greyed); // the last tab's page
        EXPECT_EQ(Pixels() == live, !greyed);
        if (greyed) ExpectPicture(shell, "tabbed_form_greyed.png");
        Click(outer.tab(3));
        EXPECT_EQ(WkFormGetPage(outer.paged), greyed ? 0 : 3);
    }
    for (const auto& [outerFrom, innerFrom] : {std::pair{0, 0}, {3, 1}}) {
        WkFormSetPage(inner.paged, innerFrom);
        WkFormSetPage(outer.paged, outerFrom);
        WkObjectSetFocus(outer.field[outerFrom][0]);
        Key('N', 0x31, plat::kCtrl);
        EXPECT_EQ(WkFormGetPage(outer.paged) * 10 + WkFormGetPage(inner.paged), 33) << outerFrom;
        EXPECT_EQ(WkFormGetFocus(shell), field) << outerFrom;
    }
}

TEST_F(Pages, HeldPagingButtonRepeatsItsKey) {
    WkObject* form = WkCreateVerticalPagesForm(shell, 2);
    WkAddAccelerator(form, WK_KEY_UP, Accel, nullptr);
    WkObject* button = WkCreatePagingButton(shell, form, WK_KEY_UP);
    Show(shell);
    Button(button, 3, 3, true);
    std::vector<std::size_t> counts{keys.size()};
    for (int ms : {499, 1, 100, 100}) Advance(ms), counts.push_back(keys.size());
    Button(button, 3, 3, false);
    Advance(500);
    EXPECT_EQ(counts, (std::vector<std::size_t>{1, 1, 2, 3, 4}));
    EXPECT_EQ(keys.size(), 4u);
}

TEST_F(Pages, PagedFormShowsItsPageNumber) {
    WkObject* paged = WkCreateVerticalPagedForm(shell, 3);
    Fill(paged, 1, 120, 170);
    Show(shell);
    WkFormSetPage(paged, 1);
    char text[8];
    EXPECT_STREQ(WkObjectGetText(WkFormRecord(paged)->pageNumberLabel, text, sizeof text), "2");
    SavePng(shell, "paged_form.png");
    ExpectPicture(shell, "paged_form.png");
}

TEST_F(Pages, RemovedPagesTakeThePointerWithThem) {
    WkObject* form = WkCreateVerticalPagesForm(shell, 4);
    std::vector<WkObject*> leaves = Fill(form, 1);
    Show(shell);
    WkFormSetPage(form, 3);
    Move(leaves[3], 5, 5);
    WkFormSetPageCount(form, 2);
    Move(form, 2, 2);
    EXPECT_EQ(WkFormGetPage(form), 1);
    EXPECT_EQ(WkFormRecord(form)->pageCount, 2);
}

TEST_F(Pages, ScrolledFormClampsAndMovesOnlyWhatIsUncovered) {
    WkObject* inner = WkCreateScrolledVerticalForm(shell, 60, 50);
    for (int i = 0; i < 8; ++i) Paint(MakeLeaf(inner, 40, 17), 40 * i % 256, 255 - 30 * i, 90);
    Show(shell);
    int width = WkObjectGetParent(inner)->width, height = WkObjectGetParent(inner)->height;
    WkResize(WkObjectGetParent(inner), -1, -1);
    EXPECT_EQ(WkObjectGetParent(inner)->width, width);
    EXPECT_EQ(WkObjectGetParent(inner)->height, height);
    WkFormScroll* s = WkFormRecord(inner)->scroll;
    struct Case {
        int to, expected;
    } cases[] = {{10000, s->scrolledHeight - s->viewHeight}, {-5, 0}, {7, 7}};
    for (const Case& c : cases) {
        WkFormSetScrollY(inner, c.to);
        EXPECT_EQ(WkFormGetScrollY(inner), c.expected) << c.to;
    }
    std::vector<plat::Rgb> moved = Pixels();
    WkRedraw(shell, 0);
    EXPECT_TRUE(moved == Pixels());
    // PgDn goes through the bar, which follows.
    WkSendSimpleMessage(inner, WK_MSG_KEY, 0, 0, WK_KEY_PGDN);
    EXPECT_EQ(WkFormGetScrollY(inner), 7 + s->viewHeight);
    EXPECT_EQ(WkScrollBarGetValue(WkFindVerticalScrollBar(inner)), 7 + s->viewHeight);
}

TEST_F(Pages, ScrolledFormWithoutHeightPagesItsPages) {
    WkObject* inner = WkCreateScrolledVerticalForm(shell, 60, 0);
    WkFormSetPageCount(inner, 2);
    EXPECT_EQ(WkFormGetVerticalScrollBar(inner), nullptr);
    EXPECT_FALSE(inner->layout & WK_LAYOUT_GROW_Y);
    // A scroll view keeps its shadow type, never a border.
    WkObject* view = WkCreateVerticalScrollView(shell, 30, 30);
    WkObjectSetShadow(view, WK_SHADOW_IN, 3, 0);
    EXPECT_EQ(view->shadowType, WK_SHADOW_IN);
    EXPECT_EQ(WkObjectBorder(view), 0);
    EXPECT_NE(WkFormGetHorizontalScrollBar(inner), nullptr);
    Show(shell);
    WkSendSimpleMessage(inner, WK_MSG_KEY, 0, 0, WK_KEY_PGDN);
    EXPECT_EQ(WkFormGetPage(inner), 1);
}

TEST_F(Pages, ScrolledFormPicture) {
    WkObject* inner = WkCreateScrolledAttachmentForm(shell, 80, 60);
    for (int i = 0; i < 5; ++i) {
        WkObject* leaf = MakeLeaf(inner, 50, 30);
        Paint(leaf, 50 * i, 200 - 30 * i, 120);
        WkObjectSetPosition(leaf, 30 * i, 25 * i);
    }
    Show(shell);
    WkFormScroll* s = WkFormRecord(inner)->scroll;
    WkFormScrollToX(inner, (s->scrolledWidth - s->viewWidth) / 2);
    WkFormScrollToY(inner, (s->scrolledHeight - s->viewHeight) / 2);
    EXPECT_GT(WkFormGetScrollX(inner), 0);
    EXPECT_GT(WkFormGetScrollY(inner), 0);
    SavePng(shell, "scrolled_form.png");
    // Bar colours: both bars' parts take the colour, the tint follows the form.
    WkColor blue = WkAllocColor(0, 0, 200);
    WkFormSetScrollBarColor(inner, blue);
    EXPECT_EQ(WkScrollBarRecord(WkFindHorizontalScrollBar(inner))->thumb.background, blue);
    WkFormTintScrollBars(inner);
    WkColor tint = WkObjectAllocTintColor(inner);
    EXPECT_EQ(WkScrollBarRecord(WkFormGetVerticalScrollBar(inner))->thumb.background, tint);
    WkFreeColor(tint);
    WkFreeColor(blue);
}

} // namespace
