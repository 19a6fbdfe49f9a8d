// The X11 backend against a real X server: pixels, keys, close requests,
// modality, geometry from outside and the clipboard, each checked through a
// second X client or the desktop tools.
#include "toolkit/platform/x11_display.h"

#include "toolkit/platform/bitmap.h"
#include "toolkit/platform/png.h"
#include "support/reference_picture.h"
#include "support/wait_until.h"
#include "support/x_probe.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <vector>

using namespace plat;

namespace {

class X11Test : public ::testing::Test {
protected:
    void SetUp() override {
        // These tests must run wherever they are built for: no server is a failure.
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
        ASSERT_TRUE(probe.connected()); // first, so that the server is up for the display
        std::string error;
        d = X11Display::Open("", false, &error);
        ASSERT_TRUE(d) << error;
        d->setListener([this](const Event& e) -> std::intptr_t {
            if (e.type == EventType::ActivateQuery) {
                if (modal && e.window != modal) {
                    d->beep();
                    return 0;
                }
                return 1;
            }
            return 0;
        });
    }

    WindowId Show(const Rect& client, WindowId owner = 0, WindowKind kind = WindowKind::Framed) {
        WindowParams p;
        p.kind = kind;
        p.owner = owner;
        p.title = "Test";
        p.client = client;
        WindowId id = d->createWindow(p);
        d->show(id, kind == WindowKind::Framed);
        // Mapped, exposed, painted.
        EXPECT_TRUE(xwait::Until("window " + std::to_string(d->xWindow(id)) + " to be mapped",
                                 [&] { return probe.Viewable(d->xWindow(id)); }));
        CatchUp();
        return id;
    }

    // Takes every event the server has sent so far: with no window manager
    // between, what another client did before has then arrived, and the
    // windows' pixels are on the server. Returns what came.
    std::vector<Event> CatchUp() {
        d->present();
        xprobe::Probe::Sync(d->connection());
        std::vector<Event> seen;
        for (Event e; d->peekEvent(e);) {
            if (e.type == EventType::Timer) continue;
            d->dispatch(e);
            seen.push_back(e);
        }
        d->present();
        xprobe::Probe::Sync(d->connection());
        return seen;
    }

    // Takes events until stop says so or ms pass; returns what came.
    std::vector<Event> Pump(const std::function<bool(const Event&)>& stop, int ms = xwait::kCeilingMs) {
        std::vector<Event> seen;
        TimerId tick = d->startTimer(20);
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            Event e = d->waitEvent();
            if (e.type == EventType::Timer) continue;
            d->dispatch(e);
            seen.push_back(e);
            if (stop(e)) break;
        }
        d->stopTimer(tick);
        return seen;
    }

    // Runs a desktop tool while the display keeps answering the server; the
    // events taken meanwhile are kept in beside.
    std::string RunBeside(const std::string& command) {
        auto result = std::async(std::launch::async, [command] { return xprobe::Run(command); });
        EXPECT_TRUE(xwait::Until(command + " to end", [&] {
            auto got = Pump([](const Event&) { return false; }, 30);
            beside.insert(beside.end(), got.begin(), got.end());
            return result.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
        }));
        return result.get();
    }

    KeyInfo Key(const std::string& keys, std::uint32_t* modifiers) {
        EXPECT_EQ(xprobe::Run("xdotool key " + keys), "");
        KeyInfo info;
        Pump([&](const Event& e) {
            if (e.type != EventType::KeyDown || e.key.scanCode == 0x1D || e.key.scanCode == 0x38 || e.key.scanCode == 0x2A ||
                e.key.scanCode == 0x45)
                return false; // the modifier and lock keys themselves
            info = e.key;
            *modifiers = e.modifiers;
            return true;
        });
        return info;
    }

    void SetNumLock(bool on) {
        if (probe.NumLockOn() != on) xprobe::Run("xdotool key Num_Lock");
        ASSERT_EQ(probe.NumLockOn(), on);
    }

    static void Pattern(Surface& s, int seed) {
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                s.pixels()[std::size_t(y) * std::size_t(s.width()) + std::size_t(x)] =
                    MakeRgb(x * 7 + seed, y * 13, (x ^ y) + seed * 3);
    }

    static bool SamePixels(const Surface& a, const Surface& b, std::string* where) {
        if (a.width() != b.width() || a.height() != b.height()) {
            *where = "sizes differ";
            return false;
        }
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.colorAt(x, y) != b.colorAt(x, y)) {
                    *where = "first difference at " + std::to_string(x) + "," + std::to_string(y);
                    return false;
                }
        return true;
    }

    std::unique_ptr<X11Display> d;
    xprobe::Probe probe;
    WindowId modal = 0;
    std::vector<Event> beside;
};

TEST_F(X11Test, WindowShowsItsBackingStoreAndExposesAreAnsweredWithoutPaints) {
    WindowId w = Show(Rect{40, 50, 200, 150});
    Pattern(*d->surface(w), 1);
    d->present();
    xprobe::Probe::Sync(d->connection());
    std::string where;
    EXPECT_TRUE(SamePixels(probe.Pixels(d->xWindow(w)), *d->surface(w), &where)) << where;

    // The same through the desktop's own screenshot tools.
    std::string png = std::string(TM_TEST_OUTPUT_DIR) + "/x11_window.png";
    EXPECT_EQ(xprobe::Run("xwd -silent -id " + std::to_string(d->xWindow(w)) + " | convert xwd:- png:" + png), "");
    Surface fromXwd;
    std::string error;
    ASSERT_TRUE(LoadPng(png, fromXwd, &error)) << error;
    EXPECT_TRUE(SamePixels(fromXwd, *d->surface(w), &where)) << where;
    EXPECT_TRUE(refpic::MatchesReference(fromXwd, TM_TEST_SOURCE_DIR "/toolkit/platform/x11/reference/x11_window.png",
                                         png, refpic::kOnServer));

    // Only a changed corner goes out again; the rest stays.
    d->surface(w)->pixels()[0] = 0x123456;
    d->present();
    xprobe::Probe::Sync(d->connection());
    EXPECT_TRUE(SamePixels(probe.Pixels(d->xWindow(w)), *d->surface(w), &where)) << where;

    // A popup over it goes away: the uncovered part comes back from the
    // backing store and the program is not asked to paint.
    WindowId cover = Show(Rect{60, 70, 140, 120}, 0, WindowKind::Popup);
    d->destroyWindow(cover);
    auto events = CatchUp();
    for (const Event& e : events) EXPECT_FALSE(e.type == EventType::Paint && e.window == w);
    xprobe::Probe::Sync(d->connection());
    EXPECT_TRUE(SamePixels(probe.Pixels(d->xWindow(w)), *d->surface(w), &where)) << where;
}

TEST_F(X11Test, PaletteDisplayShowsThePaletteOfTheMoment) {
    d.reset();
    std::string error;
    d = X11Display::Open("", true, &error);
    ASSERT_TRUE(d) << error;
    WindowId w = Show(Rect{300, 300, 340, 330});
    Rgb colours[3] = {0x102030, 0xFF8000, 0x00FF7F};
    d->setPaletteEntries(0, 3, colours);
    Surface* s = d->surface(w);
    for (int i = 0; i < s->width() * s->height(); ++i) s->indices()[i] = std::uint8_t(i % 3);
    d->present();
    xprobe::Probe::Sync(d->connection());
    std::string where;
    EXPECT_TRUE(SamePixels(probe.Pixels(d->xWindow(w)), ToTrueColour(*s), &where)) << where;
    Rgb changed = 0xABCDEF;
    d->setPaletteEntries(1, 1, &changed); // no drawing
    xprobe::Probe::Sync(d->connection());
    Surface shown = probe.Pixels(d->xWindow(w));
    EXPECT_EQ(shown.colorAt(1, 0), 0xABCDEFu);
    EXPECT_TRUE(SamePixels(shown, ToTrueColour(*s), &where)) << where;
}

TEST_F(X11Test, KeysArriveWithScanCodesByPositionAndModifiers) {
    Show(Rect{100, 100, 300, 200});
    std::uint32_t mods = 0;

    KeyInfo k = Key("ctrl+c", &mods);
    EXPECT_EQ(k.scanCode, 0x2E);
    EXPECT_FALSE(k.extended);
    EXPECT_EQ(k.virtualKey, 'C');
    EXPECT_EQ(k.character, 3) << "Ctrl with a letter types its control character";
    EXPECT_EQ(mods & (kShift | kCtrl | kAlt), kCtrl);

    k = Key("alt+F4", &mods);
    EXPECT_EQ(k.scanCode, 0x3E);
    EXPECT_FALSE(k.extended);
    EXPECT_EQ(mods & (kShift | kCtrl | kAlt), kAlt);

    k = Key("shift+a", &mods);
    EXPECT_EQ(k.scanCode, 0x1E);
    EXPECT_EQ(k.character, 'A');
    EXPECT_EQ(mods & (kShift | kCtrl | kAlt), kShift);

    k = Key("Home", &mods);
    EXPECT_EQ(k.scanCode, 0x47);
    EXPECT_TRUE(k.extended) << "the Home of the cursor block";
    EXPECT_EQ(k.character, 0);

    k = Key("KP_Enter", &mods);
    EXPECT_EQ(k.scanCode, 0x1C);
    EXPECT_TRUE(k.extended);
    EXPECT_EQ(k.character, 13);
}

TEST(X11Keys, DeadKeysAccentTheNextCharacter) {
    const struct {
        unsigned long dead, sym;
        char32_t typed, composed;
    } cases[] = {
        {0xFE51, 'e', 'e', 0xE9},   {0xFE51, 'E', 'E', 0xC9},  {0xFE52, 'o', 'o', 0xF4},  // acute é É, circumflex ô
        {0xFE57, 'Y', 'Y', 0x178},  {0xFE57, 'u', 'u', 0xFC},  {0xFE53, 'n', 'n', 0xF1},  // diaeresis Ÿ ü, tilde ñ
        {0xFE50, 'a', 'a', 0xE0},   {0xFE5B, 'C', 'C', 0xC7},  {0xFE58, 'a', 'a', 0xE5},  // grave à, cedilla Ç, ring å
        {0xFE51, ' ', ' ', 0xB4},   {0xFE51, 0xFE51, 0, 0xB4}, {0xFE52, ' ', ' ', '^'},   // the accent alone
        {0xFE51, 'n', 'n', 0},      {0xFE51, '1', '1', 0},     {0xFE60, 'e', 'e', 0},     // no letter: beep, typed bare
        {0xFE51, 0xFF0D, 13, 13},   {0xFE57, 0xFF08, 8, 8},                                 // Enter, Backspace as they are
        {0xFE5A, 'z', 'z', 0x17E},                                                      // caron: ž, the last
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComposeDeadKey(c.dead, c.sym, c.typed), c.composed) << std::hex << c.dead << " " << c.sym;
}

TEST_F(X11Test, DeadAcuteThenETypesEAcuteOnAGermanLayout) {
    ASSERT_EQ(xprobe::Run("setxkbmap de"), "");
    struct Restore {
        ~Restore() { xprobe::Run("setxkbmap us"); } // for the tests after, even when this one fails
    } restore;
    d = X11Display::Open("", false, nullptr); // started on that layout
    d->setListener([](const Event&) -> std::intptr_t { return 1; });
    Show(Rect{100, 100, 300, 200});
    std::uint32_t mods = 0;
    EXPECT_EQ(Key("dead_acute", &mods).character, 0);
    EXPECT_EQ(Key("e", &mods).character, 0xE9);
    EXPECT_EQ(Key("e", &mods).character, 'e');
    // No accented n in Windows-1252: the n bare, with a beep for the accent lost.
    const int beeps = d->beepCount();
    EXPECT_EQ(Key("dead_acute", &mods).character, 0);
    EXPECT_EQ(Key("n", &mods).character, 'n');
    EXPECT_EQ(d->beepCount() - beeps, 1);
}

TEST_F(X11Test, KeypadSevenTellsTheNumLockState) {
    Show(Rect{100, 100, 300, 200});
    std::uint32_t mods = 0;
    SetNumLock(false);
    KeyInfo k = Key("KP_Home", &mods);
    EXPECT_EQ(k.scanCode, 0x47);
    EXPECT_FALSE(k.extended) << "the keypad shares the scan code, not the flag";
    EXPECT_EQ(k.character, 0);
    EXPECT_EQ(mods & kNumLock, 0u);

    SetNumLock(true);
    k = Key("KP_7", &mods);
    EXPECT_EQ(k.scanCode, 0x47);
    EXPECT_FALSE(k.extended);
    EXPECT_EQ(k.character, '7');
    EXPECT_EQ(mods & kNumLock, kNumLock);
    SetNumLock(false);
}

TEST_F(X11Test, CloseRequestsOfTheWindowManagerReachOnlyUnblockedWindows) {
    WindowId main = Show(Rect{100, 100, 400, 300});
    probe.SendClose(d->xWindow(main));
    auto got = Pump([&](const Event& e) { return e.type == EventType::CloseRequest; });
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().type, EventType::CloseRequest);
    EXPECT_EQ(got.back().window, main);

    modal = Show(Rect{150, 150, 300, 250}, main);
    // The dialog's request, sent after the main window's, comes after it.
    probe.SendClose(d->xWindow(main));
    probe.SendClose(d->xWindow(modal));
    got = Pump([](const Event& e) { return e.type == EventType::CloseRequest; });
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().type, EventType::CloseRequest);
    EXPECT_EQ(got.back().window, modal) << "the main window is blocked";
}

TEST_F(X11Test, ClickOnAWindowUnderAModalDialogRingsTheBellAndIsNotDelivered) {
    WindowId main = Show(Rect{100, 100, 500, 400});
    modal = Show(Rect{200, 200, 300, 260}, main);
    probe.Bells(d->connection());
    EXPECT_EQ(xprobe::Run("xdotool mousemove 120 120 click 1"), "");
    auto got = CatchUp();
    for (const Event& e : got) EXPECT_NE(e.type, EventType::ButtonPress);
    EXPECT_EQ(probe.Bells(d->connection(), 1), 1);
    EXPECT_EQ(d->activeWindow(), modal);

    EXPECT_EQ(xprobe::Run("xdotool mousemove 210 210 click 1"), "");
    got = Pump([](const Event& e) { return e.type == EventType::ButtonPress; });
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().type, EventType::ButtonPress);
    EXPECT_EQ(got.back().window, modal);
    EXPECT_EQ(got.back().x, 10);
    EXPECT_EQ(got.back().y, 10);
    EXPECT_EQ(probe.Bells(d->connection()), 0);
}

TEST_F(X11Test, WheelNotchesAndCapturedMotionOutsideTheWindow) {
    WindowId w = Show(Rect{100, 100, 300, 200});
    EXPECT_EQ(xprobe::Run("xdotool mousemove 150 150 click 4 click 5"), "");
    std::vector<int> deltas;
    Pump([&](const Event& e) {
        if (e.type == EventType::Wheel) deltas.push_back(e.wheelDelta);
        return deltas.size() == 2;
    });
    EXPECT_EQ(deltas, (std::vector<int>{kWheelNotch, -kWheelNotch})) << "away from the user first";

    ASSERT_TRUE(d->setCapture(w));
    EXPECT_EQ(xprobe::Run("xdotool mousemove 600 500"), "");
    auto got = Pump([](const Event& e) { return e.type == EventType::PointerMove && e.screenX == 600; });
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().window, w);
    EXPECT_EQ(got.back().x, 500);
    EXPECT_EQ(got.back().y, 400);
    d->releaseCapture();
}

TEST_F(X11Test, MovesAndSizesFromOutsideBecomeMoveAndResize) {
    WindowId w = Show(Rect{100, 100, 300, 200});
    SizeLimits limits;
    limits.minWidth = 150;
    d->setSizeLimits(w, limits);
    probe.MoveResize(d->xWindow(w), 120, 130, 250, 90);
    auto got = Pump([](const Event& e) { return e.type == EventType::Resize; });
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().width, 250);
    EXPECT_EQ(got.back().height, 90);
    EXPECT_EQ(d->window(w)->client.x0, 120);
    EXPECT_EQ(d->window(w)->client.y0, 130);

    // Below the minimum width: the layer stops it and the window follows.
    probe.MoveResize(d->xWindow(w), 120, 130, 50, 90);
    Pump([](const Event& e) { return e.type == EventType::Resize; });
    EXPECT_EQ(d->window(w)->client.width(), 150);
    EXPECT_TRUE(xwait::Until("the window to follow the limit", [&] {
        CatchUp();
        return probe.Pixels(d->xWindow(w)).width() == 150;
    }, [&] { return std::to_string(probe.Pixels(d->xWindow(w)).width()) + " pixels wide"; }));
}

TEST_F(X11Test, ClipboardGoesBothWaysAsUtf8) {
    WindowId w = Show(Rect{100, 100, 200, 200});
    ASSERT_TRUE(d->setClipboardText(w, "Caf\xE9 \x80 \xBD\r\nline 2"));
    EXPECT_EQ(RunBeside("xclip -o -selection clipboard"), "Caf\xC3\xA9 \xE2\x82\xAC \xC2\xBD\nline 2");
    EXPECT_EQ(RunBeside("xclip -o -selection clipboard -t TARGETS | grep -c UTF8_STRING"), "1\n");

    // Another program takes it: the owner hears so and reads the new text.
    EXPECT_EQ(RunBeside("printf 'Stra\\303\\237e\\nk\\342\\231\\224' | xclip -loops 1 -selection clipboard -i >/dev/null 2>&1"), "");
    const auto lostIn = [&](const std::vector<Event>& events) {
        return std::count_if(events.begin(), events.end(), [&](const Event& e) {
            return e.type == EventType::ClipboardLost && e.window == w;
        });
    };
    // xclip may still be taking the selection when the shell has ended.
    auto got = lostIn(beside) ? CatchUp() : Pump([](const Event& e) { return e.type == EventType::ClipboardLost; });
    got.insert(got.begin(), beside.begin(), beside.end());
    int lost = 0;
    for (const Event& e : got) lost += e.type == EventType::ClipboardLost && e.window == w;
    EXPECT_EQ(lost, 1);
    std::string text;
    ASSERT_TRUE(d->clipboardText(text));
    EXPECT_EQ(text, "Stra\xDF" "e\r\nk?") << "CR LF line ends; a chess king the code page lacks becomes '?'";
}

} // namespace
