// The tree: the node model (siblings for non-expandable parents, the
// replacement of a removed selection, collapsing over the selection), the
// size rule, keys and first-letter search with injected input, the delayed
// select callback, renaming and deleting, nodes and trees that go away
// while timeouts and editing are running, and the picture of a tree.
#include "toolkit/widgets/tree.h"

#include "toolkit/core/image.h"
#include "toolkit/core/memory.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_scroll.h"
#include "input_fixture.h"

#include <map>

namespace {

std::vector<std::string> heard;
int answer = 0;

std::string Text(WkTreeNode* n) { return n ? WkEditGetText(n->label) : "-"; }
void Heard(WkTreeNode* n, void* what) { heard.push_back(static_cast<const char*>(what) + Text(n)); }
int Rename(WkTreeNode* n, const char* old, void*, int) {
    heard.push_back("rename " + std::string(old) + ">" + Text(n));
    return answer;
}
void Popup(WkTreeNode* n, int x, int y, void*) {
    heard.push_back("popup " + Text(n) + " " + std::to_string(x) + "," + std::to_string(y));
}
int Erase(WkTreeNode* n, void*) {
    heard.push_back("delete " + Text(n));
    return answer;
}

class TreeTest : public wt::InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        heard.clear();
        answer = 0;
    }
    // R (a, b (b1, b2), c), S; shown with R expanded.
    void Build() {
        shell = Window();
        tree = WkCreateTree(shell, 0, 200, 200, 2);
        for (const char* label : {"R", "a", "b", "b1", "b2", "c", "S"}) {
            WkTreeNode* parent = nullptr;
            if (label[0] == 'b' && label[1]) parent = n["b"];
            else if (label[0] != 'R' && label[0] != 'S') parent = n["R"];
            n[label] = WkTreeAddNode(tree, parent, 0, label[0] == 'R' || label == std::string("b"), label);
        }
        WkTreeSetSelectCallback(tree, Heard, const_cast<char*>("select "));
        WkTreeSetRemoveCallback(tree, Heard, const_cast<char*>("remove "));
        WkTreeExpandNode(n["R"], 0);
        Show(shell);
    }
    void Type(char c) { testform::TypeKey(*display, std::uint16_t(c & ~0x20), 0x2D, 0, std::uint8_t(c)); }
    WkTreeData* T() { return WkTreeRecord(tree); }
    WkObject* shell = nullptr;
    WkObject* tree = nullptr;
    std::map<std::string, WkTreeNode*> n;
};

TEST_F(TreeTest, NodeModel) {
    Build();
    EXPECT_EQ(Text(WkTreeGetSelected(tree)), "R"); // the first root, without a callback
    EXPECT_EQ(WkTreeGetParent(WkTreeAddNode(tree, n["a"], 0, 0, "a2")), n["R"]);
    EXPECT_EQ(n["c"]->next->next, nullptr);
    WkTreeSelectNode(n["b2"], 1);
    WkTreeCollapseNode(n["R"], 1); // over the selection: the ancestor is selected
    EXPECT_EQ(Text(WkTreeGetSelected(tree)), "R");
    WkTreeSelectNode(n["b2"], 1); // expands the ancestors again
    EXPECT_TRUE(n["R"]->state & n["b"]->state & WK_TREE_EXPANDED);
    WkTreeRemoveNode(n["b2"], 1); // the last child: the previous sibling
    WkTreeSelectNode(n["b1"], 0);
    WkTreeRemoveNode(n["b"], 1); // a subtree holding it: one replacement, told once
    char* path = WkTreeNodePath(n["c"], '\\', nullptr, 0);
    EXPECT_STREQ(path, "R\\c");
    WkFree(path);
    WkTreeRemoveNode(n["R"], 0);
    WkTreeRemoveNode(n["S"], 1);
    EXPECT_EQ(WkTreeGetSelected(tree), nullptr);
    EXPECT_EQ(WkTreeGetFirstRoot(tree), nullptr);
    EXPECT_EQ(heard, (std::vector<std::string>{"select b2", "select R", "select b2", "remove b2", "select b1",
                                               "remove b1", "remove b", "select c", "select S", "remove S"}));
}

TEST_F(TreeTest, SizeRule) {
    struct Case {
        int width, height, wantWidth, wantHeight;
    } cases[] = {{20, 2000, 60, 60}, {30, 29, 30, 60}, {1025, 768, 60, 768}, {200, 100, 200, 100}};
    Stop();
    Start("", 1024, 768);
    WkInitFormClass();
    for (const Case& c : cases) {
        WkObject* window = Window();
        const WkFormScroll* view = WkFormRecord(WkCreateTree(window, 0, c.width, c.height, 0))->scroll;
        EXPECT_EQ(std::pair(view->viewWidth, view->viewHeight), std::pair(c.wantWidth, c.wantHeight)) << c.width;
    }
}

TEST_F(TreeTest, KeysMoveAndExpand) {
    Build();
    WkTreeCollapseNode(n["R"], 0);
    struct Step {
        std::uint16_t vk;
        std::uint8_t scan;
        const char* selected;
        bool rExpanded, bExpanded;
    } steps[] = {
        {0x27, 0x4D, "R", true, false},  {0x27, 0x4D, "a", true, false},  {0x28, 0x50, "b", true, false},
        {0x27, 0x4D, "b", true, true},   {0x28, 0x50, "b1", true, true},  {0x28, 0x50, "b2", true, true},
        {0x28, 0x50, "c", true, true},   {0x28, 0x50, "S", true, true},   {0x26, 0x48, "c", true, true},
        {0x26, 0x48, "b2", true, true},  {0x25, 0x4B, "b", true, true},   {0x25, 0x4B, "b", true, false},
        {0x26, 0x48, "a", true, false},  {0x26, 0x48, "R", true, false},  {0x25, 0x4B, "R", false, false},
    };
    for (const Step& s : steps) {
        Key(s.vk, s.scan);
        EXPECT_EQ(Text(WkTreeGetSelected(tree)), s.selected) << s.selected;
        EXPECT_EQ(bool(n["R"]->state & WK_TREE_EXPANDED), s.rExpanded) << s.selected;
        EXPECT_EQ(bool(n["b"]->state & WK_TREE_EXPANDED), s.bExpanded) << s.selected;
    }
    EXPECT_TRUE(heard.empty()); // moves are told after the delay
    Advance(800);
    EXPECT_EQ(heard, (std::vector<std::string>{"select R"}));
}

TEST_F(TreeTest, OneSelectCallbackForFastMoves) {
    Build();
    for (int i = 0; i < 3; ++i) {
        Key(0x28, 0x50);
        Advance(200);
    }
    EXPECT_TRUE(heard.empty());
    Advance(600);
    EXPECT_EQ(heard, (std::vector<std::string>{"select c"}));
}

TEST_F(TreeTest, LetterSearch) {
    Build();
    WkTreeSetLabel(n["c"], "Bc");
    WkTreeSetLabel(n["S"], "bS");
    WkTreeExpandNode(n["b"], 0);
    // Children of the expanded node first, then following siblings upward.
    for (auto [c, want] : {std::pair{'b', "b"}, {'B', "b1"}, {'b', "b2"}, {'b', "Bc"}, {'B', "bS"}, {'b', "bS"}}) {
        Type(c);
        EXPECT_EQ(Text(WkTreeGetSelected(tree)), want) << c;
    }
    EXPECT_EQ(heard.size(), 5u);
    // An accented letter finds its other case too: Ä finds "äc", ä "Äc".
    for (auto [label, typed] : {std::pair{"\xE4" "c", '\xC4'}, {"\xC4" "c", '\xE4'}}) {
        WkTreeSetLabel(n["c"], label);
        WkTreeSelectNode(n["R"], 1);
        Type(typed);
        EXPECT_EQ(Text(WkTreeGetSelected(tree)), label);
    }
}

TEST_F(TreeTest, RenameAndDelete) {
    Build();
    WkTreeSetRenameCallback(tree, Rename, nullptr);
    WkTreeSetDeleteCallback(tree, Erase, nullptr);
    struct Case {
        std::uint16_t vk;
        std::uint8_t scan;
        int answer;
        const char* label;
    } cases[] = {{0x0D, 0x1C, 0, "R"}, {0x1B, 0x01, 1, "R"}, {0x0D, 0x1C, 1, "Root"}};
    for (const Case& c : cases) {
        answer = c.answer;
        Button(n["R"]->label, 2, 2, true); // a press on the selected label: editing after 500 ms
        Button(n["R"]->label, 2, 2, false);
        Advance(300);
        EXPECT_EQ(T()->editing, nullptr);
        Advance(300);
        ASSERT_EQ(T()->editing, n["R"]);
        WkEditReplaceText(n["R"]->label, "Root", 0, 0);
        Key(c.vk, c.scan);
        EXPECT_EQ(T()->editing, nullptr);
        EXPECT_EQ(Text(n["R"]), c.label);
    }
    answer = 0;
    Key(0x2E, 0x53);
    EXPECT_EQ(WkTreeGetFirstRoot(tree), n["R"]);
    answer = 1;
    Key(0x2E, 0x53);
    EXPECT_EQ(Text(WkTreeGetFirstRoot(tree)), "S");
    EXPECT_EQ(heard, (std::vector<std::string>{"rename R>Root", "rename R>Root", "delete Root", "delete Root",
                                               "remove a", "remove b1", "remove b2", "remove b", "remove c",
                                               "remove Root", "select S"}));
}

TEST_F(TreeTest, PointerSelectsTogglesAndDoubleClicks) {
    Build();
    Button(n["b"]->label, 2, 2, true);
    Button(n["b"]->label, 2, 2, false);
    Button(n["b"]->label, 2, 2, true); // within 250 ms: toggles
    Button(n["b"]->label, 2, 2, false);
    EXPECT_TRUE(n["b"]->state & WK_TREE_EXPANDED);
    Advance(600);
    EXPECT_EQ(T()->editing, nullptr); // no rename callback: no editing
    Button(n["b"]->expanderArea, 10, 5, true);
    Button(n["b"]->expanderArea, 10, 5, false);
    EXPECT_FALSE(n["b"]->state & WK_TREE_EXPANDED);
    Button(n["c"]->imageArea, 10, 5, true);
    Button(n["c"]->imageArea, 10, 5, false);
    WkTreeSetPopupCallback(tree, Popup, nullptr); // at the press, in the window
    int x, y;
    ScreenPoint(n["a"]->label, 3, 4, &x, &y);
    display->injectButton(x, y, plat::kRightButton, true);
    WkFlushEvents();
    WkObjectGetAbsolutePosition(n["a"]->label, &x, &y);
    const std::string where = std::to_string(x + 3) + "," + std::to_string(y + 4);
    EXPECT_EQ(heard, (std::vector<std::string>{"select b", "select c", "popup a " + where}));
}

// Nodes that go while something of theirs is running; the sanitizers watch.
TEST_F(TreeTest, GoingWhileBusy) {
    for (int what = 0; what < 4; ++what) {
        Build();
        WkTreeSetRenameCallback(tree, Rename, nullptr);
        if (what == 0) { // pressed, double-click window open
            Button(n["a"]->label, 2, 2, true);
            Button(n["a"]->label, 2, 2, false);
            EXPECT_EQ(T()->pressed, n["a"]);
            WkTreeRemoveNode(n["a"], 1);
        } else if (what == 1) { // moved to by a key, its callback pending
            Key(0x28, 0x50);
            EXPECT_EQ(T()->pendingSelect, n["a"]);
            WkTreeRemoveNode(n["R"], 1);
        } else {
            WkTreeEditLabel(n["b1"]);
            EXPECT_EQ(T()->editing, n["b1"]);
            if (what == 2) WkTreeRemoveNode(n["b"], 0);
            else WkObjectDestroy(tree);
        }
        if (what != 3) {
            EXPECT_EQ(T()->pressed, nullptr);
        }
        Advance(1000);
        Stop(), Start(), WkInitFormClass();
        heard.clear();
    }
}

TEST_F(TreeTest, PictureOfARenamedNode) {
    Build();
    WkImage* folder = WkCreateImage(16, 14, 24);
    WkImage* open = WkCreateImage(16, 14, 24);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x) WkImageSetPixelRGB(folder, x, y, 230, 190, 60), WkImageSetPixelRGB(open, x, y, 250, 220, 120);
    WkTreeSetClassImages(tree, 0, folder, open, nullptr);
    WkTreeExpandNode(n["b"], 0);
    WkTreeSelectNode(n["b1"], 0);
    WkTreeEditLabel(n["b1"]);
    WkEditReplaceText(n["b1"]->label, "renamed", 0, 0);
    Advance(10);
    EXPECT_EQ(At(n["b"]->imageArea, 10, 7), plat::MakeRgb(250, 220, 120));
    EXPECT_EQ(At(n["b1"]->imageArea, 10, 7), plat::MakeRgb(230, 190, 60));
    SavePng(shell, "tree.png");
    ExpectPicture(shell, "tree.png");
    WkObjectDestroy(shell);
    owned.clear();
    WkFreeImage(folder);
    WkFreeImage(open);
}

TEST_F(TreeTest, SelectedNodeIsScrolledIntoView) {
    Build();
    for (int i = 0; i < 30; ++i) WkTreeAddNode(tree, nullptr, 0, 0, "x");
    WkTreeSelectNode(T()->lastRoot, 1);
    EXPECT_GT(WkFormGetScrollY(tree), 0);
    EXPECT_EQ(WkFormGetVerticalScrollBar(tree), WkTreeGetVerticalScrollBar(tree));
}

} // namespace
