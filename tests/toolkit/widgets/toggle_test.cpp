#include "toolkit/widgets/tab_toggle.h"

#include "toolkit/core/image.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/push_button.h"
#include "buttons_window.h"
#include "input_fixture.h"

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<void*, int>> calls; // (user data, state)
void Record(WkObject*, int state, void* data) { calls.emplace_back(data, state); }

class Toggles : public wt::InputTest {
protected:
    void SetUp() override {
        wt::InputTest::SetUp();
        calls.clear();
        shell = Window();
    }
    WkObject* Toggle(WkObject* parent, const char* label, int data = 0) {
        WkObject* t = WkCreateToggle(parent, label, 0);
        WkToggleSetCallback(t, Record, reinterpret_cast<void*>(std::intptr_t(data)));
        return t;
    }
    WkObject* Tab(WkObject* parent, const char* label, int data, bool page = true) {
        WkObject* t = page ? WkCreatePageTab(parent, label, 0) : WkCreateTabToggle(parent, label, 0);
        WkTabToggleSetCallback(t, Record, reinterpret_cast<void*>(std::intptr_t(data)));
        return t;
    }
    using Calls = std::vector<std::pair<void*, int>>;
    static void* D(int data) { return reinterpret_cast<void*>(std::intptr_t(data)); }
    WkObject* shell = nullptr;
};

TEST_F(Toggles, PointerKeysAndMnemonicFlipOnlyWhenUsable) {
    WkObject* t = Toggle(shell, "&Check", 1);
    WkObject* other = WkCreateButton(shell, "Other", 0);
    Show(shell);
    enum Act { Click, RightPress, Enter, KeypadEnter, Space };
    struct Step {
        Act act;
        int sensitive, active, on;
    } steps[] = {{Click, 1, 1, 1}, {RightPress, 1, 1, 0}, {Enter, 1, 1, 1}, {Space, 1, 1, 0}, {KeypadEnter, 1, 1, 1},
                 {Click, 0, 1, 1}, {Click, 1, 0, 1},      {Enter, 1, 0, 1}, {Space, 0, 1, 1}};
    Calls expected;
    for (const Step& s : steps) {
        WkObjectSetSensitive(t, s.sensitive);
        if (s.active) t->state |= WK_STATE_ACTIVE;
        else t->state &= std::uint16_t(~WK_STATE_ACTIVE);
        if (s.act != Click && s.act != RightPress) WkObjectSetFocus(t);
        const int before = WkToggleGetState(t);
        int x, y;
        ScreenPoint(t, 4, 4, &x, &y);
        switch (s.act) {
        case Click: Button(t, 4, 4, true), Button(t, 4, 4, false); break;
        case RightPress: display->injectButton(x, y, plat::kRightButton, true), WkFlushEvents(); break;
        case Enter: Key(0x0D, 0x1C); break;
        case KeypadEnter: testform::TypeKey(*display, 0x0D, 0x1C, 0, 0, true); break;
        case Space: testform::TypeKey(*display, 0x20, 0x39, 0, ' '); break;
        }
        EXPECT_EQ(WkToggleGetState(t), s.on) << int(&s - steps);
        if (s.on != before) expected.emplace_back(D(1), s.on);
        EXPECT_EQ(calls, expected) << int(&s - steps);
    }
    // The mnemonic flips it from anywhere in the window.
    t->state |= WK_STATE_ACTIVE;
    WkObjectSetFocus(other);
    Key('C', 0x2E, plat::kAlt);
    EXPECT_EQ(WkToggleGetState(t), 1);
    EXPECT_TRUE(other->state & WK_STATE_FOCUS);
    // Setting the state calls also when nothing changes.
    calls.clear();
    WkToggleSetState(t, 1);
    WkToggleSetState(t, 0);
    EXPECT_EQ(calls, (Calls{{D(1), 1}, {D(1), 0}}));
    // Shadow widths: only 2..10.
    for (int w : {1, 11, 5}) WkToggleSetShadowWidth(t, w);
    EXPECT_EQ(t->shadowWidth, 5);
}

TEST_F(Toggles, IndicatorSquareByHeight) {
    WkObject* form = WkCreateVerticalForm(shell);
    struct Case {
        int height, side, lines;
    } cases[] = {{16, 10, 2}, {40, 20, 2}, {9, 3, 1}, {6, 0, 0}};
    std::vector<WkObject*> toggles;
    for (const Case& c : cases) {
        toggles.push_back(Toggle(form, "Box"));
        WkObjectSetPartHeight(toggles.back(), c.height);
    }
    Show(shell);
    for (int on = 0; on < 2; ++on)
        for (std::size_t i = 0; i < toggles.size(); ++i) {
            WkObject* t = toggles[i];
            const Case& c = cases[i];
            ASSERT_EQ(t->height, c.height);
            WkToggleSetState(t, on);
            const int x0 = 3, y0 = (c.height - c.side) / 2;
            const plat::Rgb light = Rgb(t->lightShadow), dark = Rgb(t->darkShadow), back = Rgb(t->background);
            // The top row in the light colour, the corner and right edge dark.
            for (int x = 0; x < c.side; ++x) EXPECT_EQ(At(t, x0 + x, y0), light) << c.height << " x " << x;
            if (!c.side) {
                for (int y = 0; y < c.height; ++y) EXPECT_EQ(At(t, x0, y), back) << y;
                continue;
            }
            EXPECT_EQ(At(t, x0 + c.side, y0 + c.side), dark);
            EXPECT_NE(At(t, x0 + c.side + 1, y0 + c.side), dark);
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(At(t, x0 + k, y0 + c.side / 2) == light, k < c.lines) << c.height << " line " << k;
            const plat::Rgb inside = At(t, x0 + c.lines + 1, y0 + c.lines + 1);
            if (c.side - 2 * (c.lines + 1) > 0) {
                EXPECT_EQ(inside, on ? Rgb(t->foreground) : back) << c.height;
            }
        }
}

TEST_F(Toggles, RadioRuleWithinOnePageOfOneForm) {
    WkObject* row = WkCreateForm(shell, 2, WK_FORM_HORIZONTAL);
    WkObject* a = Tab(row, "One", 1);
    WkObject* b = Tab(row, "Two", 2);
    WkObject* c = Tab(row, "Three", 3);
    WkFormRecord(row)->currentPage = 1;
    WkObject* elsewhere = Tab(row, "Other page", 4);
    WkFormRecord(row)->currentPage = 0;
    WkObject* otherForm = Tab(shell, "Other form", 5, false);
    Show(shell);
    for (WkObject* t : {elsewhere, a, otherForm}) WkTabToggleSelect(t);
    calls.clear();
    EXPECT_EQ(WkTabToggleGetState(b), 0);
    WkTabToggleSelect(c);
    EXPECT_EQ(calls, (Calls{{D(1), 0}, {D(3), 1}}));
    // Pressing the selected tab calls nothing; pressing another moves the
    // focus off the selected one, which selects it; Enter on it then nothing.
    for (WkObject* pressed : {c, a}) Button(pressed, 5, 5, true), Button(pressed, 5, 5, false);
    Key(0x0D, 0x1C);
    EXPECT_EQ(calls, (Calls{{D(1), 0}, {D(3), 1}, {D(3), 0}, {D(1), 1}}));
    EXPECT_EQ(WkTabToggleGetState(b), 0);
    EXPECT_EQ(WkTabToggleGetState(elsewhere), 1);
    EXPECT_EQ(WkTabToggleGetState(otherForm), 1);
    // Selecting the tab that is on tells it 0 and then 1.
    calls.clear();
    WkTabToggleSelect(a);
    EXPECT_EQ(calls, (Calls{{D(1), 0}, {D(1), 1}}));
    WkTabToggleTurnOff(a);
    WkTabToggleTurnOff(b);
    EXPECT_EQ(calls.back(), std::make_pair(D(1), 0));
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(Toggles, FocusEntersARowAtTheSelectedTabAndArrowsSelect) {
    WkObject* before = WkCreateButton(shell, "Before", 0);
    WkObject* row = WkCreateHorizontalForm(shell);
    WkObject* tabs[3] = {Tab(row, "One", 1), Tab(row, "Two", 2), Tab(row, "Three", 3)};
    WkObject* after = WkCreateButton(shell, "After", 0);
    Show(shell);
    WkTabToggleSelect(tabs[1]);
    WkObjectSetFocus(before);
    calls.clear();
    Key(0x09, 0x0F);
    EXPECT_TRUE(tabs[1]->state & WK_STATE_FOCUS);
    Key(0x27, 0x4D);
    EXPECT_TRUE(tabs[2]->state & WK_STATE_FOCUS);
    EXPECT_EQ(calls, (Calls{{D(2), 0}, {D(3), 1}}));
    // Tab leaves the row whatever the policy.
    Key(0x09, 0x0F);
    EXPECT_TRUE(after->state & WK_STATE_FOCUS);
}

TEST_F(Toggles, RadioRingsByFontHeight) {
    std::vector<std::pair<int, WkObject*>> radios;
    for (int height : {12, 18}) {
        const WkFontSlot font = WkAddFont("Arial", height, 0, 0);
        ASSERT_EQ(WkFontHeight("A", font), height);
        radios.emplace_back(height, WkCreateTabToggle(shell, "Radio", font));
    }
    WkObject* button = WkCreateButton(shell, "Button", 0);
    Show(shell);
    for (auto [height, t] : radios) {
        WkTabToggleSelect(t);
        // Losing the focus draws the radio again, not a check box.
        WkObjectSetFocus(t);
        WkObjectSetFocus(button);
        EXPECT_NE(At(t, 3, 3), Rgb(t->lightShadow));
        const int r = height / 2, cx = 3 + r, cy = t->height / 2 + 1;
        // Two rings: the inner one at radius r - 1 on the upper arc.
        EXPECT_EQ(At(t, cx, cy - r), Rgb(t->lightShadow)) << height;
        EXPECT_EQ(At(t, cx, cy - r + 1) == Rgb(t->lightShadow), height > 16) << height;
        EXPECT_EQ(At(t, cx, cy), Rgb(t->foreground));
        // Off again: the whole dot goes.
        WkTabToggleTurnOff(t);
        for (int dy = -height / 3; dy <= height / 3; ++dy) EXPECT_NE(At(t, cx, cy + dy), Rgb(t->foreground)) << dy;
    }
}

TEST_F(Toggles, Picture) {
    WkObject* boxes = WkCreateHorizontalForm(shell);
    WkObject* on = WkCreateToggle(boxes, "On", 0);
    WkCreateToggle(boxes, "O&ff", 0);
    WkObject* insensitive = WkCreateToggle(boxes, "Insensitive", 0);
    WkObjectSetSensitive(insensitive, 0);
    WkImage* image = wt::MakePicture();
    WkObject* picture = WkCreateToggleImages3(boxes, "Picture", 0, image, nullptr, nullptr);
    WkObject* radios = WkCreateHorizontalForm(shell);
    const WkFontSlot small = WkAddFont("Arial", 12, 0, 0), large = WkAddFont("Arial", 18, 0, 0);
    WkObject* radio[4] = {WkCreateTabToggle(radios, "Small", small), WkCreateTabToggle(radios, "Off", small),
                          WkCreateTabToggle(radios, "Large", large), WkCreateTabToggle(radios, "Off", large)};
    WkObject* row = WkCreateHorizontalForm(shell);
    WkObject* second = nullptr;
    for (const char* label : {"&First", "Second", "Third"}) {
        WkObject* t = WkCreatePageTab(row, label, 0);
        if (!second && label[0] == 'S') second = t;
    }
    Show(shell);
    WkToggleSetOn(on);
    WkToggleSetOn(picture);
    WkTabToggleSelect(radio[0]);
    WkTabToggleSelect(radio[2]);
    WkTabToggleSelect(second);
    WkFlushEvents();
    SavePng(shell, "toggles.png");
    ExpectPicture(shell, "toggles.png");
    // The selected tab's raised top and the lower unselected neighbour.
    EXPECT_EQ(At(second, second->width / 2, 1), Rgb(second->darkShadow));
    EXPECT_EQ(At(second, second->width / 2, second->height - 1), Rgb(second->background));
    WkObject* first = WkFormCurrentPage(row)->children[0];
    EXPECT_EQ(At(first, first->width / 2, 3), Rgb(first->lightShadow));
    EXPECT_EQ(At(first, first->width / 2, 5), Rgb(WkButtonRecord(first)->pressedBackground));
    WkObjectDestroy(shell);
    owned.clear();
    WkFreeImage(image);
}

} // namespace
