// Drawing on objects: nothing on hidden or unrealized objects, lines with
// both end points, bevels and shadow frames, text placement, tiled images
// cut at the border, the highlight colour; and a picture of the toolkit's
// look (shadows, bevels, aligned texts, image modes) for a person to check.
#include "toolkit/core/object_primitives.h"

#include "toolkit/core/image.h"
#include "toolkit/core/object_attrs.h"
#include "test_form.h"

#include <functional>
#include <string>

using namespace testform;

namespace {

class PrimitivesTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        shell = MakeShell(460, 400);
    }
    void TearDown() override {
        WkEndDraw();
        WkObjectDestroy(shell);
        ToolkitTest::TearDown();
    }
    // A realized leaf at the top of the main form, painted white.
    WkObject* Canvas(int width, int height) {
        WkObject* leaf = MakeLeaf(MainForm(shell), width, height);
        WkResize(MainForm(shell), 460, 400);
        SetRealized(shell, true);
        SetColor(leaf, 255, 255, 255);
        WkRedraw(leaf, 0);
        return leaf;
    }
public:
    plat::Rgb At(WkObject* o, int x, int y) {
        WkEndDraw();
        int ax, ay;
        WkObjectGetAbsolutePosition(o, &ax, &ay);
        return SurfaceOf(shell).colorAt(ax + x, ay + y);
    }
    WkObject* shell = nullptr;
};

const plat::Rgb kWhite = plat::MakeRgb(255, 255, 255);
const plat::Rgb kBlack = plat::MakeRgb(0, 0, 0);

TEST_F(PrimitivesTest, HiddenOrUnrealizedObjectsGetNothing) {
    WkObject* leaf = Canvas(20, 20);
    WkColor black = WkAllocColor(0, 0, 0);
    leaf->state &= std::uint16_t(~WK_STATE_SHOWN);
    EXPECT_EQ(WkObjectFillRect(leaf, 0, 0, 20, 20, black), 0);
    EXPECT_EQ(WkSelectDrawTarget(leaf), 0);
    leaf->state |= WK_STATE_SHOWN;
    leaf->state &= std::uint16_t(~WK_STATE_REALIZED);
    EXPECT_EQ(WkObjectDrawLine(leaf, 0, 0, 5, 5, black), 0);
    EXPECT_EQ(WkObjectDrawText(leaf, 0, 0, 20, 20, "x", 0, black, 0), 0);
    leaf->state |= WK_STATE_REALIZED;
    EXPECT_EQ(At(leaf, 0, 0), kWhite);
    EXPECT_EQ(At(leaf, 5, 5), kWhite);
    WkFreeColor(black);
}

TEST_F(PrimitivesTest, LinesDrawBothEndPoints) {
    WkObject* leaf = Canvas(20, 20);
    WkColor black = WkAllocColor(0, 0, 0);
    EXPECT_EQ(WkObjectDrawLine(leaf, 3, 3, 3, 3, black), 1);
    EXPECT_EQ(At(leaf, 3, 3), kBlack);
    EXPECT_EQ(At(leaf, 4, 3), kWhite);
    WkObjectDrawLine(leaf, 0, 10, 9, 10, black);
    EXPECT_EQ(At(leaf, 0, 10), kBlack);
    EXPECT_EQ(At(leaf, 9, 10), kBlack);
    EXPECT_EQ(At(leaf, 10, 10), kWhite);
    WkPoint points[3] = {{0, 15}, {5, 15}, {5, 19}};
    WkObjectDrawPolyline(leaf, points, 3, black);
    EXPECT_EQ(points[1].x, 5); // moved back after the call
    EXPECT_EQ(points[1].y, 15);
    EXPECT_EQ(At(leaf, 5, 17), kBlack);
    WkFreeColor(black);
}

// The object's pixels in the rectangle as rows of '#' (not white) and '.'.
std::string Art(PrimitivesTest& t, WkObject* o, int width, int height);

TEST_F(PrimitivesTest, PointsArcsCirclesAndPiesAtTheObjectsOrigin) {
    WkObject* leaf = Canvas(40, 10);
    WkColor black = WkAllocColor(0, 0, 0);
    using Op = std::function<int(WkObject*)>;
    const Op ops[] = {
        [&](WkObject* o) { return WkObjectDrawPoint(o, 12, 9, black); },
        [&](WkObject* o) { return WkObjectDrawLine(o, 0, 0, 10, 0, black); },
        [&](WkObject* o) { return WkObjectDrawArc(o, 2, 7, 6, 0, 900, black); },
        [&](WkObject* o) { return WkObjectFillCircle(o, 20, 5, 4, black); },
        [&](WkObject* o) { return WkObjectFillPie(o, 33, 8, 5, 450, 1800, black); },
    };
    leaf->state &= std::uint16_t(~WK_STATE_REALIZED);
    for (const Op& op : ops) EXPECT_EQ(op(leaf), 0);
    leaf->state |= WK_STATE_REALIZED;
    for (const Op& op : ops) EXPECT_EQ(op(leaf), 1);
    // A point, the line (0, 0) to (10, 0) with its 11 pixels, the arc from 0
    // to 900 in the upper-right quarter, a filled circle and a filled pie.
    EXPECT_EQ(Art(*this, leaf, 40, 10),
              "###########.............................\n"
              "..###.............#####.................\n"
              ".....##..........#######................\n"
              ".......#........#########......#####....\n"
              ".......#........#########.....#######...\n"
              "........#.......#########....########...\n"
              "........#.......#########...########....\n"
              "........#.......#########...#######.....\n"
              ".................#######....######......\n"
              "............#.....#####.................\n");
    WkFreeColor(black);
}

TEST_F(PrimitivesTest, RectanglesAndShadowOutFrame) {
    WkObject* leaf = Canvas(30, 30);
    WkColor black = WkAllocColor(0, 0, 0);
    WkObjectDrawRect(leaf, 20, 20, 5, 4, black);
    EXPECT_EQ(At(leaf, 24, 23), kBlack);
    EXPECT_EQ(At(leaf, 25, 23), kWhite);
    EXPECT_EQ(At(leaf, 22, 22), kWhite);

    SetColor(leaf, 100, 100, 100);
    WkBox box = *leaf;
    box.x = 0;
    box.y = 0;
    box.width = box.height = 10;
    box.shadowType = WK_SHADOW_OUT;
    box.shadowWidth = 2;
    box.outerShadowWidth = 0;
    WkObjectDrawBox(leaf, &box);
    plat::Rgb light = Rgb(leaf->lightShadow), dark = Rgb(leaf->darkShadow);
    EXPECT_EQ(At(leaf, 0, 5), light);
    EXPECT_EQ(At(leaf, 1, 5), light);
    EXPECT_EQ(At(leaf, 5, 0), light);
    EXPECT_EQ(At(leaf, 9, 5), dark);
    EXPECT_EQ(At(leaf, 8, 5), dark);
    EXPECT_EQ(At(leaf, 5, 9), dark);
    EXPECT_EQ(At(leaf, 5, 5), plat::MakeRgb(100, 100, 100));
    EXPECT_EQ(At(leaf, 10, 5), kWhite);
    WkFreeColor(black);
}

TEST_F(PrimitivesTest, TextPlacementByAlignment) {
    WkObject* leaf = Canvas(200, 20);
    WkColor black = WkAllocColor(0, 0, 0), red = WkAllocColor(255, 0, 0);
    const char* text = "WWWWWWWWWW";
    int w = WkTextWidth(text, 0);
    ASSERT_GT(w, 20);
    // Centred in a box narrower than the text: starts left of the box by
    // half the excess. The opaque cell shows exactly where.
    WkObjectDrawTextOpaque(leaf, 100, 0, 20, 20, text, 0, red, black, WK_ALIGN_CENTER);
    int left = 100 + (20 - w) / 2;
    int row = (20 - WkFontHeight(text, 0)) / 2;
    EXPECT_EQ(At(leaf, left, row), plat::MakeRgb(255, 0, 0));
    EXPECT_EQ(At(leaf, left - 1, row), kWhite);
    EXPECT_EQ(At(leaf, left + w - 1, row), plat::MakeRgb(255, 0, 0));
    EXPECT_EQ(At(leaf, left + w, row), kWhite);
    WkFreeColor(black);
    WkFreeColor(red);
}

TEST_F(PrimitivesTest, TiledImageLargerThanTheObjectIsCutAtTheBorder) {
    WkObject* leaf = Canvas(20, 20);
    WkImage* image = WkCreateImage(40, 40, 24);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) WkImageSetPixelRGB(image, x, y, 0, 0, 255);
    WkImageSetPixelRGB(image, 3, 3, 255, 0, 0);
    WkObjectSetShadow(leaf, WK_SHADOW_IN, 3, 0);
    WkObjectSetBackgroundImage(leaf, image, WK_IMAGE_TILED);
    WkObjectDrawBackground(leaf);
    EXPECT_EQ(At(leaf, 3, 3), plat::MakeRgb(255, 0, 0)); // the first tile starts at the object's origin
    EXPECT_EQ(At(leaf, 16, 16), plat::MakeRgb(0, 0, 255));
    EXPECT_EQ(At(leaf, 17, 17), Rgb(leaf->lightShadow)); // the border stays the frame's
    WkObjectSetBackgroundImage(leaf, nullptr, WK_IMAGE_TILED);
    WkFreeImage(image);
}

TEST_F(PrimitivesTest, HighlightColour) {
    WkColor grey = WkAllocColor(100, 100, 100), black = WkAllocColor(0, 0, 0), white = WkAllocColor(255, 255, 255);
    WkColor lighter = WkHighlightColor(grey, black), darker = WkHighlightColor(grey, white);
    EXPECT_EQ(Rgb(lighter), plat::MakeRgb(115, 115, 115));
    EXPECT_EQ(Rgb(darker), plat::MakeRgb(72, 72, 72));
    for (WkColor c : {grey, black, white, lighter, darker}) WkFreeColor(c);
}

// The highlight must show on its background and the text must read on it.
TEST_F(PrimitivesTest, HighlightShowsAndTextReadsOnIt) {
    struct Case {
        int background, text, highlight; // greys
    } cases[] = {
        {255, 0, 204},   // white under black text: darkened, as it cannot lighten
        {250, 0, 200},   // too light to lighten visibly
        {240, 0, 255},   // still lightened
        {192, 255, 115}, // white text darkened past 72 percent until it reads
        {255, 255, 112}, // white on white
    };
    for (const Case& c : cases) {
        WkColor background = WkAllocColor(c.background, c.background, c.background);
        WkColor text = WkAllocColor(c.text, c.text, c.text);
        WkColor highlight = WkHighlightColor(background, text);
        EXPECT_EQ(Rgb(highlight), plat::MakeRgb(c.highlight, c.highlight, c.highlight)) << c.background << " " << c.text;
        for (WkColor color : {background, text, highlight}) WkFreeColor(color);
    }
}

TEST_F(PrimitivesTest, PictureOfTheLook) {
    WkObject* canvas = MakeLeaf(MainForm(shell), 440, 220);
    // Three image modes on three objects below the canvas.
    WkImage* image = WkCreateImage(16, 16, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) WkImageSetPixelRGB(image, x, y, x * 16, y * 16, (x + y) % 2 ? 255 : 0);
    WkObject* modes[3];
    for (int m = 0; m < 3; ++m) modes[m] = MakeLeaf(MainForm(shell), 100, 50);
    WkResize(MainForm(shell), 460, 400);
    SetRealized(shell, true);
    SetColor(canvas, 192, 192, 192);
    for (int m = 0; m < 3; ++m) {
        WkObjectSetShadow(modes[m], WK_SHADOW_ETCHED_IN, 1, 1);
        WkObjectSetBackgroundImage(modes[m], image, m);
    }
    WkRedraw(MainForm(shell), 0);
    EXPECT_EQ(modes[2]->fixedWidth, 16); // the size-forcing one fixed the image's size
    WkObjectDrawBackground(canvas);
    WkColor black = WkAllocColor(0, 0, 0), white = WkAllocColor(255, 255, 255);
    for (int type = 0; type <= 4; ++type)
        for (int width = 1; width <= 3; ++width) {
            WkBox box = *canvas;
            box.x = 8 + type * 86;
            box.y = 8 + (width - 1) * 44;
            box.width = 78;
            box.height = 38;
            box.shadowType = std::uint8_t(type);
            box.shadowWidth = std::uint8_t(width);
            box.outerShadowWidth = std::uint8_t(type >= 3 ? width : 0);
            WkObjectDrawBox(canvas, &box);
        }
    WkObjectDrawBevel(canvas, 8, 144, 60, 30, white, black, 4);
    WkObjectDrawFrame(canvas, 76, 144, 60, 30, black, 2);
    const char* names[3] = {"left", "right", "centred"};
    for (int a = 0; a < 3; ++a) {
        WkObjectDrawRect(canvas, 150 + a * 95, 144, 90, 30, black);
        WkObjectDrawShadowText(canvas, 150 + a * 95, 144, 90, 30, names[a], 0, 1, black, white, a);
    }
    WkEndDraw();
    std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/toolkit_look.png";
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), path));
    for (int m = 0; m < 3; ++m) WkObjectSetBackgroundImage(modes[m], nullptr, WK_IMAGE_TILED);
    WkFreeImage(image);
    WkFreeColor(black);
    WkFreeColor(white);
}

std::string Art(PrimitivesTest& t, WkObject* o, int width, int height) {
    std::string art;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) art += t.At(o, x, y) == kWhite ? '.' : '#';
        art += '\n';
    }
    return art;
}

} // namespace
