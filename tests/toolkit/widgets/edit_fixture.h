// The edit fields' tests: a shown or hidden top-level window on a virtual
// clock, keys sent as (modifiers << 16) | code, and colours as the display
// stores them.
#pragma once

#include "toolkit/core/clipboard.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/edit_field.h"
#include "widget_fixture.h"

#include <vector>

namespace et {

constexpr int kShift = WK_MOD_SHIFT << 16, kCtrl = WK_MOD_CTRL << 16;

inline plat::Rgb Rgb(WkColor c) {
    int r, g, b;
    WkColorToRGB(c, &r, &g, &b);
    return plat::MakeRgb(r, g, b);
}

inline WkTimeVal virtualNow{1000, 0};
inline void VirtualClock(WkTimeVal* now) { *now = virtualNow; }
// Moves the virtual clock on and runs what fell due.
inline void Advance(int ms) {
    long us = virtualNow.microseconds + long(ms) * 1000;
    virtualNow.seconds += us / 1000000;
    virtualNow.microseconds = us % 1000000;
    WkRunTimeouts();
}

class EditField : public wt::WidgetTest {
protected:
    void SetUp() override {
        wt::WidgetTest::SetUp();
        WkSetClock(VirtualClock);
        shell = Window();
        form = WkFormOf(shell);
    }
    void TearDown() override {
        WkSetClipboardText(0, nullptr, 0);
        wt::WidgetTest::TearDown();
        WkSetClock(nullptr);
    }
    void Show() {
        WkShellRealizeAt(shell, 0, 0);
        WkFlushEvents();
    }
    static void Press(WkObject* field, const std::vector<int>& keys) {
        for (int k : keys) WkSendSimpleMessage(field, WK_MSG_KEY, 0, k >> 16, k & 0xFFFF);
    }
    WkObject* shell = nullptr;
    WkObject* form = nullptr;
};

} // namespace et
