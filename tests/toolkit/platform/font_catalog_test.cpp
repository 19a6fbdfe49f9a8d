#include "toolkit/platform/font_catalog.h"

#include "toolkit/platform/font_test_fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

const bool kTestFonts = UseTestFonts();

std::string FileOf(const plat::FontCatalog& catalog, const char* face, bool bold, bool italic) {
    std::optional<plat::FaceFile> f = catalog.find(face, bold, italic);
    if (!f) return "(none)";
    return f->path.substr(f->path.rfind('/') + 1);
}

TEST(FontCatalog, TheSettingsFacesAreServedByLiberation) {
    ASSERT_TRUE(kTestFonts);
    const plat::FontCatalog& c = plat::FontCatalog::System();
    EXPECT_EQ(FileOf(c, "courier new", false, false), "LiberationMono-Regular.ttf");
    EXPECT_EQ(FileOf(c, "COURIER", true, false), "LiberationMono-Bold.ttf");
    EXPECT_EQ(FileOf(c, "fixed", false, true), "LiberationMono-Italic.ttf");
    EXPECT_EQ(FileOf(c, " Arial ", false, false), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileOf(c, "helv", true, true), "LiberationSans-BoldItalic.ttf");
    EXPECT_EQ(FileOf(c, "Helvetica", false, false), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileOf(c, "times", false, false), "LiberationSerif-Regular.ttf");
    EXPECT_EQ(FileOf(c, "Times New Roman", true, false), "LiberationSerif-Bold.ttf");
    std::optional<plat::FaceFile> f = c.find("courier", true, false);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->family, "Liberation Mono");
    EXPECT_TRUE(f->bold);
    EXPECT_FALSE(f->italic);
}

TEST(FontCatalog, OtherNamesAreFamiliesOfTheirOwnAndUnknownOnesFallBackToSans) {
    const plat::FontCatalog& c = plat::FontCatalog::System();
    EXPECT_EQ(FileOf(c, "DejaVu Sans Mono", false, false), "DejaVuSansMono.ttf");
    EXPECT_EQ(FileOf(c, "dejavu serif", true, false), "DejaVuSerif-Bold.ttf");
    // Normal width before the condensed faces of the same family.
    EXPECT_EQ(FileOf(c, "DejaVu Sans", false, true), "DejaVuSans-Oblique.ttf");
    EXPECT_EQ(FileOf(c, "No Such Face", false, false), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileOf(c, "", true, false), "LiberationSans-Bold.ttf");
}

TEST(FontCatalog, DejaVuStandsInWhereLiberationIsMissing) {
    plat::FontCatalog c({"/usr/share/fonts/truetype/dejavu"});
    EXPECT_EQ(FileOf(c, "courier new", false, false), "DejaVuSansMono.ttf");
    EXPECT_EQ(FileOf(c, "arial", true, false), "DejaVuSans-Bold.ttf");
    EXPECT_EQ(FileOf(c, "times", false, true), "DejaVuSerif-Italic.ttf");
    EXPECT_EQ(FileOf(c, "Liberation Sans", false, false), "DejaVuSans.ttf");
}

TEST(FontCatalog, AnEmptyCatalogueFindsNothing) {
    plat::FontCatalog c({std::string(TM_TEST_OUTPUT_DIR) + "/no-such-font-folder"});
    EXPECT_FALSE(c.find("arial", false, false).has_value());
    EXPECT_TRUE(c.families().empty());
}

TEST(FontCatalog, FamiliesAreTheConfiguredOnesSortedOnce) {
    std::vector<std::string> names = plat::FontCatalog::System().families();
    auto lower = [](std::string s) {
        for (char& ch : s) ch = char(std::tolower(static_cast<unsigned char>(ch)));
        return s;
    };
    for (std::size_t i = 1; i < names.size(); ++i) EXPECT_LT(lower(names[i - 1]), lower(names[i])) << names[i];
    for (const char* n : {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif", "Liberation Mono",
                                 "Liberation Sans", "Liberation Serif"})
        EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << n;
    // Only the fonts the tests' configuration lists.
    for (const std::string& n : names)
        EXPECT_TRUE(n.rfind("DejaVu", 0) == 0 || n.rfind("Liberation", 0) == 0) << n;
}

} // namespace
