#include "toolkit/core/folders.h"

#include "toolkit/platform/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using scratch::ScratchFolder;

// Copies a name list and frees it.
std::vector<std::string> Take(WkNameList list) {
    std::vector<std::string> names;
    for (char** p = list; *p; ++p) names.push_back(*p);
    EXPECT_EQ(WkFreeNameList(list), 0);
    return names;
}

TEST(SubdirNamesTest, SortedWithoutCaseDotFoldersLeftOut) {
    ScratchFolder dir;
    for (const char* name : {"zeta", "Alpha", "beta", ".hidden", "..dots", "Beta2"}) dir.folder(name);
    dir.write("file.txt", "");
    std::vector<std::string> expected{".hidden", "Alpha", "beta", "Beta2", "zeta"};
    EXPECT_EQ(Take(WkGetSubdirNames(dir.path().c_str())), expected);
    EXPECT_EQ(Take(WkGetSubdirNames((dir.path() + "/").c_str())), expected);
    EXPECT_EQ(Take(WkGetSubdirNames((dir.path() + "\\").c_str())), expected);
    EXPECT_TRUE(Take(WkGetSubdirNames((dir / "missing").c_str())).empty());
}

TEST(SubdirNamesTest, ManyFoldersAndTheEndingNull) {
    ScratchFolder dir;
    for (int i = 0; i < 25; ++i) dir.folder("d" + std::to_string(100 + i));
    WkNameList list = WkGetSubdirNames(dir.path().c_str());
    int n = 0;
    while (list[n]) ++n;
    EXPECT_EQ(n, 25);
    EXPECT_STREQ(list[0], "d100");
    EXPECT_STREQ(list[24], "d124");
    WkFreeNameList(list);
}

TEST(FileNamesTest, PatternsWildcardsAndCase) {
    ScratchFolder dir;
    for (const char* name : {"b.qnp", "A.QNP", "messqnp.txt", "readme", "x.flt"}) dir.write(name, "");
    dir.folder("sub.qnp");
    const char* d = dir.path().c_str();
    EXPECT_EQ(Take(WkGetFileNames(d, "*.qnp")), (std::vector<std::string>{"A.QNP", "b.qnp"}));
    EXPECT_EQ(Take(WkGetFileNames(d, "*.*")), (std::vector<std::string>{"A.QNP", "b.qnp", "messqnp.txt", "readme", "x.flt"}));
    EXPECT_EQ(Take(WkGetFileNames(d, "*.txt;*.flt")), (std::vector<std::string>{"messqnp.txt", "x.flt"}));
    EXPECT_EQ(Take(WkGetFileNames(d, "*.flt, *.txt")), (std::vector<std::string>{"x.flt", "messqnp.txt"}));
    // The same pattern twice in two cases lists every match twice.
    EXPECT_EQ(Take(WkGetFileNames(d, "*.QNP;*.qnp")), (std::vector<std::string>{"A.QNP", "b.qnp", "A.QNP", "b.qnp"}));
    EXPECT_TRUE(Take(WkGetFileNames(d, "*.bmp")).empty());
    EXPECT_TRUE(Take(WkGetFileNames(d, "")).empty());
    EXPECT_TRUE(Take(WkGetFileNames((dir / "missing").c_str(), "*.*")).empty());
}

TEST(DriveTest, OneRootDrive) {
    EXPECT_EQ(Take(WkGetDriveNames()), std::vector<std::string>{"/"});
    EXPECT_EQ(WkDriveType("/"), WK_DRIVE_HARD_DISK);
    EXPECT_EQ(WkDriveType("a:\\"), WK_DRIVE_OTHER);
    EXPECT_EQ(WkDriveType(nullptr), WK_DRIVE_OTHER);
    EXPECT_EQ(WkFreeNameList(nullptr), 0);
}

TEST(CwdTest, GetAndSetTheCurrentFolder) {
    ScratchFolder dir;
    char before[4096];
    ASSERT_EQ(WkGetCwd(before, sizeof before), 0);
    ASSERT_EQ(WkSetCwd(dir.path().c_str()), 0);
    char now[4096];
    ASSERT_EQ(WkGetCwd(now, sizeof now), 0);
    EXPECT_EQ(std::string(now).substr(std::string(now).rfind('/')), "/CwdTest.GetAndSetTheCurrentFolder");
    char tiny[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(WkGetCwd(tiny, sizeof tiny), 1);
    EXPECT_EQ(tiny[3], 'x');
    EXPECT_EQ(WkSetCwd((dir / "missing").c_str()), 1);
    EXPECT_EQ(WkSetCwd(nullptr), 1);
    ASSERT_EQ(WkSetCwd(before), 0);
}

TEST(CompareNoCaseTest, TakesPointersToTexts) {
    const char* a = "Alpha";
    const char* b = "alpha";
    const char* c = "beta";
    EXPECT_EQ(WkCompareNoCase(&a, &b), 0);
    EXPECT_LT(WkCompareNoCase(&a, &c), 0);
    EXPECT_GT(WkCompareNoCase(&c, &b), 0);
}

} // namespace
