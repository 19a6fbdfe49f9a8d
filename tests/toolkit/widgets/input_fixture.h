// Widgets in a shown top-level window: input injected through the display,
// a virtual clock for the timeouts, and the window's pixels.
#pragma once

#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/test_form.h"
#include "widget_fixture.h"

namespace wt {

inline WkTimeVal virtualNow;
inline void VirtualClock(WkTimeVal* now) { *now = virtualNow; }

class InputTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        WkInitFormClass();
        virtualNow = WkTimeVal{1000, 0};
        WkSetClock(VirtualClock);
    }
    void TearDown() override {
        WidgetTest::TearDown();
        WkSetClock(nullptr);
    }
    // While a modal loop waits, each idle turn moves the virtual clock by a
    // tick, so timeouts set by a test come due.
    void TickWhenIdle() {
        display->setIdleHook([this] {
            virtualNow.microseconds += 50000;
            virtualNow.seconds += virtualNow.microseconds / 1000000, virtualNow.microseconds %= 1000000;
            display->virtualClock()->advance(50);
            return true;
        });
    }
    void Show(WkObject* shell) {
        WkShellRealize(shell);
        WkFlushEvents();
    }
    // Moves the virtual clock on and runs what is due, as the ticks would.
    void Advance(int ms) {
        const long us = virtualNow.microseconds + ms * 1000L;
        virtualNow.seconds += us / 1000000;
        virtualNow.microseconds = us % 1000000;
        WkTimeVal t;
        if (WkTimeoutIsDue(&t)) WkRunTimeoutsUntil(t);
    }
    void ScreenPoint(WkObject* object, int dx, int dy, int* x, int* y) {
        WkObjectGetAbsolutePosition(object, x, y);
        *x += WkObjectGetShell(object)->x + dx, *y += WkObjectGetShell(object)->y + dy;
    }
    // The pointer moved to a point of the object, then button 1 pressed or
    // released there when asked.
    void Move(WkObject* object, int dx, int dy, int down = -1) {
        int x, y;
        ScreenPoint(object, dx, dy, &x, &y);
        display->injectPointerMove(x, y);
        if (down >= 0) display->injectButton(x, y, plat::kLeftButton, down);
        WkFlushEvents();
    }
    void Button(WkObject* object, int dx, int dy, bool down) { Move(object, dx, dy, down); }
    void Key(std::uint16_t vk, std::uint8_t scan, std::uint32_t mods = 0) {
        EXPECT_TRUE(testform::TypeKey(*display, vk, scan, mods));
    }
    plat::Rgb At(WkObject* object, int x, int y) {
        int ax, ay;
        WkObjectGetAbsolutePosition(object, &ax, &ay);
        return display->surface(WkObjectGetNativeWindow(object))->colorAt(ax + x, ay + y);
    }
    static plat::Rgb Rgb(WkColor c) { return testform::Rgb(c); }
    void SavePng(WkObject* shell, const std::string& name) {
        EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), std::string(TM_TEST_OUTPUT_DIR) + "/" + name));
    }
};

} // namespace wt
