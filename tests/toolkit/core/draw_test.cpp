#include "toolkit/core/draw.h"

#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/core/draw_fixture.h"
#include "toolkit/core/fonts.h"

namespace {

constexpr plat::Rgb kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;

class Draw : public DrawFixture {
protected:
    void SetUp() override { Start(false); }
    WkColor red = WkAllocColor(255, 0, 0);
    WkColor blue = WkAllocColor(0, 0, 255);
    // Pixels of colour c in the rectangle.
    int Count(plat::Rgb c, const plat::Rect& r) const {
        int n = 0;
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x) n += At(x, y) == c;
        return n;
    }
};

TEST_F(Draw, OnePenAndOneBrushAreMadeOnlyWhenTheColourChanges) {
    const WkDrawStats before = WkNativeDrawStats();
    WkNativeFillRect(0, 0, 2, 2, red);
    WkNativeFillRect(4, 4, 2, 2, red);
    EXPECT_EQ(WkNativeDrawStats().brushesMade, before.brushesMade + 1);
    WkNativeFillRect(8, 8, 2, 2, blue);
    EXPECT_EQ(WkNativeDrawStats().brushesMade, before.brushesMade + 2);
    EXPECT_EQ(WkNativeDrawStats().brushesDeleted, before.brushesDeleted + 1);
    WkPoint line[] = {{0, 20}, {10, 20}};
    WkNativePolyline(line, 2, red);
    WkNativeDrawCircle(20, 15, 3, red);
    EXPECT_EQ(WkNativeDrawStats().pensMade, before.pensMade + 1);
    EXPECT_EQ(At(1, 1), kRed);
    EXPECT_EQ(At(9, 9), kBlue);
    // Ending the drawing deletes both; the next window starts afresh.
    WkNativeEndDraw();
    EXPECT_EQ(WkNativeDrawStats().pensDeleted, WkNativeDrawStats().pensMade);
    EXPECT_EQ(WkNativeDrawStats().brushesDeleted, WkNativeDrawStats().brushesMade);
    EXPECT_EQ(WkNativeCurrentWindow(), 0u);
    WkNativeFillRect(0, 0, 40, 30, blue);
    EXPECT_EQ(At(1, 1), kRed) << "no drawing without a current window";
}

TEST_F(Draw, AClipNeverReachesPastTheEdgesItWasGiven) {
    WkNativeSetClip(window, -5, -3, 10, 10);
    EXPECT_EQ(WkNativeCurrentClip().x1, 5);
    EXPECT_EQ(WkNativeCurrentClip().y1, 7);
    WkNativeFillRect(0, 0, 40, 30, red);
    EXPECT_EQ(Count(kRed, surface->bounds()), 5 * 7);
    // An empty clip hides everything until the next clip.
    WkNativeSetClip(window, 10, 10, 0, 5);
    WkNativeFillRect(0, 0, 40, 30, blue);
    WkNativeXorLine(0, 0, 39, 29);
    WkNativeSetClip(window, 700, 0, 5, 5); // starts beyond the screen
    WkNativeFillRect(0, 0, 40, 30, blue);
    EXPECT_EQ(Count(kBlue, surface->bounds()), 0);
    WkNativeSetClip(window, 30, 20, 100, 100);
    WkNativeFillRect(0, 0, 40, 30, blue);
    EXPECT_EQ(Count(kBlue, surface->bounds()), 10 * 10);
}

TEST_F(Draw, FramesPutTheSecondColourOnTheFarCorners) {
    WkNative3DFrame(2, 2, 10, 10, red, blue, 2);
    // Outer ring on the box's edge, inner ring one pixel inside.
    EXPECT_EQ(At(2, 2), kRed);
    EXPECT_EQ(At(6, 2), kRed);
    EXPECT_EQ(At(2, 6), kRed);
    EXPECT_EQ(At(11, 2), kBlue);
    EXPECT_EQ(At(2, 11), kBlue);
    EXPECT_EQ(At(11, 11), kBlue);
    EXPECT_EQ(At(3, 3), kRed);
    EXPECT_EQ(At(10, 3), kBlue);
    EXPECT_EQ(At(3, 10), kBlue);
    EXPECT_EQ(At(4, 4), kBlack);
    EXPECT_EQ(Count(kRed, surface->bounds()) + Count(kBlue, surface->bounds()), 36 + 28);
    WkNative3DFrame(20, 2, 10, 10, red, blue, 0);
    EXPECT_EQ(Count(kRed, plat::Rect{20, 2, 30, 12}), 0);
}

TEST_F(Draw, ExclusiveOrTwiceRestoresAndTheLineEndIsIncluded) {
    WkNativeFillRect(0, 0, 40, 30, red);
    WkNativeXorLine(2, 2, 12, 2);
    EXPECT_EQ(At(12, 2), kRed ^ kWhite);
    EXPECT_EQ(At(13, 2), kRed);
    WkNativeXorRect(5, 5, 10, 8);
    EXPECT_EQ(At(5, 5), kRed ^ kWhite);
    EXPECT_EQ(At(14, 12), kRed ^ kWhite);
    EXPECT_EQ(At(15, 12), kRed);
    WkNativeXorRect(5, 5, 10, 8);
    WkNativeXorLine(2, 2, 12, 2);
    EXPECT_EQ(Count(kRed, surface->bounds()), 40 * 30);
}

TEST_F(Draw, ScrollingMovesPixelsAndLeavesTheUncoveredStripToTheCaller) {
    for (int y = 0; y < 30; ++y) WkNativeFillRect(0, y, 40, 1, WkAllocColor(y, 0, 0));
    display->show(window, true);
    display->update(window); // the first paint is done
    WkNativeSetClip(window, 0, 0, 40, 30);
    WkNativeScrollArea(0, 5, 40, 20, 0, -5); // up by 10 inside rows 5 .. 24
    EXPECT_EQ(At(0, 5), plat::MakeRgb(15, 0, 0));
    EXPECT_EQ(At(0, 14), plat::MakeRgb(24, 0, 0));
    EXPECT_EQ(At(0, 15), plat::MakeRgb(15, 0, 0)) << "the bottom 10 rows keep what they held";
    EXPECT_EQ(At(0, 25), plat::MakeRgb(25, 0, 0)) << "outside the area nothing moves";
    EXPECT_EQ(At(0, 4), plat::MakeRgb(4, 0, 0));
    EXPECT_TRUE(display->window(window)->invalid.empty());
}

TEST_F(Draw, PolygonsAndCirclesUseTheColourGiven) {
    WkPoint triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    WkNativePolygon(triangle, 3, blue);
    EXPECT_EQ(At(2, 2), kBlue);
    EXPECT_EQ(At(9, 9), kBlack);
    WkNativeDrawCircle(25, 15, 5, red);
    EXPECT_EQ(At(30, 15), kRed);
    EXPECT_EQ(At(25, 10), kRed);
    EXPECT_EQ(At(25, 15), kBlack);
    WkNativePolygon(nullptr, 3, red);
    WkNativePolyline(triangle, 0, red);
}

// The columns of the row band [y0, y1) where colour c appears: first and last, -1 when none.
std::pair<int, int> Columns(const plat::Surface& s, plat::Rgb c, int y0, int y1) {
    int first = -1, last = -1;
    for (int x = 0; x < s.width(); ++x)
        for (int y = y0; y < y1; ++y)
            if (s.colorAt(x, y) == c) {
                if (first < 0) first = x;
                last = x;
            }
    return {first, last};
}

class DrawText : public Draw {
protected:
    void SetUp() override { Start(false, 300, 60); }
};

TEST_F(DrawText, TextIsAlignedInItsBoxAndCentredOnTheFontHeight) {
    ASSERT_NE(WkSlotFont(2), nullptr);
    const char* text = "WWWWWWWW";
    int width = WkTextWidth(text, 2), height = WkFontHeight(text, 2);
    ASSERT_GT(width, 20);
    WkNativeDrawText(100, 0, 10, height, text, 2, red, WK_ALIGN_CENTER);
    auto [first, last] = Columns(*surface, kRed, 0, height);
    EXPECT_LT(first, 100) << "a centred text wider than its box starts left of it";
    EXPECT_LE(first, 100 + (10 - width) / 2 + 2);
    WkNativeDrawText(0, 20, 290, height + 10, "I", 2, blue, WK_ALIGN_RIGHT);
    auto [rfirst, rlast] = Columns(*surface, kBlue, 0, 60);
    EXPECT_LT(rlast, 290);
    EXPECT_GE(rlast, 290 - WkTextWidth("I", 2));
    (void)last;
    (void)rfirst;
}

TEST_F(DrawText, TextOnAColourDrawsOnlyTheCharactersAskedFor) {
    const char* text = "ABCDEFGH";
    int height = WkFontHeight(text, 2);
    int two = WkTextWidthN(text, 2, 2);
    WkNativeDrawTextOnColor(10, 5, 280, height, text, 2, blue, red, WK_ALIGN_LEFT, 2);
    auto [bfirst, blast] = Columns(*surface, kBlue, 0, 60);
    auto [tfirst, tlast] = Columns(*surface, kRed, 0, 60);
    EXPECT_EQ(bfirst, 10);
    EXPECT_EQ(blast, 10 + two - 1);
    EXPECT_GE(tfirst, 10);
    EXPECT_LE(tlast, 10 + two - 1);
    // A length past the end of the text stops at its end.
    WkNativeDrawTextN(0, 30, 300, height, "ab", 2, red, WK_ALIGN_LEFT, 1000);
    EXPECT_LT(Columns(*surface, kRed, 30, 60).second, WkTextWidth("ab", 2));
}

TEST_F(Draw, ThePrintPageTakesEveryDrawingWhileItIsSet) {
    plat::Surface page(20, 20);
    WkNativeSetPrintDevice(&page, 2.0, 2.0);
    WkNativeSetClip(window, 0, 0, 20, 20);
    WkNativeFillRect(0, 0, 5, 5, red);
    EXPECT_EQ(page.colorAt(1, 1), kRed);
    EXPECT_EQ(At(1, 1), kBlack);
    WkNativeSetPrintDevice(nullptr, 1, 1);
    WkNativeSetClip(window, 0, 0, 20, 20);
    WkNativeFillRect(0, 0, 5, 5, blue);
    EXPECT_EQ(At(1, 1), kBlue);
    EXPECT_EQ(page.colorAt(1, 1), kRed);
}

TEST_F(Draw, ABeepReachesTheDisplay) {
    int before = display->beepCount();
    WkBeep();
    EXPECT_EQ(display->beepCount(), before + 1);
}

} // namespace
