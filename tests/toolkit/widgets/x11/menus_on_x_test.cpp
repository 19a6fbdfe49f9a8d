// A menu bar with its File pull-down open on a real X server: the
// pull-down's pixels are those the offscreen display draws, and a click
// outside every menu closes it.
#include "toolkit/core/grab.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/platform/offscreen.h"
#include "toolkit/platform/x11_display.h"
#include "support/x_probe.h"
#include "toolkit/widgets/menus_window.h"
#include "toolkit/widgets/x11/on_x.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>

namespace {

class MenusOnX : public wx::OnX {
protected:
    void Start(plat::Display* display) { OnX::Start(display, "xmenus"); }
    void Stop() {
        WkObjectDestroy(w.shell);
        Shutdown();
    }
    void Build(bool onServer) {
        w = wt::MakeMenusWindow();
        Pump(onServer);
        wt::OpenFileAndExport(w);
        Pump(onServer);
    }
    WkNativeWindow PullDown() { return WkObjectGetNativeWindow(w.file); }
    wt::MenusWindow w{};
};

TEST_F(MenusOnX, ThePullDownLooksAsOffscreenAndAClickOutsideClosesIt) {
    OpenServer();
    ASSERT_TRUE(x);
    Start(x.get());
    Build(true);
    const plat::Surface shown = probe.Pixels(x->xWindow(PullDown()));
    const int screenWidth = x->screenWidth(), screenHeight = x->screenHeight();

    const std::string corner = std::to_string(screenWidth - 2) + " " + std::to_string(screenHeight - 2);
    EXPECT_EQ(RunBeside("xdotool mousemove " + corner + " click 1"), "");
    EXPECT_FALSE(WkShellRecord(WkObjectGetShell(w.file))->flags & WK_SHELL_SHOWN);
    EXPECT_EQ(WkMenuBarRecord(w.bar)->current, -1);
    EXPECT_EQ(WkGetGrab(), nullptr);
    Stop();
    x.reset();

    plat::OffscreenOptions options;
    options.width = screenWidth;
    options.height = screenHeight;
    plat::OffscreenDisplay offscreen(options);
    Start(&offscreen);
    Build(false);
    const plat::Surface& drawn = *offscreen.surface(PullDown());
    ASSERT_EQ(shown.width(), drawn.width());
    ASSERT_EQ(shown.height(), drawn.height());
    EXPECT_EQ(Differing(shown, drawn), 0);
    Stop();
}

} // namespace
