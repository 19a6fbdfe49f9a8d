// Drop-down lists driven by injected pointer and keys.
#include "input_fixture.h"

#include <functional>

#include "toolkit/core/grab.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"

namespace wt {
namespace {

struct Heard {
    int calls = 0;
    std::string oldText, item;
    bool refuse = false;
};

void Selected(WkObject* field, WkListItem* item, void* data, WkObject*) {
    auto* h = static_cast<Heard*>(data);
    ++h->calls;
    h->oldText = WkEditGetText(field);
    h->item = item->text;
}

void Verify(WkObject*, WkEditChange* change, void* data) {
    if (static_cast<Heard*>(data)->refuse) change->accept = 0;
}

class ComboBox : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        Build();
    }
    // A window with a label and the drop-down under it, shown.
    void Build() {
        shell = Window();
        WkCreateLabel(shell, "Above", 0);
        combo = WkCreateComboBox(shell, "old", 20, 12, 4, 0);
        list = WkComboBoxGetList(combo);
        popup = WkEditRecord(combo)->popup;
        for (const char* item : {"alpha", "beta", "gamma", "delta", "epsilon"}) WkListAddItem(list, item, 0);
        WkComboBoxSetCallback(combo, Selected, &heard);
        WkEditSetVerifyCallback(combo, Verify, &heard);
        Show(shell);
    }
    bool Open() const { return WkObjectDrawable(popup); }
    void ClickArrow() { Click(WkEditRecord(combo)->arrowButton, 3, 3); }
    void Click(WkObject* o, int x, int y) {
        Button(o, x, y, true);
        Button(o, x, y, false);
    }
    void ClickRow(int row) {
        const int rowHeight = WkListRecord(list)->rowHeight;
        Click(list, 8, WkObjectBorder(list) + row * rowHeight + rowHeight / 2);
    }
    WkObject *shell, *combo, *list, *popup;
    Heard heard;
};

TEST_F(ComboBox, ChoosingPutsTheItemInTheFieldAfterTheCallback) {
    // Without the arrow bitmap the button is an empty push button.
    EXPECT_STREQ(WkButtonRecord(WkEditRecord(combo)->arrowButton)->text, "");
    struct Case {
        std::function<void()> choose;
        bool refuse;
        const char* text;
        int calls;
    } cases[] = {
        {[&] { ClickRow(1); }, false, "beta", 1},
        {[&] { Key(0x28, 0x50), Key(0x0D, 0x1C); }, false, "gamma", 1},
        {[&] { ClickRow(3); }, true, "gamma", 1},
        {[&] { Click(shell, 2, 2); }, false, "gamma", 0},
        {[&] { Key(0x1B, 0x01); }, false, "gamma", 0},
    };
    for (const Case& c : cases) {
        const std::string before = WkEditGetText(combo);
        heard = Heard{0, "", "", c.refuse};
        ClickArrow();
        ASSERT_TRUE(Open());
        c.choose();
        EXPECT_FALSE(Open()) << c.text;
        EXPECT_EQ(WkGrabDepth(), 0);
        EXPECT_STREQ(WkEditGetText(combo), c.text);
        EXPECT_EQ(heard.calls, c.calls) << c.text;
        EXPECT_EQ(heard.oldText, c.calls ? before : "");
    }
}

// The popup opens on the field's value, whatever the list chose before, so
// that Enter keeps it.
TEST_F(ComboBox, ThePopupOpensOnTheFieldsValue) {
    const struct {
        const char* value;
        int current;
    } cases[] = {{"delta", 3}, {"alpha", 0}, {"epsilon", 4}, {"gamma", 2}};
    ClickArrow();
    ClickRow(1); // the list's own choice: beta
    for (const auto& c : cases) {
        WkEditReplaceText(combo, c.value, 0, 0);
        ClickArrow();
        ASSERT_TRUE(Open());
        EXPECT_EQ(WkListRecord(list)->current, c.current) << c.value;
        Key(0x0D, 0x1C); // Enter
        if (Open()) Key(0x1B, 0x01);
        EXPECT_STREQ(WkEditGetText(combo), c.value);
    }
}

// The field draws no frame of its own: the form around field and arrow
// shows the focus, and loses the frame with it.
TEST_F(ComboBox, AFocusedDropDownIsFramed) {
    WkObject* form = combo->outer;
    const plat::Rgb black = Rgb(WkBlackColor());
    WkFormFocusOut(WkFormOf(shell)); // the window opened on it
    WkFlushEvents();
    EXPECT_NE(At(form, 0, form->height / 2), black);
    WkObjectSetFocus(combo);
    WkFlushEvents();
    EXPECT_EQ(At(form, 0, form->height / 2), black);
    EXPECT_EQ(At(form, form->width - 1, 1), black);
    WkFormFocusOut(WkFormOf(shell));
    WkFlushEvents();
    EXPECT_NE(At(form, 0, form->height / 2), black);
}

TEST_F(ComboBox, ThePopupLiesUnderTheFieldOrAboveItAtTheBottom) {
    WkObject* form = combo->outer;
    for (int windowY : {20, -1}) { // -1: flush with the screen's bottom
        WkShellHide(shell);
        WkShellRealizeWithGeometry(shell, 40, windowY, WK_KEEP, WK_KEEP);
        WkFlushEvents();
        ClickArrow();
        int x, y;
        ScreenPoint(form, 0, 0, &x, &y);
        EXPECT_EQ(popup->x, x);
        EXPECT_EQ(popup->width, form->width);
        EXPECT_EQ(popup->y, windowY > 0 ? y + form->height : y - popup->height);
        if (windowY > 0) {
            const int row = WkListRecord(list)->rowHeight;
            EXPECT_EQ(At(list, list->width - 6, row + row / 2), Rgb(list->background));
            EXPECT_TRUE(display->saveScreenPng(std::string(TM_TEST_OUTPUT_DIR) + "/combo_open.png"));
            ExpectScreenPicture(plat::Union(ScreenArea(shell), ScreenArea(popup)), "combo_open.png");
        }
        Key(0x1B, 0x01);
    }
}

TEST_F(ComboBox, AGreyedOneStaysShutAReadOnlyOneOpensOnDownAndAClickAndIgnoresTyping) {
    // Greyed, the arrow greys with the field.
    WkObjectSetSensitive(combo, 0);
    ClickArrow();
    EXPECT_FALSE(Open());
    WkObjectSetSensitive(combo, 1);
    WkEditSetReadOnly(combo);
    Click(combo, 4, 4);
    EXPECT_TRUE(Open());
    Key(0x1B, 0x01);
    testform::TypeKey(*display, 'X', 0x2D, 0, 'x');
    Key(0x28, 0x50);
    EXPECT_TRUE(Open());
    ClickRow(3);
    EXPECT_STREQ(WkEditGetText(combo), "delta");
    testform::TypeKey(*display, 'X', 0x2D, 0, 'x');
    EXPECT_STREQ(WkEditGetText(combo), "delta");
}

// A selection callback may close the window that holds the drop-down: the
// field is not touched after it, and the popup, still at work under the
// call, goes once the choice has returned.
TEST_F(ComboBox, ASelectionCallbackMayCloseTheFieldsWindow) {
    for (bool byKey : {false, true}) {
        WkComboBoxSetCallback(combo, [](WkObject* field, WkListItem*, void*, WkObject*) {
            WkShellDestroy(WkObjectGetShell(field));
        }, nullptr);
        owned.clear();
        ClickArrow();
        if (byKey) Key(0x0D, 0x1C);
        else ClickRow(2);
        Advance(50);
        WkObject* const* shells = nullptr;
        EXPECT_EQ(WkLiveShells(&shells), 0) << byKey;
        Build();
    }
}

TEST_F(ComboBox, DestroyingTheWindowWhileOpenLeavesNoWindow) {
    ClickArrow();
    ASSERT_TRUE(Open());
    owned.clear();
    WkShellDestroy(shell);
    WkObject* const* shells = nullptr;
    EXPECT_EQ(WkLiveShells(&shells), 0);
    EXPECT_EQ(WkGrabDepth(), 0);
    display->injectButton(100, 100, plat::kLeftButton, true);
    WkFlushEvents();
    // A popup destroyed first is not destroyed again with its field.
    shell = Window();
    combo = WkCreateComboBox(shell, "", 5, 5, 2, 0);
    WkShellDestroy(WkEditRecord(combo)->popup);
    EXPECT_EQ(WkComboBoxGetList(combo), nullptr);
}

} // namespace
} // namespace wt
