#include "toolkit/core/colors.h"

#include <gtest/gtest.h>

#include <string>

#include "toolkit/core/log.h"

namespace {

plat::Palette hardware;
int hardwareWrites = 0;

void WriteHardware(int first, int count, const plat::Rgb* entries) {
    ASSERT_GE(first, 0);
    ASSERT_LE(first + count, 256);
    for (int i = 0; i < count; ++i) hardware.entries[first + i] = entries[i];
    ++hardwareWrites;
}

std::string LastLogLine() {
    WkItemList* lines = WkLogLines();
    return lines && lines->last ? lines->last->text : "";
}

void ExpectRgb(WkColor c, int r, int g, int b) {
    int cr = -1, cg = -1, cb = -1;
    WkColorToRGB(c, &cr, &cg, &cb);
    EXPECT_EQ(cr, r);
    EXPECT_EQ(cg, g);
    EXPECT_EQ(cb, b);
}

class PaletteTest : public ::testing::Test {
protected:
    // A palette screen of that many colours after start-up, which takes
    // black and white first.
    void Screen(int colours) {
        hardware = plat::Palette{};
        hardwareWrites = 0;
        WkInitColors(WkColorDisplay{true, colours, WriteHardware});
        black = WkAllocColor(0, 0, 0);
        white = WkAllocColor(255, 255, 255);
    }
    void SetUp() override { Screen(256); }
    void TearDown() override { WkInitColors(WkColorDisplay{}); }
    WkColor black = 0, white = 0;
};

TEST_F(PaletteTest, BlackAndWhiteTakeTheFirstSlots) {
    EXPECT_EQ(black, 0u);
    EXPECT_EQ(white, 1u);
    EXPECT_EQ(hardware.entries[1], plat::MakeRgb(255, 255, 255));
}

TEST_F(PaletteTest, TheSameColourSharesASlotUntilItsLastUseIsFreed) {
    WkColor a = WkAllocColor(10, 20, 30);
    WkColor b = WkAllocColor(10, 20, 30);
    EXPECT_EQ(a, 2u);
    EXPECT_EQ(b, a);
    EXPECT_EQ(WkColorUses(a), 2);
    EXPECT_EQ(hardware.entries[2], plat::MakeRgb(10, 20, 30));
    EXPECT_EQ(WkAddColorRef(a), a);
    EXPECT_EQ(WkColorUses(a), 3);
    WkFreeColor(a);
    WkFreeColor(a);
    WkFreeColor(a);
    EXPECT_EQ(WkColorUses(a), 0);

    // The free slot is reused, lowest first, by the next new colour.
    WkColor c = WkAllocColor(40, 50, 60);
    WkColor d = WkAllocColor(70, 80, 90);
    EXPECT_EQ(c, 2u);
    EXPECT_EQ(d, 3u);
    ExpectRgb(c, 40, 50, 60);
    EXPECT_EQ(hardware.entries[2], plat::MakeRgb(40, 50, 60));
    // A freed slot no longer matches its old colour.
    WkFreeColor(d);
    EXPECT_EQ(WkAllocColor(10, 20, 30), 3u);
}

TEST_F(PaletteTest, TheLastSlotAndThenTheNearestColour) {
    for (int s = 2; s <= 254; ++s) ASSERT_EQ(WkAllocColor(s, 0, 0), WkColor(s));
    WkColor last = WkAllocColor(0, 0, 200);
    EXPECT_EQ(last, 255u);
    EXPECT_EQ(hardware.entries[255], plat::MakeRgb(0, 0, 200));
    int writes = hardwareWrites;
    // Full: the nearest entry, one use more, and the hardware is not touched.
    EXPECT_EQ(WkAllocColor(0, 0, 190), 255u);
    EXPECT_EQ(WkColorUses(255), 2);
    EXPECT_EQ(WkAllocColor(100, 3, 2), 100u);
    EXPECT_EQ(WkColorUses(100), 2);
    EXPECT_EQ(WkAllocColor(250, 250, 250), white);
    EXPECT_EQ(hardwareWrites, writes);
}

TEST_F(PaletteTest, OnlyTheScreensColourCountIsAllocated) {
    Screen(4);
    EXPECT_EQ(WkAllocColor(200, 0, 0), 2u);
    EXPECT_EQ(WkAllocColor(0, 0, 200), 3u);
    EXPECT_EQ(WkAllocColor(0, 0, 180), 3u);
    EXPECT_EQ(WkColorUses(4), 0);
}

TEST_F(PaletteTest, FreeingWhatHasNoUsesIsLoggedAndCountsNothing) {
    WkFreeColor(7);
    EXPECT_EQ(LastLogLine(), "Error in FreeColor: 7\nRed: 0\nGreen: 0\nBlue: 0");
    EXPECT_EQ(WkColorUses(7), 0);
    // Not a slot at all: nothing outside the palette is read.
    WkFreeColor(0x00010203u);
    EXPECT_EQ(LastLogLine(), "Error in FreeColor: 66051\nRed: 3\nGreen: 2\nBlue: 1");
    WkFreeColor(0xFFFFFFFFu);
    EXPECT_EQ(WkAddColorRef(300), 300u);
    EXPECT_EQ(WkColorUses(300), 0);
    EXPECT_EQ(WkColorUses(black), 1);
}

TEST_F(PaletteTest, PrivateCellsAreHeldApart) {
    WkColor p = WkAllocPrivateColor(1, 2, 3);
    EXPECT_EQ(p, 2u);
    EXPECT_EQ(hardware.entries[2], plat::MakeRgb(1, 2, 3));
    EXPECT_EQ(WkAllocPrivateColor(9, 9, 9), 3u);
    // Never shared, not even for its own colour, and not counted.
    EXPECT_EQ(WkAllocColor(1, 2, 3), 4u);
    WkFreeColor(p);
    WkAddColorRef(p);
    EXPECT_EQ(WkColorUses(p), 1);
    // Animated at once on the screen.
    WkSetPrivateColor(p, 100, 110, 120);
    EXPECT_EQ(hardware.entries[2], plat::MakeRgb(100, 110, 120));
    ExpectRgb(p, 100, 110, 120);
    // A shared slot cannot be animated, so its users keep their colour.
    WkSetPrivateColor(4, 5, 5, 5);
    ExpectRgb(4, 1, 2, 3);
    WkFreePrivateColor(4); // not private: untouched
    EXPECT_EQ(WkColorUses(4), 1);
    WkFreePrivateColor(p);
    EXPECT_EQ(WkColorUses(p), 0);
    EXPECT_EQ(WkAllocColor(50, 50, 50), p);
}

TEST_F(PaletteTest, NoPrivateCellWhenEverySlotIsUsed) {
    Screen(3);
    EXPECT_EQ(WkAllocPrivateColor(1, 1, 1), 2u);
    EXPECT_EQ(WkAllocPrivateColor(2, 2, 2), 0u);
    // Full of shared and private slots: the nearest shared one.
    EXPECT_EQ(WkAllocColor(3, 3, 3), 0u);
    EXPECT_EQ(WkColorUses(0), 2);
}

TEST_F(PaletteTest, ShadesOfAPaletteColourAreNewReferences) {
    WkColor base = WkAllocColor(200, 200, 100);
    WkColor light = WkShadeColor(base, 140);
    ExpectRgb(light, 255, 255, 162);
    WkColor dark = WkShadeColor(base, 60);
    ExpectRgb(dark, 120, 120, 60);
    // What red cannot take goes to green and blue, by how far each is from 255.
    ExpectRgb(WkShadeColor(WkAllocColor(255, 100, 0), 140), 255, 186, 102);
    WkColor same = WkShadeColor(base, 100);
    EXPECT_EQ(same, base);
    EXPECT_EQ(WkColorUses(base), 2);
}

TEST_F(PaletteTest, ImageColoursAreMatchedFilledAndFallBack) {
    WkColor red = WkAllocColor(255, 0, 0);      // slot 2
    WkColor priv = WkAllocPrivateColor(0, 255, 0); // slot 3, never matched
    WkColor gone = WkAllocColor(9, 9, 9);       // slot 4, freed below
    WkAllocColor(8, 8, 8);                      // slot 5
    WkFreeColor(gone);
    // blue, green, red, slot
    std::uint8_t entries[][4] = {
        {0, 0, 255, 0xEE},   // red: in the palette
        {0, 255, 0, 0xEE},   // the private cell's colour: new
        {50, 60, 70, 0xEE},  // new
        {0, 0, 0, 0xEE},     // black: in the palette
    };
    int writes = hardwareWrites;
    EXPECT_EQ(WkMapImageColors(&entries[0][0], 4), 2);
    EXPECT_EQ(entries[0][3], red);
    EXPECT_EQ(entries[1][3], 4); // the lowest free slot, skipping the private cell
    EXPECT_EQ(entries[2][3], 6);
    EXPECT_EQ(entries[3][3], black);
    EXPECT_EQ(WkColorUses(red), 2);
    EXPECT_EQ(WkColorUses(black), 2);
    EXPECT_EQ(WkColorUses(priv), 1);
    EXPECT_EQ(hardware.entries[4], plat::MakeRgb(0, 255, 0));
    EXPECT_EQ(hardware.entries[6], plat::MakeRgb(70, 60, 50));
    EXPECT_EQ(hardwareWrites, writes + 1);
    ExpectRgb(6, 70, 60, 50);
}

TEST_F(PaletteTest, ImageColoursTakeTheNearestWhenThePaletteIsFull) {
    Screen(4);
    std::uint8_t entries[][4] = {{0, 0, 200, 0}, {0, 0, 190, 0}, {240, 240, 240, 0}};
    EXPECT_EQ(WkMapImageColors(&entries[0][0], 3), 3);
    EXPECT_EQ(entries[0][3], 2);
    EXPECT_EQ(entries[1][3], 3);
    EXPECT_EQ(entries[2][3], 1);
    EXPECT_EQ(WkColorUses(1), 2);
    // At most 256 entries are read, whatever the count says.
    std::uint8_t many[300][4] = {};
    EXPECT_EQ(WkMapImageColors(&many[0][0], 300), 0);
    EXPECT_EQ(WkColorUses(0), 257);
}

TEST(TrueColourTest, ColoursAreRgbValuesRedInTheLowByte) {
    WkInitColors(WkColorDisplay{});
    WkColor c = WkAllocColor(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    ExpectRgb(c, 0x12, 0x34, 0x56);
    EXPECT_EQ(WkAllocColor(300, -4, 255), 0xFF00FFu);
    std::string before = LastLogLine();
    WkFreeColor(c); // nothing to count, nothing to report
    WkFreeColor(c);
    EXPECT_EQ(LastLogLine(), before);
    EXPECT_EQ(WkAllocPrivateColor(1, 2, 3), 0u);
    WkSetPrivateColor(0, 1, 2, 3);
    EXPECT_EQ(WkToolkitPalette()[0].red, 0);
    ExpectRgb(WkShadeColor(WkAllocColor(200, 200, 100), 140), 255, 255, 162);
    ExpectRgb(WkShadeColor(WkAllocColor(255, 255, 255), 140), 255, 255, 255);
    ExpectRgb(WkShadeColor(WkAllocColor(10, 20, 30), 0), 0, 0, 0);
    std::uint8_t entry[4] = {1, 2, 3, 9};
    EXPECT_EQ(WkMapImageColors(entry, 1), 0);
    EXPECT_EQ(entry[3], 9);
}

} // namespace
