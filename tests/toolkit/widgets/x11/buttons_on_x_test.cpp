// Labels and push buttons on a real X server: the pixels the server holds
// are those the offscreen display draws for the same window.
#include "toolkit/core/event_loop.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/offscreen.h"
#include "toolkit/platform/x11_display.h"
#include "support/x_probe.h"
#include "toolkit/widgets/buttons_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

int pumping = 0;
void StopPump(int, void*) { pumping = 0; }

class ButtonsOnX : public ::testing::Test {
protected:
    void Start(plat::Display* display) {
        static const std::string folder = std::string(TM_TEST_OUTPUT_DIR) + "/wokusys";
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(UseTestFonts());
        setenv("WOKUDIR", folder.c_str(), 1);
        program = folder + "/xbuttons";
        argv[0] = program.data();
        WkInitWindowSystem(display, nullptr, argv);
        WkInstallEventLoop();
        WkInitFormClass();
    }
    void Stop() {
        WkObjectDestroy(w.shell);
        WkFreeImage(w.image);
        WkEndDraw();
        WkReleaseDefaultColors();
        WkShutdown();
    }
    // The window drawn, pressed and focused, with the loop run meanwhile:
    // the server's answers take their time, the offscreen display's none.
    void Build(bool onServer) {
        w = wt::MakeButtonsWindow();
        Pump(onServer);
        wt::PressAndFocus(w);
        Pump(onServer);
    }
    void Pump(bool onServer) {
        if (!onServer) {
            WkFlushEvents();
            return;
        }
        const int ms = 300;
        pumping = 1;
        WkAddTimeout(ms, StopPump, nullptr);
        WkLoopWhile(&pumping, 1);
    }
    wt::ButtonsWindow w{};
    std::string program;
    char* argv[2] = {};
};

TEST_F(ButtonsOnX, TheServerShowsWhatTheOffscreenDisplayDraws) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
    xprobe::Probe probe;
    ASSERT_TRUE(probe.connected());
    std::string error;
    std::unique_ptr<plat::X11Display> x = plat::X11Display::Open("", false, &error);
    ASSERT_TRUE(x) << error;
    Start(x.get());
    Build(true);
    const plat::Surface shown = probe.Pixels(x->xWindow(WkObjectGetNativeWindow(w.shell)));
    const int screenWidth = x->screenWidth(), screenHeight = x->screenHeight();
    Stop();
    x.reset();

    plat::OffscreenOptions options;
    options.width = screenWidth;
    options.height = screenHeight;
    plat::OffscreenDisplay offscreen(options);
    Start(&offscreen);
    Build(false);
    const plat::Surface& drawn = *offscreen.surface(WkObjectGetNativeWindow(w.shell));
    ASSERT_EQ(shown.width(), drawn.width());
    ASSERT_EQ(shown.height(), drawn.height());
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) differing += shown.colorAt(x, y) != drawn.colorAt(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(drawn.colorAt(w.focused->x + w.focused->parent->x, w.focused->y + w.focused->parent->y),
              plat::MakeRgb(0, 0, 0));
    Stop();
}

} // namespace
