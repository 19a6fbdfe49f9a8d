#include "toolkit/core/shell.h"

#include "toolkit/core/event_loop.h"
#include "toolkit/core/mnemonics.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "test_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>
#include <string>

namespace {

WkObject* MakeMainForm(WkObject* shell) { return testform::MakeForm(shell); }

int pressed = 0;
void CountPress(WkObject*, WkMessage*, void*, std::uint32_t) { ++pressed; }

int closes = 0;
int CloseCallback(WkObject*, std::intptr_t, void*, WkMessage*) { return ++closes; }

class TopLevel : public testform::ToolkitTest {
protected:
    void SetUp() override {
        testform::ToolkitTest::SetUp();
        WkInstallEventLoop();
        WkSetMainFormMaker(MakeMainForm);
        pressed = closes = 0;
    }
    void TearDown() override {
        for (WkObject* s : shells) WkObjectDestroy(s);
        WkSetMainFormMaker(nullptr);
        testform::ToolkitTest::TearDown();
    }
    WkObject* Window(std::uint16_t flags, int leafW, int leafH, WkObject** leaf = nullptr) {
        WkObject* shell = WkCreateShell("Window", flags);
        shells.push_back(shell);
        WkObject* l = testform::MakeLeaf(testform::MainForm(shell), leafW, leafH);
        if (leaf) *leaf = l;
        return shell;
    }
    // The test form lays its children out only when resized.
    void Realize(WkObject* shell) {
        WkShellRealize(shell);
        testform::LayOutShown(shell);
        WkFlushEvents();
    }
    void Click(WkObject* shell, int x, int y) {
        display->injectButton(shell->x + x, shell->y + y, plat::kLeftButton, true);
        display->injectButton(shell->x + x, shell->y + y, plat::kLeftButton, false);
        WkFlushEvents();
    }
    std::vector<WkObject*> shells;
};

TEST_F(TopLevel, AWindowFitsItsFormAndDrawsItsShadowFrame) {
    WkObject* leaf = nullptr;
    // A popup draws a frame of its own.
    WkObject* shell = Window(WK_SHELL_POPUP, 120, 60, &leaf);
    testform::SetColor(leaf, 200, 40, 40);
    Realize(shell);
    display->invalidate(WkObjectGetNativeWindow(shell));
    WkFlushEvents();
    const int b = 2;
    EXPECT_EQ(testform::MainForm(shell)->x, b);
    EXPECT_EQ(shell->width, 120 + 2 * testform::kSpacing + 2 * b);
    EXPECT_EQ(shell->height, 60 + 2 * testform::kSpacing + 2 * b);
    EXPECT_EQ(shell->x, (640 - shell->width) / 2);
    EXPECT_EQ(WkWindowStackCount(), 1);
    plat::Surface& s = testform::SurfaceOf(shell);
    const plat::Rgb light = s.colorAt(0, 0), dark = s.colorAt(shell->width - 1, shell->height - 1);
    EXPECT_NE(light, dark);
    EXPECT_EQ(s.colorAt(b + testform::kSpacing + 5, b + testform::kSpacing + 5), plat::MakeRgb(200, 40, 40));
    const std::string png = std::string(TM_TEST_OUTPUT_DIR) + "/top_level_window.png";
    std::filesystem::create_directories(TM_TEST_OUTPUT_DIR);
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), png));
    EXPECT_GT(std::filesystem::file_size(png), 0u);
}

TEST_F(TopLevel, AModalDialogTakesTheClicksOfTheWindowBelow) {
    WkObject* leaf = nullptr;
    WkObject* main = Window(0, 300, 200, &leaf);
    WkObjectAddEventHandler(leaf, CountPress, WkMessageBit(WK_MSG_PRESS), nullptr);
    Realize(main);
    Click(main, 50, 50);
    EXPECT_EQ(pressed, 1);
    WkObject* dialogLeaf = nullptr;
    WkObject* dialog = Window(WK_SHELL_DIALOG, 80, 40, &dialogLeaf);
    Realize(dialog);
    // Centred over the main window.
    EXPECT_EQ(dialog->x, main->x + (main->width - dialog->width) / 2);
    EXPECT_EQ(dialog->y, main->y + (main->height - dialog->height) / 2);
    const int beeps = display->beepCount();
    Click(main, 20, 20);
    EXPECT_EQ(pressed, 1);
    EXPECT_GT(display->beepCount(), beeps);
    WkObjectAddEventHandler(dialogLeaf, CountPress, WkMessageBit(WK_MSG_PRESS), nullptr);
    Click(dialog, 10, 10);
    EXPECT_EQ(pressed, 2);
    WkShellHide(dialog);
    Click(main, 50, 50);
    EXPECT_EQ(pressed, 3);
}

TEST_F(TopLevel, PlacementAtCornersAndGivenSizes) {
    WkObject* shell = Window(0, 100, 50);
    WkShellRealizeWithGeometry(shell, -1, -1, WK_KEEP, WK_KEEP);
    EXPECT_EQ(shell->x + shell->width, 640);
    EXPECT_EQ(shell->y + shell->height, 480);
    WkObject* other = Window(0, 100, 50);
    const int computed = 100 + 2 * testform::kSpacing;
    WkShellRealizeWithGeometry(other, 5, 6, 50, 2000);
    EXPECT_EQ(other->width, computed); // smaller than computed: ignored
    EXPECT_EQ(other->x, 5);
    WkObject* wide = Window(0, 100, 50);
    WkShellRealizeWithGeometry(wide, 600, 0, 300, WK_KEEP);
    EXPECT_EQ(wide->width, 300);
    EXPECT_EQ(wide->x, 340); // held on the screen
    EXPECT_EQ(testform::MainForm(wide)->width, 300);
}

TEST_F(TopLevel, CloseRequestsCallbackBeepHideOrDestroy) {
    WkObject* a = Window(0, 40, 20);
    WkShellSetCloseCallback(a, CloseCallback, nullptr);
    WkShellRealize(a);
    display->injectCloseRequest(WkObjectGetNativeWindow(a));
    WkFlushEvents();
    EXPECT_EQ(closes, 1);
    WkObject* b = Window(WK_SHELL_CLOSE_BEEPS, 40, 20);
    WkShellRealize(b);
    const int beeps = display->beepCount();
    display->injectCloseRequest(WkObjectGetNativeWindow(b));
    WkFlushEvents();
    EXPECT_EQ(display->beepCount(), beeps + 1);
    WkObject* c = Window(WK_SHELL_CLOSE_HIDES, 40, 20);
    WkShellRealize(c);
    const int width = c->width;
    display->injectCloseRequest(WkObjectGetNativeWindow(c));
    WkFlushEvents();
    EXPECT_EQ(WkShellRecord(c)->flags & WK_SHELL_SHOWN, 0);
    EXPECT_FALSE(display->window(WkObjectGetNativeWindow(c))->shown);
    WkShellRealize(c); // the tree is intact
    EXPECT_TRUE(display->window(WkObjectGetNativeWindow(c))->shown);
    EXPECT_EQ(c->width, width);
}

TEST_F(TopLevel, TitlesAndTheSizeLimitsOfTheDisplay) {
    WkObject* shell = Window(WK_SHELL_HOLD_WIDTH, 40, 20);
    testform::MainForm(shell)->minWidth = 30;
    WkShellRealize(shell);
    const plat::WindowRecord* w = display->window(WkObjectGetNativeWindow(shell));
    EXPECT_EQ(w->title, "Window");
    EXPECT_TRUE(w->limits.holdWidth);
    EXPECT_EQ(w->limits.minWidth, 30);
    WkShellSetTitle(shell, "Pairings \xBD");
    char title[256];
    WkShellGetTitle(shell, title);
    EXPECT_STREQ(title, "Pairings \xBD");
}

// What crossed the pointer: the object, the type and whether the object had
// the pointer-over bit when the message came.
struct Crossing {
    WkObject* object;
    int type;
    bool over;
    bool operator==(const Crossing&) const = default;
};
std::vector<Crossing> crossings;
void NoteCrossing(WkObject* object, WkMessage* message, void*, std::uint32_t) {
    crossings.push_back({object, message->type, (object->state & WK_STATE_POINTER_OVER) != 0});
}

WkObject* namedWheelReceiver = nullptr;
WkObject* NamedWheelReceiver(WkObject*) { return namedWheelReceiver; }

TEST_F(TopLevel, ThePointerEntersAndLeavesNestedObjectsAndTakesTheirCursor) {
    WkObject* shell = WkCreateShell("Window", 0);
    shells.push_back(shell);
    WkObject* main = testform::MainForm(shell);
    WkObject* inner = testform::MakeForm(main);
    WkObject* leaf = testform::MakeLeaf(inner, 30, 20);
    Realize(shell);
    crossings.clear();
    const std::uint32_t mask = WkMessageBit(WK_MSG_ENTER) | WkMessageBit(WK_MSG_LEAVE) | WkMessageBit(WK_MSG_WHEEL);
    for (WkObject* o : {main, inner, leaf}) WkObjectAddEventHandler(o, NoteCrossing, mask, nullptr);
    WkObjectSetCursor(leaf, 2);
    int ix, iy, lx, ly;
    WkObjectGetAbsolutePosition(inner, &ix, &iy);
    WkObjectGetAbsolutePosition(leaf, &lx, &ly);
    ASSERT_GT(ix, 0);
    const plat::WindowRecord* native = display->window(WkObjectGetNativeWindow(shell));
    auto move = [&](int x, int y) {
        display->injectPointerMove(shell->x + x, shell->y + y);
        WkFlushEvents();
    };

    move(0, 0);
    move(ix, iy);
    move(lx + 1, ly + 1);
    EXPECT_EQ(native->cursor, WkCursorInSlot(2));
    move(lx + 2, ly + 1);
    move(0, 0);
    EXPECT_EQ(native->cursor, WkCursorInSlot(0));
    move(-20, -20); // out of the window
    const std::vector<Crossing> expected = {
        {main, WK_MSG_ENTER, true},   {main, WK_MSG_LEAVE, false}, {inner, WK_MSG_ENTER, true},
        {inner, WK_MSG_LEAVE, false}, {leaf, WK_MSG_ENTER, true},  {leaf, WK_MSG_LEAVE, false},
        {main, WK_MSG_ENTER, true},   {main, WK_MSG_LEAVE, false},
    };
    EXPECT_EQ(crossings, expected);

    // The wheel goes to the object under the pointer, or to the one a
    // scrolled form names.
    WkFormAccess access{testform::PageChildren, testform::ScrollOffset, nullptr, testform::RemoveChild,
                        NamedWheelReceiver};
    WkSetFormAccess(&access);
    move(ix + 1, iy + 1);
    for (WkObject* named : {static_cast<WkObject*>(nullptr), leaf}) {
        namedWheelReceiver = named;
        crossings.clear();
        display->injectWheel(shell->x + ix + 1, shell->y + iy + 1, 120);
        WkFlushEvents();
        ASSERT_EQ(crossings.size(), 1u);
        EXPECT_EQ(crossings[0].object, named ? named : inner);
        EXPECT_EQ(crossings[0].type, WK_MSG_WHEEL);
    }
}

TEST_F(TopLevel, ColoursGivenToTheWindowRecolourItsMainForm) {
    WkObject* shell = Window(0, 40, 20);
    Realize(shell);
    WkColor red = WkAllocColor(200, 0, 0), blue = WkAllocColor(0, 0, 200);
    WkApplyColors(shell, red, blue);
    WkObject* form = testform::MainForm(shell);
    EXPECT_EQ(form->foreground, blue);
    WkRedraw(form, 0);
    WkEndDraw();
    EXPECT_EQ(testform::SurfaceOf(shell).colorAt(1, 1), plat::MakeRgb(200, 0, 0));
    WkFreeColor(red);
    WkFreeColor(blue);
}

} // namespace

int formKeys = 0;
void CountFormKey(WkObject*, WkMessage*, void*, std::uint32_t) { ++formKeys; }

TEST_F(TopLevel, MnemonicsGoToTheLastShownEntryLettersWithoutCase) {
    WkObject* shell = Window(0, 10, 10);
    testform::Log first, second;
    WkObject* a = testform::MakeLeaf(testform::MainForm(shell), 10, 10, &first);
    WkObject* b = testform::MakeLeaf(testform::MainForm(shell), 10, 10, &second);
    Realize(shell);
    formKeys = 0;
    WkObjectAddEventHandler(testform::MainForm(shell), CountFormKey, WkMessageBit(WK_MSG_KEY), nullptr);
    EXPECT_EQ(WkShellAddMnemonic(a, 'a'), 'a');
    WkShellAddMnemonic(a, 0x1800);
    WkShellAddMnemonic(b, 0x1800);
    struct Case {
        int key;
        WkObject* hidden;
        int toFirst, toSecond, toForm;
    } cases[] = {
        {'A', nullptr, 1, 0, 0}, {'a', nullptr, 1, 0, 0}, {0x1E00, nullptr, 0, 0, 1},
        {0x1800, nullptr, 0, 1, 0}, {0x1800, b, 1, 0, 0}, {0x1800, a, 0, 1, 0}, {'a', a, 0, 0, 1},
    };
    for (const Case& c : cases) {
        first.types.clear();
        second.types.clear();
        formKeys = 0;
        if (c.hidden) c.hidden->state &= std::uint16_t(~WK_STATE_SHOWN);
        WkSendSimpleMessage(shell, WK_MSG_KEY, 0, 0, c.key);
        if (c.hidden) c.hidden->state |= WK_STATE_SHOWN;
        EXPECT_EQ(first.count(WK_MSG_KEY), c.toFirst) << std::hex << c.key;
        EXPECT_EQ(second.count(WK_MSG_KEY), c.toSecond) << std::hex << c.key;
        EXPECT_EQ(formKeys, c.toForm) << std::hex << c.key;
    }
    // Removal keeps the order of the rest; a destroyed object leaves the table.
    WkShellRemoveMnemonic(b, 0x1800);
    WkShellAddMnemonic(b, 'x');
    WkShellAddMnemonic(b, 'y');
    WkShellAddMnemonic(a, 'x');
    WkShellRemoveMnemonics(a);
    WkShellData* d = WkShellRecord(shell);
    ASSERT_EQ(d->mnemonicCount, 2);
    EXPECT_EQ(d->mnemonics[0].key, 'x');
    EXPECT_EQ(d->mnemonics[1].key, 'y');
    WkObjectDestroy(b);
    EXPECT_EQ(d->mnemonicCount, 0);
    shells.pop_back(); // before the logs go
    WkObjectDestroy(shell);
}
