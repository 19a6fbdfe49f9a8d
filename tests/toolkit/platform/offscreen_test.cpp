// The offscreen display: the composed screen and its PNG, palette mode, and
// waits that fail instead of hanging.
#include "display_fixture.h"
#include "toolkit/platform/png.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using plat::Event;
using plat::EventType;
using plat::OffscreenDisplay;
using plat::Rect;
using plat::Rgb;
using plat::WindowId;

constexpr Rgb kRed = 0xFF0000;
constexpr Rgb kBlue = 0x0000FF;

void FillWith(plat::Surface& s, Rgb colour) {
    std::fill_n(s.pixels(), std::size_t(s.width()) * std::size_t(s.height()), colour);
}

WindowId ShowFilled(OffscreenDisplay& d, Rect client, Rgb colour) {
    plat::WindowParams p;
    p.client = client;
    WindowId id = d.createWindow(p);
    FillWith(*d.surface(id), colour);
    d.show(id, true);
    return id;
}

Rgb Loaded(const std::string& path, int x, int y) {
    plat::Surface s;
    std::string error;
    EXPECT_TRUE(plat::LoadPng(path, s, &error)) << error;
    return s.colorAt(x, y);
}

TEST(Offscreen, TwoWindowsComposeInStackingOrderIntoAPng) {
    OffscreenDisplay d(plat::OffscreenOptions{640, 480, false, false});
    WindowId red = ShowFilled(d, {100, 100, 300, 250}, kRed);
    WindowId blue = ShowFilled(d, {200, 150, 400, 350}, kBlue);

    const std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/two_windows.png";
    std::string error;
    ASSERT_TRUE(d.saveScreenPng(path, &error)) << error;
    EXPECT_EQ(Loaded(path, 250, 200), kBlue) << "the window shown last is on top";
    EXPECT_EQ(Loaded(path, 150, 150), kRed);
    EXPECT_EQ(Loaded(path, 399, 349), kBlue);
    EXPECT_EQ(Loaded(path, 600, 400), OffscreenDisplay::kDesktop);
    EXPECT_EQ(Loaded(path, 97, 200), OffscreenDisplay::kFrame);
    EXPECT_EQ(Loaded(path, 250, 88), OffscreenDisplay::kInactiveCaption) << "red's caption, beside blue";
    EXPECT_EQ(Loaded(path, 350, 138), OffscreenDisplay::kActiveCaption);

    d.raise(red);
    const std::string raised = std::string(TM_TEST_OUTPUT_DIR) + "/two_windows_raised.png";
    ASSERT_TRUE(d.saveScreenPng(raised, &error)) << error;
    EXPECT_EQ(Loaded(raised, 250, 200), kRed);
    EXPECT_EQ(Loaded(raised, 250, 88), OffscreenDisplay::kActiveCaption);
    EXPECT_EQ(Loaded(raised, 350, 300), kBlue);

    const std::string one = std::string(TM_TEST_OUTPUT_DIR) + "/blue_window.png";
    ASSERT_TRUE(d.saveWindowPng(blue, one, &error)) << error;
    plat::Surface s;
    ASSERT_TRUE(plat::LoadPng(one, s, &error)) << error;
    EXPECT_EQ(s.width(), 200);
    EXPECT_EQ(s.height(), 200);
    EXPECT_EQ(s.colorAt(199, 199), kBlue);
    EXPECT_FALSE(d.saveWindowPng(77, one, &error));
    EXPECT_NE(error.find("no window 77"), std::string::npos);

    ShowFilled(d, {-50, -60, 40, 30}, 0x00FF00); // reaches past the screen's corner
    EXPECT_EQ(d.composite().colorAt(0, 0), 0x00FF00u);
    d.injectMinimise(blue);
    EXPECT_EQ(d.composite().colorAt(350, 300), OffscreenDisplay::kDesktop) << "minimised windows are not drawn";
}

TEST(Offscreen, PaletteModeShowsThroughTheHardwarePaletteWithoutAPaint) {
    OffscreenDisplay d(plat::OffscreenOptions{320, 240, true, false});
    EXPECT_EQ(d.depth(), 8);
    EXPECT_EQ(d.paletteSize(), 256);
    plattest::EventRecorder rec;
    plat::WindowParams p;
    p.client = {10, 30, 110, 130};
    WindowId w = d.createWindow(p);
    plat::Surface& s = *d.surface(w);
    ASSERT_TRUE(s.paletted());
    std::fill_n(s.indices(), 100 * 100, std::uint8_t(7));
    const Rgb green = 0x00FF00;
    d.setPaletteEntries(7, 1, &green);
    d.show(w, true);
    plattest::EventRecorder::Drain(d);
    rec.attach(d);
    EXPECT_EQ(d.composite().colorAt(50, 50), 0x00FF00u);
    const Rgb other = 0x123456;
    d.setPaletteEntries(7, 1, &other);
    EXPECT_EQ(d.composite().colorAt(50, 50), 0x123456u);
    plattest::EventRecorder::Drain(d);
    EXPECT_TRUE(rec.lines.empty()) << "a palette change needs no paint";
    d.setGeometry(w, {10, 30, 60, 80});
    EXPECT_TRUE(d.surface(w)->paletted()) << "a resized window stays paletted";

    OffscreenDisplay trueColour;
    EXPECT_EQ(trueColour.depth(), 24);
    EXPECT_EQ(trueColour.paletteSize(), 0);
    EXPECT_FALSE(trueColour.surface(trueColour.createWindow(p))->paletted());
}

TEST(Offscreen, AWaitingLoopFailsInsteadOfHanging) {
    OffscreenDisplay d;
    int answer = 0;
    d.setListener([&](const Event& e) -> std::intptr_t {
        if (e.type == EventType::ButtonPress) answer = 1;
        return 1;
    });
    plat::WindowParams p;
    p.client = {100, 100, 200, 200};
    WindowId w = d.createWindow(p);
    d.show(w, true);
    auto modalLoop = [&] {
        while (answer == 0) d.dispatch(d.waitEvent());
    };
    EXPECT_THROW(modalLoop(), plat::WaitWouldHang) << "nothing would ever end it";

    d.startTimer(50);
    d.setIdleHook([] { return true; }, 20); // claims to help but brings nothing
    EXPECT_THROW(modalLoop(), plat::WaitWouldHang) << "timers only tick when the clock moves";
    EXPECT_EQ(d.idleCalls(), 20);

    d.setIdleHook([] { return false; });
    EXPECT_THROW(d.waitEvent(), plat::WaitWouldHang);
    EXPECT_EQ(d.idleCalls(), 1);

    // A hook that moves the clock and then clicks ends the loop.
    int ticks = 0;
    d.setListener([&](const Event& e) -> std::intptr_t {
        if (e.type == EventType::Timer) ++ticks;
        if (e.type == EventType::ButtonPress) answer = 1;
        return 1;
    });
    d.setIdleHook([&] {
        if (d.virtualClock()->nowMs() < 200) {
            d.virtualClock()->advance(10);
        } else {
            d.injectButton(150, 150, plat::kLeftButton, true);
        }
        return true;
    });
    modalLoop();
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(d.idleCalls(), 21);
}

TEST(Offscreen, TheProgramsDisplayRunsOnTheRealClock) {
    auto d = plat::OpenDisplay(plat::DisplayOptions{800, 600, true, true});
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->clock().real());
    EXPECT_EQ(d->screenWidth(), 800);
    EXPECT_EQ(d->screenHeight(), 600);
    EXPECT_TRUE(d->paletteMode());
    // A timer due in 20 ms: the wait sleeps until it is due instead of failing.
    // The time is read before the timer starts: read after, it may already
    // be a millisecond on from the one the timer counts from.
    std::int64_t before = d->clock().nowMs();
    d->startTimer(20);
    Event e = d->waitEvent();
    EXPECT_EQ(e.type, EventType::Timer);
    EXPECT_GE(d->clock().nowMs() - before, 20);
}

TEST(VirtualClock, MovesOnlyWhenToldAndTheCalendarMaySetBack) {
    plat::VirtualClock c;
    EXPECT_EQ(c.nowMs(), 0);
    c.advance(1500);
    c.advance(-100);
    EXPECT_EQ(c.nowMs(), 1500);
    EXPECT_EQ(c.wallMs(), plat::VirtualClock::kDefaultWallStart + 1500);
    c.setWallMs(1000);
    c.advance(5);
    EXPECT_EQ(c.wallMs(), 1005);
    EXPECT_EQ(c.nowMs(), 1505) << "the steady reading never goes back";
}

} // namespace
