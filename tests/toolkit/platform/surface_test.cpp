#include "toolkit/platform/surface.h"

#include <gtest/gtest.h>

namespace {

TEST(Surface, PaletteSurfaceShowsThroughItsPalette) {
    plat::Palette pal;
    pal.entries[3] = plat::MakeRgb(10, 20, 30);
    plat::Surface s(4, 2, &pal);
    s.indices()[1 * 4 + 2] = 3;
    EXPECT_EQ(s.colorAt(2, 1), plat::MakeRgb(10, 20, 30));
    pal.entries[3] = plat::MakeRgb(1, 2, 3);
    EXPECT_EQ(s.colorAt(2, 1), plat::MakeRgb(1, 2, 3));
    EXPECT_EQ(s.colorAt(4, 0), 0u);
}

TEST(Rect, HalfOpenIntersectionAndUnion) {
    plat::Rect a{0, 0, 10, 10}, b{5, 5, 20, 20};
    plat::Rect i = plat::Intersect(a, b);
    EXPECT_EQ(i.width(), 5);
    EXPECT_TRUE(plat::Intersect(a, plat::Rect{10, 0, 12, 5}).empty());
    plat::Rect u = plat::Union(plat::Rect{}, b);
    EXPECT_EQ(u.x0, 5);
    EXPECT_EQ(plat::Union(a, b).x1, 20);
}

} // namespace
