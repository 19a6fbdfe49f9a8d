#include "toolkit/platform/files.h"

#include "toolkit/platform/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

using scratch::ScratchFolder;

TEST(WildcardTest, StarDotStarMatchesEveryName) {
    for (const char* name : {"readme", "a.b", "a.b.c", ".hidden", "x."}) EXPECT_TRUE(plat::MatchWildcard("*.*", name)) << name;
    EXPECT_TRUE(plat::MatchWildcard("*", "anything"));
    EXPECT_TRUE(plat::MatchWildcard("readme.*", "readme"));
    EXPECT_FALSE(plat::MatchWildcard("readme.*", "readmeX"));
}

TEST(WildcardTest, StarsQuestionMarksAndCase) {
    EXPECT_TRUE(plat::MatchWildcard("*.bmp", "TILE1.BMP"));
    EXPECT_TRUE(plat::MatchWildcard("TILE?.bmp", "tile6.bmp"));
    EXPECT_FALSE(plat::MatchWildcard("tile?.bmp", "tile10.bmp"));
    EXPECT_TRUE(plat::MatchWildcard("tile*.bmp", "tile10.bmp"));
    EXPECT_TRUE(plat::MatchWildcard("*a*b*c", "xxaybzzc"));
    EXPECT_FALSE(plat::MatchWildcard("*a*b*c", "xxaybzzcd"));
    EXPECT_FALSE(plat::MatchWildcard("*.txt", "a.txt.bak"));
    EXPECT_FALSE(plat::MatchWildcard("*.qnp", "qnp"));
    EXPECT_TRUE(plat::MatchWildcard("", ""));
    EXPECT_FALSE(plat::MatchWildcard("", "a"));
}

TEST(PathTest, BackslashesAndJoining) {
    EXPECT_EQ(plat::ToSlashes("sys\\wg.bmp"), "sys/wg.bmp");
    EXPECT_EQ(plat::JoinPath("/a/b", "c"), "/a/b/c");
    EXPECT_EQ(plat::JoinPath("/a/b/", "/c"), "/a/b/c");
    EXPECT_EQ(plat::JoinPath("/", "woku.ini"), "/woku.ini");
    EXPECT_EQ(plat::JoinPath("", "woku.ini"), "woku.ini");
}

TEST(ListFolderTest, SortedWithoutCaseWithKinds) {
    ScratchFolder dir;
    dir.write("beta.txt", "");
    dir.write("Alpha.txt", "");
    dir.write("alpha.TXT", "");
    dir.folder("Gamma");
    dir.folder("delta");
    ASSERT_EQ(::symlink("Gamma", (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir / "broken").c_str()), 0);
    std::vector<plat::FolderEntry> entries;
    ASSERT_TRUE(plat::ListFolder(dir.path(), entries));
    std::vector<std::string> names;
    for (auto& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha.txt", "alpha.TXT", "beta.txt", "broken", "delta", "Gamma", "link"}));
    EXPECT_EQ(entries[0].kind, plat::EntryKind::File);
    EXPECT_EQ(entries[3].kind, plat::EntryKind::Other);
    EXPECT_EQ(entries[5].kind, plat::EntryKind::Folder);
    EXPECT_EQ(entries[6].kind, plat::EntryKind::Folder);
    EXPECT_FALSE(plat::ListFolder(dir / "missing", entries));
    EXPECT_TRUE(entries.empty());
}

TEST(FindPathNoCaseTest, FindsFilesSpelledWithAnotherCase) {
    ScratchFolder dir;
    dir.write("Pics/tile1.bmp", "x");
    EXPECT_EQ(plat::FindPathNoCase(dir / "Pics/tile1.bmp"), dir / "Pics/tile1.bmp");
    EXPECT_EQ(plat::FindPathNoCase(dir / "PICS/TILE1.BMP"), dir / "Pics/tile1.bmp");
    EXPECT_EQ(plat::FindPathNoCase(dir.path() + "\\pics\\Tile1.bmp"), dir / "Pics/tile1.bmp");
    EXPECT_EQ(plat::FindPathNoCase(dir / "pics/tile2.bmp"), std::nullopt);
    EXPECT_EQ(plat::FindPathNoCase(dir / "pics/tile1.bmpx"), std::nullopt);
    EXPECT_EQ(plat::FindPathNoCase(""), std::nullopt);
}

TEST(FolderTest, CurrentFolderDrivesAndTests) {
    ScratchFolder dir;
    std::string before;
    ASSERT_TRUE(plat::CurrentFolder(before));
    ASSERT_TRUE(plat::SetCurrentFolder(dir.path()));
    std::string now;
    ASSERT_TRUE(plat::CurrentFolder(now));
    EXPECT_TRUE(plat::IsFolder(now));
    EXPECT_EQ(now.back() == '/', false);
    EXPECT_FALSE(plat::SetCurrentFolder(dir / "missing"));
    ASSERT_TRUE(plat::SetCurrentFolder(before));
    EXPECT_EQ(plat::DriveRoots(), std::vector<std::string>{"/"});
    EXPECT_EQ(plat::DriveKindOf("/"), plat::DriveKind::Fixed);
    EXPECT_EQ(plat::DriveKindOf("C:\\"), plat::DriveKind::Other);
    dir.write("f", "");
    EXPECT_TRUE(plat::IsFile(dir / "f"));
    EXPECT_FALSE(plat::IsFolder(dir / "f"));
    EXPECT_FALSE(plat::IsFolder(""));
    EXPECT_FALSE(plat::ExecutablePath().empty());
}

// Names are Windows-1252 here and UTF-8 on disk; a name on disk that is not
// UTF-8 comes in as its bytes.
TEST(HostNamesTest, Windows1252HereAndUtf8OnDisk) {
    ScratchFolder dir;
    dir.write("Z\xC3\xBCrich/\xC5\xA0" "ach.txt", "x"); // "Zürich/Šach.txt"
    dir.write("\xFF", "");
    std::vector<plat::FolderEntry> entries;
    ASSERT_TRUE(plat::ListFolder(dir.path(), entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Z\xFCrich");
    EXPECT_EQ(entries[0].kind, plat::EntryKind::Folder);
    EXPECT_EQ(entries[1].name, "\xFF");
    EXPECT_TRUE(plat::IsFile(dir / "\xFF")); // not UTF-8: found by its bytes
    ASSERT_TRUE(plat::ListFolder(dir / "Z\xFCrich", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "\x8A" "ach.txt");
    EXPECT_EQ(entries[0].kind, plat::EntryKind::File);

    EXPECT_EQ(plat::MakeFolder(dir / "Z\xFC" "1"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Z\xC3\xBC" "1"));
    std::FILE* file = plat::OpenFile(dir / "Z\xFC" "1/\x8C" "uvre.qon", "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "Z\xC3\xBC" "1/\xC5\x92uvre.qon"));
    EXPECT_EQ(plat::RenameFile(dir / "Z\xFC" "1/\x8C" "uvre.qon", dir / "Z\xFC" "1/\x9C" "uvre.qon"), 0);
    EXPECT_TRUE(plat::IsFile(dir / "Z\xFC" "1/\x9C" "uvre.qon"));
    EXPECT_TRUE(plat::SameFile(dir / "Z\xFC" "1/\x9C" "uvre.qon", dir / "Z\xFC" "1/../Z\xFC" "1/\x9C" "uvre.qon"));
    EXPECT_EQ(plat::FindPathNoCase(dir / "z\xFCRICH/\x8A" "ACH.TXT"), dir / "Z\xFCrich/\x8A" "ach.txt");
    EXPECT_EQ(plat::RenameFolder(dir / "Z\xFC" "1", dir / "\xC9t\xE9"), 0); // "Été"
    EXPECT_TRUE(std::filesystem::is_directory(dir / "\xC3\x89t\xC3\xA9"));
    EXPECT_EQ(plat::RemoveFile(dir / "\xC9t\xE9/\x9C" "uvre.qon"), 0);
    EXPECT_EQ(plat::RemoveFolder(dir / "\xC9t\xE9"), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "\xC3\x89t\xC3\xA9"));

    std::string before, now;
    ASSERT_TRUE(plat::CurrentFolder(before));
    ASSERT_TRUE(plat::SetCurrentFolder(dir / "Z\xFCrich"));
    ASSERT_TRUE(plat::CurrentFolder(now));
    ASSERT_TRUE(plat::SetCurrentFolder(before));
    EXPECT_EQ(now.substr(now.size() - 7), "/Z\xFCrich");
}

} // namespace
