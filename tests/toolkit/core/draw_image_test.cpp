#include "toolkit/core/draw_image.h"

#include <gtest/gtest.h>

#include "toolkit/core/draw_fixture.h"

namespace {

// A 16 x 16 picture: green ground (index 0) with a red square (index 1) in
// rows and columns 4 .. 11; the ground is made transparent.
WkImage* MaskedPicture() {
    WkImage* image = WkCreateImage(16, 16, 8);
    WkImageSetPaletteEntry(image, 0, 0, 255, 0);
    WkImageSetPaletteEntry(image, 1, 255, 0, 0);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) WkImageSetPixelIndex(image, x, y, 1);
    WkImageSetTransparentAt(image, 0, 0);
    return image;
}

// A 4 x 4 tile of blue and yellow checks.
WkImage* Tile() {
    WkImage* tile = WkCreateImage(4, 4, 4);
    WkImageSetPaletteEntry(tile, 0, 0, 0, 255);
    WkImageSetPaletteEntry(tile, 1, 255, 255, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) WkImageSetPixelIndex(tile, x, y, (x / 2 + y / 2) % 2);
    return tile;
}

class DrawImage : public DrawFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { Start(GetParam(), 64, 32); }
};

TEST_P(DrawImage, AMaskedPictureShowsEachBackgroundThroughItsGround) {
    WkImage* picture = MaskedPicture();
    WkImage* tile = Tile();
    WkImageMakeDeviceBitmap(picture);
    WkImageMakeDeviceBitmap(tile);
    WkNativeFillRect(0, 0, 32, 32, WkWhiteColor());
    for (int y = 0; y < 32; y += 4)
        for (int x = 32; x < 64; x += 4) WkNativeDrawImage(tile, 0, 0, 4, 4, x, y);
    WkNativeDrawImage(picture, 0, 0, 16, 16, 8, 8);
    WkNativeDrawImage(picture, 0, 0, 16, 16, 40, 8);
    std::string png = std::string(TM_TEST_OUTPUT_DIR) + (GetParam() ? "/masked_palette.png" : "/masked_true.png");
    ASSERT_TRUE(display->saveWindowPng(window, png));
    EXPECT_EQ(surface->colorAt(8, 8), 0xFFFFFFu);
    EXPECT_EQ(surface->colorAt(15, 15), 0xFF0000u);
    EXPECT_EQ(surface->colorAt(40, 8), 0x0000FFu);
    EXPECT_EQ(surface->colorAt(42, 8), 0xFFFF00u);
    EXPECT_EQ(surface->colorAt(47, 15), 0xFF0000u);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) EXPECT_NE(surface->colorAt(x, y), 0x00FF00u) << x << "," << y;
    WkFreeImage(picture);
    WkFreeImage(tile);
}

TEST_P(DrawImage, MergedBackgroundsAreDrawnWithoutTheMask) {
    WkImage* picture = MaskedPicture();
    WkImage* tile = Tile();
    WkImageMergeBackgroundColor(picture, 0, 0, 0);
    EXPECT_TRUE(picture->flags & WK_IMAGE_MERGED);
    WkNativeFillRect(0, 0, 64, 32, WkWhiteColor());
    WkNativeDrawImage(picture, 0, 0, 16, 16, 0, 0);
    EXPECT_EQ(surface->colorAt(0, 0), 0u);
    EXPECT_EQ(surface->colorAt(5, 5), 0xFF0000u);
    WkImageMergeBackgroundImage(picture, tile, 2, 0);
    WkFreeImage(tile); // the merged picture keeps what it painted
    WkNativeDrawImage(picture, 0, 0, 16, 16, 20, 0);
    EXPECT_EQ(surface->colorAt(20, 0), 0xFFFF00u);
    EXPECT_EQ(surface->colorAt(22, 0), 0x0000FFu);
    EXPECT_EQ(surface->colorAt(25, 5), 0xFF0000u);
    WkFreeImage(picture);
}

INSTANTIATE_TEST_SUITE_P(Displays, DrawImage, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Palette" : "TrueColour"; });

class PaletteImages : public DrawFixture {
protected:
    void SetUp() override { Start(true); }
};

TEST_F(PaletteImages, DeviceBitmapsTakePaletteUsesAndGiveThemBack) {
    WkImage* picture = MaskedPicture();
    WkImageMakeDeviceBitmap(picture);
    ASSERT_TRUE(picture->deviceBitmapMade);
    int green = picture->palette[3], red = picture->palette[4 + 3];
    EXPECT_NE(green, red);
    EXPECT_EQ(WkColorUses(WkColor(red)), 1);
    int blackUses = WkColorUses(WkBlackColor());
    // The other 254 entries are black: one use each of black's slot.
    EXPECT_GE(blackUses, 255);
    WkImage* copy = WkCopyImage(picture);
    WkImageMakeDeviceBitmap(copy);
    EXPECT_EQ(WkColorUses(WkColor(red)), 2);
    WkFreeImage(copy);
    EXPECT_EQ(WkColorUses(WkColor(red)), 1);

    // A merged colour holds its slot while the bitmap shows it.
    WkImageMergeBackgroundColor(picture, 10, 20, 30);
    WkColor merged = WkAllocColor(10, 20, 30);
    EXPECT_EQ(WkColorUses(merged), 2);
    WkImageFreeDeviceBitmap(picture);
    EXPECT_EQ(WkColorUses(merged), 1);
    EXPECT_EQ(WkColorUses(WkColor(red)), 0);
    EXPECT_FALSE(picture->flags & WK_IMAGE_MERGED);
    WkFreeColor(merged);
    EXPECT_EQ(WkColorUses(WkBlackColor()), blackUses - 254 + 1) << "the mask's own bitmap holds one";
    WkFreeImage(picture);
}

TEST_F(PaletteImages, AnImageWithoutDeviceBitmapIsNotDrawn) {
    WkImage* picture = MaskedPicture();
    WkNativeDrawImage(picture, 0, 0, 16, 16, 0, 0);
    EXPECT_EQ(surface->colorAt(5, 5), 0u);
    WkNativeDrawImage(nullptr, 0, 0, 16, 16, 0, 0);
    WkImageMakeDeviceBitmap(nullptr);
    WkImageFreeDeviceBitmap(nullptr);
    WkFreeImage(picture);
}

} // namespace
