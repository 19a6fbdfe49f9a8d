// The X11 backend under a real window manager (openbox, driven by wmctrl and
// xdotool): its close action, minimising and restoring, the focus it gives
// by clicks and activation, owned windows above their owner, a modal
// dialog's hold on focus and close, and frame moves and sizes within the
// size limits. Each test starts the window manager on the test's server with
// a configuration of its own and stops it by its process id, leaving the
// root window's properties and the focus as it found them.
#include "toolkit/platform/x11_display.h"

#include "support/x_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <future>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
// Xlib's event names would hide the layer's.
#undef FocusIn
#undef ButtonPress

extern char** environ;

using namespace plat;

namespace {

bool Same(const Rect& a, const Rect& b) { return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1; }

constexpr long kNormalState = 1, kIconicState = 3; // ICCCM WM_STATE

// Polls until done() holds or timeoutMs pass; true when it held.
bool Eventually(const std::function<bool()>& done, int timeoutMs = 5000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        usleep(20000);
    }
}

// The window manager's configuration: click to focus, a title bar to drag,
// no key bindings (the keys stay the program's), one desktop.
constexpr const char* kConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <theme><name>Clearlooks</name></theme>
  <desktops><number>1</number></desktops>
  <keyboard></keyboard>
  <mouse>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
    </context>
  </mouse>
</openbox_config>
)";

class WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
        ASSERT_TRUE(probe.connected());
        x = xprobe::Connect();
        ASSERT_NE(x, nullptr);
        // The window manager's windows come and go under our questions.
        XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
        root = DefaultRootWindow(x);
        aCheck = XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", False);
        aStacking = XInternAtom(x, "_NET_CLIENT_LIST_STACKING", False);
        aState = XInternAtom(x, "WM_STATE", False);
        ASSERT_FALSE(Managed()) << "another window manager runs on this server";
        int count = 0;
        Atom* props = XListProperties(x, root, &count);
        for (int i = 0; i < count; ++i) rootProperties.insert(props[i]);
        if (props) XFree(props);
        int revert = 0;
        XGetInputFocus(x, &focusBefore, &revert);
        StartWindowManager();

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
        if (wm > 0) {
            kill(wm, SIGTERM);
            int status = 0;
            bool ended = Eventually([&] { return waitpid(wm, &status, WNOHANG) == wm; });
            if (!ended) {
                kill(wm, SIGKILL);
                waitpid(wm, &status, 0);
            }
            EXPECT_TRUE(ended) << "the window manager did not stop";
        }
        if (!x) return;
        // What the window manager left on the root goes, and the focus is
        // given back, so that the next tests see a bare server.
        int count = 0;
        Atom* props = XListProperties(x, root, &count);
        for (int i = 0; i < count; ++i)
            if (!rootProperties.count(props[i])) XDeleteProperty(x, root, props[i]);
        if (props) XFree(props);
        XSetInputFocus(x, focusBefore, RevertToPointerRoot, CurrentTime);
        XSync(x, False);
        EXPECT_FALSE(Managed());
        XCloseDisplay(x);
    }

    void StartWindowManager() {
        std::string dir = std::string(TM_TEST_OUTPUT_DIR) + "/wm";
        ASSERT_EQ(xprobe::Run("mkdir -p '" + dir + "'"), "");
        std::string config = dir + "/rc.xml", log = dir + "/openbox.log";
        std::ofstream(config) << kConfig;
        // No user configuration, cache or session is read or written.
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string v = *e;
            if (v.rfind("HOME=", 0) != 0 && v.rfind("XDG_", 0) != 0) env.push_back(v);
        }
        for (const char* name : {"HOME=", "XDG_CONFIG_HOME=", "XDG_CACHE_HOME=", "XDG_DATA_HOME=", "XDG_STATE_HOME="})
            env.push_back(name + dir);
        std::vector<char*> envp;
        for (std::string& v : env) envp.push_back(v.data());
        envp.push_back(nullptr);
        std::string program = "openbox", sm = "--sm-disable", option = "--config-file";
        char* argv[] = {program.data(), sm.data(), option.data(), config.data(), nullptr};
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&files, 1, 2);
        int failed = posix_spawnp(&wm, "openbox", &files, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&files);
        ASSERT_EQ(failed, 0) << "openbox cannot be started (scripts/setup installs it)";
        ASSERT_TRUE(Eventually([&] { return Managed(); })) << "openbox does not manage the screen; see " << log;
        // It names itself before it takes the windows that are mapped; a map
        // that falls in between is lost. A window of our own, mapped again
        // until it is framed, tells when it takes new windows.
        Window ready = XCreateSimpleWindow(x, root, 0, 0, 10, 10, 0, 0, 0);
        bool framed = false;
        for (int tries = 0; tries < 10 && !framed; ++tries) {
            XUnmapWindow(x, ready);
            XMapWindow(x, ready);
            framed = Eventually([&] { return WmState(ready) == kNormalState; }, 500);
        }
        XDestroyWindow(x, ready);
        XSync(x, False);
        ASSERT_TRUE(framed) << "openbox does not frame new windows; see " << log;
        ASSERT_TRUE(Eventually([&] { return WindowList(root, aStacking).empty(); }));
    }

    // A window manager names its own check window on the root, and that
    // window names itself.
    bool Managed() {
        Window w = WindowProperty(root, aCheck);
        return w && WindowProperty(w, aCheck) == w;
    }

    Window WindowProperty(Window of, Atom name) {
        std::vector<Window> v = WindowList(of, name);
        return v.empty() ? 0 : v.front();
    }

    std::vector<Window> WindowList(Window of, Atom name) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<Window> out;
        XSync(x, False);
        if (XGetWindowProperty(x, of, name, 0, 1024, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
                Success &&
            data && format == 32)
            for (unsigned long i = 0; i < count; ++i) out.push_back(reinterpret_cast<Window*>(data)[i]);
        if (data) XFree(data);
        return out;
    }

    // ICCCM state: 1 normal, 3 iconic, 0 withdrawn.
    long WmState(Window w) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        long state = 0;
        XSync(x, False);
        if (XGetWindowProperty(x, w, aState, 0, 2, False, aState, &type, &format, &count, &after, &data) == Success &&
            data && count >= 1)
            state = reinterpret_cast<long*>(data)[0];
        if (data) XFree(data);
        return state;
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

    WindowId Show(const Rect& client, WindowId owner = 0) {
        WindowParams p;
        p.owner = owner;
        p.title = "Managed";
        p.client = client;
        WindowId id = d->createWindow(p);
        d->show(id, true);
        Window xid = d->xWindow(id);
        // Managed: framed by the window manager and in its list.
        EXPECT_TRUE(Until([&] { return WmState(xid) == kNormalState && Listed(xid); }))
            << "not managed: state " << WmState(xid) << " listed " << Listed(xid);
        return id;
    }

    bool Listed(Window w) {
        for (Window c : WindowList(root, aStacking))
            if (c == w) return true;
        return false;
    }

    // Stacking order of the window manager, bottom first: a's place before b's.
    bool StackedBelow(Window a, Window b) {
        std::vector<Window> v = WindowList(root, aStacking);
        auto ia = std::find(v.begin(), v.end(), a), ib = std::find(v.begin(), v.end(), b);
        return ia != v.end() && ib != v.end() && ia < ib;
    }

    // Handles the display's events until done() holds (checked after each
    // one and between them) or ms pass; the events are kept in seen.
    bool Until(const std::function<bool()>& done, int ms = 5000) {
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
        Until([&] { return result.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }, 10000);
        return result.get();
    }

    std::string Id(WindowId w) const { return std::to_string(d->xWindow(w)); }

    std::unique_ptr<X11Display> d;
    xprobe::Probe probe;
    ::Display* x = nullptr;
    Window root = 0, focusBefore = 0;
    Atom aCheck = 0, aStacking = 0, aState = 0;
    std::set<Atom> rootProperties;
    pid_t wm = 0;
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

TEST_F(WindowManagerTest, CloseActionReachesOnlyUnblockedWindows) {
    WindowId main = Show(Rect{100, 100, 500, 400});
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
    EXPECT_TRUE(Until([&] { return WmState(d->xWindow(w)) == kIconicState; }));
    EXPECT_EQ(d->activeWindow(), other) << "the focus goes to the window left on the screen";

    seen.clear();
    EXPECT_EQ(Tool("wmctrl -i -a " + Id(w)), "");
    EXPECT_TRUE(Until([&] { return sized(false) == 1 && d->activeWindow() == w; }));
    EXPECT_FALSE(d->window(w)->minimised);
    EXPECT_TRUE(Until([&] { return WmState(d->xWindow(w)) == kNormalState && Focused() == d->xWindow(w); }));
    EXPECT_TRUE(Until([&] { return ShowsItsBackingStore(w); }));
    EXPECT_EQ(Count(EventType::Paint, w), 0) << "the backing store answers the expose";

    // Minimised by the window manager, restored by the program.
    EXPECT_EQ(Tool("xdotool windowminimize " + Id(w)), "");
    EXPECT_TRUE(Until([&] { return d->window(w)->minimised; }));
    d->raise(w);
    EXPECT_TRUE(Until([&] { return WmState(d->xWindow(w)) == kNormalState && Focused() == d->xWindow(w); }));
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
    EXPECT_EQ(probe.Bells(100), 0) << "no click, no bell";

    EXPECT_EQ(Tool("xdotool mousemove 120 120 click 1"), "");
    // A click in the dialog comes after it, and is delivered.
    EXPECT_EQ(Tool("xdotool mousemove 210 210 click 1"), "");
    EXPECT_TRUE(Until([&] { return Count(EventType::ButtonPress, modal) == 1; }));
    EXPECT_EQ(Count(EventType::ButtonPress, main), 0);
    EXPECT_EQ(d->activeWindow(), modal);
    EXPECT_TRUE(Until([&] { return Focused() == dialog; }));
    EXPECT_EQ(probe.Bells(300), 1) << "one click, one bell";
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

} // namespace
