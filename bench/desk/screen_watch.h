// What the user sees, taken from the X server: a second client that watches
// the screen's pixels change (DAMAGE), copies the changed parts through
// shared memory (MIT-SHM) and acts as the user (XTest keys and clicks).
//
// The measure of an action is the time from the moment it was sent to the
// first moment the screen showed what it settles on: the screen is copied
// after every change the server reports (the copy dated when the report
// came), and the action's result is the first copy equal to one that comes
// again or to the last one, once no new picture has come for the quiet
// time. A blinking text cursor thus counts once its first picture shows,
// not when it next blinks.
//
// Owns its own connection, its shared memory and its copy of the screen.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

namespace desk {

using Clock = std::chrono::steady_clock;

class ScreenWatch {
public:
    // Connects to the display named (empty: DISPLAY); ok() tells whether it
    // could and the server has DAMAGE, XFIXES, MIT-SHM and XTEST.
    explicit ScreenWatch(const std::string& display = "");
    ~ScreenWatch();
    ScreenWatch(const ScreenWatch&) = delete;
    ScreenWatch& operator=(const ScreenWatch&) = delete;

    bool ok() const { return ok_; }
    _XDisplay* connection() const { return dpy_; }

    // Forgets the changes reported so far: what comes after belongs to the
    // next action.
    void arm();
    // Milliseconds from `from` until the screen first showed what it settled
    // on; -1 when nothing changed within limitMs.
    double settled(Clock::time_point from, int quietMs, int limitMs);

    // The user's hand. Each returns the moment the action went to the server.
    Clock::time_point move(int x, int y);
    Clock::time_point click(int x, int y);
    Clock::time_point key(unsigned long keysym);

    // Where a window's client area lies on the screen; false while the
    // window is not shown there yet.
    bool position(unsigned long window, int* x, int* y) const;

private:
    struct Picture {
        Clock::time_point at;
        std::uint64_t hash;
    };
    bool takeChanges(); // copies what changed; false when nothing had
    std::uint64_t hash() const;

    _XDisplay* dpy_ = nullptr;
    bool ok_ = false;
    int damageEvent_ = 0;
    unsigned long damage_ = 0, region_ = 0, root_ = 0;
    int width_ = 0, height_ = 0;
    void* segment_ = nullptr; // XShmSegmentInfo
    std::vector<std::uint32_t> screen_;
    std::vector<Picture> pictures_;
    Clock::time_point reported_; // when the server last reported a change
};

// A program started for the screen: its process id, 0 when it could not be.
int Spawn(const std::vector<std::string>& argv, const std::string& folder, const std::string& display);
// Ends a spawned program by its process id and waits for it.
void Stop(int pid);

} // namespace desk
