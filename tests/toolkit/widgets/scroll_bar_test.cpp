// Scroll bars: the value rule and the setters' clamping, the callback on
// real changes only, the press repeat on a virtual clock, centring and
// dragging the thumb, squeezed bars, keys and wheel, and the picture of
// both orientations.
#include "toolkit/widgets/scroll_bar.h"

#include "toolkit/core/bmp_writer.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "widget_fixture.h"

namespace {

WkTimeVal now;
void Clock(WkTimeVal* t) { *t = now; }

void Record(WkObject*, std::intptr_t value, void* data) { static_cast<std::vector<int>*>(data)->push_back(int(value)); }

class ScrollBarTest : public wt::WidgetTest {
protected:
    void SetUp() override {
        Start();
        now = WkTimeVal{1000, 0};
        WkSetClock(Clock);
        shell = Window();
    }
    WkObject* Bar(int orientation, int view, int maximum) {
        WkObject* bar = WkCreateScrollBar(shell, orientation, view, maximum);
        WkScrollBarSetCallback(bar, Record, &calls);
        return bar;
    }
    // Shows the window, then gives the bar its place and length.
    void Show() {
        WkShellRealizeWithGeometry(shell, 0, 0, 420, 300);
        WkFlushEvents();
    }
    void Place(WkObject* bar, int x, int y, int length) {
        bar->x = x, bar->y = y;
        bool vertical = WkScrollBarRecord(bar)->orientation == WK_SCROLL_VERTICAL;
        WkSendSimpleMessage(bar, WK_MSG_RESIZE, 0, vertical ? 19 : length, vertical ? length : 19);
    }
    // Pointer messages along a vertical bar.
    void Send(WkObject* bar, int type, int along, int button) {
        WkMessage m;
        m.type = type;
        WkSetPointerPosition(&m, 9, along);
        WkSetPointerButton(&m, button);
        WkSetPointerState(&m, type == WK_MSG_MOTION ? 0x100 : 0);
        WkSendMessage(bar, &m);
    }
    void RunTo(long ms) {
        now = WkTimeVal{1000 + ms / 1000, (ms % 1000) * 1000};
        WkRunTimeoutsUntil(now);
    }

    WkObject* shell = nullptr;
    std::vector<int> calls;
};

TEST_F(ScrollBarTest, ValueRuleAndSetters) {
    WkObject* bar = Bar(WK_SCROLL_VERTICAL, 10, 100);
    WkObject* wide = Bar(WK_SCROLL_HORIZONTAL, 20, 10);
    WkScrollBarSetStep(bar, 5);
    for (auto [in, out] : {std::pair{12, 10}, {13, 15}, {97, 90}, {-3, 0}, {2147483647, 90}, {88, 90}}) {
        WkScrollBarSetValue(bar, in);
        EXPECT_EQ(WkScrollBarGetValue(bar), out) << in;
    }
    EXPECT_EQ(calls, (std::vector<int>{10, 15, 90, 0, 90})); // none for an equal value

    EXPECT_EQ(WkScrollBarGetMaximum(wide), 20);
    EXPECT_EQ(WkScrollBarGetValue(wide), 0);
    WkScrollBarSetMaximum(wide, 100);
    WkScrollBarSetValue(wide, 50);
    WkScrollBarSetView(wide, 0);
    EXPECT_EQ(WkScrollBarGetView(wide), 20);
    WkScrollBarSetView(wide, 150);
    EXPECT_EQ(WkScrollBarGetView(wide), 100);
    EXPECT_EQ(WkScrollBarGetValue(wide), 0);
    WkScrollBarSetMaximum(wide, 40);
    EXPECT_EQ(WkScrollBarGetView(wide), 40);
    WkScrollBarSetValues(wide, 200, 50, 160);
    EXPECT_EQ(WkScrollBarGetValue(wide), 150);
    WkScrollBarSetValues(wide, 0, 0, -1); // keeps all three
    EXPECT_EQ(calls, (std::vector<int>{10, 15, 90, 0, 90, 50, 0, 150}));
    // A step of 0 would divide by zero.
    WkScrollBarSetStep(wide, 0);
    WkScrollBarSetValue(wide, 7);
    EXPECT_EQ(WkScrollBarGetValue(wide), 7);
}

TEST_F(ScrollBarTest, HeldArrowRepeatsUntilRelease) {
    WkObject* bar = Bar(WK_SCROLL_VERTICAL, 10, 100);
    Show();
    Place(bar, 4, 4, 120);
    Send(bar, WK_MSG_PRESS, 120 - 5, 1);
    for (long ms : {49, 50, 449, 450, 530, 610, 650}) RunTo(ms);
    EXPECT_EQ(calls, (std::vector<int>{1, 2, 3, 4}));
    Send(bar, WK_MSG_RELEASE, 120 - 5, 1);
    RunTo(2000);
    EXPECT_EQ(calls.size(), 4u);
    EXPECT_EQ(WkGetGrab(), nullptr);
    // A click shorter than the first delay still steps once.
    Send(bar, WK_MSG_PRESS, 5, 1);
    Send(bar, WK_MSG_RELEASE, 5, 1);
    EXPECT_EQ(WkScrollBarGetValue(bar), 3);
}

TEST_F(ScrollBarTest, ThumbCentresDragsAndEndsAtTheSecondArrow) {
    WkObject* bar = Bar(WK_SCROLL_VERTICAL, 10, 100);
    WkObjectRefuseFocus(bar); // the window would give it the focus, whose frame covers the thumb's edges
    Show();
    Place(bar, 4, 4, 140); // a track of 100 pixels
    WkScrollBarData* d = WkScrollBarRecord(bar);
    Send(bar, WK_MSG_PRESS, 80, 2);
    RunTo(50);
    EXPECT_NEAR(d->thumb.y + d->thumb.height / 2.0, 80, 1);
    Send(bar, WK_MSG_RELEASE, 80, 2);
    int grip = d->thumb.y + 3;
    Send(bar, WK_MSG_PRESS, grip, 1);
    RunTo(100);
    Send(bar, WK_MSG_MOTION, grip + 20, 1);
    EXPECT_EQ(WkScrollBarGetValue(bar), 55 + 20);
    Send(bar, WK_MSG_RELEASE, grip + 20, 1);

    WkScrollBarSetValue(bar, 90);
    WkEndDraw();
    plat::Surface& s = *display->surface(WkObjectGetNativeWindow(shell));
    int secondArrow = 140 - 1 - WK_SCROLL_ARROW, ax, ay;
    WkObjectGetAbsolutePosition(bar, &ax, &ay);
    EXPECT_EQ(d->thumb.y + d->thumb.height, secondArrow);
    // The thumb's dark bottom edge lies right above the arrow's light top edge.
    EXPECT_EQ(s.colorAt(ax + 9, ay + secondArrow - 1), WkNativePixel(d->thumb.darkShadow));
    EXPECT_EQ(s.colorAt(ax + 9, ay + secondArrow), WkNativePixel(d->second.lightShadow));
}

TEST_F(ScrollBarTest, SqueezedBarsNeitherDragNorGoNegative) {
    WkObject* bars[2] = {Bar(WK_SCROLL_VERTICAL, 10, 100), Bar(WK_SCROLL_VERTICAL, 10, 100)};
    Show();
    for (int i = 0; i < 2; ++i) {
        int length = 40 - 10 * i;
        Place(bars[i], 4 + 30 * i, 4, length);
        EXPECT_GE(WkScrollBarRecord(bars[i])->thumb.height, 0);
        for (int button : {1, 2}) {
            Send(bars[i], WK_MSG_PRESS, length / 2, button);
            Send(bars[i], WK_MSG_MOTION, length / 2 + 5, button);
            RunTo(100 * (2 * i + button));
            Send(bars[i], WK_MSG_RELEASE, length / 2 + 5, button);
        }
        EXPECT_EQ(WkGetGrab(), nullptr);
    }
}

TEST_F(ScrollBarTest, KeysAndWheel) {
    WkObject* bar = Bar(WK_SCROLL_HORIZONTAL, 10, 100);
    WkObject* next = Bar(WK_SCROLL_HORIZONTAL, 10, 100);
    Show();
    WkScrollBarSetStep(bar, 2);
    int cases[][3] = {{WK_MSG_KEY, WK_KEY_RIGHT, 2}, {WK_MSG_KEY, WK_KEY_DOWN, 4}, {WK_MSG_KEY, WK_KEY_LEFT, 2},
                      {WK_MSG_KEY, WK_KEY_UP, 0},    {WK_MSG_WHEEL, 3, 6},         {WK_MSG_WHEEL, -1, 4},
                      {WK_MSG_KEY, 'x', 4}};
    for (auto [type, code, value] : cases) {
        WkMessage m;
        m.type = type;
        WkSetKey(&m, 0, code);
        WkSetWheelLines(&m, code);
        WkSendMessage(bar, &m);
        EXPECT_EQ(WkScrollBarGetValue(bar), value) << code;
    }
    EXPECT_EQ(display->beepCount(), 0);
    WkSendSimpleMessage(bar, WK_MSG_KEY, 0, 0, WK_KEY_TAB);
    EXPECT_EQ(WkFormGetFocus(shell), next);
    Send(bar, WK_MSG_PRESS, 9, 3); // any press takes the focus
    EXPECT_EQ(WkFormGetFocus(shell), bar);
    WkObjectSetSensitive(bar, 0);
    WkSendSimpleMessage(bar, WK_MSG_KEY, 0, 0, WK_KEY_RIGHT);
    EXPECT_EQ(WkScrollBarGetValue(bar), 4);
    EXPECT_EQ(display->beepCount(), 1);
}

TEST_F(ScrollBarTest, PartsTakeColourShadeAndTint) {
    WkObject* bar = Bar(WK_SCROLL_VERTICAL, 10, 100);
    WkScrollBarData* d = WkScrollBarRecord(bar);
    auto rgb = [](WkColor c) { int r, g, b; WkColorToRGB(c, &r, &g, &b); return plat::MakeRgb(r, g, b); };
    WkColor tint = WkObjectAllocTintColor(bar);
    WkScrollBarSetColor(bar, tint);
    EXPECT_EQ(rgb(d->thumb.background), plat::MakeRgb(192, 192, 192)); // grey's own tint
    EXPECT_EQ(rgb(d->first.lightShadow), rgb(WkShadeColor(tint, 140)));
    WkFreeColor(tint);
    WkScrollBarSetShade(bar, 50);
    WkObjectSetBackgroundRGB(bar, 200, 100, 0);
    EXPECT_EQ(rgb(d->second.background), plat::MakeRgb(100, 50, 0)); // the new background, shaded
}

// A 13-pixel two-colour arrow: foreground triangle on the background, whose
// corner pixel becomes transparent.
void WriteArrow(const char* name, bool up) {
    BmpSpec spec;
    spec.width = spec.height = 13;
    spec.palette = {0x000000, 0xFFFFFF};
    spec.pixels.assign(16 * 13, 1);
    for (int row = 0; row < 7; ++row) // file rows run bottom up
        for (int x = 6 - row; x <= 6 + row; ++x) spec.pixels[std::size_t(16 * (up ? 9 - row : 3 + row) + x)] = 0;
    WriteBmp(std::string("wokusys/") + name, spec);
}

TEST_F(ScrollBarTest, PictureOfBothOrientations) {
    // The vertical arrows have pictures, the horizontal ones draw triangles.
    Stop();
    WriteArrow("sbup.bmp", true);
    WriteArrow("sbdown.bmp", false);
    SetUp();
    std::vector<WkObject*> bars;
    for (int i = 0; i < 6; ++i) bars.push_back(Bar(i < 3 ? WK_SCROLL_HORIZONTAL : WK_SCROLL_VERTICAL, 20, 100));
    Show();
    EXPECT_NE(WkStockBitmap(WK_BMP_SCROLL_UP), nullptr);
    WkColor blue = WkAllocColor(160, 190, 220);
    WkScrollBarSetColor(bars[1], blue);
    WkFreeColor(blue);
    WkScrollBarSetShade(bars[4], 120);
    for (int i = 0; i < 6; ++i) {
        Place(bars[i], i < 3 ? 4 : 220 + (i - 3) * 30, i < 3 ? 4 + 25 * i : 4, i < 3 ? 200 : 150);
        WkScrollBarSetValue(bars[i], (i % 3) * 40);
    }
    WkRedraw(WkFormOf(shell), 1);
    WkEndDraw();
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), std::string(TM_TEST_OUTPUT_DIR) +
                                                                            "/scrollbars.png"));
    ExpectPicture(shell, "scrollbars.png");
    std::filesystem::remove(wt::Folder() + "/sbup.bmp");
    std::filesystem::remove(wt::Folder() + "/sbdown.bmp");
}

} // namespace
