// Drawing areas: focus and presses only with an input callback, the grab
// from press to release, the resize callback's say over the size the form
// gives; and the object drawing primitives on an area: arcs by quadrant,
// hidden objects, exclusive-or twice, the pen and brush counters, and the
// picture of every primitive.
#include "toolkit/widgets/drawing_area.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/shell.h"
#include "widget_fixture.h"

namespace {

void Input(WkObject*, WkMessage* m, void* data) { static_cast<std::vector<int>*>(data)->push_back(m->type); }
void Square(WkObject*, WkDrawingAreaSize* size, void*) { size->newHeight = size->newWidth = 90; }

class DrawingAreaTest : public wt::WidgetTest {
protected:
    WkObject* Show(int width, int height) {
        shell = Window();
        WkObject* area = WkCreateDrawingArea(shell, width, height);
        WkShellRealizeWithGeometry(shell, 0, 0, 300, 240);
        WkFlushEvents();
        return area;
    }
    // The pixels of the area, row by row.
    std::vector<plat::Rgb> Pixels(WkObject* area) {
        WkEndDraw();
        int ax, ay;
        WkObjectGetAbsolutePosition(area, &ax, &ay);
        std::vector<plat::Rgb> out;
        for (int y = 0; y < area->height; ++y)
            for (int x = 0; x < area->width; ++x)
                out.push_back(display->surface(WkObjectGetNativeWindow(shell))->colorAt(ax + x, ay + y));
        return out;
    }
    WkObject* shell = nullptr;
};

TEST_F(DrawingAreaTest, InputCallbackBringsFocusPressesAndTheGrab) {
    WkObject* area = Show(40, 30);
    WkMessage press, release;
    press.type = WK_MSG_PRESS, release.type = WK_MSG_RELEASE;
    WkSetPointerButton(&press, 1);
    WkSetPointerButton(&release, 1);
    WkSendMessage(area, &press);
    EXPECT_FALSE(area->layout & WK_LAYOUT_FOCUSABLE);
    EXPECT_EQ(WkGetGrab(), nullptr);

    std::vector<int> got;
    WkDrawingAreaSetInputCallback(area, Input, &got);
    EXPECT_TRUE(area->layout & WK_LAYOUT_FOCUSABLE);
    WkSendMessage(area, &release); // no grab held: not counted
    WkSendMessage(area, &press);
    EXPECT_EQ(WkGetGrab(), area);
    EXPECT_TRUE(area->state & WK_STATE_FOCUS);
    WkSendSimpleMessage(area, WK_MSG_KEY, 0, 'a');
    WkSendMessage(area, &release);
    EXPECT_EQ(WkGetGrab(), nullptr);
    WkObjectSetSensitive(area, 0);
    WkSendSimpleMessage(area, WK_MSG_KEY, 0, 'a');
    EXPECT_EQ(got, (std::vector<int>{WK_MSG_FOCUS_IN, WK_MSG_PRESS, WK_MSG_KEY, WK_MSG_RELEASE}));
}

TEST_F(DrawingAreaTest, ResizeCallbackHasTheLastWord) {
    WkObject* area = Show(40, 30);
    WkDrawingAreaSetResizeCallback(area, Square, nullptr);
    WkResize(area, 70, 20);
    EXPECT_EQ(area->width, 90);
    EXPECT_EQ(area->height, 90);
    EXPECT_GE(WkFormOf(shell)->height, 90);
}

TEST_F(DrawingAreaTest, ArcsKeepToTheirQuadrants) {
    WkObject* area = Show(61, 61);
    wt::Paint(area, 255, 255, 255);
    const plat::Rgb white = plat::MakeRgb(255, 255, 255);
    for (auto [start, end, upperRight] : {std::tuple{0, 900, true}, {900, 0, false}}) {
        WkRedraw(area, 0);
        WkObjectDrawArc(area, 30, 30, 25, start, end, WkBlackColor());
        std::vector<plat::Rgb> pixels = Pixels(area);
        int inQuadrant[4] = {}; // upper right, upper left, lower left, lower right
        for (int y = 0; y < 61; ++y)
            for (int x = 0; x < 61; ++x)
                if (pixels[std::size_t(y * 61 + x)] != white && x != 30 && y != 30)
                    ++inQuadrant[y < 30 ? (x > 30 ? 0 : 1) : (x < 30 ? 2 : 3)];
        EXPECT_EQ(inQuadrant[0] > 0, upperRight) << start;
        for (int q = 1; q < 4; ++q) EXPECT_EQ(inQuadrant[q] > 0, !upperRight) << start << " " << q;
    }
}

TEST_F(DrawingAreaTest, HiddenObjectsGetNothingAndExclusiveOrTwiceRestores) {
    WkObject* area = Show(60, 40);
    wt::Paint(area, 255, 255, 255);
    WkRedraw(area, 0);
    WkObjectFillRect(area, 10, 10, 30, 10, WkBlackColor());
    std::vector<plat::Rgb> before = Pixels(area);
    area->state &= std::uint16_t(~WK_STATE_SHOWN);
    EXPECT_EQ(WkObjectDrawCircle(area, 20, 20, 10, WkBlackColor()), 0);
    EXPECT_EQ(WkObjectXorLine(area, 0, 0, 30, 30), 0);
    EXPECT_EQ(WkObjectXorRect(area, 2, 2, 20, 20), 0);
    area->state |= WK_STATE_SHOWN;
    EXPECT_EQ(Pixels(area), before);
    WkObjectXorRect(area, 5, 5, 40, 20);
    WkObjectXorLine(area, 0, 39, 59, 0);
    EXPECT_NE(Pixels(area)[25 * 60 + 45], before[25 * 60 + 45]); // the far corner is on the outline
    WkObjectXorLine(area, 0, 39, 59, 0);
    WkObjectXorRect(area, 5, 5, 40, 20);
    EXPECT_EQ(Pixels(area), before);
}

TEST_F(DrawingAreaTest, OnePenAndBrushPerColour) {
    WkObject* area = Show(60, 40);
    WkColor red = WkAllocColor(200, 0, 0), green = WkAllocColor(0, 200, 0);
    WkObjectFillCircle(area, 10, 10, 5, red);
    WkDrawStats a = WkNativeDrawStats();
    WkObjectFillCircle(area, 30, 10, 5, red);
    WkDrawStats b = WkNativeDrawStats();
    WkObjectFillCircle(area, 50, 10, 5, green);
    WkDrawStats c = WkNativeDrawStats();
    EXPECT_EQ(std::vector<int>({b.pensMade - a.pensMade, b.brushesMade - a.brushesMade, c.pensMade - b.pensMade,
                                c.pensDeleted - b.pensDeleted, c.brushesMade - b.brushesMade,
                                c.brushesDeleted - b.brushesDeleted}),
              std::vector<int>({0, 0, 1, 1, 1, 1}));
    WkFreeColor(red);
    WkFreeColor(green);
}

void DrawEveryPrimitive(WkObject* area, WkMessage*, void*) {
    WkColor blue = WkAllocColor(0, 0, 160), red = WkAllocColor(200, 0, 0);
    for (int i = 0; i < 20; i += 2) WkObjectDrawPoint(area, 10 + i, 10, blue);
    WkObjectDrawCircle(area, 30, 50, 20, blue);
    WkObjectFillCircle(area, 80, 50, 20, red);
    WkObjectDrawArc(area, 130, 50, 20, 0, 900, blue);
    WkObjectDrawArc(area, 130, 50, 15, 900, 0, red);
    WkObjectFillPie(area, 180, 50, 20, 450, 2700, blue);
    WkObjectFillRect(area, 10, 80, 200, 30, red);
    WkObjectXorLine(area, 10, 75, 210, 115);
    WkObjectXorRect(area, 60, 70, 100, 50);
    WkFreeColor(blue);
    WkFreeColor(red);
}

TEST_F(DrawingAreaTest, PictureOfEveryPrimitive) {
    WkObject* area = Show(220, 130);
    wt::Paint(area, 255, 255, 255);
    WkDrawingAreaSetExposeCallback(area, DrawEveryPrimitive, nullptr);
    WkRedraw(area, 0);
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), std::string(TM_TEST_OUTPUT_DIR) +
                                                                            "/primitives.png"));
}

} // namespace
