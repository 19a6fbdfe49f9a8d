// Timeouts: one-shot delayed actions (button and spin-field repeat,
// tooltips, the double-click window of lists, delayed redraws).
//
// All pending timeouts stand in one process-wide list sorted by due time; the
// module owns their records. Nothing runs them but the window system's 50 ms
// tick, which calls WkTimeoutIsDue and, when it says so, WkRunTimeoutsUntil
// (or WkRunTimeouts, both in one). Times come from a clock that the
// window-system start installs with WkSetClock (the platform layer's wall
// clock, through WkTimeFromWallMs); until then the host's clock is used.
// Tests install a virtual clock.
#pragma once

#include <cstdint>

struct WkTimeVal {
    long seconds = 0;
    long microseconds = 0;
};

using WkTimeoutCallback = void (*)(int id, void* userData);

struct WkTimeout {
    WkTimeout* next;
    WkTimeVal due;
    unsigned delay; // milliseconds
    int id;
    WkTimeoutCallback callback;
    void* userData;
};

using WkClock = void (*)(WkTimeVal* now);
// Installs the clock (null: the host's local time again).
void WkSetClock(WkClock clock);
// The current time: the local calendar time as seconds (daylight saving time
// taken as off) and its milliseconds as microseconds.
void WkCurrentTime(WkTimeVal* now);
// The same reading of a calendar time given in milliseconds since 1970 UTC.
WkTimeVal WkTimeFromWallMs(std::int64_t wallMs);

// Schedules callback(id, userData) delay milliseconds from now; returns the id.
int WkAddTimeout(unsigned delay, WkTimeoutCallback callback, void* userData);
// Drops the pending timeout with this id without calling it; unknown ids are ignored.
void WkRemoveTimeout(int id);
// Drops the timeout in *id (when not 0), schedules a new one, stores its id.
int WkRestartTimeout(int* id, unsigned delay, WkTimeoutCallback callback, void* userData);
// Drops the timeout in *id (when not 0) and sets *id to 0.
void WkClearTimeout(int* id);
// 0 at once when nothing is pending; otherwise reads the time (into *now when
// given), moves pending timeouts back when the clock went back, and returns 1
// when the first timeout is due.
int WkTimeoutIsDue(WkTimeVal* now);
// Runs, in list order, every timeout due at or before t, also those that the
// callbacks schedule and that are already due at t.
void WkRunTimeoutsUntil(const WkTimeVal& t);
// WkTimeoutIsDue and WkRunTimeoutsUntil in one: what the tick does.
void WkRunTimeouts();
// Calls every pending callback once and frees its record. Timeouts that those
// callbacks schedule stay pending.
void WkFreeTimeouts();
// Drops every pending timeout without calling it: the window system's
// shut-down does, so that no timeout outlives the windows it was set for.
void WkDropTimeouts();
// How many timeouts are pending (a test checks that it leaves none behind).
int WkPendingTimeouts();
