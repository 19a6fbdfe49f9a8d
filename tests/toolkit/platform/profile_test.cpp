#include "toolkit/platform/profile.h"

#include "toolkit/platform/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using plat::Profile;
using scratch::ScratchFolder;

TEST(ProfileTest, WritesANewFileWithCrLfAndReadsItBack) {
    ScratchFolder dir;
    std::string file = dir / "prog.ini";
    ASSERT_TRUE(plat::WriteProfileString(file, "Main", "name", "Open \xBD"));
    ASSERT_TRUE(plat::WriteProfileString(file, "Main", "rounds", "9"));
    ASSERT_TRUE(plat::WriteProfileString(file, "Other", "x", "1,2,3"));
    EXPECT_EQ(ScratchFolder::read(file), "[Main]\r\nname=Open \xBD\r\nrounds=9\r\n\r\n[Other]\r\nx=1,2,3\r\n");
    EXPECT_EQ(plat::ReadProfileString(file, "main", "NAME"), "Open \xBD");
    EXPECT_EQ(plat::ReadProfileString(file, "OTHER", "x"), "1,2,3");
    EXPECT_EQ(plat::ReadProfileString(file, "Main", "x"), std::nullopt);
    EXPECT_EQ(plat::ReadProfileString(file, "None", "x"), std::nullopt);
    EXPECT_EQ(plat::ReadProfileString(dir / "missing.ini", "Main", "name"), std::nullopt);
    EXPECT_EQ(plat::ProfileSectionNames(file), (std::vector<std::string>{"Main", "Other"}));
}

TEST(ProfileTest, WritingAKeyKeepsCommentsOrderAndOtherLines) {
    ScratchFolder dir;
    std::string file = dir.write("prog.ini",
                                 "; colours of the main window\n"
                                 "[Main]\n"
                                 "  Background = 1,2,3  \n"
                                 "; the text colour\n"
                                 "foreground=0,0,0\n"
                                 "\n"
                                 "# fonts\n"
                                 "[Fonts]\n"
                                 "a=1\n");
    ASSERT_TRUE(plat::WriteProfileString(file, "MAIN", "background", "4,5,6"));
    ASSERT_TRUE(plat::WriteProfileString(file, "Main", "shadow", "NONE,0,0"));
    ASSERT_TRUE(plat::WriteProfileString(file, "fonts", "b", "2"));
    EXPECT_EQ(ScratchFolder::read(file),
              "; colours of the main window\r\n"
              "[Main]\r\n"
              "Background=4,5,6\r\n"
              "; the text colour\r\n"
              "foreground=0,0,0\r\n"
              "shadow=NONE,0,0\r\n"
              "\r\n"
              "# fonts\r\n"
              "[Fonts]\r\n"
              "a=1\r\n"
              "b=2\r\n");
}

TEST(ProfileTest, FirstOfARepeatedSectionOrKeyWins) {
    ScratchFolder dir;
    std::string file = dir.write("prog.ini", "[A]\r\nk=first\r\nk=second\r\n[B]\r\nk=b\r\n[a]\r\nk=third\r\nonly=late\r\n");
    EXPECT_EQ(plat::ReadProfileString(file, "a", "k"), "first");
    EXPECT_EQ(plat::ReadProfileString(file, "A", "only"), std::nullopt);
    ASSERT_TRUE(plat::WriteProfileString(file, "a", "only", "now"));
    ASSERT_TRUE(plat::WriteProfileString(file, "A", "k", "new"));
    EXPECT_EQ(ScratchFolder::read(file), "[A]\r\nk=new\r\nk=second\r\nonly=now\r\n[B]\r\nk=b\r\n[a]\r\nk=third\r\nonly=late\r\n");
    EXPECT_EQ(plat::ProfileSectionNames(file), (std::vector<std::string>{"A", "B"}));
}

TEST(ProfileTest, LongValuesAndEmptyValuesAreKeptAsTheyAre) {
    ScratchFolder dir;
    std::string file = dir / "prog.ini";
    std::string longValue(5000, 'x');
    longValue += "end";
    ASSERT_TRUE(plat::WriteProfileString(file, "S", "long", longValue));
    ASSERT_TRUE(plat::WriteProfileString(file, "S", "empty", ""));
    EXPECT_EQ(plat::ReadProfileString(file, "S", "long"), longValue);
    EXPECT_EQ(plat::ReadProfileString(file, "S", "empty"), "");
}

TEST(ProfileTest, LinesItCannotPlaceAreReportedAndKept) {
    ScratchFolder dir;
    std::string file = dir.write("bad.ini", "early=1\n[S]\njust words\n[broken\nk=v\n=nokey\n");
    Profile p;
    ASSERT_TRUE(p.load(file));
    ASSERT_EQ(p.problems().size(), 4u);
    EXPECT_EQ(p.problems()[0], file + ", line 1: expected a [section] line before the first key");
    EXPECT_EQ(p.problems()[1], file + ", line 3: expected [section], key=value, a comment or a blank line");
    EXPECT_EQ(p.problems()[2], file + ", line 4: expected [section], key=value, a comment or a blank line");
    EXPECT_EQ(p.problems()[3], file + ", line 6: expected [section], key=value, a comment or a blank line");
    EXPECT_EQ(p.value("S", "k"), "v");
    EXPECT_EQ(p.value("S", "early"), std::nullopt);
    ASSERT_TRUE(p.set("S", "k", "w"));
    ASSERT_TRUE(p.save(file));
    EXPECT_EQ(ScratchFolder::read(file), "early=1\r\n[S]\r\njust words\r\n[broken\r\nk=w\r\n=nokey\r\n");
}

TEST(ProfileTest, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    Profile p;
    EXPECT_FALSE(p.set("S", "k", "two\nlines"));
    EXPECT_FALSE(p.set("S", "k", "cr\r"));
    EXPECT_FALSE(p.set("S]x", "k", "v"));
    EXPECT_FALSE(p.set("S", "a=b", "v"));
    EXPECT_FALSE(p.set("", "k", "v"));
    EXPECT_FALSE(p.set("S", " ", "v"));
    EXPECT_TRUE(p.lines().empty());
    EXPECT_TRUE(p.set("S", "k", "a=b;c"));
    EXPECT_EQ(p.value("s", "K"), "a=b;c");
}

TEST(ProfileTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    ScratchFolder dir;
    std::string target = dir.folder("taken.ini"); // a folder stands where the file should go
    std::string error;
    EXPECT_FALSE(plat::WriteProfileString(target, "S", "k", "v", &error));
    EXPECT_NE(error.find("taken.ini"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(target));
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_FALSE(plat::WriteProfileString(dir / "no/such/folder/x.ini", "S", "k", "v", &error));
}

} // namespace
