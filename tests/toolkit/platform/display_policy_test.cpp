// The window manager's policy: activation by clicks and the question asked
// before it, capture, enter and leave, user sizes with limits, minimising,
// close boxes, stacking of owned windows, clipboard and cursors.
#include "display_fixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using plat::Event;
using plat::EventType;
using plat::Rect;
using plat::Rgb;
using plat::WindowId;
using Lines = std::vector<std::string>;

using Policy = plattest::DisplayTest;

TEST_F(Policy, ARefusedActivationEatsTheClick) {
    WindowId a = shown({100, 100, 300, 300});
    WindowId b = shown({400, 100, 600, 300});
    rec.allowActivation = false;
    EXPECT_FALSE(d.injectButton(150, 150, plat::kLeftButton, true));
    EXPECT_EQ(rec.take(), (Lines{"MayActivate 1 0"}));
    EXPECT_EQ(drain(), (Lines{"Enter 1 50 50", "Motion 1 50 50"})) << "no press reaches the window";
    EXPECT_EQ(d.activeWindow(), b);
    EXPECT_EQ(d.zOrder(), (std::vector<WindowId>{a, b}));

    EXPECT_FALSE(d.injectButton(150, 90, plat::kLeftButton, true)) << "on the frame as well";
    EXPECT_EQ(rec.take(), (Lines{"MayActivate 1 1"}));
    EXPECT_EQ(drain(), (Lines{"Leave 1 50 -10"})) << "the pointer went onto the frame";
    EXPECT_FALSE(d.injectCloseRequest(a));
    EXPECT_FALSE(d.injectMinimise(a));
    EXPECT_FALSE(d.injectUserGeometry(a, {0, 0, 100, 100}, 0));
    EXPECT_EQ(rec.take(), (Lines{"MayActivate 1 2", "MayActivate 1 3", "MayActivate 1 1"}));
    EXPECT_TRUE(drain().empty()) << "nothing of the refused actions is queued";
    EXPECT_FALSE(d.window(a)->minimised);
    EXPECT_EQ(d.window(a)->client.x0, 100);
}

TEST_F(Policy, AnAllowedClickActivatesAndRaisesBeforeThePress) {
    WindowId a = shown({100, 100, 300, 300});
    WindowId b = shown({200, 150, 500, 400}); // overlaps a
    EXPECT_TRUE(d.injectButton(150, 120, plat::kLeftButton, true));
    EXPECT_EQ(rec.take(), (Lines{"MayActivate 1 0", "FocusOut 2", "FocusIn 1"}));
    EXPECT_EQ(d.zOrder(), (std::vector<WindowId>{b, a}));
    d.injectButton(150, 120, plat::kLeftButton, false);
    EXPECT_EQ(drain(), (Lines{"Enter 1 50 20", "Motion 1 50 20", "Press 1 50 20 1 256", "Release 1 50 20 1 0"}));
    // A click on the active window asks nothing; a frame click gives no press.
    EXPECT_TRUE(d.injectButton(250, 90, plat::kRightButton, true));
    EXPECT_EQ(drain(), (Lines{"Leave 1 150 -10"}));
    EXPECT_TRUE(d.injectButton(450, 390, plat::kMiddleButton, true)); // b's part not under a
    EXPECT_EQ(rec.take(), (Lines{"MayActivate 2 0", "FocusOut 1", "FocusIn 2"}));
    EXPECT_EQ(drain(), (Lines{"Enter 2 250 240", "Motion 2 250 240", "Press 2 250 240 2 1536"}))
        << "the right button is still held";
    EXPECT_FALSE(d.injectButton(5, 5, plat::kLeftButton, true)) << "the desktop";
    EXPECT_FALSE(d.injectButton(450, 390, 4, true)) << "no such button";
}

TEST_F(Policy, TheCaptureHolderGetsEveryPointerEventInItsOwnCoordinates) {
    WindowId a = shown({100, 100, 300, 300});
    shown({400, 100, 600, 300});
    d.injectPointerMove(150, 150);
    d.injectPointerMove(450, 150);
    EXPECT_EQ(drain(), (Lines{"Enter 1 50 50", "Motion 1 50 50", "Leave 1 350 50", "Enter 2 50 50", "Motion 2 50 50"}));
    EXPECT_TRUE(d.setCapture(a));
    d.injectPointerMove(500, 160);
    d.injectButton(500, 160, plat::kLeftButton, true);
    d.injectWheel(500, 160, plat::kWheelNotch);
    EXPECT_EQ(rec.take(), Lines{}) << "no activation question under capture";
    EXPECT_EQ(drain(), (Lines{"Motion 1 400 60", "Press 1 400 60 1 256", "Wheel 1 400 60 120"}));
    EXPECT_EQ(d.activeWindow(), 2u);
    d.releaseCapture();
    d.injectPointerMove(510, 160);
    d.injectPointerMove(700, 160);
    EXPECT_EQ(drain(), (Lines{"Motion 2 110 60", "Leave 2 300 60"}));
    EXPECT_FALSE(d.injectWheel(700, 160, -plat::kWheelNotch)) << "nothing under the pointer";
    d.hide(a);
    EXPECT_FALSE(d.setCapture(a)) << "hidden windows cannot capture";
    EXPECT_EQ(d.capture(), 0u);
}

TEST_F(Policy, UserSizesKeepTheLimitsAndTheEdgeNotDragged) {
    WindowId a = shown({100, 100, 300, 300});
    plat::SizeLimits limits;
    limits.minWidth = 150;
    limits.minHeight = 80;
    d.setSizeLimits(a, limits);
    // Dragging the left edge to leave 100 pixels stops at the minimum, right edge kept.
    EXPECT_TRUE(d.injectUserGeometry(a, {200, 100, 300, 300}, plat::kEdgeLeft));
    EXPECT_EQ(d.window(a)->client.x0, 150);
    EXPECT_TRUE(rec.take().empty()) << "user sizes come through the queue";
    EXPECT_EQ(drain(), (Lines{"Move 1 150 100", "Resize 1 150 200", "Paint 1 0,0,150,200"}));
    // The bottom-right corner below the minimum keeps the left and top edges.
    d.injectUserGeometry(a, {150, 100, 200, 120}, plat::kEdgeRight | plat::kEdgeBottom);
    EXPECT_EQ(drain(), (Lines{"Resize 1 150 80", "Paint 1 0,0,150,80"}));
    EXPECT_EQ(d.window(a)->client.x1, 300);
    // A held height stays whatever the user drags.
    limits.holdHeight = true;
    d.setSizeLimits(a, limits);
    d.injectUserGeometry(a, {150, 100, 400, 500}, plat::kEdgeRight | plat::kEdgeBottom);
    EXPECT_EQ(drain(), (Lines{"Resize 1 250 80", "Paint 1 0,0,250,80"}));
    // A move keeps the size.
    d.injectUserGeometry(a, {10, 20, 11, 21}, 0);
    EXPECT_EQ(drain(), (Lines{"Move 1 10 20"}));
    EXPECT_EQ(d.window(a)->client.width(), 250);
    // Absurd limits and positions stay bounded.
    limits = plat::SizeLimits{INT_MAX, INT_MAX, false, false};
    d.setSizeLimits(a, limits);
    d.injectUserGeometry(a, {INT_MIN, INT_MIN, INT_MIN + 1, INT_MIN + 1}, plat::kEdgeLeft | plat::kEdgeTop);
    EXPECT_LE(d.window(a)->client.width(), 8192);
    EXPECT_FALSE(d.injectButton(INT_MIN, INT_MAX, plat::kLeftButton, true));
}

TEST_F(Policy, MinimisingPassesTheFocusAndRaisingRestores) {
    WindowId a = shown({100, 100, 300, 300});
    WindowId b = shown({400, 100, 600, 300});
    WindowId fixed = shown({50, 400, 100, 450}, 0, plat::kCloseBox);
    d.activate(b);
    rec.lines.clear();
    EXPECT_FALSE(d.injectMinimise(fixed)) << "no minimise box";
    rec.lines.clear();
    EXPECT_TRUE(d.injectMinimise(b));
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 2", "FocusIn 3"}));
    d.invalidate(b);
    EXPECT_EQ(drain(), (Lines{"Resize 2 minimised"})) << "minimised windows are not painted";
    EXPECT_EQ(d.windowAt(450, 150), 0u);
    EXPECT_FALSE(d.activate(b));
    EXPECT_TRUE(d.raise(b));
    EXPECT_EQ(rec.take(), (Lines{"Resize 2 200 200", "FocusOut 3", "FocusIn 2"}));
    EXPECT_EQ(drain(), (Lines{"Paint 2 0,0,200,200"}));
    EXPECT_EQ(d.zOrder().back(), b);
    EXPECT_FALSE(d.raise(d.createWindow(plat::WindowParams()))) << "only shown windows rise";
    (void)a;
}

TEST_F(Policy, CloseBoxes) {
    WindowId a = shown({100, 100, 300, 300});
    WindowId noClose = shown({400, 100, 600, 300}, 0, plat::kMinimiseBox);
    EXPECT_FALSE(d.injectCloseRequest(noClose));
    EXPECT_TRUE(d.injectCloseRequest(a));
    EXPECT_EQ(rec.take(), (Lines{"MayActivate 1 2", "FocusOut 2", "FocusIn 1"}));
    EXPECT_EQ(drain(), (Lines{"Close 1"}));
    EXPECT_TRUE(d.injectHostCloseRequest(noClose)) << "the host's own request needs no close box";
    EXPECT_EQ(rec.take(), (Lines{"MayActivate 2 2", "FocusOut 1", "FocusIn 2"}));
    EXPECT_EQ(drain(), (Lines{"Close 2"}));
    d.hide(a);
    EXPECT_FALSE(d.injectCloseRequest(a)) << "a hidden window has no close box to press";
    EXPECT_FALSE(d.injectHostCloseRequest(a));
}

TEST_F(Policy, OwnedWindowsStayAboveTheirOwner) {
    WindowId main = shown({100, 100, 300, 300});
    WindowId dialog = shown({150, 150, 250, 250}, main);
    WindowId inner = shown({160, 160, 200, 200}, dialog);
    WindowId other = shown({400, 100, 600, 300});
    EXPECT_EQ(d.zOrder(), (std::vector<WindowId>{main, dialog, inner, other}));
    d.raise(main);
    EXPECT_EQ(d.zOrder(), (std::vector<WindowId>{other, main, dialog, inner}));
    EXPECT_EQ(d.activeWindow(), main);
    EXPECT_EQ(d.windowAt(170, 170), inner);
    d.destroyWindow(main);
    EXPECT_EQ(d.window(dialog)->owner, 0u) << "an owner that is gone is forgotten";
    d.raise(other);
    EXPECT_EQ(d.zOrder(), (std::vector<WindowId>{dialog, inner, other}));
}

TEST_F(Policy, AListenerThatDestroysWindowsWhileFocusMoves) {
    WindowId a = shown({100, 100, 300, 300});
    WindowId b = shown({400, 100, 600, 300});
    WindowId c = shown({100, 400, 300, 600});
    d.setListener([&](const Event& e) -> std::intptr_t {
        rec.lines.push_back(plattest::Describe(e));
        if (e.type == EventType::FocusOut && e.window == c) d.destroyWindow(b);
        return 0;
    });
    d.hide(c); // b, the topmost, would be next, but it is gone before it gets the focus
    EXPECT_EQ(rec.take(), (Lines{"FocusOut 3", "FocusIn 1"}));
    EXPECT_EQ(d.activeWindow(), a);
    d.setListener([&](const Event& e) -> std::intptr_t {
        if (e.type == EventType::FocusOut) d.destroyWindow(e.window);
        return 0;
    });
    d.destroyWindow(a);
    EXPECT_EQ(d.window(a), nullptr);
    EXPECT_EQ(d.activeWindow(), 0u);
}

TEST_F(Policy, ClipboardKeepsTheTextAndTellsTheOwnerWhenAnotherProgramTakesIt) {
    WindowId a = shown({100, 100, 300, 300});
    std::string text;
    EXPECT_FALSE(d.clipboardText(text)) << "empty at start";
    EXPECT_FALSE(d.setClipboardText(99, "x")) << "no such window";
    EXPECT_TRUE(d.setClipboardText(a, "1\n\xBD\r\n"));
    ASSERT_TRUE(d.clipboardText(text));
    EXPECT_EQ(text, "1\n\xBD\r\n") << "the layer keeps the bytes as given";
    EXPECT_EQ(d.clipboardOwner(), a);
    d.injectClipboardFromOtherProgram("other");
    EXPECT_EQ(drain(), (Lines{"ClipboardLost 1"}));
    EXPECT_EQ(d.clipboardOwner(), 0u);
    ASSERT_TRUE(d.clipboardText(text));
    EXPECT_EQ(text, "other");
    d.injectClipboardFromOtherProgram("again");
    EXPECT_TRUE(drain().empty()) << "nobody of ours owned it";
}

TEST_F(Policy, CursorsBeepsAndPalette) {
    WindowId a = shown({100, 100, 300, 300});
    plat::CursorId wait = d.stockCursor(plat::StockCursor::Wait);
    EXPECT_TRUE(d.setCursor(a, wait));
    EXPECT_EQ(d.window(a)->cursor, wait);
    plat::Surface picture(3, 2);
    picture.pixels()[5] = 0xFF0000;
    plat::CursorId own = d.createCursor(picture, 7, -1);
    ASSERT_NE(own, 0u);
    EXPECT_EQ(d.cursorInfo(own)->hotX, 2) << "the hot spot lies on the picture";
    EXPECT_EQ(d.cursorInfo(own)->hotY, 0);
    EXPECT_EQ(d.cursorInfo(own)->image.colorAt(2, 1), 0xFF0000u);
    EXPECT_TRUE(d.setCursor(a, own));
    d.destroyCursor(own);
    EXPECT_EQ(d.window(a)->cursor, 0u) << "a window never shows a destroyed cursor";
    EXPECT_FALSE(d.setCursor(a, own));
    d.destroyCursor(wait);
    EXPECT_NE(d.cursorInfo(wait), nullptr) << "stock cursors stay";
    EXPECT_EQ(d.createCursor(plat::Surface(), 0, 0), 0u);
    EXPECT_NE(d.createCursor(picture, 0, 0), own) << "ids are not given twice";

    d.beep();
    d.beep();
    EXPECT_EQ(d.beepCount(), 2);
    const Rgb three[3] = {0x111111, 0xFF222222, 0x333333};
    d.setPaletteEntries(254, 3, three); // the third lies past the palette
    d.setPaletteEntries(-2, 3, three);
    d.setPaletteEntries(2147483647, 3, three); // no overflow into valid slots
    EXPECT_EQ(d.palette().entries[254], 0x111111u);
    EXPECT_EQ(d.palette().entries[255], 0x222222u) << "only colour bits are kept";
    EXPECT_EQ(d.palette().entries[0], 0x333333u);
    EXPECT_EQ(d.palette().entries[1], 0u);
}

// A backend mirrors the records on its host from the changes it is told of.
class Mirror : public plat::OffscreenDisplay {
public:
    std::vector<std::string> seen;

protected:
    void changed(Change what, WindowId id) override {
        static const char* names[] = {"Created", "Destroyed", "Shown",  "Hidden", "Minimised", "Restored",
                                      "Stacking", "Geometry", "Title", "Limits", "Cursor",   "Capture",
                                      "Focus",   "Palette",   "Clipboard", "Beep"};
        seen.push_back(std::string(names[int(what)]) + " " + std::to_string(id));
    }
};

TEST(Backend, IsToldOfEveryChangeItMustMirror) {
    Mirror d;
    plat::WindowParams p;
    WindowId a = d.createWindow(p);
    WindowId b = d.createWindow(p);
    d.show(a, true);
    d.show(b, true);
    d.setGeometry(a, {0, 0, 50, 50});
    d.setGeometry(a, {0, 0, 50, 50});
    d.setTitle(a, "T");
    d.setCapture(b);
    d.destroyWindow(b);
    d.beep();
    EXPECT_EQ(d.seen, (Lines{"Created 1", "Created 2", "Shown 1", "Focus 1", "Shown 2", "Focus 2",
                             "Geometry 1", "Title 1", "Capture 2", "Hidden 2", "Capture 0", "Focus 1",
                             "Destroyed 2", "Beep 0"}));
}

} // namespace
