#include "toolkit/core/fonts.h"

#include "toolkit/core/settings.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/scratch_folder.h"

#include <gtest/gtest.h>

namespace {

using scratch::ScratchFolder;

const bool testFonts = UseTestFonts();

class FontsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testFonts);
        WkSetSettingsFiles((dir / "prog.ini").c_str(), (dir / "woku.ini").c_str());
    }
    void TearDown() override {
        WkDeleteFonts();
        WkSetSettingsFiles(nullptr, nullptr);
    }
    ScratchFolder dir;
};

TEST(FontSectionTest, ChosenByScreenHeight) {
    EXPECT_STREQ(WkFontSectionFor(200), "Fonts640x480");
    EXPECT_STREQ(WkFontSectionFor(480), "Fonts640x480");
    EXPECT_STREQ(WkFontSectionFor(481), "Fonts800x600");
    EXPECT_STREQ(WkFontSectionFor(600), "Fonts800x600");
    EXPECT_STREQ(WkFontSectionFor(601), "Fonts1024x768");
    EXPECT_STREQ(WkFontSectionFor(1200), "Fonts1024x768");
}

TEST_F(FontsTest, WithoutKeysEverySlotGetsItsDefault) {
    WkLoadFonts(768);
    const int heights[10] = {18, 15, 18, 22, 16, 20, 16, 20, 24, 24};
    const char* families[10] = {"Liberation Mono", "Liberation Mono", "Liberation Mono", "Liberation Mono",
                                "Liberation Sans", "Liberation Sans", "Liberation Serif", "Liberation Serif",
                                "Liberation Sans", "Liberation Serif"};
    for (int slot = 0; slot < 10; ++slot) {
        const plat::Font* f = WkSlotFontExact(slot);
        ASSERT_NE(f, nullptr) << slot;
        EXPECT_EQ(f->height(), heights[slot]) << slot;
        EXPECT_EQ(f->face().family, families[slot]) << slot;
    }
    EXPECT_EQ(WkSlotFontExact(0), WkSlotFontExact(2));
    EXPECT_EQ(WkSlotFontExact(10), nullptr);
}

TEST_F(FontsTest, TheSectionOfTheScreenHeightIsRead) {
    dir.write("woku.ini", "[Fonts640x480]\nhelvSmall=arial,11,0\n"
                          "[Fonts800x600]\nhelvSmall=arial,12,1\n"
                          "[Fonts1024x768]\nhelvSmall=arial,13,0\n");
    WkLoadFonts(480);
    EXPECT_EQ(WkFontHeight("", 4), 11);
    WkLoadFonts(481);
    EXPECT_EQ(WkFontHeight("", 4), 12);
    WkLoadFonts(601);
    EXPECT_EQ(WkFontHeight("", 4), 13);
    EXPECT_EQ(WkFontHeight("", 5), 20); // not in the section: the default
}

TEST_F(FontsTest, TheProgramFileWinsAndBadValuesFallBackToTheDefault) {
    dir.write("woku.ini", "[Fonts1024x768]\nfixedMedium=courier new,30,0\ntimesLarge=times,40,0\n"
                          "fixedLarge=courier,25,0\n");
    dir.write("prog.ini", "[Fonts1024x768]\nfixedMedium=arial,12,1\ntimesLarge=times,40\nfixedLarge=courier,0,0\n");
    WkLoadFonts(768);
    const plat::Font* medium = WkSlotFontExact(2);
    ASSERT_NE(medium, nullptr);
    EXPECT_EQ(medium->height(), 12);
    EXPECT_EQ(medium->face().family, "Liberation Sans");
    EXPECT_EQ(WkSlotFontExact(0), medium);
    EXPECT_EQ(WkFontHeight("", 9), 24); // no bold part in the program file: the default, not the toolkit's
    EXPECT_EQ(WkFontHeight("", 3), 22); // a height the fonts refuse: the default
}

TEST_F(FontsTest, AddedFontsTakeTheFreeSlots) {
    WkLoadFonts(768);
    EXPECT_EQ(WkAddFont("arial", 30, 1, 0), 10);
    for (int i = 11; i < WK_FONT_SLOTS; ++i) EXPECT_EQ(WkAddFont("times", 12, 0, 1), i);
    EXPECT_EQ(WkAddFont("times", 12, 0, 0), 0); // the 23rd
    WkDeleteFont(17);
    EXPECT_EQ(WkSlotFontExact(17), nullptr);
    EXPECT_EQ(WkAddFont("arial", 14, 0, 0), 17);
    EXPECT_EQ(WkAddFont("arial", 0, 0, 0), 0); // cannot be made
    WkDeleteFont(0);                           // not on its own
    EXPECT_NE(WkSlotFontExact(0), nullptr);
    WkDeleteFont(2);
    EXPECT_EQ(WkSlotFontExact(0), nullptr);
    EXPECT_EQ(WkFontHeight("", 2), 0);
}

TEST_F(FontsTest, MeasuringAndTheSlotFallback) {
    WkLoadFonts(768);
    int w = WkCharWidth('W', 1);
    ASSERT_GT(w, 0);
    EXPECT_EQ(WkWideCharWidth(1), w);
    EXPECT_EQ(WkTextWidth("WWW", 1), 3 * w);
    EXPECT_EQ(WkTextWidthN("WWW", 1, 2), 2 * w);
    EXPECT_EQ(WkTextWidthN("WWW", 1, 50), 3 * w);
    EXPECT_EQ(WkTextWidthN("WWW", 1, 0), 0);
    EXPECT_EQ(WkCharHeight('A', 1), 15);
    // Slots without a font measure with slot 0.
    EXPECT_EQ(WkTextWidth("abc", 40), WkTextWidth("abc", 0));
    EXPECT_EQ(WkTextWidth("abc", -1), WkTextWidth("abc", 2));
    EXPECT_EQ(WkFontHeight("", 25), 18);
}

TEST_F(FontsTest, FitCountStopsAtTheWidthAndTheNewline) {
    WkLoadFonts(768);
    int w = WkCharWidth('m', 1); // a fixed-pitch font: every character as wide
    EXPECT_EQ(WkTextFitCount("mmmmm", 1, 3 * w), 3);
    EXPECT_EQ(WkTextFitCount("mmmmm", 1, 3 * w + w - 1), 3);
    EXPECT_EQ(WkTextFitCount("mm\nmmm", 1, 100 * w), 2);
    EXPECT_EQ(WkTextFitCount("mmm", 1, w - 1), 0);
    EXPECT_EQ(WkTextFitCount("", 1, 100), 0);
}

TEST_F(FontsTest, FontNamesAreListedOnceAndWalkedFromTheStart) {
    const char* first = WkFirstFontName();
    ASSERT_NE(first, nullptr);
    std::vector<std::string> names{first};
    while (const char* n = WkNextFontName()) names.push_back(n);
    EXPECT_LE(names.size(), 256u);
    EXPECT_NE(std::find(names.begin(), names.end(), "Liberation Sans"), names.end());
    EXPECT_STREQ(WkFirstFontName(), first);
    EXPECT_EQ(WkFontSlotCount(), 32);
    EXPECT_EQ(WkFontNameLimit(), 255);
}

} // namespace
