#include "toolkit/core/image.h"

#include <gtest/gtest.h>

#include "toolkit/core/image_blend.h"

namespace {

TEST(Images, RecordsRefuseBadSizesAndStartClear) {
    EXPECT_EQ(WkCreateImage(0, 5, 8), nullptr);
    EXPECT_EQ(WkCreateImage(5, 5, 16), nullptr);
    EXPECT_EQ(WkCreateImage(WK_IMAGE_MAX_SIDE + 1, 1, 1), nullptr);
    WkImage* image = WkCreateImage(5, 3, 4);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bytesPerRow, 4);
    EXPECT_EQ(image->paletteSize, 16);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(WkImageGetPixelIndex(image, x, y), 0);
    EXPECT_EQ(WkImageRowBytes(33, 1), 8);
    EXPECT_EQ(WkImageRowBytes(5, 24), 16);
    WkFreeImage(image);
    WkFreeImage(nullptr);
}

TEST(Images, PixelsOfEachDepthKeepTheirNeighbours) {
    for (int bits : {1, 4, 8}) {
        WkImage* image = WkCreateImage(9, 2, bits);
        int top = (1 << bits) - 1;
        for (int x = 0; x < 9; ++x) WkImageSetPixelIndex(image, x, 1, x % 2 ? top : 0);
        for (int x = 0; x < 9; ++x) EXPECT_EQ(WkImageGetPixelIndex(image, x, 1), x % 2 ? top : 0) << bits;
        EXPECT_EQ(WkImageGetPixelIndex(image, 3, 0), 0);
        WkImageSetPixelIndex(image, 9, 0, 1);  // outside: ignored
        WkImageSetPixelIndex(image, 0, 0, top + 1); // no such index
        EXPECT_EQ(WkImageGetPixelIndex(image, 0, 0), 0);
        EXPECT_EQ(WkImageGetPixelIndex(image, -1, 0), -1);
        WkFreeImage(image);
    }
    WkImage* rgb = WkCreateImage(2, 2, 24);
    WkImageSetPixelRGB(rgb, 1, 1, 10, 20, 30);
    int r = 0, g = 0, b = 0;
    WkImageGetPixelRGB(rgb, 1, 1, &r, &g, &b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(WkImageGetPixelIndex(rgb, 1, 1), -1);
    WkFreeImage(rgb);
}

TEST(Images, ColoursGoToTheNearestPaletteEntry) {
    WkImage* image = WkCreateImage(2, 1, 1);
    WkImageSetPaletteEntry(image, 0, 0, 0, 0);
    WkImageSetPaletteEntry(image, 1, 255, 255, 255);
    WkImageSetPixelRGB(image, 0, 0, 200, 200, 200);
    WkImageSetPixelRGB(image, 1, 0, 100, 100, 100);
    EXPECT_EQ(WkImageGetPixelIndex(image, 0, 0), 1);
    EXPECT_EQ(WkImageGetPixelIndex(image, 1, 0), 0);
    int r = 7;
    WkImageGetPaletteEntry(image, 2, &r, &r, &r);
    EXPECT_EQ(r, 7);
    WkFreeImage(image);
}

TEST(Images, MasksMarkWhatDiffersFromTheTransparentPixel) {
    WkImage* image = WkCreateImage(3, 2, 8);
    WkImageSetPixelIndex(image, 1, 0, 5);
    WkImageSetTransparentAt(image, 0, 0);
    ASSERT_NE(image->mask, nullptr);
    EXPECT_TRUE(image->flags & WK_IMAGE_OWNS_MASK);
    EXPECT_EQ(WkImageGetAlpha(image, 0, 0), 0);
    EXPECT_EQ(WkImageGetAlpha(image, 1, 0), 255);
    EXPECT_EQ(WkImageGetAlpha(image, 3, 0), -1);
    // A caller's mask replaces the owned one and stays the caller's.
    WkImage* own = WkImageMaskFromIndex(image, 5);
    WkImageSetMask(image, own);
    EXPECT_FALSE(image->flags & WK_IMAGE_OWNS_MASK);
    EXPECT_EQ(WkImageGetAlpha(image, 1, 0), 0);
    WkFreeImage(image);
    EXPECT_EQ(WkImageGetPixelIndex(own, 0, 0), 1);
    WkFreeImage(own);

    WkImage* rgb = WkCreateImage(2, 1, 24);
    WkImageSetPixelRGB(rgb, 1, 0, 1, 2, 3);
    WkImage* mask = WkImageMaskFromPixel(rgb, 1, 0);
    EXPECT_EQ(WkImageGetPixelIndex(mask, 0, 0), 1);
    EXPECT_EQ(WkImageGetPixelIndex(mask, 1, 0), 0);
    EXPECT_EQ(WkImageMaskFromPixel(rgb, 5, 5), nullptr);
    WkFreeImage(mask);
    WkFreeImage(rgb);
}

TEST(Images, PastesAreCutAtTheDestinationsEdges) {
    WkImage* to = WkCreateImage(4, 4, 4);
    WkImage* from = WkCreateImage(3, 3, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) WkImageSetPixelIndex(from, x, y, x == 1 ? 0 : 7);
    WkImagePaste(to, from, 2, 2, 0);
    EXPECT_EQ(WkImageGetPixelIndex(to, 2, 2), 7);
    EXPECT_EQ(WkImageGetPixelIndex(to, 3, 3), 0) << "the transparent column";
    WkImagePaste(to, from, 5, 0, -1); // beyond the width: nothing
    WkImage* eight = WkCreateImage(2, 2, 8);
    WkImagePaste(eight, from, 0, 0, -1); // other palette size: nothing
    EXPECT_EQ(WkImageGetPixelIndex(eight, 0, 0), 0);
    WkFreeImage(eight);
    WkFreeImage(from);
    WkFreeImage(to);
}

TEST(Images, CopiesShareAndClonesOwn) {
    WkImage* image = WkCreateImage(2, 2, 8);
    WkImageAddAlpha(image);
    WkImageSetTransparentIndex(image, 3);
    WkImage* copy = WkCopyImage(image);
    WkImage* clone = WkImageClone(image);
    EXPECT_EQ(copy->pixels, image->pixels);
    EXPECT_NE(copy->unblended, image->unblended);
    EXPECT_TRUE(copy->flags & WK_IMAGE_COPY);
    EXPECT_NE(clone->pixels, image->pixels);
    WkImageSetPixelIndex(image, 0, 0, 9);
    EXPECT_EQ(WkImageGetPixelIndex(copy, 0, 0), 9);
    EXPECT_EQ(WkImageGetPixelIndex(clone, 0, 0), 0);
    WkFreeImage(copy);
    WkFreeImage(clone);
    WkFreeImage(image);
}

TEST(Images, AveragesAndBlendsFollowTheirFormulas) {
    WkImage* wide = WkCreateImage(100, 30, 24);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) WkImageSetPixelRGB(wide, x, y, x < 64 ? 90 : 255, 0, 0);
    int r = 0, g = 0, b = 0;
    WkImageAverageColor(wide, &r, &g, &b);
    EXPECT_EQ(r, 90) << "only the top-left 64 columns count";

    WkImage* blended = WkImageBlendRegion(wide, -36, 0, 2, 1, 0, 0, 255, 51);
    ASSERT_NE(blended, nullptr);
    EXPECT_EQ(blended->width, 2);
    WkImageGetPixelRGB(blended, 0, 0, &r, &g, &b);
    EXPECT_EQ(r, 51 * 255 / 255) << "offset -36 wraps to column 64";
    EXPECT_EQ(b, (255 - 51) * 255 / 255);
    WkFreeImage(blended);

    WkImage* alpha = WkCreateImage(1, 1, 24);
    WkImageAddAlpha(alpha);
    alpha->unblended[0] = 0;
    alpha->unblended[1] = 0;
    alpha->unblended[2] = 255;
    WkImageSetAlpha(alpha, 0, 0, 51);
    WkImageBlendOverColor(alpha, 0, 0, 255);
    WkImageGetPixelRGB(alpha, 0, 0, &r, &g, &b);
    EXPECT_EQ(r, 51);
    EXPECT_EQ(b, 204);
    WkFreeImage(alpha);
    WkFreeImage(wide);
}

} // namespace
