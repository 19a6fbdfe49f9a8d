#include "toolkit/core/event_loop.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/native_windows.h"
#include "test_form.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using testform::MakeShell;

struct Seen {
    std::vector<WkMessage> messages;
    int count(int type) const {
        int n = 0;
        for (const WkMessage& m : messages) n += m.type == type;
        return n;
    }
    const WkMessage* last(int type) const {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it)
            if (it->type == type) return &*it;
        return nullptr;
    }
};

void Record(WkObject*, WkMessage* message, void* data, std::uint32_t) {
    static_cast<Seen*>(data)->messages.push_back(*message);
}

constexpr std::uint32_t kAll = 0xFFFFFFFFu;

class EventLoop : public testform::ToolkitTest {
protected:
    void SetUp() override {
        testform::ToolkitTest::SetUp();
        WkInstallEventLoop();
        WkResetWheel();
    }
    void TearDown() override {
        // The logs of the test are gone by now.
        for (WkObject* s : shells) {
            WkObjectRemoveEventHandler(s, Record);
            WkObjectDestroy(s);
        }
        WkSetGlobalKeyHook(nullptr);
        testform::ToolkitTest::TearDown();
    }
    WkObject* Shell(int w, int h, Seen* seen, std::uint16_t flags = 0) {
        WkObject* shell = MakeShell(w, h);
        WkShellRecord(shell)->flags |= flags | WK_SHELL_SHOWN;
        if (seen) WkObjectAddEventHandler(shell, Record, kAll, seen);
        shells.push_back(shell);
        return shell;
    }
    // A shown 200 x 100 window whose log starts after the show.
    WkObject* ShownShell(Seen* seen) {
        WkObject* shell = Shell(200, 100, seen);
        WkNativeShow(shell, 1);
        WkFlushEvents();
        seen->messages.clear();
        return shell;
    }
    plat::WindowId Native(WkObject* shell) { return WkShellRecord(shell)->nativeWindow; }
    void Key(std::uint16_t vk, std::uint8_t scan, std::uint32_t mods, std::uint8_t ch = 0, bool ext = false) {
        ASSERT_TRUE(testform::TypeKey(*display, vk, scan, mods, ch, ext));
    }
    std::vector<WkObject*> shells;
};

TEST_F(EventLoop, KeysArriveAsToolkitCodesOrCharacters) {
    Seen seen;
    ShownShell(&seen);
    Key('C', 0x2E, plat::kCtrl, 3);
    ASSERT_EQ(seen.count(WK_MSG_KEY), 1);
    EXPECT_EQ(WkKeyCode(seen.last(WK_MSG_KEY)), 0x2E03);
    EXPECT_EQ(WkKeyModifiers(seen.last(WK_MSG_KEY)), WK_MOD_CTRL);
    Key('X', 0x2D, plat::kShift, 'X');
    EXPECT_EQ(WkKeyCode(seen.last(WK_MSG_KEY)), 'X');
    EXPECT_EQ(WkKeyModifiers(seen.last(WK_MSG_KEY)), WK_MOD_SHIFT);
    Key(0, 0x47, plat::kNumLock, '7');
    EXPECT_EQ(WkKeyCode(seen.last(WK_MSG_KEY)), '7');
    Key(0, 0x47, 0, 0);
    EXPECT_EQ(WkKeyCode(seen.last(WK_MSG_KEY)), 0x4700);
    Key('1', 0x02, plat::kAlt, 0);
    EXPECT_EQ(WkKeyCode(seen.last(WK_MSG_KEY)), 0x7801);
    EXPECT_EQ(seen.count(WK_MSG_KEY), 5);
    // Alt+F4 asks to close; nothing arrives as a key.
    Key(0, 0x3E, plat::kAlt, 0);
    EXPECT_EQ(seen.count(WK_MSG_KEY), 5);
    EXPECT_EQ(seen.count(WK_MSG_CLOSE), 1);
}

TEST_F(EventLoop, KeysTakeTheModifiersTheyWentDownWith) {
    // Keys and the releases of Ctrl and Num Lock already queued when the
    // loop comes to them: each key is translated as it was typed.
    Seen seen;
    ShownShell(&seen);
    plat::KeyInfo c;
    c.virtualKey = 'C';
    c.scanCode = 0x2E;
    c.character = 3;
    display->holdModifiers(plat::kCtrl);
    ASSERT_TRUE(display->injectKey(c));
    plat::KeyInfo seven;
    seven.scanCode = 0x47;
    seven.character = '7';
    display->holdModifiers(plat::kNumLock);
    ASSERT_TRUE(display->injectKey(seven));
    display->holdModifiers(0);
    ASSERT_TRUE(display->injectKey(seven));
    display->holdModifiers(plat::kNumLock);
    WkFlushEvents();
    display->holdModifiers(0);
    ASSERT_EQ(seen.count(WK_MSG_KEY), 3);
    EXPECT_EQ(WkKeyCode(&seen.messages[0]), 0x2E03);
    EXPECT_EQ(WkKeyModifiers(&seen.messages[0]), WK_MOD_CTRL);
    EXPECT_EQ(WkKeyCode(&seen.messages[1]), '7');
    EXPECT_EQ(WkKeyCode(&seen.messages[2]), 0x4700);
}

int hooked = 0;
void Hook(int code) { hooked = code; }

TEST_F(EventLoop, LogKeysGoToTheHookOnly) {
    Seen seen;
    ShownShell(&seen);
    Key(0, 0x57, plat::kCtrl);
    EXPECT_EQ(seen.count(WK_MSG_KEY), 0); // no hook: dropped
    WkSetGlobalKeyHook(Hook);
    Key(0, 0x57, plat::kCtrl);
    EXPECT_EQ(hooked, 0x7A00);
    Key(0, 0x3B, plat::kCtrl | plat::kShift);
    EXPECT_EQ(hooked, 0x5E00);
    // Ctrl+F1 without Shift is an ordinary key.
    Key(0, 0x3B, plat::kCtrl);
    EXPECT_EQ(seen.count(WK_MSG_KEY), 1);
    EXPECT_EQ(WkKeyCode(seen.last(WK_MSG_KEY)), 0x5E00);
}

TEST_F(EventLoop, ThreeSmallWheelTurnsMakeOneNotch) {
    Seen seen;
    WkObject* shell = Shell(200, 100, &seen);
    WkNativeShow(shell, 1);
    WkFlushEvents();
    const int sx = shell->x + 20, sy = shell->y + 30;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(display->injectWheel(sx, sy, 40));
        WkFlushEvents();
        EXPECT_EQ(seen.count(WK_MSG_WHEEL), i == 2 ? 1 : 0);
    }
    const WkMessage* w = seen.last(WK_MSG_WHEEL);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(WkWheelLines(w), -3);
    EXPECT_EQ(WkPointerX(w), 20); // made relative to the window
    EXPECT_EQ(WkPointerY(w), 30);
}

TEST_F(EventLoop, AModalDialogIsCentredAndBlocksTheWindowBelow) {
    Seen mainSeen, dialogSeen;
    WkObject* main = Shell(400, 300, &mainSeen);
    main->x = 100;
    main->y = 80;
    WkNativeShow(main, 1);
    WkObject* dialog = Shell(100, 50, &dialogSeen, WK_SHELL_DIALOG);
    WkNativeShow(dialog, 1);
    WkFlushEvents();
    EXPECT_EQ(WkGetModalWindow(), Native(dialog));
    EXPECT_EQ(dialog->x, 250);
    EXPECT_EQ(dialog->y, 205);
    EXPECT_EQ(display->window(Native(dialog))->client.x0, 250);
    const int beeps = display->beepCount();
    display->injectButton(main->x + 5, main->y + 5, plat::kLeftButton, true);
    display->injectButton(main->x + 5, main->y + 5, plat::kLeftButton, false);
    WkFlushEvents();
    EXPECT_GT(display->beepCount(), beeps);
    EXPECT_EQ(mainSeen.count(WK_MSG_PRESS), 0);
    EXPECT_EQ(mainSeen.count(WK_MSG_RELEASE), 0);
    display->injectButton(dialog->x + 5, dialog->y + 6, plat::kLeftButton, true);
    WkFlushEvents();
    ASSERT_EQ(dialogSeen.count(WK_MSG_PRESS), 1);
    EXPECT_EQ(WkPointerX(dialogSeen.last(WK_MSG_PRESS)), 5);
    EXPECT_EQ(WkPointerScreenX(dialogSeen.last(WK_MSG_PRESS)), dialog->x + 5);
    EXPECT_EQ(WkPointerButton(dialogSeen.last(WK_MSG_PRESS)), 1);
    EXPECT_NE(WkPointerState(dialogSeen.last(WK_MSG_PRESS)) & 0x100, 0);
    // Once the dialog is hidden the main window takes clicks again.
    WkNativeHide(dialog);
    EXPECT_EQ(WkGetModalWindow(), 0u);
    display->injectButton(main->x + 5, main->y + 5, plat::kLeftButton, false);
    WkFlushEvents();
    EXPECT_EQ(mainSeen.count(WK_MSG_RELEASE), 1);
}

TEST_F(EventLoop, ADialogIsHeldOnTheScreen) {
    WkObject* main = Shell(100, 100, nullptr);
    main->x = 600;
    main->y = 400;
    WkNativeShow(main, 1);
    WkObject* dialog = Shell(300, 200, nullptr, WK_SHELL_DIALOG);
    WkNativeShow(dialog, 1);
    EXPECT_EQ(dialog->x, 640 - 300);
    EXPECT_EQ(dialog->y, 480 - 200);
}

int done = 0;
void EndOnPress(WkObject*, WkMessage*, void*, std::uint32_t) { done = 1; }

TEST_F(EventLoop, AModalLoopEndsFromACallback) {
    WkObject* dialog = Shell(100, 50, nullptr, WK_SHELL_DIALOG);
    WkNativeShow(dialog, 1);
    WkObjectAddEventHandler(dialog, EndOnPress, WkMessageBit(WK_MSG_PRESS), nullptr);
    done = 0;
    display->setIdleHook([&] { return display->injectButton(dialog->x + 3, dialog->y + 3, plat::kLeftButton, true); }, 5);
    WkLoopWhile(&done, 0);
    EXPECT_EQ(done, 1);
    // Returns at once when the flag already differs.
    WkLoopWhile(&done, 0);
}

TEST_F(EventLoop, AQuitInAModalLoopEndsTheMainLoopToo) {
    WkObject* dialog = Shell(100, 50, nullptr, WK_SHELL_DIALOG);
    WkNativeShow(dialog, 1);
    int flag = 0;
    display->setIdleHook([&] { display->postQuit(0); return true; }, 1);
    WkLoopWhile(&flag, 0);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(WkMainLoop(), 0); // would wait (and throw) without the quit
    // A flush that meets the quit leaves it for the loop outside as well.
    display->postQuit(0);
    WkFlushEvents();
    EXPECT_EQ(WkMainLoop(), 0);
}

TEST_F(EventLoop, TheSingleFetchKeepsItsMessageFromTheObjects) {
    Seen seen;
    ShownShell(&seen);
    WkMessage record;
    EXPECT_EQ(WkNextEvent(&record, 0), 0);
    plat::KeyInfo k;
    k.scanCode = 0x01;
    display->injectKey(k);
    display->injectKey(k);
    EXPECT_EQ(WkNextEvent(&record, 0), WK_MSG_KEY);
    EXPECT_EQ(WkKeyCode(&record), 0x011B);
    EXPECT_EQ(seen.count(WK_MSG_KEY), 0);
    EXPECT_EQ(WkNextEvent(&record, 1), WK_MSG_KEY);
    EXPECT_EQ(seen.count(WK_MSG_KEY), 0);
    // Outside the fetch the objects get keys again.
    display->injectKey(k);
    WkFlushEvents();
    EXPECT_EQ(seen.count(WK_MSG_KEY), 1);
}

TEST_F(EventLoop, TheWindowStackHasNoFixedLimit) {
    std::vector<Seen> seen(70);
    for (int i = 0; i < 70; ++i) {
        WkObject* s = Shell(40, 30, &seen[static_cast<std::size_t>(i)]);
        s->x = 10 + i;
        s->y = 10 + i;
        WkNativeShow(s, 1);
    }
    EXPECT_EQ(WkWindowStackCount(), 70);
    WkObject* last = shells.back();
    ASSERT_TRUE(display->injectCloseRequest(Native(last)));
    WkFlushEvents();
    EXPECT_EQ(seen[69].count(WK_MSG_CLOSE), 1);
    WkNativeHide(last);
    EXPECT_EQ(WkWindowStackCount(), 69);
    // A destroyed window leaves the stack.
    WkObjectDestroy(shells[10]);
    shells.erase(shells.begin() + 10);
    EXPECT_EQ(WkWindowStackCount(), 68);
}

TEST_F(EventLoop, AGrabHolderSeesOneLeaveAndOneEnter) {
    WkObject* shell = Shell(200, 100, nullptr);
    WkNativeShow(shell, 1);
    testform::Log log;
    WkObject* leaf = testform::MakeLeaf(testform::MainForm(shell), 50, 40, &log);
    leaf->x = 10;
    leaf->y = 20;
    WkFlushEvents();
    WkPushGrab(leaf);
    // x 60 is the first column right of the leaf (10 + 50): outside.
    const int moves[][2] = {{30, 30}, {60, 30}, {120, 90}, {20, 25}, {21, 25}};
    for (const auto& m : moves) {
        display->injectPointerMove(shell->x + m[0], shell->y + m[1]);
        WkFlushEvents();
    }
    EXPECT_EQ(log.types, (std::vector<int>{WK_MSG_MOTION, WK_MSG_LEAVE, WK_MSG_MOTION, WK_MSG_ENTER, WK_MSG_MOTION}));
    EXPECT_EQ(log.a.back(), 11);
    EXPECT_EQ(log.b.back(), 5);
    WkPopGrab(leaf);
    WkObjectDestroy(leaf);
}

TEST_F(EventLoop, LimitsKeepHeldSizesAndMinimums) {
    WkObject* shell = Shell(200, 100, nullptr);
    shell->minWidth = 150;
    shell->minHeight = 60;
    WkNativeShow(shell, 1);
    int w = 100, h = 300;
    WkApplyWindowLimits(Native(shell), &w, &h);
    EXPECT_EQ(w, 150);
    EXPECT_EQ(h, 300);
    WkShellRecord(shell)->flags |= WK_SHELL_HOLD_HEIGHT;
    WkNativeApplySizeLimits(shell);
    w = 400;
    WkApplyWindowLimits(0, &w, &h);
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 100);
    const plat::SizeLimits& l = display->window(Native(shell))->limits;
    EXPECT_EQ(l.minWidth, 150);
    EXPECT_TRUE(l.holdHeight);
    EXPECT_FALSE(l.holdWidth);
}

} // namespace
