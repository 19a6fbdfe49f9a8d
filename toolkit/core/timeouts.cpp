#include "toolkit/core/timeouts.h"

#include <ctime>

#include "toolkit/core/memory.h"

namespace {

WkTimeout* pending = nullptr;
int lastId = 0;
long lastCheckSeconds = 0;
WkClock installedClock = nullptr;

void HostClock(WkTimeVal* now) {
    std::timespec ts{};
    std::timespec_get(&ts, TIME_UTC);
    *now = WkTimeFromWallMs(std::int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

bool NotAfter(const WkTimeVal& a, const WkTimeVal& b) {
    return a.seconds < b.seconds || (a.seconds == b.seconds && a.microseconds <= b.microseconds);
}

// When the clock went back since the last look, pending timeouts move back by
// as much, so that they are not delayed by the change.
void CorrectClockBack(const WkTimeVal& now) {
    if (lastCheckSeconds != 0 && now.seconds < lastCheckSeconds) {
        long shift = now.seconds - lastCheckSeconds;
        for (WkTimeout* t = pending; t; t = t->next) t->due.seconds += shift;
    }
    lastCheckSeconds = now.seconds;
}

WkTimeout* Unlink(int id) {
    for (WkTimeout** link = &pending; *link; link = &(*link)->next) {
        if ((*link)->id == id) {
            WkTimeout* t = *link;
            *link = t->next;
            return t;
        }
    }
    return nullptr;
}

} // namespace

WkTimeVal WkTimeFromWallMs(std::int64_t wallMs) {
    std::int64_t ms = wallMs % 1000;
    if (ms < 0) ms += 1000;
    std::time_t t = std::time_t((wallMs - ms) / 1000);
    std::tm local{};
    localtime_r(&t, &local);
    // The local calendar reading with daylight saving time taken as off, so
    // the seconds jump with the clocks twice a year (the clock-back
    // correction absorbs the jump back).
    local.tm_isdst = 0;
    WkTimeVal v;
    v.seconds = long(std::mktime(&local));
    v.microseconds = long(ms) * 1000;
    return v;
}

void WkSetClock(WkClock c) { installedClock = c; }

void WkCurrentTime(WkTimeVal* now) { (installedClock ? installedClock : HostClock)(now); }

int WkAddTimeout(unsigned delay, WkTimeoutCallback callback, void* userData) {
    WkTimeVal now;
    WkCurrentTime(&now);
    // Correcting here too: otherwise a timeout scheduled after the clock went
    // back while nothing was pending would be moved back at the next tick and
    // run early.
    CorrectClockBack(now);

    auto* t = static_cast<WkTimeout*>(WkCalloc(1, sizeof(WkTimeout)));
    t->due.microseconds = now.microseconds + long(delay % 1000) * 1000;
    t->due.seconds = now.seconds + long(delay / 1000);
    if (t->due.microseconds > 999999) {
        t->due.microseconds -= 1000000;
        t->due.seconds += 1;
    }
    t->delay = delay;
    int id = int(unsigned(lastId) + 1u);
    if (id == 0) id = 1;
    lastId = id;
    t->id = id;
    t->callback = callback;
    t->userData = userData;

    // Before the first one due at the same time or later: among equal due
    // times the newest runs first.
    WkTimeout** link = &pending;
    while (*link && !NotAfter(t->due, (*link)->due)) link = &(*link)->next;
    t->next = *link;
    *link = t;
    return id;
}

void WkRemoveTimeout(int id) { WkFree(Unlink(id)); }

int WkRestartTimeout(int* id, unsigned delay, WkTimeoutCallback callback, void* userData) {
    if (*id != 0) WkRemoveTimeout(*id);
    *id = WkAddTimeout(delay, callback, userData);
    return *id;
}

void WkClearTimeout(int* id) {
    if (*id != 0) WkRemoveTimeout(*id);
    *id = 0;
}

int WkTimeoutIsDue(WkTimeVal* now) {
    if (!pending) return 0;
    WkTimeVal own;
    if (!now) now = &own;
    WkCurrentTime(now);
    CorrectClockBack(*now);
    return NotAfter(pending->due, *now) ? 1 : 0;
}

void WkRunTimeoutsUntil(const WkTimeVal& t) {
    while (pending && NotAfter(pending->due, t)) {
        WkTimeout* first = pending;
        pending = first->next;
        if (first->callback) first->callback(first->id, first->userData);
        WkFree(first);
    }
}

void WkRunTimeouts() {
    WkTimeVal now;
    if (WkTimeoutIsDue(&now)) WkRunTimeoutsUntil(now);
}

void WkFreeTimeouts() {
    // Taken off first: a callback that schedules itself again (a repeating
    // button) must not keep the loop going for ever.
    WkTimeout* list = pending;
    pending = nullptr;
    while (list) {
        WkTimeout* t = list;
        list = t->next;
        if (t->callback) t->callback(t->id, t->userData);
        WkFree(t);
    }
}

void WkDropTimeouts() {
    while (pending) {
        WkTimeout* t = pending;
        pending = t->next;
        WkFree(t);
    }
}

int WkPendingTimeouts() {
    int count = 0;
    for (const WkTimeout* t = pending; t; t = t->next) ++count;
    return count;
}
