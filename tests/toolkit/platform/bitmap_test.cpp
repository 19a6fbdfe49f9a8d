#include "toolkit/platform/bitmap.h"
#include "toolkit/platform/png.h"

#include "raster_art.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using plat::Canvas;
using plat::Dib;
using plat::MakeRgb;
using plat::Palette;
using plat::Pixel;
using plat::Point;
using plat::RasterOp;
using plat::Rect;
using plat::Rgb;
using plat::Surface;
using rastertest::SamePixels;
using rastertest::Noise;
using rastertest::Value;
using Bytes = std::vector<std::uint8_t>;

// Palette entries as a bitmap stores them: blue, green, red, spare.
Bytes Entries(std::initializer_list<Rgb> colours) {
    Bytes out;
    for (Rgb c : colours) {
        out.push_back(std::uint8_t(plat::BlueOf(c)));
        out.push_back(std::uint8_t(plat::GreenOf(c)));
        out.push_back(std::uint8_t(plat::RedOf(c)));
        out.push_back(0xEE); // the spare byte must not matter
    }
    return out;
}

Dib MakeDib(int w, int h, int bpp, const Bytes& palette, const Bytes& pixels) {
    Dib d;
    d.width = w;
    d.height = h;
    d.bitsPerPixel = bpp;
    d.palette = palette.empty() ? nullptr : palette.data();
    d.paletteSize = int(palette.size() / 4);
    d.pixels = pixels.data();
    d.pixelBytes = pixels.size();
    return d;
}

const Rgb kRed = MakeRgb(255, 0, 0), kGreen = MakeRgb(0, 255, 0), kBlue = MakeRgb(0, 0, 255),
          kWhite = MakeRgb(255, 255, 255);

// ---- Device bitmaps from device-independent ones -------------------------

// The colours shown, one letter a pixel: '.' black, w r g b, '?' others.
std::string Letters(const Surface& s) {
    std::string out;
    for (int y = 0; y < s.height(); ++y, out += '/')
        for (int x = 0; x < s.width(); ++x) {
            Rgb c = s.colorAt(x, y);
            out += c == 0 ? '.' : c == kWhite ? 'w' : c == kRed ? 'r' : c == kGreen ? 'g' : c == kBlue ? 'b' : '?';
        }
    return out;
}

TEST(DeviceBitmap, EveryDepthReadsItsPixelsAndPalette) {
    Surface s;
    // 1 bit, bottom-up (the first stored row is the bottom one), leftmost pixel in the high bit.
    Bytes px1 = {0b10000000, 0b01000000, 0, 0, 0b00000001, 0b11000000, 0, 0};
    ASSERT_TRUE(plat::MakeDeviceBitmap(MakeDib(10, 2, 1, Entries({0, kWhite}), px1), nullptr, s));
    EXPECT_FALSE(s.paletted());
    EXPECT_EQ(Letters(s), ".......www/w........w/");
    // 4 bits, top-down, width 5: three bytes of pixels in a row of four, high nibble first.
    Bytes px4 = {0x12, 0x30, 0x10, 0xFF, 0x33, 0x22, 0x20, 0xFF};
    ASSERT_TRUE(plat::MakeDeviceBitmap(MakeDib(5, -2, 4, Entries({0, kRed, kGreen, kBlue}), px4), nullptr, s));
    EXPECT_EQ(Letters(s), "rgb.r/bbggg/");
    // 8 bits; an index beyond the palette shows black.
    Bytes px8 = {2, 1, 0, 200};
    ASSERT_TRUE(plat::MakeDeviceBitmap(MakeDib(4, 1, 8, Entries({kRed, kGreen, kBlue}), px8), nullptr, s));
    EXPECT_EQ(Letters(s), "bgr./");
    // 24 bits: blue, green, red; width 3 fills 9 of 12 bytes a row.
    Bytes px24 = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9, 1, 2, 3, 255, 255, 255, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(plat::MakeDeviceBitmap(MakeDib(3, 2, 24, {}, px24), nullptr, s));
    EXPECT_EQ(Letters(s), "?w./rgb/");
    EXPECT_EQ(s.colorAt(0, 0), MakeRgb(3, 2, 1));
}

TEST(DeviceBitmap, OnAPaletteDisplayColoursBecomeTheNearestSlots) {
    Palette display;
    display.entries[0] = 0;
    display.entries[1] = kWhite;
    display.entries[2] = kRed;
    display.entries[3] = MakeRgb(0, 0, 200);
    for (int i = 4; i < 256; ++i) display.entries[i] = kRed; // duplicates of slot 2
    Bytes pal = Entries({kRed, MakeRgb(10, 10, 250), MakeRgb(250, 250, 240)});
    Bytes px = {0, 1, 2, 0};
    Surface s;
    ASSERT_TRUE(plat::MakeDeviceBitmap(MakeDib(4, 1, 8, pal, px), &display, s));
    ASSERT_TRUE(s.paletted());
    EXPECT_EQ(s.palette(), &display);
    EXPECT_EQ(Value(s, 0, 0), 2u); // exact, and the lowest of equal slots
    EXPECT_EQ(Value(s, 1, 0), 3u);
    EXPECT_EQ(Value(s, 2, 0), 1u);
    Bytes px24 = {200, 0, 0, 255, 255, 255, 0, 0};
    ASSERT_TRUE(plat::MakeDeviceBitmap(MakeDib(2, 1, 24, {}, px24), &display, s));
    EXPECT_EQ(Value(s, 0, 0), 3u);
    EXPECT_EQ(Value(s, 1, 0), 1u);

    EXPECT_EQ(plat::NearestIndex(display, MakeRgb(250, 10, 10)), 2);
    EXPECT_EQ(plat::NearestIndex(display, MakeRgb(230, 60, 50), 3), 2);
    EXPECT_EQ(plat::NearestIndex(display, MakeRgb(230, 60, 50), 2), 0); // only slots 0 and 1 take part
}

TEST(DeviceBitmap, BadDescriptionsFailAndLeaveTheOutputAlone) {
    Bytes pal = Entries({kRed, kGreen});
    Bytes px(64, 0);
    Dib noPixels = MakeDib(2, 2, 8, pal, px), noPalette = noPixels, negative = noPixels;
    noPixels.pixels = nullptr;
    noPalette.palette = nullptr;
    negative.paletteSize = -1;
    for (const Dib& d : {MakeDib(4, 4, 16, pal, px), MakeDib(4, 4, 32, pal, px), MakeDib(0, 4, 8, pal, px),
                         MakeDib(4, 0, 8, pal, px), MakeDib(20000, 1, 8, pal, px),
                         MakeDib(4, -2147483647 - 1, 8, pal, px),
                         MakeDib(8, 9, 8, pal, px),  // 72 bytes needed, 64 given
                         MakeDib(17, 4, 8, pal, px), // rows of 20 bytes: 80 needed
                         noPixels, noPalette, negative}) {
        Surface out(3, 3);
        out.pixels()[4] = kBlue;
        std::string error;
        EXPECT_FALSE(plat::MakeDeviceBitmap(d, nullptr, out, &error)) << d.width << "x" << d.height;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(out.width() == 3 && out.colorAt(1, 1) == kBlue);
    }
    Surface out;
    EXPECT_TRUE(plat::MakeDeviceBitmap(MakeDib(15, 4, 8, pal, px), nullptr, out)); // rows of 16: exactly enough
}

// ---- Copies --------------------------------------------------------------

TEST(Blit, ConvertsBetweenPaletteAndTrueColour) {
    Palette pal, other;
    pal.entries[5] = pal.entries[6] = kRed; // one colour in two slots
    pal.entries[7] = kGreen;
    other.entries[1] = MakeRgb(0, 250, 0);
    other.entries[2] = MakeRgb(250, 0, 0);
    Surface indexed(3, 1, &pal), rgb(3, 1), same(3, 1, &pal), there(3, 1, &other), back(3, 1, &other);
    indexed.indices()[0] = 5;
    indexed.indices()[1] = 6;
    indexed.indices()[2] = 7;
    Canvas crgb(rgb), csame(same), cthere(there), cback(back);
    plat::Blit(crgb, 0, 0, indexed, indexed.bounds());
    EXPECT_EQ(Letters(rgb), "rrg/");
    plat::Blit(csame, 0, 0, indexed, indexed.bounds()); // the same palette: indices as they are
    EXPECT_EQ(Value(same, 1, 0), 6u);
    plat::Blit(cthere, 0, 0, indexed, indexed.bounds()); // another palette: the nearest colour
    plat::Blit(cback, 0, 0, rgb, rgb.bounds());          // and from true colour too
    EXPECT_EQ(Value(there, 0, 0), 2u);
    EXPECT_EQ(Value(there, 1, 0), 2u);
    EXPECT_EQ(Value(there, 2, 0), 1u);
    EXPECT_TRUE(SamePixels(back, there));
}

TEST(Blit, CutsAtTheSourceEdgesAndHonoursTheClip) {
    Surface src = Noise(4, 4, nullptr, 1);
    Surface dst(12, 12);
    Canvas c(dst, Rect{0, 0, 8, 12});
    plat::Blit(c, 5, 5, src, Rect{-2, -2, 3, 3});
    // Source (0, 0) lands at (7, 7); the source does not start before it.
    EXPECT_EQ(Value(dst, 7, 7), Value(src, 0, 0));
    EXPECT_EQ(Value(dst, 6, 6), 0u);
    EXPECT_EQ(Value(dst, 7, 9), Value(src, 0, 2));
    EXPECT_EQ(Value(dst, 8, 7), 0u); // outside the clip
    EXPECT_EQ(rastertest::Count(dst, 0), 144 - 3);
}

TEST(Blit, CopiesWhatLandsOnTheTargetWhereverTheSourceHangsOver) {
    const Surface src = Noise(6, 6, nullptr, 3);
    for (auto [x, y] : {std::pair{-3, -2}, {4, 3}, {-2, 4}, {1, -5}}) {
        Surface dst(5, 5);
        Canvas c(dst);
        plat::Blit(c, x, y, src, src.bounds());
        for (int ty = 0; ty < 5; ++ty)
            for (int tx = 0; tx < 5; ++tx) {
                const bool inside = tx - x >= 0 && tx - x < 6 && ty - y >= 0 && ty - y < 6;
                ASSERT_EQ(Value(dst, tx, ty), inside ? Value(src, tx - x, ty - y) : 0u) << x << "," << y;
            }
    }
}

TEST(Blit, CopiesWithinOneSurfaceAsIfFromASnapshot) {
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 2}, {0, -2}, {3, 3}}) {
        Surface s = Noise(10, 10, nullptr, 9);
        const Surface before = s;
        Canvas c(s);
        plat::Blit(c, 2 + dx, 2 + dy, s, Rect{2, 2, 8, 8});
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                bool moved = x >= 2 + dx && x < 8 + dx && y >= 2 + dy && y < 8 + dy;
                ASSERT_EQ(Value(s, x, y), moved ? Value(before, x - dx, y - dy) : Value(before, x, y))
                    << dx << "," << dy << " at " << x << "," << y;
            }
    }
}

// A mask as the toolkit makes it: a 1-bit bitmap, white where the image shows.
Surface MaskOf(int w, int h, const Palette* display, bool (*set)(int, int)) {
    Bytes pal = Entries({0, kWhite});
    std::size_t row = plat::RowBytes(w, 1);
    Bytes px(row * std::size_t(h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (set(x, y)) px[std::size_t(y) * row + std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
    Surface m;
    EXPECT_TRUE(plat::MakeDeviceBitmap(MakeDib(w, -h, 1, pal, px), display, m));
    return m;
}

bool Diamond(int x, int y) { return std::abs(x - 4) + std::abs(y - 4) <= 3; }

// The tile repeated over an area is what copying it once per place would
// give: wherever its copies start, inside the clip, to the surface's edge.
TEST(BlitTiled, EqualsTheTileCopiedToEachPlace) {
    struct Case {
        int x, y; // where a copy starts
        Rect area, clip;
        Rgb topByte; // set in the tile's pixels, which the copy drops
    };
    const Case cases[] = {
        {0, 0, Rect{0, 0, 20, 14}, Rect{0, 0, 20, 14}, 0},
        {-3, -5, Rect{2, 1, 17, 12}, Rect{0, 0, 20, 14}, 0},
        {7, 2, Rect{0, 0, 20, 14}, Rect{4, 3, 11, 9}, 0xFF000000u},
        {-4, 9, Rect{12, 8, 40, 40}, Rect{0, 0, 20, 14}, 0}, // to the last column and row
    };
    const Surface plain = Noise(5, 4, nullptr, 7);
    for (const Case& t : cases) {
        Surface tile = plain;
        for (int i = 0; i < 20; ++i) tile.pixels()[i] |= t.topByte;
        Surface got(20, 14), want(20, 14);
        Canvas into(got, t.clip);
        ASSERT_TRUE(plat::BlitTiled(into, t.x, t.y, tile, t.area));
        Canvas reference(want, plat::Intersect(t.clip, t.area));
        for (int y = t.y - 40; y < 40; y += 4)
            for (int x = t.x - 40; x < 40; x += 5) plat::Blit(reference, x, y, plain, plain.bounds());
        EXPECT_TRUE(SamePixels(got, want)) << t.x << ", " << t.y;
    }
    Palette palette;
    Surface indexed(4, 4, &palette), target(8, 8);
    Canvas c(target);
    EXPECT_FALSE(plat::BlitTiled(c, 0, 0, indexed, target.bounds()));
}

TEST(BlitMasked, ShowsTheImageWhereTheMaskIsSetAndTheDeviceElsewhere) {
    const Surface image = Noise(9, 9, nullptr, 21);
    const Surface mask = MaskOf(9, 9, nullptr, Diamond);
    for (unsigned seed : {31u, 32u}) { // two backgrounds, each shows through
        Surface screen = Noise(16, 16, nullptr, seed);
        const Surface before = screen;
        Canvas c(screen);
        plat::BlitMasked(c, 3, 2, image, image.bounds(), mask);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                bool inside = x >= 3 && x < 12 && y >= 2 && y < 11 && Diamond(x - 3, y - 2);
                ASSERT_EQ(Value(screen, x, y), inside ? Value(image, x - 3, y - 2) : Value(before, x, y));
            }
    }
}

TEST(BlitMasked, EqualsTheExclusiveOrAndExclusiveOrComposite) {
    // The classic way: image ^ screen, & mask, ^ screen, then copied.
    const Surface image = Noise(9, 9, nullptr, 4);
    const Surface mask = MaskOf(9, 9, nullptr, Diamond);
    const Surface screen = Noise(12, 12, nullptr, 5);
    const Rect area{2, 1, 11, 10};
    Surface work = image;
    Canvas w(work);
    plat::Blit(w, 0, 0, screen, area, RasterOp::Xor);
    plat::Blit(w, 0, 0, mask, mask.bounds(), RasterOp::And);
    plat::Blit(w, 0, 0, screen, area, RasterOp::Xor);
    Surface classic = screen, direct = screen;
    Canvas cc(classic), cd(direct);
    plat::Blit(cc, area.x0, area.y0, work, work.bounds());
    plat::BlitMasked(cd, area.x0, area.y0, image, image.bounds(), mask);
    EXPECT_TRUE(SamePixels(classic, direct));
}

// ---- Merging a background into the transparent part -----------------------

TEST(Merge, ColourAndTileFillWhereTheMaskIsClear) {
    const Surface mask = MaskOf(9, 9, nullptr, Diamond);
    const Surface original = Noise(9, 9, nullptr, 8);
    Surface image = original;
    plat::MergeColour(image, mask, kGreen);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(Value(image, x, y), Diamond(x, y) ? Value(original, x, y) : kGreen);

    const Surface tile = Noise(3, 2, nullptr, 12);
    image = original;
    plat::MergeTile(image, mask, tile, -1, 5);
    // The image's (0, 0) takes the tile's (-1 mod 3, 5 mod 2) = (2, 1).
    EXPECT_EQ(Value(image, 0, 0), Value(tile, 2, 1));
    EXPECT_EQ(Value(image, 1, 0), Value(tile, 0, 1));
    EXPECT_EQ(Value(image, 0, 1), Value(tile, 2, 0));
    EXPECT_EQ(Value(image, 8, 8), Value(tile, (8 + 2) % 3, (8 + 1) % 2));
    EXPECT_EQ(Value(image, 4, 4), Value(original, 4, 4));
    // Merged images are then drawn without their mask: a plain copy shows the tile.
    Surface screen(9, 9);
    Canvas c(screen);
    plat::Blit(c, 0, 0, image, image.bounds());
    EXPECT_EQ(Value(screen, 0, 0), Value(tile, 2, 1));
}

// ---- Stretching ------------------------------------------------------------

TEST(StretchBlit, ScalesByNearestPixel) {
    const Surface src = Noise(4, 4, nullptr, 2);
    Surface big(8, 8);
    Canvas cb(big);
    plat::StretchBlit(cb, big.bounds(), src, src.bounds());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(Value(big, x, y), Value(src, x / 2, y / 2));

    Surface small(2, 2);
    Canvas cs(small);
    plat::StretchBlit(cs, small.bounds(), src, src.bounds());
    EXPECT_EQ(Value(small, 0, 0), Value(src, 1, 1));
    EXPECT_EQ(Value(small, 1, 1), Value(src, 3, 3));

    // Same size is a plain copy; the clip still holds.
    Surface a(6, 6), b(6, 6);
    Canvas ca(a, Rect{0, 0, 4, 6}), cbb(b, Rect{0, 0, 4, 6});
    plat::StretchBlit(ca, Rect{1, 1, 5, 5}, src, src.bounds());
    plat::Blit(cbb, 1, 1, src, src.bounds());
    EXPECT_TRUE(SamePixels(a, b));
    plat::StretchBlit(ca, Rect{0, 0, 0, 5}, src, src.bounds());
    plat::StretchBlit(ca, Rect{0, 0, 5, 5}, src, Rect{2, 2, 2, 2});
    EXPECT_TRUE(SamePixels(a, b));
}

// ---- Palette displays: index framebuffers shown through the palette --------

std::string Out(const std::string& name) { return std::string(TM_TEST_OUTPUT_DIR) + "/" + name; }

Palette ToolkitPalette() {
    Palette p;
    Rgb colours[] = {0, kWhite, MakeRgb(192, 192, 192), MakeRgb(200, 30, 40), MakeRgb(20, 90, 200), MakeRgb(250, 220, 0)};
    for (int i = 0; i < 6; ++i) p.entries[i] = colours[i];
    return p;
}

// One scene, drawn with colour(slot) for each slot it uses.
void Scene(Canvas& c, const std::function<Pixel(int)>& colour, const Surface& picture, const Surface& mask) {
    c.fillRect(c.surface().bounds(), colour(2));
    c.drawRect(Rect{1, 1, 31, 31}, colour(0));
    c.drawLine(2, 2, 29, 12, colour(3), plat::LineEnd::Include);
    Point tri[] = {{4, 28}, {14, 16}, {20, 27}};
    c.fillPolygon(tri, 3, colour(4));
    c.fillCircle(23, 21, 6, colour(5));
    c.drawArc(23, 21, 8, 300, 1500, colour(3));
    c.fillPie(8, 9, 5, 0, 2700, colour(1));
    c.scroll(Rect{2, 14, 30, 30}, 1, -1);
    plat::BlitMasked(c, 12, 3, picture, picture.bounds(), mask);
    c.setClip(Rect{0, 0, 16, 32});
    c.drawEllipse(Rect{10, 18, 26, 30}, colour(0));
}

TEST(PaletteDisplay, SameDrawingGivesTheSameScreenshotAsTrueColour) {
    Palette display = ToolkitPalette();
    // A small 4-bit picture whose colours the palette holds, with a mask.
    Bytes pal = Entries({0, display.entries[3], display.entries[4], display.entries[5]});
    Bytes px = {0x12, 0x30, 0, 0, 0x23, 0x01, 0, 0, 0x31, 0x22, 0, 0};
    auto offDiagonal = [](int x, int y) { return x != y; };
    Surface pictureRgb, pictureIndexed;
    ASSERT_TRUE(plat::MakeDeviceBitmap(MakeDib(4, 3, 4, pal, px), nullptr, pictureRgb));
    ASSERT_TRUE(plat::MakeDeviceBitmap(MakeDib(4, 3, 4, pal, px), &display, pictureIndexed));
    const Surface maskRgb = MaskOf(4, 3, nullptr, offDiagonal), maskIndexed = MaskOf(4, 3, &display, offDiagonal);

    Surface rgb(32, 32), indexed(32, 32, &display);
    Canvas crgb(rgb), cindexed(indexed);
    Scene(crgb, [&](int slot) { return display.entries[slot]; }, pictureRgb, maskRgb);
    Scene(cindexed, [](int slot) { return Pixel(slot); }, pictureIndexed, maskIndexed);
    ASSERT_TRUE(SamePixels(plat::ToTrueColour(indexed), rgb));

    // And as files: the screenshots load back equal.
    ASSERT_TRUE(plat::SavePng(rgb, Out("scene-rgb.png")));
    ASSERT_TRUE(plat::SavePng(indexed, Out("scene-palette.png")));
    Surface a, b;
    ASSERT_TRUE(plat::LoadPng(Out("scene-rgb.png"), a));
    ASSERT_TRUE(plat::LoadPng(Out("scene-palette.png"), b));
    EXPECT_TRUE(SamePixels(a, b));
    EXPECT_TRUE(SamePixels(a, rgb));
}

TEST(PaletteDisplay, ChangingOneEntryChangesTheScreenshotWithoutAPaint) {
    Palette display = ToolkitPalette();
    Surface screen(16, 16, &display);
    Canvas c(screen);
    c.fillRect(screen.bounds(), 2);
    c.fillCircle(8, 8, 5, 0x01000000u + 3); // a palette-relative colour works as its slot
    ASSERT_TRUE(plat::SavePng(screen, Out("before.png")));
    display.entries[3] = MakeRgb(0, 160, 0); // no drawing after this
    ASSERT_TRUE(plat::SavePng(screen, Out("after.png")));

    Surface before, after;
    ASSERT_TRUE(plat::LoadPng(Out("before.png"), before));
    ASSERT_TRUE(plat::LoadPng(Out("after.png"), after));
    int changed = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool inCircle = Value(screen, x, y) == 3;
            EXPECT_EQ(before.colorAt(x, y), inCircle ? MakeRgb(200, 30, 40) : MakeRgb(192, 192, 192));
            EXPECT_EQ(after.colorAt(x, y), inCircle ? MakeRgb(0, 160, 0) : MakeRgb(192, 192, 192));
            changed += inCircle;
        }
    EXPECT_GT(changed, 50);
}

} // namespace
