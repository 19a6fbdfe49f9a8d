#include "toolkit/platform/font.h"

#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/png.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace {

const bool kTestFonts = UseTestFonts();

constexpr plat::Rgb kWhite = 0xFFFFFF, kBlack = 0x000000;
const char* const kFaces[] = {"courier new", "arial", "times"};

std::unique_ptr<plat::Font> Make(const char* face, int height, int weight = 400, bool italic = false,
                                 const plat::FontCatalog& catalog = plat::FontCatalog::System()) {
    plat::FontRequest request;
    request.face = face;
    request.height = height;
    request.weight = weight;
    request.italic = italic;
    return plat::CreateFont(request, catalog);
}

plat::Surface Blank(int w, int h, plat::Rgb colour = kWhite) {
    plat::Surface s(w, h);
    std::fill(s.pixels(), s.pixels() + std::size_t(w) * std::size_t(h), colour);
    return s;
}

// The smallest rectangle holding every pixel that is not the background.
plat::Rect Ink(const plat::Surface& s, plat::Rgb background = kWhite) {
    plat::Rect box;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.colorAt(x, y) != background) box = plat::Union(box, plat::Rect{x, y, x + 1, y + 1});
    return box;
}

int InkCount(const plat::Surface& s, plat::Rgb background = kWhite) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) n += s.colorAt(x, y) != background;
    return n;
}

plat::Surface Drawn(const plat::Font& font, const char* text, int x = 4, int y = 4) {
    plat::Surface s = Blank(font.textWidth(text) + 2 * x, font.height() + 2 * y);
    font.drawText(s, s.bounds(), x, y, text, kBlack);
    return s;
}

TEST(Font, HeightIsTheRequestedCellHeightAndGlyphsSitInTheCell) {
    ASSERT_TRUE(kTestFonts);
    for (const char* face : kFaces)
        for (int weight : {400, 700})
            for (int h = 10; h <= 40; ++h) {
                SCOPED_TRACE(std::string(face) + " " + std::to_string(weight) + " " + std::to_string(h));
                std::unique_ptr<plat::Font> f = Make(face, h, weight);
                ASSERT_TRUE(f);
                const plat::FontMetrics& m = f->metrics();
                EXPECT_EQ(f->height(), h);
                EXPECT_EQ(m.ascent + m.descent, h);
                EXPECT_GT(m.ascent, m.descent);
                EXPECT_GT(m.descent, 0);
                plat::Rect hg = Ink(Drawn(*f, "Hg"));
                EXPECT_GE(hg.y0, 4);
                EXPECT_LE(hg.y1, 4 + h);
                // "H" stands on the baseline.
                EXPECT_EQ(Ink(Drawn(*f, "H")).y1, 4 + m.ascent);
            }
}

TEST(Font, TheFixedFaceHasEqualAdvances) {
    for (int weight : {400, 700})
        for (int h = 10; h <= 40; ++h) {
            std::unique_ptr<plat::Font> f = Make("courier new", h, weight);
            ASSERT_TRUE(f);
            const int w = f->charWidth('M');
            EXPECT_GT(w, 0);
            for (int c = 0x20; c < 0x100; ++c) {
                if (c >= 0x7F && c < 0xA0) continue;
                ASSERT_EQ(f->charWidth(static_cast<unsigned char>(c)), w) << h << " " << c;
            }
            EXPECT_EQ(f->textWidth("iiii"), 4 * w);
            EXPECT_EQ(f->textWidth("WWWW"), 4 * w);
        }
}

TEST(Font, WIsWiderThanIInProportionalFaces) {
    for (const char* face : {"arial", "helvetica", "times"})
        for (int weight : {400, 700})
            for (bool italic : {false, true})
                for (int h : {10, 15, 18, 24, 40}) {
                    std::unique_ptr<plat::Font> f = Make(face, h, weight, italic);
                    ASSERT_TRUE(f);
                    EXPECT_GT(f->charWidth('W'), f->charWidth('i')) << face << " " << h;
                    EXPECT_EQ(f->textWidth("Wi"), f->charWidth('W') + f->charWidth('i'));
                    EXPECT_GT(f->metrics().averageWidth, 0);
                    EXPECT_GE(f->metrics().maxWidth, f->charWidth('W'));
                }
}

TEST(Font, Windows1252BytesFindTheirGlyphs) {
    for (const char* face : kFaces) {
        std::unique_ptr<plat::Font> f = Make(face, 24);
        ASSERT_TRUE(f);
        plat::Surface half = Drawn(*f, "\xBD"), euro = Drawn(*f, "\x80"), missing = Drawn(*f, "\x81");
        EXPECT_GT(InkCount(half), 0);
        EXPECT_GT(InkCount(euro), 0);
        EXPECT_FALSE(half.width() == missing.width() && Ink(half).x0 == Ink(missing).x0 &&
                     InkCount(half) == InkCount(missing));
        // Each accented vowel is its plain vowel with an accent above ("i"
        // trades its dot for the accent).
        const char* accented[] = {"\xE0", "\xE8", "\xEC", "\xF2", "\xF9"};
        const char* plain[] = {"a", "e", "i", "o", "u"};
        for (int i = 0; i < 5; ++i) {
            plat::Surface a = Drawn(*f, accented[i]), p = Drawn(*f, plain[i]);
            EXPECT_LE(Ink(a).y0, Ink(p).y0) << face << " " << plain[i];
            EXPECT_EQ(Ink(a).y1, Ink(p).y1) << face << " " << plain[i];
            EXPECT_NE(InkCount(a), InkCount(p)) << face << " " << plain[i];
        }
    }
}

TEST(Font, DrawingStaysInsideTheClipAndTheSurface) {
    std::unique_ptr<plat::Font> f = Make("arial", 18);
    ASSERT_TRUE(f);
    plat::Surface s = Blank(40, 30);
    const plat::Rect clip{3, 2, 20, 12};
    f->drawText(s, clip, -7, -3, "Quon 3.51 \xBD WWWWWWWWWW", kBlack);
    plat::Rect ink = Ink(s);
    EXPECT_FALSE(ink.empty());
    EXPECT_GE(ink.x0, clip.x0);
    EXPECT_GE(ink.y0, clip.y0);
    EXPECT_LE(ink.x1, clip.x1);
    EXPECT_LE(ink.y1, clip.y1);

    // Far off, empty or clipped to nothing: no pixel changes and nothing breaks.
    plat::Surface t = Blank(40, 30);
    f->drawText(t, plat::Rect{-100, -100, 100, 100}, INT_MAX - 5, 0, "WWW", kBlack);
    f->drawText(t, t.bounds(), INT_MIN + 5, INT_MIN + 5, "WWW", kBlack);
    f->drawText(t, t.bounds(), 0, INT_MAX - 3, "WWW", kBlack);
    f->drawText(t, t.bounds(), 0, 0, "", kBlack);
    f->drawText(t, plat::Rect{10, 10, 10, 20}, 0, 0, "WWW", kBlack);
    f->drawTextOpaque(t, t.bounds(), INT_MAX - 5, INT_MAX - 5, "WWW", kBlack, kBlack);
    EXPECT_EQ(InkCount(t), 0);
    plat::Surface empty;
    f->drawTextOpaque(empty, plat::Rect{0, 0, 10, 10}, 0, 0, "W", kBlack, kBlack);
}

TEST(Font, PaletteSurfacesTakeTheColourAsAnIndexAtTheSamePixels) {
    std::unique_ptr<plat::Font> f = Make("times", 20);
    ASSERT_TRUE(f);
    plat::Palette pal;
    pal.entries[7] = kBlack;
    pal.entries[0] = kWhite;
    plat::Surface indexed(120, 30, &pal);
    f->drawText(indexed, indexed.bounds(), 2, 3, "Quon \xE0\xE8", 0x00ABCD07);
    plat::Surface rgb = Blank(120, 30);
    f->drawText(rgb, rgb.bounds(), 2, 3, "Quon \xE0\xE8", kBlack);
    int ink = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            std::uint8_t index = indexed.indices()[y * 120 + x];
            ASSERT_TRUE(index == 0 || index == 7);
            ASSERT_EQ(indexed.colorAt(x, y), rgb.colorAt(x, y)) << x << "," << y;
            ink += index == 7;
        }
    EXPECT_GT(ink, 20);
}

TEST(Font, OpaqueTextFillsExactlyItsCell) {
    std::unique_ptr<plat::Font> f = Make("courier new", 15);
    ASSERT_TRUE(f);
    const plat::Rgb grey = 0x808080, blue = 0x0000FF, red = 0xFF0000;
    plat::Surface s = Blank(100, 40, grey);
    f->drawTextOpaque(s, s.bounds(), 5, 3, "Quon", blue, red);
    const plat::Rect cell{5, 3, 5 + f->textWidth("Quon"), 3 + 15};
    EXPECT_EQ(Ink(s, grey).x0, cell.x0);
    EXPECT_EQ(Ink(s, grey).y1, cell.y1);
    int reds = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            plat::Rgb c = s.colorAt(x, y);
            if (cell.contains(x, y)) {
                ASSERT_TRUE(c == blue || c == red);
            } else {
                ASSERT_EQ(c, grey) << x << "," << y;
            }
            reds += c == red;
        }
    EXPECT_GT(reds, 10);
}

// A glyph measured long before it is drawn (its bitmap made only then)
// draws the same pixels as one drawn at once, in every style.
TEST(Font, GlyphsMeasuredFirstDrawTheSame) {
    struct Case {
        const char* face;
        int weight;
        bool italic;
    };
    const Case cases[] = {{"courier new", 400, false}, {"arial", 700, false}, {"times", 400, true}, {"times", 700, true}};
    const char* text = "Qg\xBD@W";
    for (const Case& c : cases) {
        auto measured = Make(c.face, 18, c.weight, c.italic), fresh = Make(c.face, 18, c.weight, c.italic);
        ASSERT_TRUE(measured && fresh);
        const int width = measured->textWidth(text);
        const plat::Surface late = Drawn(*measured, text), early = Drawn(*fresh, text);
        EXPECT_EQ(width, fresh->textWidth(text)) << c.face;
        EXPECT_GT(InkCount(late), 0) << c.face;
        EXPECT_TRUE(std::equal(late.pixels(), late.pixels() + std::size_t(late.width()) * std::size_t(late.height()),
                               early.pixels())) << c.face << " " << c.weight << " " << c.italic;
    }
}

TEST(Font, HeightsOutOfRangeAreRefusedAndNegativeOnesGiveTheCharacterHeight) {
    for (int h : {0, plat::kMaxFontHeight + 1, -plat::kMaxFontHeight - 1, INT_MIN, INT_MAX})
        EXPECT_FALSE(Make("arial", h)) << h;
    std::unique_ptr<plat::Font> em = Make("arial", -20), cell = Make("arial", 20);
    ASSERT_TRUE(em && cell);
    EXPECT_GT(em->height(), 20);
    EXPECT_EQ(em->metrics().ascent + em->metrics().descent, em->height());
    EXPECT_GT(em->charWidth('W'), cell->charWidth('W'));
    EXPECT_FALSE(Make("arial", 12, 400, false, plat::FontCatalog({std::string(TM_TEST_OUTPUT_DIR) + "/no-such-font-folder"})));
}

TEST(Font, BoldAndItalicAreMadeUpWhenTheFamilyHasNoSuchFile) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(TM_TEST_OUTPUT_DIR) / "regular-only-fonts";
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::create_symlink("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
                       dir / "LiberationSans-Regular.ttf");
    plat::FontCatalog catalog({dir.string()});
    std::unique_ptr<plat::Font> plain = Make("arial", 24, 400, false, catalog);
    std::unique_ptr<plat::Font> bold = Make("arial", 24, 700, false, catalog);
    std::unique_ptr<plat::Font> italic = Make("arial", 24, 400, true, catalog);
    ASSERT_TRUE(plain && bold && italic);
    EXPECT_FALSE(bold->face().bold);
    EXPECT_GT(InkCount(Drawn(*bold, "Quon")), InkCount(Drawn(*plain, "Quon")) * 6 / 5);
    EXPECT_GE(bold->textWidth("Quon"), plain->textWidth("Quon"));
    // A slanted "l" leans right: its top row is right of its bottom row.
    plat::Surface l = Drawn(*italic, "l");
    plat::Rect box = Ink(l);
    int top = -1, bottom = -1;
    for (int x = box.x0; x < box.x1; ++x) {
        if (top < 0 && l.colorAt(x, box.y0) != kWhite) top = x;
        if (bottom < 0 && l.colorAt(x, box.y1 - 1) != kWhite) bottom = x;
    }
    EXPECT_GT(top, bottom);
    EXPECT_EQ(italic->height(), 24);
}

// A sample sheet for the eye: the test sentence in the three faces at three sizes.
TEST(Font, SampleSheetIsWritten) {
    const char* text = "Quon 3.51 \xBD \xE0\xE8\xEC\xF2\xF9";
    plat::Surface sheet = Blank(420, 3 * (15 + 18 + 24) + 12 * 4);
    int y = 6;
    for (const char* face : kFaces)
        for (int h : {15, 18, 24}) {
            std::unique_ptr<plat::Font> f = Make(face, h);
            ASSERT_TRUE(f);
            f->drawText(sheet, sheet.bounds(), 6, y, text, kBlack);
            y += h + 4;
        }
    std::string error;
    EXPECT_TRUE(plat::SavePng(sheet, std::string(TM_TEST_OUTPUT_DIR) + "/font_samples.png", &error)) << error;
}

} // namespace
