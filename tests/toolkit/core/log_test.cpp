#include "toolkit/core/log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Queue() {
    std::vector<std::string> out;
    if (WkItemList* lines = WkLogLines())
        for (WkItemNode* n = lines->first; n; n = n->next) out.push_back(n->text);
    return out;
}

std::string Newest() {
    auto q = Queue();
    return q.empty() ? "" : q.back();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void SetThreshold(int level) {
    const WkLogSettings& s = WkGetLogSettings();
    WkApplyLogManager(s.visibleRows, s.visibleColumns, level);
}

void FixedTime(std::tm* now) {
    *now = std::tm{};
    now->tm_year = 126;
    now->tm_mon = 11;
    now->tm_mday = 8;
    now->tm_hour = 9;
    now->tm_min = 5;
    now->tm_sec = 7;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetThreshold(1);
        WkSetLogMask(0);
        WkSetLogTimeFormat(nullptr);
        WkSetLogTimeSource(FixedTime);
        WkLog(1, "-"); // the queue exists from here on
    }
    void TearDown() override {
        WkSetLogFile(nullptr);
        WkSetLogTimeFormat(nullptr);
        WkSetLogTimeSource(nullptr);
        SetThreshold(1);
    }
};

TEST_F(LogTest, LevelsAtOrBelowTheThresholdAreKept) {
    WkLog(1, "kept %d", 1);
    EXPECT_EQ(Newest(), "kept 1");
    WkLog(2, "dropped");
    EXPECT_EQ(Newest(), "kept 1");
    WkLog(0, "also kept");
    EXPECT_EQ(Newest(), "also kept");

    WkSetLogLevel(5);
    WkLog(5, "five");
    EXPECT_EQ(Newest(), "five");
    WkSetLogLevel(100); // taken, and from now on final
    WkSetLogLevel(2);
    WkOpenLog(2, 0, 0, 0, 0, nullptr);
    WkLog(99, "still at 100");
    EXPECT_EQ(Newest(), "still at 100");
    SetThreshold(-1); // the manager sets it whatever it was; negative is final too
    WkSetLogLevel(3);
    WkLog(0, "nothing at -1");
    EXPECT_EQ(Newest(), "still at 100");
}

TEST_F(LogTest, MaskedLinesNeedACategoryInTheMask) {
    WkLogMasked(1, 0xFFFFFFFFu, "no mask yet");
    EXPECT_EQ(Newest(), "-");
    WkSetLogMask(0x4);
    WkAddLogMask(0x10);
    EXPECT_EQ(WkGetLogMask(), 0x14u);
    WkLogMasked(1, 0x6, "shares 0x4");
    EXPECT_EQ(Newest(), "shares 0x4");
    WkLogMasked(1, 0x3, "shares nothing");
    WkLogMasked(2, 0x4, "level too high");
    EXPECT_EQ(Newest(), "shares 0x4");
    WkRemoveLogMask(0x4);
    EXPECT_EQ(WkGetLogMask(), 0x10u);
    WkLogMasked(1, 0x4, "removed");
    EXPECT_EQ(Newest(), "shares 0x4");
}

TEST_F(LogTest, TheTimePrefixStandsRightBeforeTheMessage) {
    WkSetLogTimeFormat("%H:%M:%S ");
    WkLog(1, "started");
    EXPECT_EQ(Newest(), "09:05:07 started");
    WkSetLogTimeFormat("[%d.%m.%Y]");
    WkLog(1, "x");
    EXPECT_EQ(Newest(), "[08.12.2026]x");
    WkSetLogTimeFormat(nullptr);
    WkLog(1, "bare");
    EXPECT_EQ(Newest(), "bare");
    // A prefix that would pass its 64 bytes is left out; the message is not lost.
    WkSetLogTimeFormat("%Y-%m-%d %Y-%m-%d %Y-%m-%d %Y-%m-%d %Y-%m-%d %Y-%m-%d ");
    WkLog(1, "without prefix");
    EXPECT_EQ(Newest(), "without prefix");
}

TEST_F(LogTest, TheQueueKeepsTheLastLinesCutToTheColumns) {
    const WkLogSettings& s = WkGetLogSettings();
    ASSERT_EQ(s.lines, 10);
    for (int i = 1; i <= 10; ++i) WkLog(1, "line %d", i);
    auto q = Queue();
    ASSERT_EQ(q.size(), 10u);
    EXPECT_EQ(q.front(), "line 1");
    WkLog(1, "line 11");
    q = Queue();
    ASSERT_EQ(q.size(), 10u);
    EXPECT_EQ(q.front(), "line 2");
    EXPECT_EQ(q.back(), "line 11");

    std::string longLine(s.columns + 40, 'w');
    WkLog(1, "%s", longLine.c_str());
    EXPECT_EQ(Newest(), longLine.substr(0, std::size_t(s.columns)));
}

TEST_F(LogTest, TheFileGetsWholeLinesWithCrLf) {
    std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/log_file.txt";
    WkOpenLog(1, 0, 0, 0, 0, path.c_str());
    WkSetLogTimeFormat("%M:%S ");
    std::string longLine(5000, 'x');
    longLine += "\xBD end";
    WkLog(1, "%s", longLine.c_str());
    WkLog(1, "two\nparts");
    WkLog(3, "not kept");
    EXPECT_EQ(ReadFile(path), "05:07 " + longLine + "\r\n05:07 two\r\nparts\r\n");

    // Reopening truncates.
    WkOpenLog(1, 0, 0, 0, 0, path.c_str());
    WkLog(1, "fresh");
    EXPECT_EQ(ReadFile(path), "05:07 fresh\r\n");

    // Handing over the file already held keeps it open.
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    WkSetLogFile(f);
    WkSetLogFile(f);
    WkLog(1, "still open");
    WkSetLogFile(nullptr);
    EXPECT_EQ(ReadFile(path), "05:07 still open\r\n");
}

TEST_F(LogTest, AFileThatCannotBeOpenedLeavesTheLogWithoutOne) {
    std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/no/such/folder/log.txt";
    WkOpenLog(1, 0, 0, 0, 0, path.c_str());
    WkLog(1, "only in the window");
    EXPECT_EQ(Newest(), "only in the window");
}

TEST_F(LogTest, TheManagerTakesSizesWithinTheLogsOwn) {
    WkLogSettings before = WkGetLogSettings();
    WkApplyLogManager(before.lines + 1, before.columns + 1, 7);
    EXPECT_EQ(WkGetLogSettings().visibleRows, before.visibleRows);
    EXPECT_EQ(WkGetLogSettings().visibleColumns, before.visibleColumns);
    EXPECT_EQ(WkGetLogSettings().threshold, 7);
    WkApplyLogManager(before.lines, 20, 1);
    EXPECT_EQ(WkGetLogSettings().visibleRows, before.lines);
    EXPECT_EQ(WkGetLogSettings().visibleColumns, 20);
    WkApplyLogManager(-3, 0, 1);
    EXPECT_EQ(WkGetLogSettings().visibleRows, 2);
    EXPECT_EQ(WkGetLogSettings().visibleColumns, 2);
    WkApplyLogManager(before.visibleRows, before.visibleColumns, 1);
}

} // namespace
