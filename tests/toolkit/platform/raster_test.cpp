#include "toolkit/platform/raster.h"

#include "raster_art.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using plat::Canvas;
using plat::LineEnd;
using plat::Point;
using plat::Rect;
using plat::Surface;
using rastertest::Art;
using rastertest::Count;
using rastertest::Noise;
using rastertest::SamePixels;
using rastertest::Value;

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Drawn(const Surface& s) {
    PixelSet out;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (Value(s, x, y) != 0) out.insert({x, y});
    return out;
}

// ---- Golden pictures: two primitives side by side in each ------------------

TEST(RasterGolden, LinesAndPolyline) {
    Surface s(32, 16);
    Canvas c(s);
    c.drawLine(1, 1, 14, 6, 1);                   // (14, 6) left out
    c.drawLine(2, 14, 6, 2, 1, LineEnd::Include); // (6, 2) drawn
    Point p[] = {{18, 2}, {28, 2}, {28, 12}, {20, 8}};
    c.drawPolyline(p, 4, 1); // (20, 8) left out
    EXPECT_EQ(Art(s), "................................\n"
                      ".##.............................\n"
                      "...##.#...........###########...\n"
                      ".....###....................#...\n"
                      ".....#..###.................#...\n"
                      ".....#.....##...............#...\n"
                      ".....#.......#..............#...\n"
                      "....#.......................#...\n"
                      "....#.......................#...\n"
                      "....#................##.....#...\n"
                      "...#...................##...#...\n"
                      "...#.....................##.#...\n"
                      "...#.......................##...\n"
                      "..#.............................\n"
                      "..#.............................\n"
                      "................................\n");
}

TEST(RasterGolden, HalfOpenRectanglesAndATriangleWithoutGapsToItsOutline) {
    Surface s(32, 16);
    Canvas c(s);
    c.drawRect(Rect{2, 2, 10, 8}, 1);
    c.fillRect(Rect{4, 10, 12, 14}, 2);
    Point p[] = {{18, 2}, {29, 4}, {24, 13}};
    c.fillPolygon(p, 3, 1);
    EXPECT_EQ(Art(s), "................................\n"
                      "................................\n"
                      "..########........###...........\n"
                      "..#......#.........########.....\n"
                      "..#......#.........###########..\n"
                      "..#......#..........#########...\n"
                      "..#......#..........#########...\n"
                      "..########...........#######....\n"
                      ".....................#######....\n"
                      "......................#####.....\n"
                      "....oooooooo..........#####.....\n"
                      "....oooooooo...........###......\n"
                      "....oooooooo...........###......\n"
                      "....oooooooo............#.......\n"
                      "................................\n"
                      "................................\n");
}

TEST(RasterGolden, StarFilledByTheEvenOddRuleAndOutlined) {
    Surface s(32, 16);
    Canvas c(s);
    Point p[] = {{8, 1}, {11, 14}, {2, 5}, {14, 5}, {4, 14}};
    c.fillPolygon(p, 5, 1);
    Point q[] = {{24, 1}, {27, 14}, {18, 5}, {30, 5}, {20, 14}};
    c.drawPolygon(q, 5, 1);
    EXPECT_EQ(Art(s), "................................\n"
                      "........#...............#.......\n"
                      "........#...............#.......\n"
                      ".......##..............##.......\n"
                      ".......###.............#.#......\n"
                      "..#############...#############.\n"
                      "...####..#####.....#..#..#...#..\n"
                      "....###..####.......#.#..#..#...\n"
                      ".....##...##.........##...##....\n"
                      "......#...#...........#...#.....\n"
                      ".....######..........#.####.....\n"
                      ".....######..........#.##.#.....\n"
                      ".....##..###.........##..#.#....\n"
                      "....##....##........##....##....\n"
                      "....#......#........#......#....\n"
                      "................................\n");
}

TEST(RasterGolden, CircleAndExclusiveOrOverAFill) {
    Surface s(32, 16);
    Canvas c(s);
    c.fillCircle(7, 7, 6, 1);
    c.drawCircle(7, 7, 6, 2); // the outline hugs the fill
    c.fillRect(Rect{20, 4, 28, 12}, 1);
    c.xorRect(Rect{18, 2, 26, 10}, 3); // corners changed once: '?' outside the fill, 'o' inside
    c.xorLine(16, 15, 31, 0, 1, LineEnd::Include);
    EXPECT_EQ(Art(s), "...............................#\n"
                      ".....ooooo....................#.\n"
                      "...oo#####oo......????????...#..\n"
                      "..o#########o.....?......?..#...\n"
                      "..o#########o.....?.#####o#.....\n"
                      ".o###########o....?.#####o.#....\n"
                      ".o###########o....?.#####?##....\n"
                      ".o###########o....?.####.o##....\n"
                      ".o###########o....?.###.#o##....\n"
                      ".o###########o....??oo?ooo##....\n"
                      "..o#########o.......#.######....\n"
                      "..o#########o........#######....\n"
                      "...oo#####oo.......#............\n"
                      ".....ooooo........#.............\n"
                      ".................#..............\n"
                      "................#...............\n");
}

TEST(RasterGolden, EllipseArcAndPie) {
    Surface e(32, 12);
    Canvas ce(e);
    ce.drawEllipse(Rect{1, 1, 19, 11}, 1);
    EXPECT_EQ(Art(e), "................................\n"
                      "......########..................\n"
                      "....##........##................\n"
                      "..##............##..............\n"
                      ".#................#.............\n"
                      ".#................#.............\n"
                      ".#................#.............\n"
                      ".#................#.............\n"
                      "..##............##..............\n"
                      "....##........##................\n"
                      "......########..................\n"
                      "................................\n");
    Surface s(32, 8);
    Canvas c(s);
    c.drawArc(7, 7, 6, 0, 900, 1); // the upper-right quarter
    c.fillPie(23, 7, 6, 450, 1800, 1);
    EXPECT_EQ(Art(s), "................................\n"
                      ".......###...........#####......\n"
                      "..........##.......#########....\n"
                      "............#.....##########....\n"
                      "............#.....#########.....\n"
                      ".............#...#########......\n"
                      ".............#...########.......\n"
                      ".............#...#######........\n");
}

// ---- Lines ----------------------------------------------------------------

TEST(RasterLine, EndPointIsDrawnOnlyWhenAskedFor) {
    Surface s(16, 4);
    Canvas c(s);
    c.drawLine(0, 0, 10, 0, 1, LineEnd::Include);
    EXPECT_EQ(Count(s, 1), 11);
    EXPECT_EQ(Value(s, 10, 0), 1u);
    c.drawLine(0, 2, 10, 2, 1);
    EXPECT_EQ(Count(s, 1), 21);
    EXPECT_EQ(Value(s, 10, 2), 0u);
    c.drawLine(5, 3, 5, 3, 2);
    EXPECT_EQ(Count(s, 2), 0);
    c.drawLine(5, 3, 5, 3, 2, LineEnd::Include);
    EXPECT_EQ(Count(s, 2), 1);
}

TEST(RasterLine, CoversTheSamePixelsEitherWayAndOnePerStep) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-4, 35);
    for (int i = 0; i < 400; ++i) {
        int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        Surface a(32, 32), b(32, 32), big(80, 80);
        Canvas ca(a), cb(b), cbig(big);
        ca.drawLine(x1, y1, x2, y2, 1, LineEnd::Include);
        cb.drawLine(x2, y2, x1, y1, 1, LineEnd::Include);
        ASSERT_EQ(Drawn(a), Drawn(b)) << x1 << "," << y1 << " " << x2 << "," << y2;
        cbig.drawLine(x1 + 20, y1 + 20, x2 + 20, y2 + 20, 1, LineEnd::Include);
        ASSERT_EQ(Count(big, 1), std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1);
    }
}

TEST(RasterLine, PolylinesAndPolygonsDrawEveryVertexOnce) {
    // Exclusive-or shows a pixel drawn twice: segments without end points
    // around a closed path cover each pixel once.
    Point p[] = {{2, 2}, {12, 3}, {9, 12}, {2, 2}};
    Surface x(16, 16), line(16, 16), poly(16, 16);
    Canvas cx(x), cl(line), cp(poly);
    for (int i = 0; i + 1 < 4; ++i) cx.xorLine(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, 1);
    cl.drawPolyline(p, 4, 1);
    cp.drawPolygon(p, 3, 1);
    EXPECT_EQ(Drawn(x), Drawn(line));
    EXPECT_EQ(Drawn(poly), Drawn(line));
    cl.drawPolyline(p, 3, 2, LineEnd::Include);
    EXPECT_EQ(Value(line, 9, 12), 2u);
}

// ---- Exclusive-or ---------------------------------------------------------

TEST(RasterXor, DrawingTwiceRestoresEveryPixel) {
    plat::Palette pal;
    const plat::Palette* palettes[] = {nullptr, &pal};
    for (const plat::Palette* p : palettes) {
        Surface s = Noise(24, 24, p, 3);
        const Surface before = s;
        Canvas c(s, Rect{1, 1, 22, 23});
        for (Rect r : {Rect{-3, -3, 15, 15}, Rect{4, 4, 5, 5}, Rect{4, 6, 12, 7}, Rect{6, 2, 7, 20}, Rect{5, 5, 20, 18}}) {
            c.xorRect(r, 0xFFFFFF);
            EXPECT_FALSE(SamePixels(s, before));
            c.xorRect(r, 0xFFFFFF);
            EXPECT_TRUE(SamePixels(s, before)) << r.x0 << "," << r.y0 << "," << r.x1 << "," << r.y1;
        }
        c.xorLine(0, 0, 23, 17, 0x55, LineEnd::Include);
        c.xorLine(0, 0, 23, 17, 0x55, LineEnd::Include);
        c.xorFill(Rect{2, 2, 9, 9}, 0x0F);
        c.xorFill(Rect{2, 2, 9, 9}, 0x0F);
        EXPECT_TRUE(SamePixels(s, before));
    }
}

TEST(RasterXor, ThinRectanglesChangeEachOutlinePixelOnce) {
    for (Rect r : {Rect{1, 1, 2, 2}, Rect{1, 1, 9, 2}, Rect{1, 1, 2, 9}, Rect{1, 1, 3, 3}, Rect{2, 3, 11, 8}}) {
        Surface a(12, 12), b(12, 12);
        Canvas ca(a), cb(b);
        ca.drawRect(r, 1);
        cb.xorRect(r, 1);
        EXPECT_EQ(Drawn(a), Drawn(b));
        EXPECT_EQ(Count(b, 1), r.width() * r.height() - std::max(0, r.width() - 2) * std::max(0, r.height() - 2));
    }
}

// ---- Clipping --------------------------------------------------------------

// Every primitive, drawn under a clip, equals the same drawing without one
// cut to the clip, and leaves everything outside it alone.
TEST(RasterClip, EveryPrimitiveDrawsOnlyInsideTheClip) {
    using Draw = std::function<void(Canvas&)>;
    Point poly[] = {{-5, 3}, {20, -4}, {30, 25}, {8, 14}, {2, 30}};
    std::vector<Draw> draws = {
        [](Canvas& c) { c.setPixel(3, 3, 1); c.setPixel(12, 12, 1); },
        [](Canvas& c) { c.fillSpan(-5, 40, 7, 1); },
        [](Canvas& c) { c.fillRect(Rect{-4, 2, 30, 19}, 1); },
        [](Canvas& c) { c.drawRect(Rect{-4, 8, 30, 15}, 1); },
        [](Canvas& c) { c.drawLine(-6, 30, 27, -3, 1, LineEnd::Include); },
        [&](Canvas& c) { c.drawPolyline(poly, 5, 1); },
        [&](Canvas& c) { c.fillPolygon(poly, 5, 1); },
        [](Canvas& c) { c.xorRect(Rect{6, -2, 12, 15}, 1); },
        [](Canvas& c) { c.xorLine(30, 2, -3, 17, 1, LineEnd::Include); },
        [](Canvas& c) { c.fillEllipse(Rect{-8, 1, 30, 23}, 1); },
        [](Canvas& c) { c.drawEllipse(Rect{0, 3, 20, 15}, 1); },
        [](Canvas& c) { c.drawCircle(10, 10, 7, 1); },
        [](Canvas& c) { c.drawArc(10, 10, 7, 300, 2500, 1); },
        [](Canvas& c) { c.fillPie(10, 10, 12, 3000, 1000, 1); },
        [](Canvas& c) { c.blendPixel(8, 8, 1, 255); },
    };
    const Rect clip{4, 5, 19, 17};
    for (std::size_t i = 0; i < draws.size(); ++i) {
        Surface free(24, 24), clipped(24, 24);
        Canvas cf(free), cc(clipped, clip);
        draws[i](cf);
        draws[i](cc);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(Value(clipped, x, y), clip.contains(x, y) ? Value(free, x, y) : 0u)
                    << "primitive " << i << " at " << x << "," << y;
        EXPECT_GT(Count(clipped, 1), 0) << "primitive " << i;
    }
}

TEST(RasterClip, EmptyClipsAndSurfacesThatShrankAreNeverWrittenPast) {
    Surface s(20, 20);
    Canvas c(s, Rect{-5, -5, 50, 3});
    EXPECT_EQ(c.clip().x0, 0);
    EXPECT_EQ(c.clip().x1, 20);
    c.setClip(Rect{3, 3, 3, 9}); // no width: nothing shows
    c.fillRect(s.bounds(), 1);
    c.fillCircle(5, 5, 4, 1);
    EXPECT_EQ(Count(s, 1), 0);
    c.setClip(s.bounds());
    s.resize(5, 4);
    c.fillRect(Rect{0, 0, 20, 20}, 1);
    c.drawLine(0, 0, 19, 19, 2, LineEnd::Include);
    c.fillCircle(10, 10, 9, 1);
    c.scroll(Rect{0, 0, 20, 20}, 2, 2);
    EXPECT_EQ(Count(s, 1) + Count(s, 2), 20);
}

TEST(RasterClip, FarCoordinatesFinishAndStayInTheClip) {
    Surface s(16, 16);
    Canvas c(s, Rect{2, 2, 14, 14});
    c.drawLine(-2000000000, -2000000000, 2000000000, 2000000000, 1, LineEnd::Include);
    EXPECT_EQ(Count(s, 1), 12);
    c.fillCircle(8, 8, 2000000000, 1);
    EXPECT_EQ(Count(s, 1), 144);
    c.drawEllipse(Rect{-2000000000, -2000000000, 2000000000, 2000000000}, 2);
    EXPECT_EQ(Count(s, 2), 0); // the outline lies far outside
    Point far[] = {{-2000000000, -2000000000}, {2000000000, 0}, {0, 2000000000}};
    c.fillPolygon(far, 3, 2);
    EXPECT_EQ(Count(s, 2), 144);
}

// ---- Curves --------------------------------------------------------------

TEST(RasterCurves, CirclesAreSymmetricSpanTheirDiameterAndOutlineTheirFill) {
    for (int r = 0; r <= 20; ++r) {
        Surface s(45, 45), f(45, 45);
        Canvas c(s), cf(f);
        c.drawCircle(22, 22, r, 1);
        cf.fillCircle(22, 22, r, 1);
        PixelSet d = Drawn(s), filled = Drawn(f);
        for (auto [x, y] : d) {
            int dx = x - 22, dy = y - 22;
            for (auto [mx, my] : {std::pair{-dx, dy}, {dx, -dy}, {dy, dx}})
                ASSERT_TRUE(d.count({22 + mx, 22 + my})) << "r " << r << " at " << dx << "," << dy;
            ASSERT_TRUE(filled.count({x, y})) << r;
        }
        EXPECT_TRUE(d.count({22 + r, 22}) && d.count({22 - r, 22}) && !d.count({23 + r, 22})) << r;
        for (auto [x, y] : filled) ASSERT_LE((x - 22) * (x - 22) + (y - 22) * (y - 22), r * r + r);
    }
    Surface thin(12, 12);
    Canvas ct(thin);
    ct.drawEllipse(Rect{1, 1, 11, 2}, 1); // one row
    ct.drawEllipse(Rect{1, 4, 2, 11}, 1); // one column
    ct.drawEllipse(Rect{4, 5, 6, 7}, 1);  // two by two
    ct.drawEllipse(Rect{8, 8, 8, 12}, 1); // empty
    EXPECT_EQ(Count(thin, 1), 10 + 7 + 4);
}

TEST(RasterCurves, QuarterArcsMakeTheCircleAndPiesStayInIt) {
    Surface whole(30, 30), parts(30, 30), full(30, 30), low(30, 30);
    Canvas cw(whole), cp(parts), cf(full), cl(low);
    cw.drawCircle(14, 14, 11, 1);
    for (int a = 0; a < 3600; a += 900) cp.drawArc(14, 14, 11, a, a + 900, 1);
    cf.drawArc(14, 14, 11, 450, 450, 1); // start == end: the full circle
    EXPECT_EQ(Drawn(whole), Drawn(parts));
    EXPECT_EQ(Drawn(whole), Drawn(full));
    cl.drawArc(14, 14, 11, 2700, 3600, 1); // the lower right quarter only
    for (auto [x, y] : Drawn(low)) EXPECT_TRUE(x >= 14 && y >= 14) << x << "," << y;
    EXPECT_TRUE(Drawn(low).count({25, 14}) && Drawn(low).count({14, 25}));

    Surface pie(30, 30), disc(30, 30);
    Canvas cpie(pie), cd(disc);
    cpie.fillPie(14, 14, 11, 3150, 450, 1); // the right-hand quarter around the x axis
    cd.fillCircle(14, 14, 11, 1);
    for (auto p : Drawn(pie)) EXPECT_TRUE(Drawn(disc).count(p));
    for (int x = 14; x <= 25; ++x) EXPECT_EQ(Value(pie, x, 14), 1u) << x;
    EXPECT_EQ(Value(pie, 13, 14), 0u);
    EXPECT_EQ(Value(pie, 14, 10), 0u);
    EXPECT_EQ(Value(pie, 20, 10), 1u);
}

// ---- Blending and scrolling ---------------------------------------------

TEST(RasterBlend, CoverageMixesOnTrueColourAndThresholdsOnPalette) {
    const plat::Rgb orange = plat::MakeRgb(255, 100, 0);
    Surface s(3, 1);
    Canvas c(s);
    c.blendPixel(0, 0, orange, 0);
    c.blendPixel(1, 0, orange, 255);
    c.blendPixel(2, 0, orange, 128);
    EXPECT_EQ(Value(s, 0, 0), 0u);
    EXPECT_EQ(Value(s, 1, 0), orange);
    EXPECT_EQ(Value(s, 2, 0), plat::MakeRgb(128, 50, 0));
    plat::Palette pal;
    Surface p(2, 1, &pal);
    Canvas cp(p);
    cp.blendPixel(0, 0, 7, 127);
    cp.blendPixel(1, 0, 7, 128);
    EXPECT_EQ(Value(p, 0, 0), 0u);
    EXPECT_EQ(Value(p, 1, 0), 7u);
}

TEST(RasterScroll, MovesTheAreaAndLeavesTheUncoveredStripUntouched) {
    plat::Palette pal;
    const Surface starts[] = {Noise(20, 16, nullptr, 11), Noise(20, 16, &pal, 12)};
    for (const Surface& start : starts)
        for (Rect area : {Rect{2, 3, 18, 14}, Rect{-5, -5, 30, 30}})
            for (auto [dx, dy] : {std::pair{0, -10}, {0, 4}, {3, 0}, {-5, 0}, {2, 3}, {-3, -2}, {0, 0}, {30, 0}})
                for (Rect clip : {Rect{0, 0, 20, 16}, Rect{5, 1, 12, 10}}) {
                    Surface s = start;
                    Canvas c(s, clip);
                    c.scroll(area, dx, dy);
                    // Moved where area (cut to the surface) and clip allow, old
                    // pixels everywhere else.
                    const Rect cut = plat::Intersect(area, start.bounds());
                    for (int y = 0; y < 16; ++y)
                        for (int x = 0; x < 20; ++x) {
                            bool moved = cut.contains(x, y) && clip.contains(x, y) && cut.contains(x - dx, y - dy);
                            ASSERT_EQ(Value(s, x, y), moved ? Value(start, x - dx, y - dy) : Value(start, x, y))
                                << dx << "," << dy << " at " << x << "," << y;
                        }
                }
}

} // namespace
