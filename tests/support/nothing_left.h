// The check that closes every offscreen test of the toolkit and the
// programs: no timeout pending and no window shown when the test ends. One
// left behind would fire into, or stand over, the next test of the same
// program, which would then fail or crash far from the fault; this check
// fails the test that left it, and clears what it left.
#pragma once

#include "toolkit/core/native_windows.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"

#include <gtest/gtest.h>

namespace tmtest {

inline void ExpectNothingLeftBehind() {
    EXPECT_EQ(WkPendingTimeouts(), 0) << "timeouts left pending by the test";
    WkDropTimeouts();
    for (int left = WkWindowStackCount(); left > 0; left = WkWindowStackCount()) {
        WkObject* window = WkWindowStackEntry(left - 1);
        char title[256] = "";
        WkShellGetTitle(window, title);
        ADD_FAILURE() << "a window left shown by the test: \"" << title << "\"";
        WkShellDestroy(window);
        if (WkWindowStackCount() >= left) break; // not ours to take down
    }
}

} // namespace tmtest
