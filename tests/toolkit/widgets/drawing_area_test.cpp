// Drawing areas: focus and presses only with an input callback, the grab
// from press to release, the resize callback's say over the size, the
// expose callback; and the object drawing primitives on an area: hidden
// objects, exclusive-or twice, and the picture of every primitive.
#include "toolkit/widgets/drawing_area.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/test_form.h"

using namespace testform;

namespace {

void Input(WkObject*, WkMessage* m, void* data) { static_cast<std::vector<int>*>(data)->push_back(m->type); }

void Square(WkObject*, WkDrawingAreaSize* size, void*) { size->newHeight = size->newWidth; }

class DrawingAreaTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        shell = MakeShell(300, 240);
    }
    void TearDown() override {
        WkEndDraw();
        WkObjectDestroy(shell);
        ToolkitTest::TearDown();
    }
    WkObject* Area(int width, int height) {
        WkObject* area = WkCreateDrawingArea(MainForm(shell), width, height);
        AddChild(MainForm(shell), area);
        WkResize(MainForm(shell), 300, 240);
        SetRealized(shell, true);
        area->state |= WK_STATE_ACTIVE;
        return area;
    }
    plat::Rgb Pixel(WkObject* o, int x, int y) {
        WkEndDraw();
        int ax, ay;
        WkObjectGetAbsolutePosition(o, &ax, &ay);
        return SurfaceOf(shell).colorAt(ax + x, ay + y);
    }
    WkObject* shell = nullptr;
};

TEST_F(DrawingAreaTest, InputCallbackBringsFocusPressesAndTheGrab) {
    WkObject* area = Area(40, 30);
    WkMessage press = Pointer(WK_MSG_PRESS, 5, 5), release = Pointer(WK_MSG_RELEASE, 5, 5);
    WkSendMessage(area, &press);
    EXPECT_FALSE(area->layout & WK_LAYOUT_FOCUSABLE);
    EXPECT_EQ(WkGetGrab(), nullptr);

    std::vector<int> got;
    WkDrawingAreaSetInputCallback(area, Input, &got);
    EXPECT_TRUE(area->layout & WK_LAYOUT_FOCUSABLE);
    WkSendMessage(area, &release); // no grab held: not counted
    WkSendMessage(area, &press);
    EXPECT_EQ(WkGetGrab(), area);
    WkSendSimpleMessage(area, WK_MSG_KEY, 0, 'a');
    WkSendMessage(area, &release);
    EXPECT_EQ(WkGetGrab(), nullptr);
    WkObjectSetSensitive(area, 0);
    WkSendSimpleMessage(area, WK_MSG_KEY, 0, 'a');
    EXPECT_EQ(got, (std::vector<int>{WK_MSG_PRESS, WK_MSG_KEY, WK_MSG_RELEASE}));
}

TEST_F(DrawingAreaTest, ResizeCallbackHasTheLastWord) {
    WkObject* area = Area(40, 30);
    WkDrawingAreaSetResizeCallback(area, Square, nullptr);
    WkResize(area, 70, 20);
    EXPECT_EQ(area->width, 70);
    EXPECT_EQ(area->height, 70);
    WkObjectQuerySize(MainForm(shell));
    EXPECT_EQ(MainForm(shell)->height, 70 + 2 * kSpacing + 2 * WkObjectBorder(MainForm(shell)));
}

TEST_F(DrawingAreaTest, HiddenObjectsGetNothingAndExclusiveOrTwiceRestores) {
    WkObject* area = Area(60, 40);
    SetColor(area, 255, 255, 255);
    WkRedraw(area, 0);
    WkColor black = WkBlackColor();
    WkObjectFillRect(area, 10, 10, 30, 10, black);
    std::vector<plat::Rgb> before;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) before.push_back(Pixel(area, x, y));
    area->state &= std::uint16_t(~WK_STATE_SHOWN);
    EXPECT_EQ(WkObjectDrawCircle(area, 20, 20, 10, black), 0);
    EXPECT_EQ(WkObjectXorLine(area, 0, 0, 30, 30), 0);
    EXPECT_EQ(WkObjectXorRect(area, 2, 2, 20, 20), 0);
    area->state |= WK_STATE_SHOWN;
    WkObjectXorRect(area, 5, 5, 40, 20);
    EXPECT_NE(Pixel(area, 45, 25), before[25 * 60 + 45]); // the far corner is on the outline
    WkObjectXorRect(area, 5, 5, 40, 20);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(Pixel(area, x, y), before[std::size_t(y * 60 + x)]) << x << "," << y;
}

} // namespace
