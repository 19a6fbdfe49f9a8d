#include "toolkit/core/timeouts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

WkTimeVal virtualNow;
std::string ran;

void VirtualClock(WkTimeVal* now) { *now = virtualNow; }
void At(long seconds, long milliseconds) { virtualNow = WkTimeVal{seconds, milliseconds * 1000}; }

void Record(int, void* data) { ran += static_cast<const char*>(data); }

class TimeoutsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WkSetClock(VirtualClock);
        At(1000, 0);
        WkFreeTimeouts();
        ran.clear();
    }
    void TearDown() override {
        WkFreeTimeouts();
        WkSetClock(nullptr);
    }
    // One 50 ms tick at the virtual time.
    static void Tick() {
        WkTimeVal t;
        if (WkTimeoutIsDue(&t)) WkRunTimeoutsUntil(t);
    }
};

TEST_F(TimeoutsTest, RunWhenDueInOrderOfDueTime) {
    WkAddTimeout(300, Record, (void*)"c");
    WkAddTimeout(100, Record, (void*)"a");
    WkAddTimeout(200, Record, (void*)"b");
    At(1000, 99);
    Tick();
    EXPECT_EQ(ran, "");
    At(1000, 100);
    Tick();
    EXPECT_EQ(ran, "a");
    At(1000, 400); // a late tick runs all that fell due, in order
    WkRunTimeouts();
    EXPECT_EQ(ran, "abc");
    EXPECT_EQ(WkTimeoutIsDue(nullptr), 0);
}

TEST_F(TimeoutsTest, EqualDueTimesRunNewestFirstAndZeroRunsAtTheNextTick) {
    WkAddTimeout(50, Record, (void*)"1");
    WkAddTimeout(50, Record, (void*)"2");
    WkAddTimeout(0, Record, (void*)"0");
    Tick();
    EXPECT_EQ(ran, "0");
    At(1000, 50);
    Tick();
    EXPECT_EQ(ran, "021");
}

TEST_F(TimeoutsTest, MillisecondsCarryIntoTheSeconds) {
    At(10, 600);
    WkAddTimeout(1500, Record, (void*)"x");
    At(12, 99);
    Tick();
    EXPECT_EQ(ran, "");
    At(12, 100);
    Tick();
    EXPECT_EQ(ran, "x");
}

TEST_F(TimeoutsTest, RemoveRestartAndClearWorkOnIdVariables) {
    int id = WkAddTimeout(100, Record, (void*)"a");
    int other = WkAddTimeout(100, Record, (void*)"b");
    EXPECT_NE(id, other);
    WkRemoveTimeout(id);
    WkRemoveTimeout(123456); // not pending: ignored
    int before = id;
    WkRestartTimeout(&id, 200, Record, (void*)"c"); // removes nothing pending, schedules
    EXPECT_NE(id, before);
    int restarted = id;
    WkRestartTimeout(&id, 300, Record, (void*)"d"); // replaces c
    EXPECT_NE(id, restarted);
    At(1001, 0);
    Tick();
    EXPECT_EQ(ran, "bd");

    // The variable holds an id that already ran: only a new one is scheduled.
    WkRestartTimeout(&id, 10, Record, (void*)"e");
    At(1001, 10);
    Tick();
    EXPECT_EQ(ran, "bde");

    int none = 0;
    WkClearTimeout(&none);
    EXPECT_EQ(none, 0);
    int pending = WkAddTimeout(10, Record, (void*)"f");
    WkClearTimeout(&pending);
    EXPECT_EQ(pending, 0);
    At(1002, 0);
    Tick();
    EXPECT_EQ(ran, "bde");
}

TEST_F(TimeoutsTest, SettingTheClockBackDoesNotDelayPendingTimeouts) {
    WkAddTimeout(500, Record, (void*)"a");
    At(1000, 200);
    Tick(); // the last check is now at 1000 s
    At(1000 - 3600, 300); // an hour back
    Tick();
    EXPECT_EQ(ran, "");
    At(1000 - 3600, 500);
    Tick();
    EXPECT_EQ(ran, "a");
}

TEST_F(TimeoutsTest, ATimeoutScheduledAfterTheClockWentBackWhileIdleWaitsItsDelay) {
    WkAddTimeout(0, Record, (void*)"a");
    Tick(); // last check at 1000 s, then nothing pending
    ASSERT_EQ(ran, "a");
    At(1000 - 3600, 0);
    WkAddTimeout(500, Record, (void*)"b");
    At(1000 - 3600, 100);
    Tick();
    EXPECT_EQ(ran, "a");
    At(1000 - 3600, 500);
    Tick();
    EXPECT_EQ(ran, "ab");
}

int toRemove = 0;
void AddsAndRemoves(int, void*) {
    ran += "r";
    WkAddTimeout(0, Record, (void*)"n");   // already due: runs in this pass
    WkAddTimeout(100, Record, (void*)"l"); // not yet
    WkRemoveTimeout(toRemove);
}

TEST_F(TimeoutsTest, CallbacksMayScheduleAndRemove) {
    WkAddTimeout(10, AddsAndRemoves, nullptr);
    toRemove = WkAddTimeout(20, Record, (void*)"x");
    WkAddTimeout(10, nullptr, nullptr); // a null callback is only dropped
    At(1000, 20);
    Tick();
    EXPECT_EQ(ran, "rn");
    At(1000, 120);
    Tick();
    EXPECT_EQ(ran, "rnl");
}

bool rearming = false;
void Rearms(int, void* data) {
    ran += "R";
    if (rearming) WkAddTimeout(50, Rearms, data);
}

TEST_F(TimeoutsTest, FreeingCallsEachPendingOnceEvenWhenItReschedules) {
    WkAddTimeout(50, Record, (void*)"a");
    WkAddTimeout(900, Record, (void*)"b");
    WkAddTimeout(70, Rearms, nullptr);
    rearming = true;
    WkFreeTimeouts();
    rearming = false;
    EXPECT_EQ(ran, "aRb");
    At(1000, 49); // only the re-armed one is pending
    EXPECT_EQ(WkTimeoutIsDue(nullptr), 0);
    At(1000, 50);
    EXPECT_EQ(WkTimeoutIsDue(nullptr), 1);
}

TEST(TimeFromWallMsTest, LocalCalendarSecondsWithoutDaylightSaving) {
    const char* saved = std::getenv("TZ");
    std::string old = saved ? saved : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    WkTimeVal t = WkTimeFromWallMs(10600);
    EXPECT_EQ(t.seconds, 10);
    EXPECT_EQ(t.microseconds, 600000);
    t = WkTimeFromWallMs(-1);
    EXPECT_EQ(t.seconds, -1);
    EXPECT_EQ(t.microseconds, 999000);

    // Central Europe in summer: 12:00 UTC reads 14:00, taken as standard
    // time (UTC + 1), so one hour later than the true instant.
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    const long julyNoonUtc = 1782907200; // 2026-07-01 12:00:00 UTC
    EXPECT_EQ(WkTimeFromWallMs(std::int64_t(julyNoonUtc) * 1000).seconds, julyNoonUtc + 3600);
    const long januaryNoonUtc = 1767268800; // 2026-01-01 12:00:00 UTC
    EXPECT_EQ(WkTimeFromWallMs(std::int64_t(januaryNoonUtc) * 1000).seconds, januaryNoonUtc);

    if (saved)
        setenv("TZ", old.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace
