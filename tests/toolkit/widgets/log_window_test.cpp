// The Log window and the Log Manager worked through their keys and buttons.
#include "input_fixture.h"

#include "toolkit/core/log.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/log_window.h"

#include <cstdio>

namespace wt {
namespace {

class LogWindow : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        WkDropLogWindow(); // what the start-up logged
        WkInstallLogWindow();
        // The keys reach the toolkit through a window that has the focus.
        main = WkCreateShell("main", 0);
        MakeLeaf(main, 50, 50);
        owned.push_back(main);
        Show(main);
    }
    WkObject* main = nullptr;
    void TearDown() override {
        WkDropLogWindow();
        WkSetLogFile(nullptr);
        WkSetLogWindowHooks(nullptr);
        WkSetGlobalKeyHook(nullptr);
        InputTest::TearDown();
    }
    void CtrlF(int n) {
        Key(std::uint16_t(0x6F + n), std::uint8_t(n == 11 ? 0x57 : 0x58), plat::kCtrl);
        WkFlushEvents();
    }
    static bool Shown(WkObject* o) { return o && (o->state & WK_STATE_SHOWN); }
    void Click(WkObject* o) {
        Move(o, o->width / 2, o->height / 2, 1);
        Move(o, o->width / 2, o->height / 2, 0);
    }
    static WkObject* Child(WkObject* form, int i) { return WkFormCurrentPage(form)->children[i]; }
};

TEST_F(LogWindow, CtrlF11MakesThenShowsThenHides) {
    CtrlF(11);
    ASSERT_NE(WkLogWindow(), nullptr);
    EXPECT_FALSE(Shown(WkLogWindow()));
    WkLog(WK_LOG_ERROR, "first line");
    CtrlF(11);
    WkObject* w = WkLogWindow();
    ASSERT_TRUE(Shown(w));
    EXPECT_LE(w->x, 4); // inside its frame, which touches the left edge
    EXPECT_EQ(w->y + w->height, WkScreenHeight());
    WkFlushEvents();
    EXPECT_EQ(WkListRecord(WkLogWindowList())->firstRow, WkGetLogSettings().lines - 3); // the newest in view
    SavePng(w, "log_window.png");
    CtrlF(11);
    EXPECT_FALSE(Shown(w));
}

TEST_F(LogWindow, TheManagerResizesTheListAndSetsTheLevel) {
    CtrlF(11);
    CtrlF(11);
    CtrlF(12);
    WkObject* dialog = WkLogManager();
    ASSERT_TRUE(Shown(dialog));
    int beeps = display->beepCount();
    CtrlF(12);
    EXPECT_EQ(display->beepCount() - beeps, 1);

    WkObject* fields = Child(Child(WkFormOf(dialog), 0), 1);
    WkEditReplaceText(Child(fields, 0), "5", 0, 0);
    WkEditReplaceText(Child(fields, 2), "3", 0, 0);
    const int before = WkLogWindow()->height;
    Click(Child(Child(WkFormOf(dialog), 1), 0));
    WkFlushEvents();
    Advance(100);
    EXPECT_EQ(WkLogManager(), nullptr);
    EXPECT_EQ(WkGetLogSettings().visibleRows, 5);
    EXPECT_EQ(WkGetLogSettings().threshold, 3);
    WkObject* w = WkLogWindow();
    EXPECT_TRUE(Shown(w));
    EXPECT_GT(w->height, before);
    EXPECT_EQ(w->y + w->height, WkScreenHeight());
}

TEST_F(LogWindow, LongLinesAreCutInTheWindowOnly) {
    const std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/log_window.log";
    WkSetLogFile(std::fopen(path.c_str(), "wb"));
    const std::string line(100, 'x');
    WkLog(WK_LOG_ERROR, "%s", line.c_str());
    WkObject* list = WkLogWindowList();
    ASSERT_NE(list, nullptr);
    const int count = WkListGetCount(list);
    EXPECT_EQ(count, WkGetLogSettings().lines);
    EXPECT_EQ(std::string(WkListGetItem(list, count - 1)->text), line.substr(0, 80));
    WkSetLogFile(nullptr);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), line + "\r\n");
}

} // namespace
} // namespace wt
