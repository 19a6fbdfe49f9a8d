#include "toolkit/core/settings.h"

#include "toolkit/core/log.h"

#include "toolkit/platform/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using scratch::ScratchFolder;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        own = dir / "prog.ini";
        toolkit = dir / "woku.ini";
        WkSetSettingsFiles(own.c_str(), toolkit.c_str());
    }
    void TearDown() override { WkSetSettingsFiles(nullptr, nullptr); }
    std::string Read(const char* section, const char* key) {
        const char* v = WkReadSetting(section, key);
        return v ? v : "(none)";
    }
    ScratchFolder dir;
    std::string own, toolkit;
};

TEST_F(SettingsTest, ProgramFileFirstThenToolkitFileAndEmptyFallsBack) {
    dir.write("prog.ini", "[Main]\r\nboth=own\r\nempty=\r\nonlyOwn=1\r\n");
    dir.write("woku.ini", "[main]\nBOTH=toolkit\nempty=from toolkit\nonlyToolkit=2\n");
    EXPECT_EQ(Read("Main", "both"), "own");
    EXPECT_EQ(Read("MAIN", "Empty"), "from toolkit");
    EXPECT_EQ(Read("Main", "onlyOwn"), "1");
    EXPECT_EQ(Read("Main", "onlyToolkit"), "2");
    EXPECT_EQ(Read("Main", "neither"), "(none)");
    EXPECT_EQ(Read("Other", "both"), "(none)");
}

TEST_F(SettingsTest, WritesGoToTheProgramFileOnly) {
    dir.write("woku.ini", "[Main]\r\nk=toolkit\r\n");
    EXPECT_EQ(WkWriteSetting("Main", "k", "own"), 1);
    EXPECT_EQ(WkWriteIntSetting("Main", "n", -42), 1);
    EXPECT_EQ(ScratchFolder::read(own), "[Main]\r\nk=own\r\nn=-42\r\n");
    EXPECT_EQ(ScratchFolder::read(toolkit), "[Main]\r\nk=toolkit\r\n");
    int n = 0;
    EXPECT_EQ(WkReadIntSetting("Main", "n", &n), 1);
    EXPECT_EQ(n, -42);
    WkSetSettingsFiles(nullptr, toolkit.c_str());
    EXPECT_EQ(WkWriteSetting("Main", "k", "lost"), 0);
    EXPECT_EQ(Read("Main", "k"), "toolkit");
}

TEST_F(SettingsTest, AProgramFileSpelledWithAnotherCaseIsReadAndWritten) {
    std::string upper = dir.write("PROG.INI", "[Main]\r\nk=1\r\n");
    EXPECT_EQ(Read("Main", "k"), "1");
    EXPECT_EQ(WkWriteSetting("Main", "k", "2"), 1);
    EXPECT_EQ(ScratchFolder::read(upper), "[Main]\r\nk=2\r\n");
}

TEST_F(SettingsTest, LinesTheReaderCannotPlaceAreLoggedOnceWithTheirLine) {
    dir.write("woku.ini", "[Main]\nk=1\nnot a setting\n");
    std::string logPath = dir / "log.txt";
    WkSetLogFile(std::fopen(logPath.c_str(), "wb"));
    EXPECT_EQ(Read("Main", "k"), "1");
    EXPECT_EQ(Read("Main", "other"), "(none)");
    WkSetLogFile(nullptr);
    EXPECT_EQ(ScratchFolder::read(logPath),
              toolkit + ", line 3: expected [section], key=value, a comment or a blank line\r\n");
}

TEST_F(SettingsTest, IntegersMustBeWholeNumbers) {
    dir.write("prog.ini", "[S]\na=17\nb=17x\nc=\nd=99999999999\ne=+5\n");
    int v = 3;
    EXPECT_EQ(WkReadIntSetting("S", "a", &v), 1);
    EXPECT_EQ(v, 17);
    v = 3;
    EXPECT_EQ(WkReadIntSetting("S", "b", &v), 0);
    EXPECT_EQ(WkReadIntSetting("S", "c", &v), 0);
    EXPECT_EQ(WkReadIntSetting("S", "d", &v), 0);
    EXPECT_EQ(WkReadIntSetting("S", "missing", &v), 0);
    EXPECT_EQ(v, 3);
    EXPECT_EQ(WkReadIntSetting("S", "e", &v), 1);
    EXPECT_EQ(v, 5);
}

TEST_F(SettingsTest, ValuesAreNotCutAtAnyLength) {
    std::string text(400, 'a');
    ASSERT_EQ(WkWriteTextSetting("Label", text.c_str()), 1);
    EXPECT_EQ(std::string(WkReadTextSetting("Label")), text);
}

TEST(ColorValueTest, NumbersSeparatedByCommasOrBlanks) {
    int r = -5, g = -5, b = -5;
    ASSERT_EQ(WkParseColorValue("10,20,30", &r, &g, &b), 1);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{10, 20, 30}));
    ASSERT_EQ(WkParseColorValue(" 10  20 ,30", &r, &g, &b), 1);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{10, 20, 30}));
    ASSERT_EQ(WkParseColorValue("0,0,255", &r, &g, &b), 1);
    EXPECT_EQ(b, 255);
}

TEST(ColorValueTest, InvalidValuesChangeNothing) {
    for (const char* bad : {"10,300,30", "10,20", "", "  ", "-1,0,0", "a,b,c", "10,20x,30", "1,2,256"}) {
        int r = 7, g = 8, b = 9;
        EXPECT_EQ(WkParseColorValue(bad, &r, &g, &b), 0) << bad;
        EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{7, 8, 9})) << bad;
    }
}

TEST(ColorValueTest, FromParentInAnyCaseWithAPercentage) {
    int r = 0, g = 0, b = 0;
    ASSERT_EQ(WkParseColorValue("fromparent,80", &r, &g, &b), 1);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(g, 80);
    ASSERT_EQ(WkParseColorValue("FromParent", &r, &g, &b), 1);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(g, 100);
    ASSERT_EQ(WkParseColorValue("FROMPARENT 115", &r, &g, &b), 1);
    EXPECT_EQ(g, 115);
    EXPECT_EQ(WkParseColorValue("FromParent,much", &r, &g, &b), 0);
    EXPECT_EQ(WkParseColorValue("FromParents", &r, &g, &b), 0);
}

TEST(ShadowValueTest, TypesAndWidths) {
    int t = -1, w = -1, o = -1;
    ASSERT_EQ(WkParseShadowValue("NONE,5,5", &t, &w, &o), 1);
    EXPECT_EQ((std::vector<int>{t, w, o}), (std::vector<int>{0, 0, 0}));
    ASSERT_EQ(WkParseShadowValue("ETCHED_OUT 2 12", &t, &w, &o), 1);
    EXPECT_EQ((std::vector<int>{t, w, o}), (std::vector<int>{4, 2, 12}));
    t = w = o = -1;
    for (const char* bad : {"SHADOW_IN,13,1", "SHADOW_IN,1,-1", "SHADOW_IN,1", "NONE,0", "shadow_in,1,1", "RAISED,1,1", ""})
        EXPECT_EQ(WkParseShadowValue(bad, &t, &w, &o), 0) << bad;
    EXPECT_EQ(t, -1);
}

TEST(FontValueTest, FaceHeightAndBold) {
    std::string face;
    int h = 0, bold = -1;
    ASSERT_EQ(WkParseFontValue("courier new,15,0", &face, &h, &bold), 1);
    EXPECT_EQ(face, "courier new");
    EXPECT_EQ(h, 15);
    EXPECT_EQ(bold, 0);
    ASSERT_EQ(WkParseFontValue("arial, 20 ,7", &face, &h, &bold), 1);
    EXPECT_EQ(face, "arial");
    EXPECT_EQ(h, 20);
    EXPECT_EQ(bold, 1);
    for (const char* bad : {"arial,16", "arial", ",16,0", "arial,big,0", "arial,16,x", ""})
        EXPECT_EQ(WkParseFontValue(bad, &face, &h, &bold), 0) << bad;
    EXPECT_EQ(WkFontSlotByName("TIMES_LARGE"), 9);
    EXPECT_EQ(WkFontSlotByName("DEFAULT"), 0);
    EXPECT_EQ(WkFontSlotByName("default"), -1);
    EXPECT_EQ(WkFontSlotByName(nullptr), -1);
    EXPECT_STREQ(WkFontSlotName(4), "HELV_SMALL");
    EXPECT_EQ(WkFontSlotName(10), nullptr);
}

TEST(BgImageValueTest, FileAndMode) {
    int mode = -1;
    EXPECT_EQ(WkParseBgImageValue("tile1.bmp;CENTERED", &mode), "tile1.bmp");
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(WkParseBgImageValue("tile1.bmp", &mode), "tile1.bmp");
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(WkParseBgImageValue("tile1.bmp SIZE_FORCING", &mode), "tile1.bmp");
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(WkParseBgImageValue("tile1.bmp;STRETCHED", &mode), "tile1.bmp");
    EXPECT_EQ(mode, 0);
    // A name with blanks survives the writer's own format.
    EXPECT_EQ(WkParseBgImageValue("my tiles/big tile.bmp;CENTERED", &mode), "my tiles/big tile.bmp");
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(WkParseBgImageValue("my tile.bmp", &mode), "my tile.bmp");
    EXPECT_EQ(mode, 0);
}

TEST_F(SettingsTest, TypedWritersAndReadersRoundTrip) {
    ASSERT_EQ(WkWriteBackgroundSetting("Win", 1, 2, 3), 1);
    ASSERT_EQ(WkWriteForegroundSetting("Win", 250, 251, 252), 1);
    ASSERT_EQ(WkWriteShadowSetting("Win", 2, 3, 4), 1);
    ASSERT_EQ(WkWriteFontSetting("Win", 8), 1);
    ASSERT_EQ(WkWriteBgImageSetting("Win", "pics/my tile.bmp", 2), 1);
    EXPECT_EQ(WkWriteShadowSetting("Win", 5, 0, 0), 0);
    EXPECT_EQ(WkWriteFontSetting("Win", 10), 0);
    EXPECT_EQ(ScratchFolder::read(own), "[Win]\r\nbackground=1,2,3\r\nforeground=250,251,252\r\n"
                                        "shadow=SHADOW_IN,3,4\r\nfont=HELV_LARGE\r\nbgImage=pics/my tile.bmp;SIZE_FORCING\r\n");
    int r, g, b, t, w, o, slot, mode;
    ASSERT_EQ(WkReadBackgroundSetting("win", &r, &g, &b), 1);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(WkReadForegroundSetting("WIN", &r, &g, &b), 1);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{250, 251, 252}));
    ASSERT_EQ(WkReadShadowSetting("Win", &t, &w, &o), 1);
    EXPECT_EQ((std::vector<int>{t, w, o}), (std::vector<int>{2, 3, 4}));
    ASSERT_EQ(WkReadFontSetting("Win", &slot), 1);
    EXPECT_EQ(slot, 8);
    ASSERT_NE(WkReadBgImageSetting("Win", &mode), nullptr);
    EXPECT_STREQ(WkReadBgImageSetting("Win", &mode), "pics/my tile.bmp");
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(WkReadBgImageSetting("Other", &mode), nullptr);
    EXPECT_EQ(WkReadFontSetting("Other", &slot), 0);
}

} // namespace
