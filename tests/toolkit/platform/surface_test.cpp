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

// Whoever shows a surface may skip it while its generation stands still:
// every hand-out of its pixels for writing, every resize and every
// assignment moves it on, past the other surface's too.
TEST(Surface, GenerationMovesWheneverThePixelsMayChange) {
    plat::Surface s(4, 4), other(2, 2);
    const plat::Surface& view = s;
    struct Step {
        const char* what;
        void (*act)(plat::Surface& s, plat::Surface& other);
        bool moves;
        bool passesOther; // above the other surface's generation too
    };
    const Step steps[] = {
        {"read", [](plat::Surface& s, plat::Surface&) { (void)static_cast<const plat::Surface&>(s).pixels(); }, false, false},
        {"written", [](plat::Surface& s, plat::Surface&) { s.pixels()[0] = 1; }, true, false},
        {"resized", [](plat::Surface& s, plat::Surface&) { s.resize(3, 3); }, true, false},
        {"assigned", [](plat::Surface& s, plat::Surface& other) { s = other; }, true, true},
        {"moved into", [](plat::Surface& s, plat::Surface& other) { s = std::move(other); }, true, true},
    };
    for (int i = 0; i < 50; ++i) other.pixels(); // the other surface far ahead
    for (const Step& step : steps) {
        const std::uint64_t before = view.generation();
        step.act(s, other);
        EXPECT_EQ(view.generation() > before, step.moves) << step.what;
        EXPECT_EQ(view.generation() > 50u, step.passesOther) << step.what;
    }
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
