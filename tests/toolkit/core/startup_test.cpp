#include "toolkit/core/startup.h"

#include "toolkit/platform/files.h"
#include "toolkit/platform/scratch_folder.h"
#include "support/other_threads.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using scratch::ScratchFolder;

std::vector<std::string> Tokens(const char* tail) {
    int count = -1;
    char** argv = WkBuildArgv("/bin/prog", tail, &count);
    std::vector<std::string> out;
    for (int i = 0; argv[i]; ++i) out.push_back(argv[i]);
    EXPECT_EQ(int(out.size()), count) << (tail ? tail : "(null)");
    EXPECT_EQ(out.at(0), "/bin/prog");
    out.erase(out.begin());
    return out;
}

using V = std::vector<std::string>;

TEST(ArgumentVectorTest, EmptyTailGivesTheProgramPathOnly) {
    EXPECT_EQ(Tokens(""), V{});
    EXPECT_EQ(Tokens(nullptr), V{});
    EXPECT_EQ(Tokens(" \t\r\n\v\f "), V{});
}

TEST(ArgumentVectorTest, QuotesGroupAndAreRemoved) {
    EXPECT_EQ(Tokens("a \"b c\" d"), (V{"a", "b c", "d"}));
    EXPECT_EQ(Tokens("one \"two words\""), (V{"one", "two words"}));
    EXPECT_EQ(Tokens("ab \"cd\""), (V{"ab", "cd"}));
    EXPECT_EQ(Tokens("  lead   and\ttrail  "), (V{"lead", "and", "trail"}));
}

TEST(ArgumentVectorTest, QuotesInsideTokensAndUnclosedQuotes) {
    EXPECT_EQ(Tokens("ab\"cd"), (V{"ab", "cd"}));
    EXPECT_EQ(Tokens("x \"runs to the end"), (V{"x", "runs to the end"}));
    EXPECT_EQ(Tokens("x \""), (V{"x"}));
    EXPECT_EQ(Tokens("\"\" y"), (V{"", "y"}));
    EXPECT_EQ(Tokens("\"a\"\"b\""), (V{"a", "b"}));
}

TEST(ProgramNameTest, NameAndSettingsFileFromTheProgramPath) {
    EXPECT_EQ(WkProgramNameOf("/opt/tm/tourman"), "tourman");
    EXPECT_EQ(WkSettingsPathOf("/opt/tm/tourman"), "/opt/tm/tourman.ini");
    EXPECT_EQ(WkProgramNameOf("c:\\tm\\tourman.exe"), "tourman");
    EXPECT_EQ(WkSettingsPathOf("c:\\tm\\tourman.exe"), "c:/tm/tourman.ini");
    EXPECT_EQ(WkSettingsPathOf("/opt/tm.v2/go"), "/opt/tm.v2/go.ini");
    EXPECT_EQ(WkProgramNameOf("/opt/tm.v2/go"), "go");
    EXPECT_EQ(WkSettingsPathOf("a.b.c"), "a.b.ini");
    EXPECT_EQ(WkSettingsPathOf("/x/.hidden"), "/x/.hidden.ini");
    EXPECT_EQ(WkProgramNameOf("uscfreport"), "uscfreport");
}

TEST(ToolkitFolderTest, WokudirWhenItIsAFolder) {
    ScratchFolder dir;
    std::string named = dir.folder("named");
    std::string file = dir.write("plain", "");
    dir.folder("cwd/wokusys");
    EXPECT_EQ(WkFindToolkitDir(named.c_str(), dir / "cwd", "/bin/prog"), named);
    EXPECT_EQ(WkFindToolkitDir(file.c_str(), dir / "cwd", "/bin/prog"), dir / "cwd/wokusys");
    EXPECT_EQ(WkFindToolkitDir((dir / "missing").c_str(), dir / "cwd", "/bin/prog"), dir / "cwd/wokusys");
    EXPECT_EQ(WkFindToolkitDir("", dir / "cwd", "/bin/prog"), dir / "cwd/wokusys");
}

TEST(ToolkitFolderTest, FixedPlacesInOrder) {
    ScratchFolder dir;
    dir.folder("bin/wokusys");
    dir.folder("run");
    std::string program = dir / "bin/tourman";
    EXPECT_EQ(WkFindToolkitDir(nullptr, dir / "run", program), dir / "bin/wokusys");
    dir.folder("run/wokusys");
    EXPECT_EQ(WkFindToolkitDir(nullptr, dir / "run", program), dir / "run/wokusys");
    EXPECT_EQ(WkFindToolkitDir(nullptr, "/", program), "/");
    // None there: the installation's folder, without a test.
    EXPECT_EQ(WkFindToolkitDir(nullptr, dir / "nothing", dir / "nothing/prog"), WkInstalledToolkitDir());
}

TEST(CurrentDirTest, EndsWithOneSlash) {
    ScratchFolder dir;
    std::string before = WkGetCurrentDir();
    ASSERT_EQ(before.back(), '/');
    ASSERT_TRUE(plat::SetCurrentFolder(dir.path()));
    std::string now = WkGetCurrentDir();
    EXPECT_EQ(now.back(), '/');
    EXPECT_NE(now.substr(0, now.size() - 1).back(), '/');
    EXPECT_EQ(WkIsFolder(now.c_str()), 1);
    ASSERT_TRUE(plat::SetCurrentFolder("/"));
    EXPECT_STREQ(WkGetCurrentDir(), "/");
    ASSERT_TRUE(plat::SetCurrentFolder(before));
    EXPECT_EQ(WkIsFolder((dir / "missing").c_str()), 0);
    EXPECT_EQ(WkIsFolder(dir.write("f", "").c_str()), 0);
    EXPECT_EQ(WkIsFolder(nullptr), 0);
}

// A display number that no server on this machine holds now (neither its
// socket nor its lock file is there): another run may keep an Xvfb on any
// fixed number.
std::string FreeDisplay() {
    for (int n = 77;; ++n) {
        const std::string number = std::to_string(n);
        if (access(("/tmp/.X11-unix/X" + number).c_str(), F_OK) != 0 &&
            access(("/tmp/.X" + number + "-lock").c_str(), F_OK) != 0)
            return ":" + number;
    }
}

} // namespace

// Without a desktop the program ends at once with one line saying why, and
// its main never runs.
TEST(DesktopMainTest, NoDisplayEndsWithOneLine) {
    const char* before = std::getenv("DISPLAY");
    const std::string saved = before ? before : "";
    const std::string free = FreeDisplay();
    const std::string cannot = "tourman: cannot open the X display \"" + free + "\"\n";
    const struct {
        const char* display; // null: unset
        const char* line;
    } cases[] = {
        {nullptr, "tourman: no X display (DISPLAY is not set)\n"},
        {"", "tourman: no X display (DISPLAY is not set)\n"},
        {free.c_str(), cannot.c_str()},
    };
    static bool ran;
    for (const auto& c : cases) {
        if (c.display) setenv("DISPLAY", c.display, 1);
        else unsetenv("DISPLAY");
        ran = false;
        char program[] = "tourman";
        char* argv[] = {program, nullptr};
        testing::internal::CaptureStderr();
        EXPECT_EQ(WkDesktopMain("tourman", [](int, char**) { return ran = true, 0; }, 1, argv), 1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line);
        EXPECT_FALSE(ran);
        EXPECT_EQ(tmtest::OtherThreads(), 0) << "a thread left reading the environment";
    }
    if (before) setenv("DISPLAY", saved.c_str(), 1);
    else unsetenv("DISPLAY");
}
