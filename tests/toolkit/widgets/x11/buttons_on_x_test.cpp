// Labels and push buttons on a real X server: the pixels the server holds
// are those the offscreen display draws for the same window.
#include "toolkit/platform/offscreen.h"
#include "toolkit/platform/x11_display.h"
#include "support/x_probe.h"
#include "toolkit/widgets/buttons_window.h"
#include "toolkit/widgets/x11/on_x.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

class ButtonsOnX : public wx::OnX {
protected:
    void Start(plat::Display* display) { OnX::Start(display, "xbuttons"); }
    void Stop() {
        WkObjectDestroy(w.shell);
        WkFreeImage(w.image);
        Shutdown();
    }
    // The window drawn, pressed and focused, with the loop run meanwhile:
    // the server's answers take their time, the offscreen display's none.
    void Build(bool onServer) {
        w = wt::MakeButtonsWindow();
        Pump(onServer);
        wt::PressAndFocus(w);
        Pump(onServer);
    }
    wt::ButtonsWindow w{};
};

TEST_F(ButtonsOnX, TheServerShowsWhatTheOffscreenDisplayDraws) {
    OpenServer();
    ASSERT_TRUE(x);
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
    EXPECT_EQ(Differing(shown, drawn), 0);
    EXPECT_EQ(drawn.colorAt(w.focused->x + w.focused->parent->x, w.focused->y + w.focused->parent->y),
              plat::MakeRgb(0, 0, 0));
    Stop();
}

} // namespace
