// What happens before the log's window is made; every case runs in a fresh
// child process, since the window is made only once per process.
#include "toolkit/core/log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

int made = 0;
void CountMake() { ++made; }

#define CHECK_OR_EXIT(cond)                                                              \
    do {                                                                                 \
        if (!(cond)) {                                                                   \
            std::fprintf(stderr, "failed: %s\n", #cond);                                 \
            std::_Exit(1);                                                               \
        }                                                                                \
    } while (0)

void Defaults() {
    const WkLogSettings& s = WkGetLogSettings();
    CHECK_OR_EXIT(s.threshold == 1 && s.lines == 10 && s.visibleRows == 3 && s.columns == 80 &&
                  s.visibleColumns == 80);
    CHECK_OR_EXIT(WkLogLines() == nullptr);
    WkLog(2, "not kept");
    CHECK_OR_EXIT(WkLogLines() == nullptr);
    WkLogWindowHooks hooks;
    hooks.make = CountMake;
    WkSetLogWindowHooks(&hooks);
    WkLog(1, "first");
    // The first kept line makes the window: ten lines, the newest last.
    CHECK_OR_EXIT(made == 1);
    CHECK_OR_EXIT(WkLogLines()->count == 10);
    CHECK_OR_EXIT(std::string(WkLogLines()->last->text) == "first");
    CHECK_OR_EXIT(std::string(WkLogLines()->first->text).empty());
    std::_Exit(0);
}

void SizesAreCappedAndThenFixed() {
    WkOpenLog(4, 1000, 99, 9999, 999, nullptr);
    const WkLogSettings& s = WkGetLogSettings();
    CHECK_OR_EXIT(s.lines == 500 && s.visibleRows == 50 && s.columns == 500 && s.visibleColumns == 200);
    CHECK_OR_EXIT(s.threshold == 4);
    CHECK_OR_EXIT(WkLogLines() != nullptr && WkLogLines()->count == 500);
    CHECK_OR_EXIT(WkLogLines()->textLength == 500);
    // Once the window stands only the file and the threshold change.
    WkOpenLog(2, 20, 5, 40, 30, nullptr);
    CHECK_OR_EXIT(s.lines == 500 && s.visibleRows == 50 && s.columns == 500 && s.visibleColumns == 200);
    CHECK_OR_EXIT(s.threshold == 2);
    std::_Exit(0);
}

void SmallSizesKeepTheCurrentOnes() {
    WkOpenLog(1, 1, 1, 0, -5, nullptr);
    const WkLogSettings& s = WkGetLogSettings();
    CHECK_OR_EXIT(s.lines == 10 && s.visibleRows == 3 && s.columns == 80 && s.visibleColumns == 80);
    WkOpenLog(1, 2, 2, 2, 2, nullptr); // too late now
    CHECK_OR_EXIT(s.lines == 10);
    std::_Exit(0);
}

TEST(LogOpenTest, DefaultsAndTheFirstKeptLine) {
    EXPECT_EXIT(Defaults(), ::testing::ExitedWithCode(0), "");
}

TEST(LogOpenTest, OpeningCapsTheSizesOnce) {
    EXPECT_EXIT(SizesAreCappedAndThenFixed(), ::testing::ExitedWithCode(0), "");
}

TEST(LogOpenTest, SizesBelowTwoKeepTheDefaults) {
    EXPECT_EXIT(SmallSizesKeepTheCurrentOnes(), ::testing::ExitedWithCode(0), "");
}

} // namespace
