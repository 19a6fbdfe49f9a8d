#include "toolkit/widgets/menu.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_config.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell_data.h"
#include "input_fixture.h"
#include "menus_window.h"

#include <string>

namespace {

using wt::chosen;

void DestroyWindow(WkMenuItem* item, int, void*) {
    chosen.push_back({item, 0});
    WkShellDestroy(WkMenuGetOwner(item->menu));
}

class Menus : public wt::InputTest {
protected:
    void SetUp() override {
        wt::InputTest::SetUp();
        chosen.clear();
    }
    WkObject* Popup() {
        WkObject* menu = WkCreatePopupMenu(0);
        owned.push_back(WkObjectGetShell(menu));
        return menu;
    }
    wt::MenusWindow Bar() {
        wt::MenusWindow w = wt::MakeMenusWindow();
        owned.push_back(w.shell);
        WkFlushEvents();
        return w;
    }
    void Press(WkObject* o, int dx, int dy) { Button(o, dx, dy, true); }
    void Release(WkObject* o, int dx, int dy) { Button(o, dx, dy, false); }
    void Type(char c) { testform::TypeKey(*display, std::uint16_t(c & ~0x20), 0x2D, 0, std::uint8_t(c)); }
    static int Current(WkObject* menu) { return WkMenuRecord(menu)->current; }
    static int OpenTitle(const wt::MenusWindow& w) { return WkMenuBarRecord(w.bar)->current; }
    static bool Shown(WkObject* menu) { return WkShellRecord(WkObjectGetShell(menu))->flags & WK_SHELL_SHOWN; }
    // The middle of an item, relative to its menu.
    static int ItemY(WkMenuItem* item) { return item->offset + item->extent / 2 + 2; }
};

TEST_F(Menus, MnemonicsGiveWayToMarkedLetters) {
    WkObject* menu = Popup();
    WkMenuItem* items[] = {WkMenuAddItem(menu, "Open", nullptr, nullptr), WkMenuAddItem(menu, "Options", nullptr, nullptr),
                           WkMenuAddItem(menu, "&Print", nullptr, nullptr)};
    EXPECT_EQ(std::string() + items[0]->mnemonic + items[1]->mnemonic + items[2]->mnemonic, "OTP");
    EXPECT_STREQ(items[2]->label, "Print");
    // The current item stays on the menu after the last one goes.
    WkMenuSetCurrent(menu, 2);
    WkMenuRemoveItem(items[2]);
    EXPECT_EQ(Current(menu), 1);
}

TEST_F(Menus, RadioItemsUncheckOnlyTheirGroup) {
    WkObject* menu = Popup();
    WkMenuItem* other = WkMenuAddRadioItem(menu, "Other group", wt::Chose, nullptr);
    WkMenuItemSetChecked(other, 1);
    WkMenuAddSeparator(menu);
    WkMenuItem* a = WkMenuAddRadioItem(menu, "A", wt::Chose, nullptr);
    WkMenuItem* b = WkMenuAddRadioItem(menu, "B", wt::Chose, nullptr);
    WkMenuItemSetChecked(a, 1);
    WkMenuActivateItem(b);
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0].item, a);
    EXPECT_EQ(chosen[0].state, 0);
    EXPECT_EQ(chosen[1].item, b);
    EXPECT_EQ(chosen[1].state, 1);
    EXPECT_EQ(WkMenuItemGetChecked(other), 1);
    WkMenuActivateItem(b);
    EXPECT_EQ(chosen.size(), 2u);
}

TEST_F(Menus, KeysWalkLabelledItemsAndLeaveEmptyMenusAlone) {
    struct Case {
        int items; // bit i: item i has a label, else it is a separator
        int count;
        int key, vk;
        int current;
        int start = 0, disabled = 0; // the item current before the key; bit i: item i disabled
    } cases[] = {
        {0b011, 3, 0x48, 0x26, 1}, // Up from the first: the last labelled item
        {0b101, 3, 0x50, 0x28, 2}, // Down over a separator
        {0b111, 3, 0x50, 0x28, 0, 2},       // Down from the last wraps to the first
        {0b011, 3, 0x50, 0x28, 0, 1},       // and over a separator at the end
        {0b111, 3, 0x50, 0x28, 1, 0, 0b010}, // a disabled item is walked onto
        {0b111, 3, 0x48, 0x26, 2, 0, 0b100}, // the last one too
        {0, 0, 0x48, 0x26, 0},     {0, 0, 0x50, 0x28, 0}, {0, 0, 0x1C, 0x0D, 0},
        {0, 2, 0x48, 0x26, 0},     {0, 2, 0x50, 0x28, 0}, {0, 2, 0x1C, 0x0D, 0},
    };
    Show(Window()); // the window that has the keyboard
    for (const Case& c : cases) {
        WkObject* menu = Popup();
        for (int i = 0; i < c.count; ++i) {
            if (!(c.items >> i & 1)) {
                WkMenuAddSeparator(menu);
                continue;
            }
            WkMenuItem* item = WkMenuAddItem(menu, "Item", wt::Chose, nullptr);
            if (c.disabled >> i & 1) WkMenuItemDisable(item);
        }
        WkMenuPopup(menu, 100, 100);
        WkFlushEvents();
        if (c.start) WkMenuSetCurrent(menu, c.start);
        Key(std::uint16_t(c.vk), std::uint8_t(c.key));
        EXPECT_EQ(Current(menu), c.current) << c.items << " " << c.key << " from " << c.start;
        WkMenuPopDown(menu);
    }
    EXPECT_TRUE(chosen.empty());
}

void Heard(WkObject*, WkMenuItem* item, void* log) { static_cast<std::vector<WkMenuItem*>*>(log)->push_back(item); }

TEST_F(Menus, APopupMenuChoosesWithTheFirstButtonAndClosesOnAPressOutside) {
    Show(Window());
    WkObject* menu = Popup();
    WkMenuItem* a = WkMenuAddItem(menu, "Alpha", wt::Chose, nullptr);
    WkMenuItem* b = WkMenuAddItem(menu, "Beta", wt::Chose, nullptr);
    std::vector<WkMenuItem*> heard;
    WkMenuSetCallback(menu, Heard, &heard);
    WkMenuPopup(menu, 200, 200);
    WkFlushEvents();
    // The release of the right button that popped it up chooses nothing.
    display->injectButton(204, 204, plat::kRightButton, false);
    WkFlushEvents();
    EXPECT_TRUE(chosen.empty());
    Press(menu, 10, ItemY(b));
    Release(menu, 10, ItemY(b));
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].item, b);
    EXPECT_EQ(heard, (std::vector<WkMenuItem*>{a, b, nullptr}));
    WkMenuPopup(menu, 200, 200);
    Press(menu, -20, -20);
    EXPECT_FALSE(Shown(menu));
    EXPECT_EQ(WkGetGrab(), nullptr);
}

TEST_F(Menus, ADisabledItemTakesTheHighlightButNeverFires) {
    wt::MenusWindow w = Bar();
    WkMenuItemSetLabel(w.print, "&Print");
    Key(0, 0x44); // F10
    for (int i = 0; i < 3; ++i) Key(0x26, 0x48);
    EXPECT_EQ(Current(w.file), 6);
    Key(0x0D, 0x1C);
    Key(0, 0x44);
    Type('p');
    Key(0x10, 0x19, plat::kCtrl);
    Press(w.file, 10, ItemY(w.print));
    Release(w.file, 10, ItemY(w.print));
    EXPECT_TRUE(chosen.empty());
}

TEST_F(Menus, LabelsRoundTripThroughTheSettingsWithTheirMnemonics) {
    char key[64];
    WkMenuSettingsKey(key, sizeof key, "File.", "Tie-break 1. step [=]");
    EXPECT_STREQ(key, "File.Tie-break1step");
    wt::MenusWindow w = Bar();
    WkObjectSetName(w.bar, "Bar");
    WkMenuItemSetLabel(w.open, "Salt && pepper"); // S is Show grid's: A
    WkMenuBarSaveItems(w.bar);
    EXPECT_STREQ(WkReadSetting("Bar", "File"), "&File");
    EXPECT_STREQ(WkReadSetting("Bar", "File.Salt&pepper"), "S&alt && pepper");
    EXPECT_STREQ(WkReadSetting("Bar", "File.Export.HTML"), "&HTML");
    WkMenuItemSetLabel(w.open, "Salt && p&epper");
    WkMenuItemSetLabel(w.exit, "&Exit");
    WkWriteSetting("Bar", "File", "Fi&le");
    WkMenuBarLoadItems(w.bar);
    EXPECT_STREQ(w.open->label, "Salt & pepper");
    EXPECT_EQ(w.open->mnemonic, 'A');
    EXPECT_STREQ(w.exit->label, "Exit");
    EXPECT_EQ(w.exit->mnemonic, 'X');
    EXPECT_STREQ(WkMenuGetTitle(w.file), "File");
    EXPECT_EQ(WkMenuBarRecord(w.bar)->titles[0].mnemonicPosition, 2);
    // A popup menu configured with the text bit reads its own section.
    WkObject* popup = Popup();
    WkMenuItem* copy = WkMenuAddItem(popup, "Copy", nullptr, nullptr);
    WkWriteSetting("Popup", "Copy", "C&opy");
    WkObjectConfigure(popup, "Popup", WK_CONFIG_TEXT);
    EXPECT_EQ(copy->mnemonic, 'O');
}

TEST_F(Menus, TheBarOpensAndMovesWithTheKeys) {
    wt::MenusWindow w = Bar();
    struct Step {
        std::uint16_t vk;
        std::uint8_t scan;
        int title;
    } steps[] = {{0, 0x44, 0}, {0x25, 0x4B, 1}, {0x27, 0x4D, 0}, {0x27, 0x4D, 1}, {0x1B, 0x01, -1}};
    for (const Step& s : steps) {
        Key(s.vk, s.scan);
        EXPECT_EQ(OpenTitle(w), s.title) << s.scan;
    }
    EXPECT_FALSE(Shown(w.file));
    EXPECT_EQ(WkGetGrab(), nullptr);
    // A typed letter chooses in the open pull-down; an accelerator with none open.
    Key(0, 0x44);
    Type('x');
    Key('O', 0x18, plat::kCtrl);
    Key(0, 0x3F); // F5: an item of the submenu
    ASSERT_EQ(chosen.size(), 3u);
    EXPECT_EQ(chosen[0].item, w.exit);
    EXPECT_EQ(chosen[1].item, w.open);
    EXPECT_EQ(chosen[2].item, w.html);
    EXPECT_EQ(OpenTitle(w), -1);
}

TEST_F(Menus, ABarWithoutTitlesIgnoresItsKeys) {
    WkObject* shell = Window();
    WkObject* bar = WkCreateMenuBar(shell, 0);
    WkMenuBarSetKey(bar, 0x4400);
    Show(shell);
    for (int key : {0x4400, 0x4B00, 0x4D00}) WkSendSimpleMessage(bar, WK_MSG_KEY, 0, 0, key);
    EXPECT_EQ(WkMenuBarRecord(bar)->current, -1);
}

TEST_F(Menus, ThePointerOpensTitlesAndChoosesItems) {
    wt::MenusWindow w = Bar();
    const int fileX = WkMenuBarRecord(w.bar)->titles[0].x + 8, editX = WkMenuBarRecord(w.bar)->titles[1].x + 8;
    Press(w.bar, fileX, 8);
    Release(w.bar, fileX, 8);
    EXPECT_EQ(OpenTitle(w), 0);
    EXPECT_TRUE(Shown(w.file));
    // Held down, the pointer moves to the next title and into its pull-down.
    Press(w.bar, fileX, 8);
    Move(w.bar, editX, 8);
    EXPECT_EQ(OpenTitle(w), 1);
    Move(w.bar, fileX, 8);
    Release(w.file, 10, ItemY(w.grid));
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].item, w.grid);
    EXPECT_EQ(chosen[0].state, 0);
    EXPECT_EQ(OpenTitle(w), -1);
    EXPECT_EQ(WkGetGrab(), nullptr);
}

// A person at the mouse, clicking and moving with no button held: each step
// is one action in the same session and the state it leaves.
TEST_F(Menus, ClicksAloneWorkTheBarAndItsSubmenus) {
    wt::MenusWindow w = Bar();
    enum Target { Title, File, Export, Body, Escape };
    struct Step {
        const char* what;
        bool click;
        Target target;
        int index;
        int title;        // the open title
        int current;      // File's highlighted item
        bool submenu;     // Export's submenu shown
        std::size_t runs; // items chosen so far
    } steps[] = {
        {"a click on a title posts its menu", true, Title, 0, 0, 0, false, 0},
        {"the highlight follows the pointer", false, File, 1, 0, 1, false, 0},
        {"passing over a submenu's item opens nothing", false, File, 7, 0, 7, false, 0},
        {"a click on it opens the submenu, which stays", true, File, 7, 0, 7, true, 0},
        {"into the submenu, no button held", false, Export, 1, 0, 7, true, 0},
        {"Escape closes one level", false, Escape, 0, 0, 7, false, 0},
        {"the submenu clicked open again", true, File, 7, 0, 7, true, 0},
        {"a click on its item runs it and closes all", true, Export, 0, -1, 7, false, 1},
        {"over another title, nothing open", false, Title, 1, -1, 7, false, 1},
        {"File clicked open again", true, Title, 0, 0, 0, false, 1},
        {"over another title, the open one follows", false, Title, 1, 1, 0, false, 1},
        {"back to File", false, Title, 0, 0, 0, false, 1},
        {"a click on an item runs it", true, File, 1, -1, 1, false, 2},
        {"File once more", true, Title, 0, 0, 0, false, 2},
        {"a click outside every menu closes it", true, Body, 0, -1, 0, false, 2},
        {"Escape at the pull-down closes the bar", true, Title, 0, 0, 0, false, 2},
        {"", false, Escape, 0, -1, 0, false, 2},
    };
    const WkMenuBarData* bar = WkMenuBarRecord(w.bar);
    for (const Step& s : steps) {
        WkObject* at = w.bar;
        int x = 0, y = 8;
        if (s.target == Title) x = bar->titles[s.index].x + 8;
        if (s.target == File || s.target == Export) {
            at = s.target == File ? w.file : w.submenu;
            x = 10, y = ItemY(WkMenuRecord(at)->items[s.index]);
        } else if (s.target == Body) {
            x = w.bar->width - 10, y = w.bar->height + 40;
        }
        if (s.target == Escape) Key(0x1B, 0x01);
        else if (s.click) Press(at, x, y), Release(at, x, y);
        else Move(at, x, y);
        EXPECT_EQ(OpenTitle(w), s.title) << s.what;
        EXPECT_EQ(Current(w.file), s.current) << s.what;
        EXPECT_EQ(Shown(w.submenu), s.submenu) << s.what;
        EXPECT_EQ(chosen.size(), s.runs) << s.what;
        EXPECT_EQ(WkGetGrab(), s.title < 0 ? nullptr : w.bar) << s.what;
    }
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0].item, w.html);
    EXPECT_EQ(chosen[1].item, w.grid);
}

TEST_F(Menus, EscapeClosesOneLevelOfAPopupChain) {
    Show(Window());
    WkObject* menu = Popup();
    WkMenuItem* more = WkMenuAddItem(menu, "More", nullptr, nullptr);
    WkObject* submenu = WkCreateSubmenu(more);
    WkMenuAddItem(submenu, "Last", wt::Chose, nullptr);
    WkMenuPopup(menu, 200, 200);
    Press(menu, 10, ItemY(more));
    Release(menu, 10, ItemY(more));
    for (bool menuShown : {true, false}) {
        Key(0x1B, 0x01);
        EXPECT_FALSE(Shown(submenu));
        EXPECT_EQ(Shown(menu), menuShown);
        EXPECT_EQ(WkGetGrab(), menuShown ? menu : nullptr);
    }
}

TEST_F(Menus, TheLaterOfTwoMarkedTitlesKeepsTheLetter) {
    WkObject* shell = Window();
    WkObject* bar = WkCreateMenuBar(shell, 0);
    WkMenuBarAddMenu(bar, "&Edit");
    WkMenuBarAddMenu(bar, "&Extras");
    WkMenuBarEntry* t = WkMenuBarRecord(bar)->titles;
    EXPECT_EQ(t[1].mnemonicKey, 0x1200);
    EXPECT_EQ(t[0].mnemonicKey, 0x2000); // D
    EXPECT_EQ(WkShellRecord(shell)->mnemonicCount, 2);
}

TEST_F(Menus, AnExitThatDestroysTheWindowRunsClean) {
    wt::MenusWindow w = wt::MakeMenusWindow();
    w.exit->callback = DestroyWindow;
    WkFlushEvents();
    Key(0, 0x44);
    for (int i = 0; i < 3; ++i) Key(0x26, 0x48);
    Key(0x28, 0x50);
    Key(0x28, 0x50);
    EXPECT_EQ(Current(w.file), 8);
    Key(0x0D, 0x1C);
    EXPECT_EQ(chosen.size(), 1u);
    EXPECT_EQ(WkGetGrab(), nullptr);
}

TEST_F(Menus, Screenshot) {
    wt::MenusWindow w = Bar();
    wt::OpenFileAndExport(w);
    WkFlushEvents();
    EXPECT_TRUE(display->saveScreenPng(std::string(TM_TEST_OUTPUT_DIR) + "/menus.png"));
    // The window with its pull-down and the submenu beside it.
    ExpectScreenPicture(plat::Union(plat::Union(ScreenArea(w.shell), ScreenArea(WkObjectGetShell(w.file))),
                                    ScreenArea(WkObjectGetShell(w.submenu))),
                        "menus_open.png");
    // The highlighted item is filled; the open submenu sits at the pull-down's right edge.
    EXPECT_EQ(At(w.file, 5, w.exportItem->offset + 3), Rgb(WkMenuRecord(w.file)->highlightBackground));
    EXPECT_EQ(WkObjectGetShell(w.submenu)->x,
              WkObjectGetShell(w.file)->x + WkObjectGetShell(w.file)->width);
}

} // namespace
