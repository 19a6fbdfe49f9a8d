// The order in which the display hands out events: synchronous deliveries
// from inside calls, the FIFO queue, and what is made only when it is empty.
#include "display_fixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using plat::Event;
using plat::EventType;
using plat::Rect;
using plat::WindowId;
using Lines = std::vector<std::string>;

using Delivery = plattest::DisplayTest;

TEST_F(Delivery, FocusOutComesBeforeFocusInFromInsideTheCall) {
    WindowId a = make({100, 100, 300, 300});
    WindowId b = make({400, 100, 600, 300});
    d.show(a, true);
    EXPECT_EQ(rec.take(), (Lines{"FocusIn 1"}));
    d.show(b, true);
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 1", "FocusIn 2"}));
    d.activate(a);
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 2", "FocusIn 1"}));
    d.activate(a);
    EXPECT_TRUE(rec.take().empty()) << "activating the active window changes nothing";
    d.destroyWindow(a);
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 1", "FocusIn 2"}));
    EXPECT_EQ(d.activeWindow(), b);
}

TEST_F(Delivery, HidingGivesTheFocusToTheOwnerElseTheTopmostWindow) {
    WindowId main = shown({100, 100, 300, 300});
    WindowId other = shown({400, 100, 600, 300});
    WindowId dialog = make({150, 150, 250, 250}, main);
    d.show(dialog, true);
    rec.lines.clear();
    d.activate(other); // the dialog's owner is now below another window
    rec.lines.clear();
    d.activate(dialog);
    rec.lines.clear();
    d.hide(dialog);
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 3", "FocusIn 1"})) << "the owner, not the topmost window";
    EXPECT_EQ(d.zOrder(), (std::vector<WindowId>{other, main}));
    d.hide(main);
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 1", "FocusIn 2"}));
    d.hide(other);
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 2"}));
    EXPECT_EQ(d.activeWindow(), 0u);
    EXPECT_FALSE(d.injectKey(plat::KeyInfo{'A', 0x1E, false, 'a'})) << "no window takes keys";
}

TEST_F(Delivery, PopupsNeverTakeTheFocus) {
    WindowId main = shown({100, 100, 300, 300});
    WindowId popup = make({120, 120, 180, 200}, main, plat::WindowKind::Popup);
    d.show(popup, true);
    EXPECT_FALSE(d.activate(popup));
    EXPECT_EQ(d.activeWindow(), main);
    EXPECT_EQ(d.zOrder().back(), popup);
    rec.allowActivation = false; // a click on a popup asks nothing
    EXPECT_TRUE(d.injectButton(130, 130, plat::kLeftButton, true));
    EXPECT_EQ(drain(), (Lines{"Enter 2 10 10", "Motion 2 10 10", "Press 2 10 10 1 256", "Paint 2 0,0,60,80"}));
    d.hide(main);
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 1"})) << "the popup is shown but cannot be active";
}

TEST_F(Delivery, AGeometryChangeMovesBeforeItResizes) {
    WindowId a = shown({100, 100, 300, 300});
    d.setGeometry(a, {50, 60, 250, 160});
    EXPECT_EQ(rec.take(), (Lines{"Move 1 50 60", "Resize 1 200 100"}));
    EXPECT_EQ(d.surface(a)->width(), 200);
    EXPECT_EQ(d.surface(a)->height(), 100);
    EXPECT_EQ(drain(), (Lines{"Paint 1 0,0,200,100"})) << "a new size is painted whole";
    d.setGeometry(a, {70, 60, 270, 160});
    EXPECT_EQ(rec.take(), (Lines{"Move 1 70 60"}));
    EXPECT_TRUE(drain().empty()) << "a move keeps the backing store";
    d.setGeometry(a, {70, 60, 270, 160});
    EXPECT_TRUE(rec.take().empty());
    d.setGeometry(a, {70, 60, 20, 10});
    EXPECT_EQ(rec.take(), (Lines{"Resize 1 0 0"})) << "a reversed rectangle is empty, not negative";
    d.setGeometry(a, {INT_MAX - 5, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(rec.take(), (Lines{"Move 1 16777216 -16777216", "Resize 1 0 8192"}))
        << "far positions are pulled in and sizes bounded, without overflow";
}

TEST_F(Delivery, InvalidationsGatherIntoOnePaintOfTheirBoundingRectangle) {
    WindowId a = make({100, 100, 300, 300});
    d.invalidate(a, {0, 0, 5, 5});
    EXPECT_TRUE(drain().empty()) << "hidden windows are not painted";
    d.show(a, false);
    EXPECT_EQ(drain(), (Lines{"Paint 1 0,0,200,200"})) << "first show";
    d.invalidate(a, {10, 10, 20, 20});
    d.invalidate(a, {50, 5, 60, 15});
    d.invalidate(a, {30, 40, 35, 45});
    d.invalidate(a, {190, 190, 400, 400}); // cut to the client area
    d.invalidate(a, {20, 20, 20, 30});     // empty: adds nothing
    EXPECT_EQ(drain(), (Lines{"Paint 1 10,5,200,200"}));
    EXPECT_TRUE(drain().empty());
    d.invalidate(a, {1, 2, 3, 4});
    EXPECT_TRUE(d.update(a));
    EXPECT_EQ(rec.take(), (Lines{"Paint 1 1,2,3,4"})) << "update paints from inside the call";
    EXPECT_FALSE(d.update(a)) << "nothing left to paint";
    EXPECT_TRUE(drain().empty());
}

TEST_F(Delivery, APaintAskedForWhilePaintingComesNext) {
    WindowId a = shown({100, 100, 300, 300});
    int paints = 0;
    d.setListener([&](const Event& e) -> std::intptr_t {
        if (e.type == EventType::Paint && ++paints == 1) d.invalidate(a, {0, 0, 1, 1});
        return 0;
    });
    d.invalidate(a);
    plattest::EventRecorder::Drain(d);
    EXPECT_EQ(paints, 2);
}

TEST_F(Delivery, OneTimerEventPerTickHoweverLateTheLoopIs) {
    plat::VirtualClock& clock = *d.virtualClock();
    plat::TimerId t = d.startTimer(50);
    EXPECT_TRUE(drain().empty());
    clock.advance(49);
    EXPECT_TRUE(drain().empty());
    clock.advance(1);
    EXPECT_EQ(drain(), (Lines{"Timer 0 " + std::to_string(t) + " 50"}));
    clock.advance(500); // ten intervals with nobody reading
    EXPECT_EQ(drain(), (Lines{"Timer 0 1 550"}));
    clock.advance(20);
    EXPECT_TRUE(drain().empty()) << "the timer keeps its 50 ms phase";
    clock.advance(30);
    EXPECT_EQ(drain(), (Lines{"Timer 0 1 600"}));
    d.stopTimer(t);
    clock.advance(100);
    EXPECT_TRUE(drain().empty());
}

TEST_F(Delivery, InputFirstThenQuitThenPaintThenTimer) {
    WindowId a = shown({100, 100, 300, 300});
    d.startTimer(50);
    d.virtualClock()->advance(50);
    d.invalidate(a, {0, 0, 10, 10});
    d.postQuit(3);
    d.injectKey(plat::KeyInfo{0, 0x3B, false, 0});
    EXPECT_EQ(drain(), (Lines{"Key 1 59 0 0", "Quit 0 3", "Paint 1 0,0,10,10", "Timer 0 1 50"}));
}

TEST_F(Delivery, TheCharacterOfAKeyFollowsItBeforeLaterInput) {
    shown({100, 100, 300, 300});
    d.holdModifiers(plat::kShift | plat::kLeftHeld); // button bits are not modifier keys
    d.injectKey(plat::KeyInfo{'A', 0x1E, false, 'A'});
    d.holdModifiers(0);
    d.injectKey(plat::KeyInfo{0, 0x3B, false, 0});
    Event e;
    Lines seen;
    while (d.peekEvent(e)) {
        seen.push_back(plattest::Describe(e));
        EXPECT_EQ(d.translate(e), e.type == EventType::KeyDown && e.key.character != 0);
    }
    EXPECT_EQ(seen, (Lines{"Key 1 30 65 1", "Char 1 30 65 1", "Key 1 59 0 0"}));
}

TEST_F(Delivery, EventsOfADestroyedWindowAreDropped) {
    WindowId a = shown({100, 100, 300, 300});
    WindowId b = shown({400, 100, 600, 300});
    d.injectKey(plat::KeyInfo{0, 0x01, false, 27});
    d.injectCloseRequest(b);
    d.activate(a);
    d.injectKey(plat::KeyInfo{0, 0x01, false, 27});
    rec.lines.clear();
    d.destroyWindow(b);
    EXPECT_EQ(drain(), (Lines{"Key 1 1 27 0"}));
    EXPECT_FALSE(d.destroyWindow(b));
    EXPECT_EQ(d.surface(b), nullptr);
}

} // namespace
