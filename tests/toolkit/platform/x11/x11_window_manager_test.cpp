// The X11 backend under a real window manager (openbox, driven by wmctrl and
// xdotool): its close action, minimising and restoring, the focus it gives
// by clicks and activation, owned windows above their owner, a modal
// dialog's hold on focus and close, and frame moves and sizes within the
// size limits. Each test starts the window manager on the test's server
// (the tests' shared configuration) and stops it by its process id, leaving
// the root window's properties and the focus as it found them.
#include "toolkit/platform/x11_display.h"

#include "support/x_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <unistd.h>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
// Xlib's event names would hide the layer's.
#undef FocusIn
#undef ButtonPress

using namespace plat;

namespace {

bool Same(const Rect& a, const Rect& b) { return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1; }

constexpr long kNormalState = 1, kIconicState = 3; // ICCCM WM_STATE

class WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
        ASSERT_TRUE(probe.connected());
        ASSERT_EQ(wm.Start(std::string(TM_TEST_OUTPUT_DIR) + "/wm"), "");
        x = wm.connection();
        root = DefaultRootWindow(x);

        std::string error;
        d = X11Display::Open("", false, &error);
        ASSERT_TRUE(d) << error;
        // Every event the layer hands out, queued or delivered from inside a call.
        d->setListener([this](const Event& e) -> std::intptr_t {
            seen.push_back(e);
            if (e.type != EventType::ActivateQuery) return 0;
            if (modal && e.window != modal) {
                ++refused;
                d->beep();
                return 0;
            }
            return 1;
        });
    }

    void TearDown() override {
        d.reset();
        EXPECT_TRUE(wm.Stop()) << "the window manager did not stop";
        EXPECT_FALSE(wm.Managed());
    }

    Window Focused() {
        Window f = 0;
        int revert = 0;
        XGetInputFocus(x, &f, &revert);
        return f;
    }

    // Where the client area is on the screen.
    Rect OnScreen(Window w) {
        XWindowAttributes a{};
        XGetWindowAttributes(x, w, &a);
        int sx = 0, sy = 0;
        Window child = 0;
        XTranslateCoordinates(x, w, root, 0, 0, &sx, &sy, &child);
        return Rect{sx, sy, sx + a.width, sy + a.height};
    }

    WindowId Show(const Rect& client, WindowId owner = 0, std::uint32_t boxes = kCloseBox | kMinimiseBox | kMaximiseBox,
                  const Rect* firstSize = nullptr) {
        WindowParams p;
        p.owner = owner;
        p.title = "Managed";
        p.client = firstSize ? *firstSize : client;
        p.boxes = boxes;
        WindowId id = d->createWindow(p);
        if (firstSize) {
            d->setGeometry(id, Rect{firstSize->x0, firstSize->y0, firstSize->x1 + 1, firstSize->y1});
            d->setGeometry(id, client);
        }
        d->show(id, true);
        Window xid = d->xWindow(id);
        // Managed: framed by the window manager and in its list.
        EXPECT_TRUE(Until([&] { return wm.WmState(xid) == kNormalState && Listed(xid); }))
            << "not managed: state " << wm.WmState(xid) << " listed " << Listed(xid);
        return id;
    }

    bool Listed(Window w) {
        for (Window c : wm.Stacking())
            if (c == w) return true;
        return false;
    }

    // Stacking order of the window manager, bottom first: a's place before b's.
    bool StackedBelow(Window a, Window b) {
        std::vector<Window> v = wm.Stacking();
        auto ia = std::find(v.begin(), v.end(), a), ib = std::find(v.begin(), v.end(), b);
        return ia != v.end() && ib != v.end() && ia < ib;
    }

    // Handles the display's events until done() holds (checked after each
    // one and between them) or ms pass; the events are kept in seen.
    bool Until(const std::function<bool()>& done, int ms = xprobe::kWaitCeilingMs) {
        TimerId tick = d->startTimer(20);
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        bool held = false;
        while (!(held = done()) && std::chrono::steady_clock::now() < end) {
            Event e = d->waitEvent();
            if (e.type == EventType::Timer) continue;
            d->dispatch(e);
        }
        d->stopTimer(tick);
        return held;
    }

    // The window manager's close request for w, a window no dialog blocks:
    // when it has come, so has everything the window manager sent before.
    void Fence(WindowId w) {
        int before = Count(EventType::CloseRequest, w);
        EXPECT_EQ(Tool("wmctrl -i -c " + Id(w)), "");
        EXPECT_TRUE(Until([&] { return Count(EventType::CloseRequest, w) > before; }));
    }

    bool ShowsItsBackingStore(WindowId w) {
        xprobe::Probe::Sync(d->connection());
        Surface shown = probe.Pixels(d->xWindow(w));
        const Surface& s = *d->surface(w);
        if (shown.width() != s.width() || shown.height() != s.height()) return false;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (shown.colorAt(x, y) != s.colorAt(x, y)) return false;
        return true;
    }

    int Count(EventType type, WindowId w) const {
        int n = 0;
        for (const Event& e : seen) n += e.type == type && e.window == w;
        return n;
    }

    // A desktop tool run while the display keeps answering the server.
    std::string Tool(const std::string& command) {
        auto result = std::async(std::launch::async, [command] { return xprobe::Run(command + " 2>&1"); });
        Until([&] { return result.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; });
        return result.get();
    }

    std::string Id(WindowId w) const { return std::to_string(d->xWindow(w)); }

    std::unique_ptr<X11Display> d;
    xprobe::Probe probe;
    xprobe::WindowManager wm;
    ::Display* x = nullptr; // the window manager's watcher's connection
    Window root = 0;
    WindowId modal = 0;
    int refused = 0;
    std::vector<Event> seen;
};

TEST_F(WindowManagerTest, ClientAreaStaysWhereTheProgramPutsIt) {
    WindowId w = Show(Rect{100, 120, 400, 320});
    Fence(w);
    EXPECT_TRUE(Same(OnScreen(d->xWindow(w)), Rect{100, 120, 400, 320}));
    EXPECT_TRUE(Same(d->window(w)->client, Rect{100, 120, 400, 320}));
    EXPECT_EQ(Count(EventType::Move, w), 0) << "the frame goes around the client area";

    d->setGeometry(w, Rect{200, 150, 450, 300});
    EXPECT_EQ(Count(EventType::Move, w), 1);
    EXPECT_TRUE(Until([&] { return Same(OnScreen(d->xWindow(w)), Rect{200, 150, 450, 300}); }));
    Fence(w);
    EXPECT_TRUE(Same(d->window(w)->client, Rect{200, 150, 450, 300}));
    EXPECT_EQ(Count(EventType::Move, w), 1) << "the window manager's report of the program's move is no move";
}

TEST_F(WindowManagerTest, ClientAreaMadeBeforeTheShowComesUpAsLastSet) {
    // Made small, then fitted to its content and placed, as the toolkit does.
    const Rect first{10, 24, 101, 60};
    WindowId w = Show(Rect{100, 120, 500, 400}, 0, kCloseBox, &first);
    Fence(w);
    EXPECT_TRUE(Same(d->window(w)->client, Rect{100, 120, 500, 400}));
    EXPECT_TRUE(Same(OnScreen(d->xWindow(w)), Rect{100, 120, 500, 400}));
}

TEST_F(WindowManagerTest, CloseActionReachesOnlyUnblockedWindows) {
    // A main window without a close box still hears the window manager's
    // close: its program answers with its close question.
    WindowId main = Show(Rect{100, 100, 500, 400}, 0, kMinimiseBox);
    EXPECT_EQ(Tool("wmctrl -i -c " + Id(main)), "");
    EXPECT_TRUE(Until([&] { return Count(EventType::CloseRequest, main) == 1; }));

    modal = Show(Rect{200, 200, 350, 300}, main);
    EXPECT_EQ(Tool("wmctrl -i -c " + Id(main)), "");
    EXPECT_EQ(Tool("wmctrl -i -c " + Id(modal)), "");
    // The dialog's request comes after the main window's.
    EXPECT_TRUE(Until([&] { return Count(EventType::CloseRequest, modal) == 1; }));
    EXPECT_EQ(Count(EventType::CloseRequest, main), 1) << "the main window is blocked";
    EXPECT_EQ(d->activeWindow(), modal);
}

TEST_F(WindowManagerTest, MinimisedAndRestoredWindowComesBackFromItsBackingStore) {
    WindowId other = Show(Rect{600, 100, 800, 300});
    WindowId w = Show(Rect{100, 100, 300, 250});
    Surface* s = d->surface(w);
    for (int i = 0; i < s->width() * s->height(); ++i) s->pixels()[i] = MakeRgb(i % 251, (i / 7) % 253, 40);
    d->present();
    ASSERT_EQ(d->activeWindow(), w);

    EXPECT_EQ(Tool("xdotool windowminimize " + Id(w)), "");
    auto sized = [&](bool minimised) {
        int n = 0;
        for (const Event& e : seen) n += e.type == EventType::Resize && e.window == w && e.minimised == minimised;
        return n;
    };
    EXPECT_TRUE(Until([&] { return sized(true) == 1; }));
    EXPECT_TRUE(d->window(w)->minimised);
    EXPECT_TRUE(Until([&] { return wm.WmState(d->xWindow(w)) == kIconicState; }));
    EXPECT_EQ(d->activeWindow(), other) << "the focus goes to the window left on the screen";

    seen.clear();
    EXPECT_EQ(Tool("wmctrl -i -a " + Id(w)), "");
    EXPECT_TRUE(Until([&] { return sized(false) == 1 && d->activeWindow() == w; }));
    EXPECT_FALSE(d->window(w)->minimised);
    EXPECT_TRUE(Until([&] { return wm.WmState(d->xWindow(w)) == kNormalState && Focused() == d->xWindow(w); }));
    EXPECT_TRUE(Until([&] { return ShowsItsBackingStore(w); }));
    EXPECT_EQ(Count(EventType::Paint, w), 0) << "the backing store answers the expose";

    // Minimised by the window manager, restored by the program.
    EXPECT_EQ(Tool("xdotool windowminimize " + Id(w)), "");
    EXPECT_TRUE(Until([&] { return d->window(w)->minimised; }));
    d->raise(w);
    EXPECT_TRUE(Until([&] { return wm.WmState(d->xWindow(w)) == kNormalState && Focused() == d->xWindow(w); }));
    EXPECT_FALSE(d->window(w)->minimised);
    EXPECT_EQ(d->activeWindow(), w);
}

TEST_F(WindowManagerTest, FocusGivenByClicksAndActivationIsMirrored) {
    WindowId a = Show(Rect{100, 100, 400, 300});
    WindowId owned = Show(Rect{150, 150, 300, 250}, a);
    WindowId b = Show(Rect{500, 100, 800, 300});
    ASSERT_EQ(d->activeWindow(), b);

    EXPECT_EQ(Tool("xdotool mousemove 120 280 click 1"), "");
    EXPECT_TRUE(Until([&] { return d->activeWindow() == a && Focused() == d->xWindow(a); }));
    EXPECT_TRUE(Until([&] { return StackedBelow(d->xWindow(a), d->xWindow(owned)); }))
        << "an owned window stays above its owner";

    EXPECT_EQ(Tool("wmctrl -i -a " + Id(b)), "");
    EXPECT_TRUE(Until([&] { return d->activeWindow() == b && Focused() == d->xWindow(b); }));
    EXPECT_TRUE(Until([&] { return StackedBelow(d->xWindow(a), d->xWindow(b)); }));

    EXPECT_EQ(Tool("wmctrl -i -a " + Id(a)), "");
    EXPECT_TRUE(Until([&] { return d->activeWindow() == a && Focused() == d->xWindow(a); }));
    EXPECT_TRUE(Until([&] {
        return StackedBelow(d->xWindow(b), d->xWindow(a)) && StackedBelow(d->xWindow(a), d->xWindow(owned));
    }));
    std::vector<WindowId> z = d->zOrder();
    EXPECT_EQ(z, (std::vector<WindowId>{b, a, owned}));
}

TEST_F(WindowManagerTest, WindowUnderAModalDialogGetsNeitherFocusNorClicks) {
    WindowId main = Show(Rect{100, 100, 500, 400});
    modal = Show(Rect{200, 200, 350, 300}, main);
    ASSERT_EQ(d->activeWindow(), modal);
    Window dialog = d->xWindow(modal);
    seen.clear();

    EXPECT_EQ(Tool("wmctrl -i -a " + Id(main)), "");
    EXPECT_TRUE(Until([&] { return refused >= 1 && Focused() == dialog; }))
        << "the focus is taken back to the dialog";
    EXPECT_EQ(d->activeWindow(), modal);
    EXPECT_EQ(Count(EventType::FocusIn, main), 0);
    EXPECT_EQ(probe.Bells(d->connection()), 0) << "no click, no bell";

    EXPECT_EQ(Tool("xdotool mousemove 120 120 click 1"), "");
    // A click in the dialog comes after it, and is delivered.
    EXPECT_EQ(Tool("xdotool mousemove 210 210 click 1"), "");
    EXPECT_TRUE(Until([&] { return Count(EventType::ButtonPress, modal) == 1; }));
    EXPECT_EQ(Count(EventType::ButtonPress, main), 0);
    EXPECT_EQ(d->activeWindow(), modal);
    EXPECT_TRUE(Until([&] { return Focused() == dialog; }));
    EXPECT_EQ(probe.Bells(d->connection(), 1), 1) << "one click, one bell";
}

TEST_F(WindowManagerTest, FrameMovesAndSizesBecomeMoveAndResizeWithinTheLimits) {
    WindowId w = Show(Rect{100, 100, 300, 200});
    Window xid = d->xWindow(w);
    EXPECT_EQ(Tool("wmctrl -i -r " + Id(w) + " -e 0,150,160,250,120"), "");
    EXPECT_TRUE(Until([&] { return Count(EventType::Move, w) >= 1 && Count(EventType::Resize, w) >= 1; }));
    EXPECT_TRUE(Until([&] { return Same(d->window(w)->client, Rect{150, 160, 400, 280}); }));
    EXPECT_TRUE(Same(OnScreen(xid), Rect{150, 160, 400, 280}));

    SizeLimits limits;
    limits.minWidth = 180;
    limits.minHeight = 90;
    d->setSizeLimits(w, limits);
    EXPECT_EQ(Tool("wmctrl -i -r " + Id(w) + " -e 0,150,160,60,40"), "");
    EXPECT_TRUE(Until([&] { return OnScreen(xid).width() == 180 && OnScreen(xid).height() == 90; }))
        << "the window manager keeps the minimum size";
    EXPECT_TRUE(Until([&] { return d->window(w)->client.width() == 180 && d->window(w)->client.height() == 90; }));

    // A held width stays whatever the frame is dragged to.
    limits.holdWidth = true;
    d->setSizeLimits(w, limits);
    EXPECT_EQ(Tool("wmctrl -i -r " + Id(w) + " -e 0,150,160,500,200"), "");
    EXPECT_TRUE(Until([&] { return OnScreen(xid).height() == 200 && d->window(w)->client.height() == 200; }));
    EXPECT_EQ(OnScreen(xid).width(), 180);
    EXPECT_EQ(d->window(w)->client.width(), 180);
}

// A window manager stopped just as it was about to wait hears the signal
// only with its next X event (openbox's loop looks at its flag, then
// waits): the stop ends it all the same, without the kill.
TEST(WindowManagerStop, EndsOneThatHearsItsSignalOnlyWithItsNextEvent) {
    xprobe::WindowManager wm;
    ASSERT_EQ(wm.Start(std::string(TM_TEST_OUTPUT_DIR) + "/late-wm", TM_LATE_HEARING_WM), "");
    EXPECT_TRUE(wm.Stop()) << "it was killed after a minute";
    EXPECT_FALSE(wm.Managed());
}

} // namespace
