#include "toolkit/widgets/focus.h"

#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/form_layout.h"
#include "widget_fixture.h"

#include <string>

namespace {

using wt::MakeLeaf;

// A window of A, a horizontal form S of B and C, and D, all focusable.
class Focus : public wt::WidgetTest {
protected:
    void Build() {
        shell = Window();
        for (int i = 0; i < 4; ++i) {
            WkObject* parent = i == 1 || i == 2 ? (s ? s : s = WkCreateHorizontalForm(shell)) : shell;
            leaves[i] = MakeLeaf(parent, 30, 20, WK_LAYOUT_FOCUSABLE, &logs[i]);
        }
        WkShellRealize(shell);
        WkFlushEvents();
    }
    std::string Holder() {
        WkObject* o = WkFormGetFocus(shell);
        for (int i = 0; i < 4; ++i)
            if (o == leaves[i]) return std::string(1, char('A' + i));
        return o ? "?" : "-";
    }
    void Key(int scan, int character, std::uint32_t modifiers = 0) {
        display->holdModifiers(modifiers);
        display->injectKey(plat::KeyInfo{0, std::uint8_t(scan), false, std::uint8_t(character)});
        WkFlushEvents();
        display->holdModifiers(0);
    }
    WkObject* shell = nullptr;
    WkObject* s = nullptr;
    WkObject* leaves[4] = {};
    std::vector<int> logs[4];
};

TEST_F(Focus, TabVisitsTheLeavesByPolicyWrapAndVisibility) {
    struct Case {
        const char* settings;
        bool wrapS, hideC, shift;
        const char* order;
        bool hideS = false;
        int hidden = -1, unfocusable = -1, greyed = -1; // a leaf hidden, one that takes no focus, one greyed
    } cases[] = {
        {"", false, false, false, "ABCDA"},  // leaves S after C, wraps at the main form
        {"", false, false, true, "ADCBA"},   // Shift+Tab backwards
        {"[Focus]\r\nUseOldSwitchPolicy=1\r\n", false, false, false, "ABDA"}, // Tab leaves the group
        {"", true, false, false, "ABCB"},   // S wraps inside
        {"", false, true, false, "ABDA"},   // a hidden leaf is passed over
        {"", false, false, false, "ADA", true}, // and a hidden group, both ways
        {"", false, false, true, "ADA", true},
        {"", false, false, false, "ABCA", false, 3},  // the last leaf hidden: C wraps to A
        {"", false, false, true, "ACBA", false, 3},   // and is passed over backwards
        {"[Focus]\r\nUseOldSwitchPolicy=1\r\n", false, false, false, "ABA", false, 3},
        {"", false, false, false, "ACDA", false, -1, 1}, // a leaf that takes no focus
        {"", false, false, true, "ADCA", false, -1, 1},
        {"", false, false, false, "ABCA", false, -1, 3}, // the last one too
        {"", false, false, false, "ACDA", false, -1, -1, 1}, // a greyed leaf is passed over
        {"", false, false, true, "ACBA", false, -1, -1, 3},  // the last one too
    };
    for (const Case& c : cases) {
        Stop();
        Start(c.settings);
        s = nullptr;
        Build();
        if (c.wrapS) WkFormSetNoWrap(s, 0);
        if (c.hideC) WkObjectHide(leaves[2]);
        if (c.hideS) WkObjectHide(s);
        if (c.hidden >= 0) WkObjectHide(leaves[c.hidden]);
        if (c.unfocusable >= 0) WkObjectRefuseFocus(leaves[c.unfocusable]);
        if (c.greyed >= 0) WkObjectSetSensitive(leaves[c.greyed], 0);
        std::string order = Holder();
        for (std::size_t k = 1; k < std::strlen(c.order); ++k) {
            Key(0x0F, 9, c.shift ? plat::kShift : 0);
            order += Holder();
        }
        EXPECT_EQ(order, c.order) << c.settings << c.wrapS << c.hideC << c.shift << c.hidden << c.unfocusable << c.greyed;
    }
}

TEST_F(Focus, SearchesWithNothingToFocusEnd) {
    shell = Window();
    WkObject* empty = WkCreateVerticalForm(shell);
    WkObject* a = WkCreateVerticalForm(shell);
    WkObject* b = WkCreateVerticalForm(shell);
    WkFormSetNoWrap(empty, 0);
    WkFormLinkFocus(a, b);
    WkFormLinkFocus(b, a);
    WkShellRealize(shell);
    WkFlushEvents();
    WkFocusNext(empty);
    WkFocusPrevious(empty);
    WkFocusNext(a);
    WkFocusPrevious(b);
    WkFormCurrentPage(WkFormOf(shell))->focused = 0; // the path ends at the empty form
    EXPECT_EQ(WkFormGetFocus(shell), nullptr);
}

std::vector<std::pair<char, int>> calls;
void Record(WkObject* object, std::intptr_t index, void* name) {
    calls.emplace_back(*static_cast<const char*>(name), int(index));
    (void)object;
}

TEST_F(Focus, CallbacksFollowThePathAndTheWindowGivesTheFocusBack) {
    Build();
    calls.clear();
    static const char m = 'M', sn = 'S';
    WkFormSetFocusCallback(WkFormOf(shell), Record, const_cast<char*>(&m));
    WkFormSetFocusCallback(s, Record, const_cast<char*>(&sn));
    WkObjectSetFocus(leaves[2]);
    WkFormFocusOut(WkFormOf(shell));
    EXPECT_EQ(calls, (std::vector<std::pair<char, int>>{{'S', 1}, {'M', 1}, {'S', -1}, {'M', -1}}));
    EXPECT_EQ(Holder(), "-");

    WkObjectSetFocus(leaves[2]);
    WkObject* other = Window();
    WkShellRealize(other); // takes the focus from the first window
    WkFlushEvents();
    EXPECT_EQ(Holder(), "-");
    EXPECT_FALSE(leaves[2]->state & WK_STATE_FOCUS);
    display->activate(WkObjectGetNativeWindow(shell));
    WkFlushEvents();
    EXPECT_EQ(Holder(), "C");

    WkObjectHide(leaves[3]);
    EXPECT_EQ(Holder(), "C");
    WkObjectSetFocus(leaves[1]);
    WkObjectHide(leaves[1]); // the focus goes back to the object before
    EXPECT_EQ(Holder(), "A");
    WkObjectSetFocus(leaves[2]);
    WkObjectRemoveFromParent(leaves[2], 1); // to the window's first focusable leaf
    EXPECT_EQ(Holder(), "A");
    EXPECT_EQ(logs[2].back(), WK_MSG_FOCUS_OUT);
    WkObjectDestroy(leaves[2]);
}

TEST_F(Focus, AFormWithTheFocusFrameDrawsItBlack) {
    shell = Window();
    WkObject* form = WkCreateVerticalForm(shell);
    WkObjectSetShadow(form, WK_SHADOW_IN, 2, 0);
    WkFormSetFocusFrame(form, 1);
    MakeLeaf(form, 60, 30, WK_LAYOUT_FOCUSABLE);
    MakeLeaf(shell, 60, 30, WK_LAYOUT_FOCUSABLE);
    WkShellRealize(shell);
    WkFlushEvents();
    plat::Surface& surface = *display->surface(WkObjectGetNativeWindow(shell));
    const plat::Rgb black = plat::MakeRgb(0, 0, 0);
    for (int d : {0, 1}) EXPECT_EQ(surface.colorAt(form->x + d, form->y + d), black) << d;
    EXPECT_NE(surface.colorAt(form->x + 2, form->y + 2), black);
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), std::string(TM_TEST_OUTPUT_DIR) +
                                                                            "/focus_frame.png"));
}

TEST_F(Focus, AnObjectTakingTheFocusIsScrolledIntoView) {
    struct Case {
        int y, offset, expected;
    } cases[] = {{80, 0, 48}, {10, 0, 0}, {10, 30, 10}};
    for (const Case& c : cases) {
        WkObject* form = Form(WK_FORM_ATTACHMENT);
        WkFormData* d = WkFormRecord(form);
        d->scroll = static_cast<WkFormScroll*>(WkCalloc(1, sizeof(WkFormScroll)));
        d->scroll->viewWidth = d->scroll->viewHeight = 50;
        d->scroll->y = c.offset;
        WkObject* leaf = MakeLeaf(form, 20, 20, WK_LAYOUT_FOCUSABLE | WK_LAYOUT_SCROLL_INTO_VIEW);
        WkFormQuerySize(form);
        leaf->y = c.y; // moved down, the content grows with it
        d->scroll->scrolledHeight = 200;
        WkFocusObject(leaf, 1);
        EXPECT_EQ(d->scroll->y, c.expected) << c.y;
    }
}

} // namespace
