#include "toolkit/platform/raster.h"

#include "raster_art.h"

#include <gtest/gtest.h>

#include <cmath>
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
using rastertest::Value;

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Drawn(const Surface& s) {
    PixelSet out;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (Value(s, x, y) != 0) out.insert({x, y});
    return out;
}

// ---- Golden pictures, one or two primitives each -------------------------

TEST(RasterGolden, LinesWithoutAndWithTheirEndPoint) {
    Surface s(16, 16);
    Canvas c(s);
    c.drawLine(1, 1, 14, 6, 1);                    // (14, 6) left out
    c.drawLine(2, 14, 6, 2, 1, LineEnd::Include);  // (6, 2) drawn
    EXPECT_EQ(Art(s), "................\n"
                      ".##.............\n"
                      "...##.#.........\n"
                      ".....###........\n"
                      ".....#..###.....\n"
                      ".....#.....##...\n"
                      ".....#.......#..\n"
                      "....#...........\n"
                      "....#...........\n"
                      "....#...........\n"
                      "...#............\n"
                      "...#............\n"
                      "...#............\n"
                      "..#.............\n"
                      "..#.............\n"
                      "................\n");
}

TEST(RasterGolden, PolylineLeavesOutItsLastPoint) {
    Surface s(16, 16);
    Canvas c(s);
    Point p[] = {{2, 2}, {12, 2}, {12, 12}, {4, 8}};
    c.drawPolyline(p, 4, 1);
    EXPECT_EQ(Art(s), "................\n"
                      "................\n"
                      "..###########...\n"
                      "............#...\n"
                      "............#...\n"
                      "............#...\n"
                      "............#...\n"
                      "............#...\n"
                      "............#...\n"
                      ".....##.....#...\n"
                      ".......##...#...\n"
                      ".........##.#...\n"
                      "...........##...\n"
                      "................\n"
                      "................\n"
                      "................\n");
}

TEST(RasterGolden, RectanglesAreHalfOpen) {
    Surface s(16, 16);
    Canvas c(s);
    c.drawRect(Rect{2, 2, 10, 8}, 1);
    c.fillRect(Rect{4, 10, 12, 14}, 2);
    EXPECT_EQ(Art(s), "................\n"
                      "................\n"
                      "..########......\n"
                      "..#......#......\n"
                      "..#......#......\n"
                      "..#......#......\n"
                      "..#......#......\n"
                      "..########......\n"
                      "................\n"
                      "................\n"
                      "....oooooooo....\n"
                      "....oooooooo....\n"
                      "....oooooooo....\n"
                      "....oooooooo....\n"
                      "................\n"
                      "................\n");
}

TEST(RasterGolden, FilledTriangleHasNoGapToItsOutline) {
    Surface s(16, 16);
    Canvas c(s);
    Point p[] = {{2, 2}, {13, 4}, {8, 13}};
    c.fillPolygon(p, 3, 1);
    EXPECT_EQ(Art(s), "................\n"
                      "................\n"
                      "..###...........\n"
                      "...########.....\n"
                      "...###########..\n"
                      "....#########...\n"
                      "....#########...\n"
                      ".....#######....\n"
                      ".....#######....\n"
                      "......#####.....\n"
                      "......#####.....\n"
                      ".......###......\n"
                      ".......###......\n"
                      "........#.......\n"
                      "................\n"
                      "................\n");
}

TEST(RasterGolden, StarFillsByTheEvenOddRule) {
    Surface s(16, 16);
    Canvas c(s);
    Point p[] = {{8, 1}, {11, 14}, {2, 5}, {14, 5}, {4, 14}};
    c.fillPolygon(p, 5, 1);
    EXPECT_EQ(Art(s), "................\n"
                      "........#.......\n"
                      "........#.......\n"
                      ".......##.......\n"
                      ".......###......\n"
                      "..#############.\n"
                      "...####..#####..\n"
                      "....###..####...\n"
                      ".....##...##....\n"
                      "......#...#.....\n"
                      ".....######.....\n"
                      ".....######.....\n"
                      ".....##..###....\n"
                      "....##....##....\n"
                      "....#......#....\n"
                      "................\n");
    Surface o(16, 16);
    Canvas oc(o);
    oc.drawPolygon(p, 5, 1);
    EXPECT_EQ(Art(o), "................\n"
                      "........#.......\n"
                      "........#.......\n"
                      ".......##.......\n"
                      ".......#.#......\n"
                      "..#############.\n"
                      "...#..#..#...#..\n"
                      "....#.#..#..#...\n"
                      ".....##...##....\n"
                      "......#...#.....\n"
                      ".....#.####.....\n"
                      ".....#.##.#.....\n"
                      ".....##..#.#....\n"
                      "....##....##....\n"
                      "....#......#....\n"
                      "................\n");
}

TEST(RasterGolden, CircleOutlineHugsItsFill) {
    Surface s(16, 16);
    Canvas c(s);
    c.fillCircle(7, 7, 6, 1);
    c.drawCircle(7, 7, 6, 2);
    EXPECT_EQ(Art(s), "................\n"
                      ".....ooooo......\n"
                      "...oo#####oo....\n"
                      "..o#########o...\n"
                      "..o#########o...\n"
                      ".o###########o..\n"
                      ".o###########o..\n"
                      ".o###########o..\n"
                      ".o###########o..\n"
                      ".o###########o..\n"
                      "..o#########o...\n"
                      "..o#########o...\n"
                      "...oo#####oo....\n"
                      ".....ooooo......\n"
                      "................\n"
                      "................\n");
}

TEST(RasterGolden, EllipseInItsHalfOpenBox) {
    Surface s(20, 12);
    Canvas c(s);
    c.drawEllipse(Rect{1, 1, 19, 11}, 1);
    EXPECT_EQ(Art(s), "....................\n"
                      "......########......\n"
                      "....##........##....\n"
                      "..##............##..\n"
                      ".#................#.\n"
                      ".#................#.\n"
                      ".#................#.\n"
                      ".#................#.\n"
                      "..##............##..\n"
                      "....##........##....\n"
                      "......########......\n"
                      "....................\n");
}

TEST(RasterGolden, ArcAndPie) {
    Surface s(16, 8);
    Canvas c(s);
    c.drawArc(7, 7, 6, 0, 900, 1); // the upper-right quarter
    EXPECT_EQ(Art(s), "................\n"
                      ".......###......\n"
                      "..........##....\n"
                      "............#...\n"
                      "............#...\n"
                      ".............#..\n"
                      ".............#..\n"
                      ".............#..\n");
    Surface p(16, 8);
    Canvas pc(p);
    pc.fillPie(7, 7, 6, 450, 1800, 1);
    EXPECT_EQ(Art(p), "................\n"
                      ".....#####......\n"
                      "...#########....\n"
                      "..##########....\n"
                      "..#########.....\n"
                      ".#########......\n"
                      ".########.......\n"
                      ".#######........\n");
}

TEST(RasterGolden, ExclusiveOrOverAFill) {
    Surface s(16, 16);
    Canvas c(s);
    c.fillRect(Rect{4, 4, 12, 12}, 1);
    c.xorRect(Rect{2, 2, 10, 10}, 3);
    c.xorLine(0, 15, 15, 0, 1, LineEnd::Include);
    EXPECT_EQ(Art(s), "...............#\n"
                      "..............#.\n"
                      "..????????...#..\n"
                      "..?......?..#...\n"
                      "..?.#####o#.....\n"
                      "..?.#####o.#....\n"
                      "..?.#####?##....\n"
                      "..?.####.o##....\n"
                      "..?.###.#o##....\n"
                      "..??oo?ooo##....\n"
                      "....#.######....\n"
                      ".....#######....\n"
                      "...#............\n"
                      "..#.............\n"
                      ".#..............\n"
                      "#...............\n");
}

// ---- Lines ----------------------------------------------------------------

TEST(RasterLine, EndPointIsDrawnOnlyWhenAskedFor) {
    Surface s(16, 4);
    Canvas c(s);
    c.drawLine(0, 0, 10, 0, 1, LineEnd::Include);
    EXPECT_EQ(Count(s, 1), 11);
    EXPECT_EQ(Value(s, 10, 0), 1u);
    EXPECT_EQ(Value(s, 11, 0), 0u);
    c.drawLine(0, 2, 10, 2, 1);
    EXPECT_EQ(Count(s, 1), 21);
    EXPECT_EQ(Value(s, 10, 2), 0u);

    Surface dot(4, 4);
    Canvas d(dot);
    d.drawLine(1, 1, 1, 1, 1);
    EXPECT_EQ(Count(dot, 1), 0);
    d.drawLine(1, 1, 1, 1, 1, LineEnd::Include);
    EXPECT_EQ(Count(dot, 1), 1);
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
        // On a surface holding the whole line: one pixel per step of the longer axis.
        cbig.drawLine(x1 + 20, y1 + 20, x2 + 20, y2 + 20, 1, LineEnd::Include);
        int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
        ASSERT_EQ(Count(big, 1), steps + 1);
    }
}

TEST(RasterLine, FarCoordinatesAreClippedWithoutRunningAway) {
    Surface s(20, 20);
    Canvas c(s);
    c.drawLine(-2000000000, -2000000000, 2000000000, 2000000000, 1, LineEnd::Include);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(Value(s, i, i), 1u) << i;
    EXPECT_EQ(Count(s, 1), 20);
    c.xorLine(2000000000, 5, -2000000000, 5, 2, LineEnd::Include);
    EXPECT_EQ(Count(s, 2) + Count(s, 3), 20);
}

TEST(RasterLine, PolylineDrawsEveryVertexOnce) {
    // Exclusive-or would show a vertex drawn twice; a closed outline through
    // xorLine segments without end points must cover each pixel once.
    Surface s(16, 16);
    Canvas c(s);
    Point p[] = {{2, 2}, {12, 3}, {9, 12}, {2, 2}};
    for (int i = 0; i + 1 < 4; ++i) c.xorLine(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, 1);
    Surface t(16, 16);
    Canvas ct(t);
    ct.drawPolyline(p, 4, 1);
    EXPECT_EQ(Drawn(s), Drawn(t));
    Surface u(16, 16);
    Canvas cu(u);
    cu.drawPolygon(p, 3, 1);
    EXPECT_EQ(Drawn(u), Drawn(t));
    Surface e(16, 16);
    Canvas ce(e);
    ce.drawPolyline(p, 3, 1, LineEnd::Include);
    EXPECT_EQ(Value(e, 9, 12), 1u);
}

// ---- Exclusive-or ---------------------------------------------------------

TEST(RasterXor, DrawingTwiceRestoresEveryPixel) {
    plat::Palette pal;
    const plat::Palette* palettes[] = {nullptr, &pal};
    for (const plat::Palette* p : palettes) {
        Surface s = Noise(24, 24, p, 3);
        Surface before = s;
        Canvas c(s, Rect{1, 1, 22, 23});
        for (Rect r : {Rect{-3, -3, 15, 15}, Rect{4, 4, 5, 5}, Rect{4, 6, 12, 7}, Rect{6, 2, 7, 20}, Rect{3, 3, 10, 5},
                       Rect{5, 5, 20, 18}}) {
            c.xorRect(r, 0xFFFFFF);
            EXPECT_FALSE(rastertest::SamePixels(s, before));
            c.xorRect(r, 0xFFFFFF);
            EXPECT_TRUE(rastertest::SamePixels(s, before)) << r.x0 << "," << r.y0 << "," << r.x1 << "," << r.y1;
        }
        c.xorLine(0, 0, 23, 17, 0x55, LineEnd::Include);
        c.xorLine(0, 0, 23, 17, 0x55, LineEnd::Include);
        c.xorFill(Rect{2, 2, 9, 9}, 0x0F);
        c.xorFill(Rect{2, 2, 9, 9}, 0x0F);
        EXPECT_TRUE(rastertest::SamePixels(s, before));
    }
}

TEST(RasterXor, RectangleOutlineIsTheDrawnOutline) {
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
        [](Canvas& c) { c.blendPixel(8, 8, 0xFFFFFF, 255); },
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
        EXPECT_GT(Count(clipped, 1) + Count(clipped, 0xFFFFFF), 0) << "primitive " << i;
    }
}

TEST(RasterClip, ClipIsKeptInsideTheSurfaceAndAnEmptyClipDrawsNothing) {
    Surface s(10, 10);
    Canvas c(s, Rect{-5, -5, 50, 3});
    EXPECT_EQ(c.clip().x0, 0);
    EXPECT_EQ(c.clip().x1, 10);
    c.setClip(Rect{3, 3, 3, 9});
    c.fillRect(s.bounds(), 1);
    c.fillCircle(5, 5, 4, 1);
    Point p[] = {{0, 0}, {9, 0}, {9, 9}};
    c.fillPolygon(p, 3, 1);
    EXPECT_EQ(Count(s, 1), 0);
}

TEST(RasterClip, ASurfaceThatShrankUnderItsCanvasIsNotWrittenPast) {
    Surface s(20, 20);
    Canvas c(s);
    s.resize(5, 4);
    c.fillRect(Rect{0, 0, 20, 20}, 1);
    c.drawLine(0, 0, 19, 19, 2, LineEnd::Include);
    c.fillCircle(10, 10, 9, 1);
    c.scroll(Rect{0, 0, 20, 20}, 2, 2);
    EXPECT_EQ(Count(s, 1) + Count(s, 2), 20);
}

// ---- Curves --------------------------------------------------------------

TEST(RasterCurves, CirclesAreSymmetricAndSpanTheirDiameter) {
    for (int r = 0; r <= 20; ++r) {
        Surface s(45, 45);
        Canvas c(s);
        c.drawCircle(22, 22, r, 1);
        PixelSet d = Drawn(s);
        for (auto [x, y] : d) {
            int dx = x - 22, dy = y - 22;
            for (auto [mx, my] : {std::pair{-dx, dy}, {dx, -dy}, {dy, dx}})
                ASSERT_TRUE(d.count({22 + mx, 22 + my})) << "r " << r << " at " << dx << "," << dy;
        }
        EXPECT_TRUE(d.count({22 + r, 22}) && d.count({22 - r, 22}) && !d.count({23 + r, 22})) << r;
        // The outline is part of the fill, and the fill is inside its box.
        Surface f(45, 45);
        Canvas cf(f);
        cf.fillCircle(22, 22, r, 1);
        for (auto p : d) ASSERT_TRUE(Drawn(f).count(p)) << r;
        for (auto [x, y] : Drawn(f)) ASSERT_LE((x - 22) * (x - 22) + (y - 22) * (y - 22), r * r + r);
    }
}

TEST(RasterCurves, EllipsesOfOneOrTwoPixelsAcrossAreSolid) {
    Surface s(12, 12);
    Canvas c(s);
    c.drawEllipse(Rect{1, 1, 11, 2}, 1); // one row
    c.drawEllipse(Rect{1, 4, 2, 11}, 1); // one column
    c.drawEllipse(Rect{4, 5, 6, 7}, 1);  // two by two
    EXPECT_EQ(Count(s, 1), 10 + 7 + 4);
    c.drawEllipse(Rect{8, 8, 8, 12}, 2); // empty box
    EXPECT_EQ(Count(s, 2), 0);
}

TEST(RasterCurves, FourQuarterArcsMakeTheCircle) {
    Surface whole(30, 30), parts(30, 30);
    Canvas cw(whole), cp(parts);
    cw.drawCircle(14, 14, 11, 1);
    for (int a = 0; a < 3600; a += 900) cp.drawArc(14, 14, 11, a, a + 900, 1);
    EXPECT_EQ(Drawn(whole), Drawn(parts));
    Surface full(30, 30);
    Canvas cf(full);
    cf.drawArc(14, 14, 11, 450, 450, 1); // start == end: the full circle
    EXPECT_EQ(Drawn(whole), Drawn(full));
    // A quarter drawn from 2700 to 3600 is the lower right one only.
    Surface q(30, 30);
    Canvas cq(q);
    cq.drawArc(14, 14, 11, 2700, 3600, 1);
    for (auto [x, y] : Drawn(q)) EXPECT_TRUE(x >= 14 && y >= 14) << x << "," << y;
    EXPECT_TRUE(Drawn(q).count({25, 14}) && Drawn(q).count({14, 25}));
}

TEST(RasterCurves, PixelsOnAnEndRayBelongToBothNeighbouringArcs) {
    for (int r : {5, 11, 17}) {
        Surface circle(40, 40);
        Canvas cc(circle);
        cc.drawCircle(19, 19, r, 1);
        for (auto [x, y] : Drawn(circle)) {
            int dx = x - 19, dy = 19 - y;
            if (dx != 0 && dy != 0 && std::abs(dx) != std::abs(dy)) continue;
            // The ray through this pixel, a multiple of 45 degrees.
            int ray = 0;
            for (int a = 0; a < 3600; a += 450) {
                double rad = a * 3.14159265358979323846 / 1800;
                if (std::abs(std::cos(rad) * dy - std::sin(rad) * dx) < 1e-9 && std::cos(rad) * dx + std::sin(rad) * dy > 0)
                    ray = a;
            }
            for (auto [from, to] : {std::pair{ray, ray + 450}, {ray - 450, ray}, {ray + 3600, ray + 4050}}) {
                Surface arc(40, 40);
                Canvas ca(arc);
                ca.drawArc(19, 19, r, from, to, 1);
                EXPECT_EQ(Value(arc, x, y), 1u) << "r " << r << " pixel " << dx << "," << dy << " arc " << from << "-" << to;
            }
        }
    }
}

TEST(RasterCurves, PieStaysInsideItsCircleAndCoversItsSector) {
    Surface pie(30, 30), disc(30, 30);
    Canvas cp(pie), cd(disc);
    cp.fillPie(14, 14, 11, 3150, 450, 1); // the right-hand quarter around the x axis
    cd.fillCircle(14, 14, 11, 1);
    PixelSet d = Drawn(disc);
    for (auto p : Drawn(pie)) EXPECT_TRUE(d.count(p));
    for (int x = 14; x <= 25; ++x) EXPECT_EQ(Value(pie, x, 14), 1u) << x;
    EXPECT_EQ(Value(pie, 13, 14), 0u);
    EXPECT_EQ(Value(pie, 14, 10), 0u);
    EXPECT_EQ(Value(pie, 20, 10), 1u);
}

TEST(RasterCurves, HugeShapesFinishAndStayInTheClip) {
    Surface s(16, 16);
    Canvas c(s, Rect{2, 2, 14, 14});
    c.fillCircle(8, 8, 2000000000, 1);
    EXPECT_EQ(Count(s, 1), 144);
    c.drawEllipse(Rect{-2000000000, -2000000000, 2000000000, 2000000000}, 2);
    EXPECT_EQ(Count(s, 2), 0); // the outline lies far outside
    Point far[] = {{-2000000000, -2000000000}, {2000000000, 0}, {0, 2000000000}};
    c.fillPolygon(far, 3, 2);
    EXPECT_EQ(Count(s, 2), 144);
}

// ---- Blending and scrolling ---------------------------------------------

TEST(RasterBlend, CoverageMixesOnTrueColourAndThresholdsOnPalette) {
    Surface s(4, 1);
    Canvas c(s);
    s.pixels()[0] = s.pixels()[1] = s.pixels()[2] = plat::MakeRgb(0, 0, 0);
    c.blendPixel(0, 0, plat::MakeRgb(255, 100, 0), 0);
    c.blendPixel(1, 0, plat::MakeRgb(255, 100, 0), 255);
    c.blendPixel(2, 0, plat::MakeRgb(255, 100, 0), 128);
    EXPECT_EQ(Value(s, 0, 0), 0u);
    EXPECT_EQ(Value(s, 1, 0), plat::MakeRgb(255, 100, 0));
    EXPECT_EQ(Value(s, 2, 0), plat::MakeRgb(128, 50, 0));

    plat::Palette pal;
    Surface p(2, 1, &pal);
    Canvas cp(p);
    cp.blendPixel(0, 0, 7, 127);
    cp.blendPixel(1, 0, 7, 128);
    EXPECT_EQ(Value(p, 0, 0), 0u);
    EXPECT_EQ(Value(p, 1, 0), 7u);
}

// A plain reference: moved pixels inside area and clip, everything else kept.
Surface ScrolledByHand(const Surface& s, Rect area, int dx, int dy, Rect clip) {
    Surface out = s;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (area.contains(x, y) && clip.contains(x, y) && area.contains(x - dx, y - dy))
                out.pixels()[y * s.width() + x] = s.pixels()[(y - dy) * s.width() + (x - dx)];
    return out;
}

TEST(RasterScroll, MovesTheAreaAndLeavesTheUncoveredStripUntouched) {
    const Surface start = Noise(20, 16, nullptr, 11);
    const Rect area{2, 3, 18, 14};
    for (auto [dx, dy] : {std::pair{0, -10}, {0, 4}, {3, 0}, {-5, 0}, {2, 3}, {-3, -2}, {0, 0}, {30, 0}}) {
        for (Rect clip : {Rect{0, 0, 20, 16}, Rect{5, 1, 12, 10}}) {
            Surface s = start;
            Canvas c(s, clip);
            c.scroll(area, dx, dy);
            ASSERT_TRUE(rastertest::SamePixels(s, ScrolledByHand(start, area, dx, dy, clip))) << dx << "," << dy;
        }
    }
    // Content moved up by 10: the bottom 10 rows of the area keep their old pixels.
    Surface s = start;
    Canvas c(s);
    c.scroll(area, 0, -10);
    for (int y = area.y1 - 10; y < area.y1; ++y)
        for (int x = area.x0; x < area.x1; ++x) ASSERT_EQ(Value(s, x, y), Value(start, x, y));
    for (int x = area.x0; x < area.x1; ++x) EXPECT_EQ(Value(s, x, area.y0), Value(start, x, area.y0 + 10));
}

TEST(RasterScroll, PaletteSurfacesAndAreasPastTheEdge) {
    plat::Palette pal;
    Surface s = Noise(10, 10, &pal, 5);
    const Surface start = s;
    Canvas c(s);
    c.scroll(Rect{-5, -5, 15, 15}, 1, 1); // the area is cut to the surface first
    for (int y = 1; y < 10; ++y)
        for (int x = 1; x < 10; ++x) ASSERT_EQ(Value(s, x, y), Value(start, x - 1, y - 1));
    for (int x = 0; x < 10; ++x) EXPECT_EQ(Value(s, x, 0), Value(start, x, 0));
}

} // namespace
