#include "toolkit/core/object_draw.h"

#include "test_form.h"
#include "toolkit/core/image.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_primitives.h"

namespace {

using namespace testform;

class ObjectDrawTest : public ToolkitTest {};

plat::Rgb TileColor(int x, int y) { return plat::MakeRgb(x * 30, y * 30, 100); }

WkImage* Tile() {
    WkImage* tile = WkCreateImage(8, 8, 24);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            plat::Rgb c = TileColor(x, y);
            WkImageSetPixelRGB(tile, x, y, plat::RedOf(c), plat::GreenOf(c), plat::BlueOf(c));
        }
    return tile;
}

void Junk(plat::Surface& s, int x0, int y0, int width, int height) {
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) s.pixels()[y * s.width() + x] = 0xFF00FF;
}

TEST_F(ObjectDrawTest, TransparentChildOverTiledParentShowsTheParentsTiles) {
    WkObject* shell = MakeShell(120, 80);
    WkObject* form = MainForm(shell);
    WkImage* tile = Tile();
    form->image = tile; // stays the test's
    form->imageMode = WK_IMAGE_TILED;
    Log log;
    WkObject* child = MakeLeaf(form, 40, 20, &log);
    child->transparency = WK_TRANSPARENT;
    child->x = 13; // off the tile grid, so a wrong phase shows
    child->y = 21;
    SetRealized(shell, true);
    plat::Surface& s = SurfaceOf(shell);
    WkRedraw(form, 0);
    EXPECT_EQ(s.colorAt(9, 10), TileColor(1, 2));
    int r, g, b;
    WkColorToRGB(form->lightShadow, &r, &g, &b);
    EXPECT_EQ(s.colorAt(0, 0), plat::MakeRgb(r, g, b)) << "the shadow frame over the tiles";

    Junk(s, 13, 21, 40, 20);
    WkRedraw(child, 1);
    int wrong = 0;
    for (int y = 21; y < 41; ++y)
        for (int x = 13; x < 53; ++x) wrong += s.colorAt(x, y) != TileColor(x % 8, y % 8);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(log.count(WK_MSG_EXPOSE), 2) << "the form's redraw and its own";
    std::string error;
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell),
                                       std::string(TM_TEST_OUTPUT_DIR) + "/transparent_over_tiles.png", &error))
        << error;

    // A scrolled parent moves its tiles with the content.
    Record(form)->scrolled = 1;
    Record(form)->scrollX = 3;
    child->x = 16; // shows at 13 again
    Junk(s, 13, 21, 40, 20);
    WkRedraw(child, 1);
    wrong = 0;
    for (int y = 21; y < 41; ++y)
        for (int x = 13; x < 53; ++x) wrong += s.colorAt(x, y) != TileColor((x + 3) % 8, y % 8);
    EXPECT_EQ(wrong, 0);
    WkObjectDestroy(shell);
    WkFreeImage(tile);
}

TEST_F(ObjectDrawTest, HalfTransparentBlackOverWhiteIsMidGrey) {
    WkObject* shell = MakeShell(100, 60);
    WkObject* form = MainForm(shell);
    form->shadowType = WK_SHADOW_NONE;
    form->shadowWidth = 0;
    SetColor(form, 255, 255, 255);
    WkObject* child = MakeLeaf(form, 30, 20);
    child->x = child->y = 10;
    child->colorFlags &= std::uint8_t(~WK_INHERIT_BACKGROUND);
    child->transparency = 128;
    SetColor(child, 0, 0, 0);
    int r, g, b;
    WkColorToRGB(child->background, &r, &g, &b);
    EXPECT_EQ(plat::MakeRgb(r, g, b), plat::MakeRgb(128, 128, 128));
    WkColorToRGB(child->baseBackground, &r, &g, &b);
    EXPECT_EQ(plat::MakeRgb(r, g, b), 0u) << "the base stays the colour as set";
    WkColorToRGB(child->lightShadow, &r, &g, &b);
    EXPECT_EQ(r, 179) << "shadows follow the blended colour";

    SetRealized(shell, true);
    WkRedraw(form, 0);
    plat::Surface& s = SurfaceOf(shell);
    EXPECT_EQ(s.colorAt(5, 5), 0xFFFFFFu);
    EXPECT_EQ(s.colorAt(20, 20), 0x808080u);

    // Forced back to opaque it takes its own colour again; at 255 the parent's.
    child->transparency = 0;
    WkRefreshBackground(child, 1);
    WkColorToRGB(child->background, &r, &g, &b);
    EXPECT_EQ(plat::MakeRgb(r, g, b), 0u);
    child->transparency = 255;
    WkRefreshBackground(child, 1);
    WkColorToRGB(child->background, &r, &g, &b);
    EXPECT_EQ(plat::MakeRgb(r, g, b), 0xFFFFFFu);
    WkObjectDestroy(shell);
}

void CountImages(WkObject*, WkMessage* m, void* data, std::uint32_t) {
    if (m->window) ++*static_cast<int*>(data);
}

TEST_F(ObjectDrawTest, TranslucentChildOverAParentImageGetsABlendedCopyOnlyWhenRealized) {
    WkObject* shell = MakeShell(100, 60);
    WkObject* form = MainForm(shell);
    WkImage* tile = Tile();
    form->image = tile;
    WkObject* child = MakeLeaf(form, 16, 8);
    child->x = 4;
    int images = 0;
    WkObjectAddEventHandler(child, CountImages, WkMessageBit(WK_MSG_IMAGE), &images);
    child->transparency = 255; // fully behind: the copy is the tile itself under the child
    WkBlendTranslucent(child);
    EXPECT_EQ(child->image, nullptr) << "not realized: a colour, no copy";
    SetRealized(shell, true);
    child->transparency = 254;
    WkBlendTranslucent(child);
    ASSERT_NE(child->image, nullptr);
    EXPECT_TRUE(child->colorFlags & WK_INHERIT_DERIVED_IMAGE);
    EXPECT_EQ(images, 1);
    int r, g, b;
    WkImageGetPixelRGB(child->image, 0, 0, &r, &g, &b);
    plat::Rgb behind = TileColor(4, 0);
    EXPECT_NEAR(r, plat::RedOf(behind), 1) << "the part of the tile under the child";
    EXPECT_NEAR(g, plat::GreenOf(behind), 1);
    WkObjectDestroy(shell); // frees the derived copy
    WkFreeImage(tile);
}

TEST_F(ObjectDrawTest, HidingAChildRepaintsWhereItWasAndFramesRepaintOnlyTheirBands) {
    WkObject* shell = MakeShell(100, 60);
    WkObject* form = MainForm(shell);
    SetColor(form, 255, 255, 255);
    WkObject* child = MakeLeaf(form, 30, 20);
    child->x = child->y = 10;
    SetColor(child, 255, 0, 0);
    SetRealized(shell, true);
    WkRedraw(form, 0);
    plat::Surface& s = SurfaceOf(shell);
    ASSERT_EQ(s.colorAt(20, 20), 0xFF0000u);

    child->transparency = WK_TRANSPARENT;
    Junk(s, 10, 10, 30, 20);
    WkObjectClearFrame(child, 0, 0, 30, 20, 2);
    EXPECT_EQ(s.colorAt(10, 10), 0xFFFFFFu);
    EXPECT_EQ(s.colorAt(11, 29), 0xFFFFFFu);
    EXPECT_EQ(s.colorAt(39, 15), 0xFFFFFFu);
    EXPECT_EQ(s.colorAt(12, 12), 0xFF00FFu) << "inside the frame nothing is painted";

    // An expose given to a clear makes the object the target again.
    WkMessage expose = WkExposeMessage(0, 10, 10, WkRect{0, 0, 5, 5});
    WkBeginDraw(child, &expose);
    WkObjectClearExposed(child, &expose);
    EXPECT_EQ(WkCurrentDrawTarget().object, child);
    EXPECT_EQ(WkCurrentDrawTarget().clip.width, 5);
    EXPECT_EQ(s.colorAt(14, 14), 0xFFFFFFu);
    EXPECT_EQ(s.colorAt(16, 16), 0xFF00FFu) << "outside the expose's clip";
    WkEndDraw();
    child->transparency = 0;

    WkUnmapObject(child, 1);
    EXPECT_EQ(s.colorAt(20, 20), 0xFFFFFFu);
    EXPECT_FALSE(child->state & WK_STATE_SHOWN);

    // Hidden or unrealized: no expose.
    Log log;
    static_cast<LeafRecord*>(child->classRecord)->log = &log;
    WkRedraw(child, 1);
    child->state |= WK_STATE_SHOWN;
    child->state &= std::uint16_t(~WK_STATE_REALIZED);
    WkRedraw(child, 1);
    EXPECT_EQ(log.count(WK_MSG_EXPOSE), 0);
    // Nor does a hidden transparent one clear its place when its sensitivity
    // changes: the place may be another's, as a paged form's pages share theirs.
    child->state = std::uint16_t((child->state | WK_STATE_REALIZED) & ~WK_STATE_SHOWN);
    child->transparency = WK_TRANSPARENT;
    Junk(s, 10, 10, 30, 20);
    WkObjectSetSensitive(child, 0);
    WkObjectSetSensitive(child, 1);
    EXPECT_EQ(s.colorAt(20, 20), 0xFF00FFu);
    WkObjectDestroy(shell);
}

// An expose handler that redraws another object on its way and then draws
// on: its later drawing keeps its own clip and origin.
WkObject* redrawnOnTheWay = nullptr;
int RedrawThenFill(WkObject* object, WkMessage* message) {
    if (message->type != WK_MSG_EXPOSE) return 0;
    WkRedraw(redrawnOnTheWay, 0);
    WkObjectSetBackgroundRGB(redrawnOnTheWay, 0, 0, 255); // a setter redraws too
    WkObjectFillRect(object, 0, 0, object->width, object->height, WkAllocColor(255, 0, 0));
    return 1;
}

TEST_F(ObjectDrawTest, DrawingInsideAnExposeHandlerGivesTheHandlersTargetBack) {
    WkObject* shell = MakeShell(100, 60);
    WkObject* form = MainForm(shell);
    WkObject* outer = MakeLeaf(form, 40, 30);
    redrawnOnTheWay = MakeLeaf(form, 10, 10);
    SetRealized(shell, true);
    outer->x = outer->y = 10;
    redrawnOnTheWay->x = 60;
    redrawnOnTheWay->y = 10;
    outer->handler = RedrawThenFill;
    plat::Surface& s = SurfaceOf(shell);
    Junk(s, 0, 0, 100, 60);

    // Only the left half of the outer object is exposed.
    WkMessage expose = WkExposeMessage(0, 10, 10, WkRect{0, 0, 20, 30});
    WkBeginDraw(outer, &expose);
    WkSendMessage(outer, &expose);
    EXPECT_EQ(WkCurrentDrawTarget().object, outer);
    WkEndDraw();

    const plat::Rgb red = plat::MakeRgb(255, 0, 0), junk = 0xFF00FF;
    EXPECT_EQ(s.colorAt(10, 10), red);
    EXPECT_EQ(s.colorAt(29, 39), red);
    EXPECT_EQ(s.colorAt(30, 10), junk) << "past the handler's clip";
    EXPECT_EQ(s.colorAt(9, 10), junk);
    EXPECT_EQ(s.colorAt(65, 15), plat::MakeRgb(0, 0, 255));
    WkObjectDestroy(shell);
}

} // namespace
