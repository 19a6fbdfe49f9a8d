// Palette displays: 8-bit index framebuffers shown through a 256-entry
// palette that is turned into colours only when presented or saved.
#include "toolkit/platform/bitmap.h"
#include "toolkit/platform/png.h"
#include "toolkit/platform/raster.h"

#include "raster_art.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using plat::Canvas;
using plat::MakeRgb;
using plat::Palette;
using plat::Pixel;
using plat::Point;
using plat::Rect;
using plat::Surface;

std::string Out(const std::string& name) { return std::string(TM_TEST_OUTPUT_DIR) + "/" + name; }

Palette ToolkitPalette() {
    Palette p;
    p.entries[0] = MakeRgb(0, 0, 0);
    p.entries[1] = MakeRgb(255, 255, 255);
    p.entries[2] = MakeRgb(192, 192, 192);
    p.entries[3] = MakeRgb(200, 30, 40);
    p.entries[4] = MakeRgb(20, 90, 200);
    p.entries[5] = MakeRgb(250, 220, 0);
    return p;
}

// One scene, drawn with colour(slot) for each slot it uses.
void Scene(Canvas& c, const std::function<Pixel(int)>& colour, const Surface& picture) {
    c.fillRect(c.surface().bounds(), colour(2));
    c.drawRect(Rect{1, 1, 31, 31}, colour(0));
    c.drawLine(2, 2, 29, 12, colour(3), plat::LineEnd::Include);
    Point tri[] = {{4, 28}, {14, 16}, {20, 27}};
    c.fillPolygon(tri, 3, colour(4));
    c.fillCircle(23, 21, 6, colour(5));
    c.drawArc(23, 21, 8, 300, 1500, colour(3));
    c.fillPie(8, 9, 5, 0, 2700, colour(1));
    c.scroll(Rect{2, 14, 30, 30}, 1, -1);
    plat::Blit(c, 12, 3, picture, picture.bounds());
    c.setClip(Rect{0, 0, 16, 32});
    c.drawEllipse(Rect{10, 18, 26, 30}, colour(0));
}

TEST(PaletteDisplay, SameDrawingGivesTheSameScreenshotAsTrueColour) {
    Palette display = ToolkitPalette();
    // A small 4-bit picture whose colours the palette holds.
    const std::uint8_t entries[] = {0, 0, 0, 0, 40, 30, 200, 0, 200, 90, 20, 0, 0, 220, 250, 0};
    const std::uint8_t pixels[] = {0x12, 0x30, 0, 0, 0x23, 0x01, 0, 0, 0x31, 0x22, 0, 0};
    plat::Dib dib;
    dib.width = 4;
    dib.height = 3;
    dib.bitsPerPixel = 4;
    dib.palette = entries;
    dib.paletteSize = 4;
    dib.pixels = pixels;
    dib.pixelBytes = sizeof pixels;
    Surface pictureRgb, pictureIndexed;
    ASSERT_TRUE(plat::MakeDeviceBitmap(dib, nullptr, pictureRgb));
    ASSERT_TRUE(plat::MakeDeviceBitmap(dib, &display, pictureIndexed));

    Surface rgb(32, 32), indexed(32, 32, &display);
    Canvas crgb(rgb), cindexed(indexed);
    Scene(crgb, [&](int slot) { return display.entries[slot]; }, pictureRgb);
    Scene(cindexed, [](int slot) { return Pixel(slot); }, pictureIndexed);

    ASSERT_TRUE(rastertest::SamePixels(plat::ToTrueColour(indexed), rgb));
    // And as files: the screenshots load back equal.
    ASSERT_TRUE(plat::SavePng(rgb, Out("scene-rgb.png")));
    ASSERT_TRUE(plat::SavePng(indexed, Out("scene-palette.png")));
    Surface a, b;
    ASSERT_TRUE(plat::LoadPng(Out("scene-rgb.png"), a));
    ASSERT_TRUE(plat::LoadPng(Out("scene-palette.png"), b));
    EXPECT_TRUE(rastertest::SamePixels(a, b));
    EXPECT_TRUE(rastertest::SamePixels(a, rgb));
}

TEST(PaletteDisplay, ChangingOneEntryChangesTheScreenshotWithoutAPaint) {
    Palette display = ToolkitPalette();
    Surface screen(16, 16, &display);
    Canvas c(screen);
    c.fillRect(screen.bounds(), 2);
    c.fillCircle(8, 8, 5, 3);
    ASSERT_TRUE(plat::SavePng(screen, Out("before.png")));
    std::vector<std::uint8_t> indicesBefore(screen.indices(), screen.indices() + 256);

    display.entries[3] = MakeRgb(0, 160, 0); // no drawing after this
    ASSERT_TRUE(plat::SavePng(screen, Out("after.png")));
    EXPECT_EQ(std::vector<std::uint8_t>(screen.indices(), screen.indices() + 256), indicesBefore);

    Surface before, after;
    ASSERT_TRUE(plat::LoadPng(Out("before.png"), before));
    ASSERT_TRUE(plat::LoadPng(Out("after.png"), after));
    int changed = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool inCircle = screen.indices()[y * 16 + x] == 3;
            EXPECT_EQ(before.colorAt(x, y), inCircle ? MakeRgb(200, 30, 40) : MakeRgb(192, 192, 192));
            EXPECT_EQ(after.colorAt(x, y), inCircle ? MakeRgb(0, 160, 0) : MakeRgb(192, 192, 192));
            changed += inCircle;
        }
    EXPECT_GT(changed, 50);
}

TEST(PaletteDisplay, PaletteRelativeColoursUseTheirSlot) {
    Palette display = ToolkitPalette();
    Surface screen(4, 1, &display);
    Canvas c(screen);
    c.setPixel(0, 0, 0x01000000u + 4);
    c.fillSpan(1, 3, 0, 0x01000005u);
    EXPECT_EQ(screen.colorAt(0, 0), display.entries[4]);
    EXPECT_EQ(screen.colorAt(2, 0), display.entries[5]);
    EXPECT_EQ(screen.colorAt(3, 0), display.entries[0]);
}

} // namespace
