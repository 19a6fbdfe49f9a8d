// A tooltip on an X server: the pointer rests on the button (xdotool), the
// popup shows beside it as an override-redirect window, and the window with
// the focused field keeps the keyboard focus.
#include "toolkit/core/event_loop.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/x11_display.h"
#include "support/wait_until.h"
#include "support/x_probe.h"
#include "toolkit/widgets/tooltip_window.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <filesystem>

namespace {

int pumping = 0;
void StopPump(int, void*) { pumping = 0; }

// Runs the loop in 50 ms slices until the condition holds, at most the
// waits' ceiling; running out names the wait.
::testing::AssertionResult PumpUntil(const std::string& what, const std::function<bool()>& done) {
    return xwait::Until(what, done, {}, [] {
        pumping = 1;
        const int id = WkAddTimeout(50, StopPump, nullptr);
        WkLoopWhile(&pumping, 1);
        WkRemoveTimeout(id);
    });
}

TEST(TooltipOnX, PopupIsOverrideRedirectBesideThePointerAndTakesNoFocus) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
    // The environment first: the display's font thread reads it from the start.
    std::string folder = std::string(TM_TEST_OUTPUT_DIR) + "/wokusys", program = folder + "/xtooltip", error;
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(UseTestFonts());
    ASSERT_EQ(setenv("WOKUDIR", folder.c_str(), 1), 0);
    xprobe::Probe probe;
    ASSERT_TRUE(probe.connected());
    char* argv[2] = {program.data(), nullptr};
    std::unique_ptr<plat::X11Display> x = plat::X11Display::Open("", false, &error);
    ASSERT_TRUE(x) << error;
    WkInitWindowSystem(x.get(), nullptr, argv);
    WkInstallEventLoop();
    WkInitFormClass();
    wt::TooltipWindow w = wt::MakeTooltipWindow();
    xprobe::Probe::Sync(x->connection());
    EXPECT_TRUE(PumpUntil("the window to be mapped",
                          [&] { return probe.Viewable(x->xWindow(WkObjectGetNativeWindow(w.shell))); }));
    int px, py;
    WkObjectGetAbsolutePosition(w.button, &px, &py);
    px += w.shell->x + 6, py += w.shell->y + 5;
    EXPECT_EQ(xprobe::Run("xdotool mousemove " + std::to_string(px) + " " + std::to_string(py)), "");
    EXPECT_TRUE(PumpUntil("the tip to show", [&] { return wt::TipShown(w.button); }));
    EXPECT_TRUE(PumpUntil("the tip to be mapped", [&] {
        return probe.Viewable(x->xWindow(WkObjectGetNativeWindow(w.button->tooltip->popup)));
    }));

    _XDisplay* dpy = xprobe::Connect();
    ASSERT_NE(dpy, nullptr);
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(dpy, x->xWindow(WkObjectGetNativeWindow(w.button->tooltip->popup)), &a));
    EXPECT_TRUE(a.override_redirect && a.map_state == IsViewable);
    EXPECT_EQ(a.x, px + 8);
    EXPECT_EQ(a.y, py + 10);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    EXPECT_EQ(focus, x->xWindow(WkObjectGetNativeWindow(w.shell)));
    XCloseDisplay(dpy);
    EXPECT_TRUE(w.field->state & WK_STATE_FOCUS);
    EXPECT_TRUE(PumpUntil("the tip to go", [&] { return !wt::TipShown(w.button); }));
    WkObjectDestroy(w.shell);
    WkEndDraw();
    WkReleaseDefaultColors();
    WkShutdown();
}

} // namespace
