// Scroll bars: the value rule and the setters' clamping, the callback on
// real changes only, the press repeat on a virtual clock, centring and
// dragging the thumb, squeezed bars, keys and the picture of both
// orientations.
#include "toolkit/widgets/scroll_bar.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/image.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/test_form.h"

using namespace testform;

namespace {

WkTimeVal now;
void Clock(WkTimeVal* t) { *t = now; }
WkTimeVal At(long ms) { return WkTimeVal{1000 + ms / 1000, (ms % 1000) * 1000}; }

void Record(WkObject*, std::intptr_t value, void* data) { static_cast<std::vector<int>*>(data)->push_back(int(value)); }

class ScrollBarTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        now = At(0);
        WkSetClock(Clock);
        shell = MakeShell(420, 300);
    }
    void TearDown() override {
        WkObjectDestroy(shell);
        WkSetClock(nullptr);
        ToolkitTest::TearDown();
    }
    // A shown, live bar of that length at the form's first free place.
    WkObject* Bar(int orientation, int view, int maximum, int length = 120) {
        WkObject* bar = WkCreateScrollBar(MainForm(shell), orientation, view, maximum);
        AddChild(MainForm(shell), bar);
        WkResize(MainForm(shell), 420, 300);
        SetRealized(shell, true);
        bar->state |= WK_STATE_ACTIVE;
        bool vertical = orientation == WK_SCROLL_VERTICAL;
        WkSendSimpleMessage(bar, WK_MSG_RESIZE, 0, vertical ? bar->width : length, vertical ? length : bar->height);
        WkScrollBarSetCallback(bar, Record, &calls);
        return bar;
    }
    void Send(WkObject* bar, int type, int along, int button, bool vertical = true) {
        WkMessage m = Pointer(type, vertical ? 9 : along, vertical ? along : 9);
        m.f = button;
        m.e = type == WK_MSG_MOTION ? 0x100 : 0;
        WkSendMessage(bar, &m);
    }
    void RunTo(long ms) {
        now = At(ms);
        WkRunTimeoutsUntil(now);
    }
    WkScrollBarData* D(WkObject* bar) { return WkScrollBarRecord(bar); }

    WkObject* shell = nullptr;
    std::vector<int> calls;
};

TEST_F(ScrollBarTest, ValueRuleAndSetters) {
    WkObject* bar = Bar(WK_SCROLL_VERTICAL, 10, 100);
    WkScrollBarSetStep(bar, 5);
    for (auto [in, out] : {std::pair{12, 10}, {13, 15}, {97, 90}, {-3, 0}, {2147483647, 90}}) {
        WkScrollBarSetValue(bar, in);
        EXPECT_EQ(WkScrollBarGetValue(bar), out) << in;
    }
    EXPECT_EQ(calls, (std::vector<int>{10, 15, 90, 0, 90}));
    WkScrollBarSetValue(bar, 88); // rounds to the present 90
    EXPECT_EQ(calls.size(), 5u);

    WkObject* wide = Bar(WK_SCROLL_HORIZONTAL, 20, 10);
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
    WkScrollBarSetValues(wide, 0, 0, -1); // keeps all three, no callback
    EXPECT_EQ(calls, (std::vector<int>{10, 15, 90, 0, 90, 50, 0, 150}));
}

TEST_F(ScrollBarTest, HeldArrowRepeatsUntilRelease) {
    WkObject* bar = Bar(WK_SCROLL_VERTICAL, 10, 100);
    Send(bar, WK_MSG_PRESS, 120 - 5, 1);
    for (long ms : {49, 50, 449, 450, 530, 610, 650})
        RunTo(ms);
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
    WkObject* bar = Bar(WK_SCROLL_VERTICAL, 10, 100, 140); // track 100
    WkScrollBarData* d = D(bar);
    Send(bar, WK_MSG_PRESS, 80, 2);
    RunTo(50);
    EXPECT_NEAR(d->thumb.y + d->thumb.height / 2.0, 80, 1);
    Send(bar, WK_MSG_RELEASE, 80, 2);
    // Button 1 on the thumb drags it with the pointer.
    int grip = d->thumb.y + 3;
    Send(bar, WK_MSG_PRESS, grip, 1);
    RunTo(100);
    Send(bar, WK_MSG_MOTION, grip + 20, 1);
    EXPECT_EQ(WkScrollBarGetValue(bar), 55 + 20);
    Send(bar, WK_MSG_RELEASE, grip + 20, 1);

    WkScrollBarSetValue(bar, 90);
    WkEndDraw();
    int ax, ay;
    WkObjectGetAbsolutePosition(bar, &ax, &ay);
    plat::Surface& s = SurfaceOf(shell);
    int secondArrow = 140 - 1 - WK_SCROLL_ARROW;
    EXPECT_EQ(d->thumb.y + d->thumb.height, secondArrow);
    // The thumb's dark bottom edge lies right above the arrow's light top edge.
    EXPECT_EQ(s.colorAt(ax + 9, ay + secondArrow - 1), Rgb(d->thumb.darkShadow));
    EXPECT_EQ(s.colorAt(ax + 9, ay + secondArrow), Rgb(d->first.lightShadow));
}

TEST_F(ScrollBarTest, SqueezedBarsAndZeroStepStayWellDefined) {
    for (int length : {40, 30}) {
        WkObject* bar = Bar(WK_SCROLL_VERTICAL, 10, 100, length);
        EXPECT_GE(D(bar)->thumb.height, 0);
        for (int button : {1, 2}) {
            Send(bar, WK_MSG_PRESS, length / 2, button);
            Send(bar, WK_MSG_MOTION, length / 2 + 5, button);
            RunTo(100 * button);
            Send(bar, WK_MSG_RELEASE, length / 2 + 5, button);
        }
        EXPECT_EQ(WkGetGrab(), nullptr);
    }
    WkObject* bar = Bar(WK_SCROLL_HORIZONTAL, 10, 100);
    WkScrollBarSetStep(bar, 0);
    WkScrollBarSetValue(bar, 7);
    EXPECT_EQ(WkScrollBarGetValue(bar), 7);
}

TEST_F(ScrollBarTest, KeysAndWheel) {
    WkObject* bar = Bar(WK_SCROLL_HORIZONTAL, 10, 100);
    WkScrollBarSetStep(bar, 2);
    struct Case {
        int type, code;
        int value;
    } cases[] = {{WK_MSG_KEY, WK_KEY_RIGHT, 2}, {WK_MSG_KEY, WK_KEY_DOWN, 4}, {WK_MSG_KEY, WK_KEY_LEFT, 2},
                 {WK_MSG_KEY, WK_KEY_UP, 0},    {WK_MSG_WHEEL, 3, 6},         {WK_MSG_WHEEL, -1, 4},
                 {WK_MSG_KEY, 'x', 4}};
    for (const Case& c : cases) {
        WkMessage m;
        m.type = c.type;
        m.b = m.g = c.code;
        WkSendMessage(bar, &m);
        EXPECT_EQ(WkScrollBarGetValue(bar), c.value) << c.code;
    }
    EXPECT_EQ(display->beepCount(), 0);
    WkObjectSetSensitive(bar, 0);
    WkSendSimpleMessage(bar, WK_MSG_KEY, 0, 0, WK_KEY_RIGHT);
    EXPECT_EQ(WkScrollBarGetValue(bar), 4);
    EXPECT_EQ(display->beepCount(), 1);
}

// An arrow picture: a dark square with a light middle.
WkImage* Picture() {
    WkImage* image = WkCreateImage(13, 13, 24);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            bool middle = x > 3 && x < 9 && y > 3 && y < 9;
            WkImageSetPixelRGB(image, x, y, middle ? 255 : 40, middle ? 255 : 40, middle ? 200 : 120);
        }
    return image;
}

TEST_F(ScrollBarTest, PictureOfBothOrientations) {
    WkImage* picture = Picture();
    WkObject* bars[7];
    for (int i = 0; i < 3; ++i) bars[i] = Bar(WK_SCROLL_HORIZONTAL, 20, 100, 200);
    for (int i = 3; i < 6; ++i) bars[i] = Bar(WK_SCROLL_VERTICAL, 20, 100, 150);
    bars[6] = Bar(WK_SCROLL_VERTICAL, 20, 100, 150);
    for (int i = 3; i < 7; ++i) bars[i]->x = 220 + (i - 3) * 30, bars[i]->y = 4;
    WkScrollBarSetArrowPictures(picture, picture, picture, picture);
    for (int i = 0; i < 6; ++i) WkScrollBarSetValue(bars[i], (i % 3) * 40);
    WkColor blue = WkAllocColor(160, 190, 220);
    WkScrollBarSetColor(bars[1], blue);
    WkFreeColor(blue);
    WkScrollBarSetShade(bars[4], 120);
    WkRedraw(MainForm(shell), 0);
    WkScrollBarSetArrowPictures(nullptr, nullptr, nullptr, nullptr);
    WkRedraw(bars[6], 1);
    WkEndDraw();
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), std::string(TM_TEST_OUTPUT_DIR) + "/scrollbars.png"));
    WkFreeImage(picture);
}

} // namespace
