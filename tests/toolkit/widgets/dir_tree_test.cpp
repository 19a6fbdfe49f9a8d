// The folder tree on a scratch folder tree: reaching folders by path (case,
// whole-name components, a path of another system), a folder removed behind
// the tree's back, the numbered new folders, renaming and deleting with
// their refusals, and an unreadable folder.
#include "toolkit/widgets/dir_tree.h"

#include "toolkit/core/log.h"
#include "toolkit/core/colors.h"
#include "toolkit/core/image.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/tree.h"
#include "input_fixture.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> reported;
void Report(WkObject*, const char* path, void*, int) { reported.push_back(path); }

class DirTreeTest : public wt::InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        reported.clear();
        top = std::string(TM_TEST_OUTPUT_DIR) + "/dirtree";
        fs::remove_all(top);
        for (const char* f : {"Data", "data", "ab/x", "Mixed/Inner", ".hidden", "full/inner"})
            fs::create_directories(top + "/" + f);
        logPath = top + ".log";
        WkSetLogFile(std::fopen(logPath.c_str(), "wb"));
        WkSetLogLevel(1);
        shell = Window();
        tree = WkCreateDirTree(shell, top.c_str(), 0, 300, 300, 7);
        WkDirTreeSetCallback(tree, Report, nullptr);
        Show(shell);
    }
    void TearDown() override {
        WkSetLogFile(nullptr);
        InputTest::TearDown();
    }
    std::string Log() {
        std::ifstream in(logPath, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    WkTreeNode* Go(const std::string& path) {
        WkDirTreeSetPath(tree, path.c_str(), 1);
        return WkTreeGetSelected(tree);
    }
    std::string Path() { return WkDirTreeGetPath(tree); }
    void Rename(WkTreeNode* node, const char* name) {
        WkTreeEditLabel(node);
        WkEditReplaceText(node->label, name, 0, 0);
        Key(0x0D, 0x1C);
    }
    std::string top, logPath;
    WkObject *shell = nullptr, *tree = nullptr;
};

TEST_F(DirTreeTest, PathsReachWholeFoldersExactCaseFirst) {
    struct Case {
        std::string path, reached;
    } cases[] = {
        {top + "/mixed//INNER/", top + "/Mixed/Inner"}, {top + "/data", top + "/data"}, {top + "/Data", top + "/Data"},
        {top + "/abc/x", top}, {top + "/ab/x", top + "/ab/x"}, {top + "/.hidden", top + "/.hidden"},
    };
    for (const Case& c : cases) {
        Go(c.path);
        EXPECT_EQ(Path(), c.reached) << c.path;
        EXPECT_EQ(reported.back(), c.reached);
    }
    WkTreeNode* before = WkTreeGetSelected(tree);
    EXPECT_EQ(Go("C:\\tourman\\data"), before); // no root of that kind: nothing moves
    EXPECT_EQ(Path(), top + "/.hidden");
}

TEST_F(DirTreeTest, FolderRemovedOutsideGivesTheSelectionBack) {
    WkTreeNode* x = Go(top + "/ab/x");
    Go(top + "/Data");
    fs::remove(top + "/ab/x");
    WkTreeSelectNode(x, 1);
    EXPECT_EQ(Path(), top + "/Data");
    EXPECT_EQ(WkEditGetText(WkTreeGetSelected(tree)->label), std::string("Data"));
}

TEST_F(DirTreeTest, NewFoldersAreNumbered) {
    WkTreeNode* data = Go(top + "/data");
    for (int i = 0; i < 2; ++i) fs::create_directory(top + "/data/NewDir" + std::to_string(i));
    WkDirTreeNewFolder(tree, data);
    EXPECT_TRUE(fs::is_directory(top + "/data/NewDir2"));
    ASSERT_NE(WkTreeRecord(tree)->editing, nullptr);
    EXPECT_STREQ(WkEditGetText(WkTreeRecord(tree)->editing->label), "NewDir2");
    Key(0x1B, 0x01);
    for (int i = 3; i < 100; ++i) fs::create_directory(top + "/data/NewDir" + std::to_string(i));
    WkDirTreeNewFolder(tree, data);
    EXPECT_FALSE(fs::exists(top + "/data/NewDir100"));
    int children = 0;
    for (WkTreeNode* c = WkTreeGetFirstChild(data); c; c = c->next) ++children;
    EXPECT_EQ(children, 100);
}

TEST_F(DirTreeTest, RenameRefusesWhatWouldLoseAFolder) {
    WkTreeNode* mixed = Go(top + "/Mixed");
    std::ofstream(top + "/Mixed/Inner/keep.txt") << "x";
    struct Case {
        const char* name;
        const char* label; // after editing
        const char* folder; // where the contents are now
        int beeps;
    } cases[] = {{"Mixed", "Mixed", "Mixed", 0},
                 {"data", "Mixed", "Mixed", 1},
                 {"a/b", "Mixed", "Mixed", 1},
                 {"Renamed", "Renamed", "Renamed", 0}};
    for (const Case& c : cases) {
        const int before = display->beepCount();
        Rename(mixed, c.name);
        EXPECT_STREQ(WkEditGetText(mixed->label), c.label) << c.name;
        EXPECT_TRUE(fs::exists(top + "/" + c.folder + "/Inner/keep.txt")) << c.name;
        EXPECT_EQ(display->beepCount() - before, c.beeps) << c.name;
    }
    EXPECT_TRUE(fs::is_empty(top + "/data"));
    EXPECT_NE(Log().find("Failed to rename directory " + top + "/Mixed to " + top + "/data Error: File exists"),
              std::string::npos);
    EXPECT_EQ(Path(), top + "/Renamed");
}

TEST_F(DirTreeTest, DeleteTakesEmptyFoldersOnly) {
    WkTreeNode* full = Go(top + "/full");
    WkTreeExpandNode(full, 1);
    WkDirTreeDeleteFolder(tree, full, 0);
    EXPECT_NE(Log().find("Failed to remove directory " + top + "/full.Error: Directory not empty"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(top + "/full/inner"));
    EXPECT_EQ(WkTreeGetParent(WkTreeGetFirstChild(full)), full);
    WkDirTreeDeleteFolder(tree, WkTreeGetFirstChild(full), 0);
    EXPECT_FALSE(fs::exists(top + "/full/inner"));
    EXPECT_EQ(WkTreeGetFirstChild(full), nullptr);
}

TEST_F(DirTreeTest, UnreadableFolderHasNoChildren) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    fs::permissions(top + "/full", fs::perms::none);
    WkTreeNode* full = Go(top + "/full");
    WkTreeExpandNode(full, 1);
    EXPECT_EQ(Path(), top + "/full");
    EXPECT_EQ(WkTreeGetFirstChild(full), nullptr);
    fs::permissions(top + "/full", fs::perms::owner_all);
    EXPECT_EQ(Log(), "");
}

// A folder opened, by call or by its expander, is the selected one as well as the
// current one, and is read anew: a folder made since it was last read
// shows. The last case opens the last folder of its parent.
TEST_F(DirTreeTest, AnOpenedFolderIsSelectedAndReadAnew) {
    WkTreeNode* root = Go(top);
    WkTreeExpandNode(root, 1);
    const struct {
        const char* folder;
        const char* made; // after the first opening
        int how;          // 0 expand call, 1 the expander clicked
    } cases[] = {{"ab", "y", 0}, {"Data", "new", 1}, {"full", "second", 0}};
    for (const auto& c : cases) {
        WkTreeSelectNode(root, 1);
        WkTreeNode* node = WkTreeGetFirstChild(root);
        while (node && WkEditGetText(node->label) != std::string(c.folder)) node = node->next;
        ASSERT_NE(node, nullptr) << c.folder;
        for (int opening = 0; opening < 2; ++opening) {
            if (opening == 1) {
                fs::create_directory(top + "/" + c.folder + "/" + c.made);
                WkTreeCollapseNode(node, 1);
            }
            if (c.how == 0) {
                WkTreeExpandNode(node, 1);
            } else {
                Button(node->expanderArea, 10, 5, true);
                Button(node->expanderArea, 10, 5, false);
            }
            EXPECT_EQ(WkTreeGetSelected(tree), node) << c.folder;
            EXPECT_EQ(Path(), top + "/" + c.folder) << c.folder;
            EXPECT_EQ(reported.back(), top + "/" + c.folder) << c.folder;
            bool shown = false;
            for (WkTreeNode* n = WkTreeGetFirstChild(node); n; n = n->next)
                shown = shown || WkEditGetText(n->label) == std::string(c.made);
            EXPECT_EQ(shown, opening == 1) << c.folder;
        }
    }
}

// The popup menu stands where the right button was pressed, on the
// screen; in a tree that offers no renaming, its "New directory ..." makes a
// folder that is selected and named at once by the keys typed.
TEST_F(DirTreeTest, TheMenuOpensAtThePointerAndNamesItsNewFolder) {
    WkObject* window = Window();
    WkObject* only = WkCreateDirTree(window, top.c_str(), 0, 200, 200, WK_DIRTREE_NEW);
    Show(window);
    WkDirTreeSetPath(only, (top + "/ab").c_str(), 1);
    WkTreeNode* ab = WkTreeGetSelected(only);
    WkNativeSetGeometry(window, 150, 90, window->width, window->height);
    WkFlushEvents();
    int x, y;
    ScreenPoint(ab->label, 6, 4, &x, &y);
    display->injectPointerMove(x, y);
    display->injectButton(x, y, plat::kRightButton, true);
    display->injectButton(x, y, plat::kRightButton, false);
    WkFlushEvents();
    WkObject* menu = WkDirTreeRecord(only)->popupMenu;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(WkObjectGetShell(menu)->x * 1000 + WkObjectGetShell(menu)->y, x * 1000 + y);
    Button(menu, 20, WkMenuRecord(menu)->items[0]->offset + 6, true);
    Button(menu, 20, WkMenuRecord(menu)->items[0]->offset + 6, false);
    WkTreeNode* made = WkTreeGetSelected(only);
    EXPECT_EQ(std::string(WkDirTreeGetPath(only)), top + "/ab/NewDir0");
    EXPECT_TRUE(made->label->state & WK_STATE_FOCUS);
    for (char c : std::string("round1"))
        testform::TypeKey(*display, std::uint16_t(std::toupper(c)), 0x13, 0, std::uint8_t(c));
    Key(0x0D, 0x1C);
    EXPECT_TRUE(fs::is_directory(top + "/ab/round1") && !fs::exists(top + "/ab/NewDir0"));
    EXPECT_EQ(std::string(WkDirTreeGetPath(only)), top + "/ab/round1");
}

} // namespace

TEST_F(DirTreeTest, MenuOrderAndLooks) {
    WkDirTreeData* d = WkDirTreeRecord(tree);
    WkDirTreeShowMenu(Go(top + "/data"), 10, 10, d);
    ASSERT_NE(d->popupMenu, nullptr);
    WkMenuData* m = WkMenuRecord(d->popupMenu);
    std::vector<std::string> labels;
    for (int i = 0; i < m->count; ++i) labels.push_back(m->items[i]->label);
    EXPECT_EQ(labels, (std::vector<std::string>{"New directory ...", "Rename ...", "Delete directory"}));
    WkMenuPopDown(d->popupMenu);
    int r, g, b, percent = 0;
    WkColorToRGB(WkTreeRecord(tree)->selectedText, &r, &g, &b);
    EXPECT_EQ(r + g + b, 3 * 255); // white on the highlight
    WkColorToRGB(WkTreeRecord(tree)->selectedBackground, &r, &g, &b);
    EXPECT_LT(r + g + b, 3 * 120); // dark enough for white to read on it
    EXPECT_TRUE(WkObjectInheritsBackground(tree, &percent));
    EXPECT_EQ(percent, 100);
    WkImage* folder = WkTreeRecord(tree)->closedImages[WK_DIRTREE_FOLDER];
    if (folder) {
        EXPECT_NE(folder->mask, nullptr); // the corner colour is the backdrop
    }
}
