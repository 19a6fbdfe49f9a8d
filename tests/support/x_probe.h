// A second X client for the X11 tests (the backend and the toolkit on it):
// it reads a window's pixels from the server, hears the bell, plays the
// window manager's part (close requests, moves) and runs the desktop tools
// (xdotool, xclip) beside the display under test. Owns its own connection.
// Also starts and stops a real window manager (openbox) for the tests that
// run under one.
#pragma once

#include "toolkit/platform/surface.h"

#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

namespace xprobe {

class Probe {
public:
    Probe(); // connects to DISPLAY; connected() tells whether it could
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    bool connected() const { return dpy_ != nullptr; }
    // Waits until the server has handled every request of that connection.
    static void Sync(_XDisplay* other);
    // The button presses and releases that reached that connection and wait
    // in its queue, unhandled (they stay there).
    static int QueuedButtons(_XDisplay* other);
    // The window's pixels as the server holds them (true colour).
    plat::Surface Pixels(unsigned long window) const;
    // Bells rung on the server since the last call, counted once the server
    // has handled every request of the ringing connection (null: none), and
    // waited for until there are `expected` (at most a minute: fewer only
    // when they never rang).
    int Bells(_XDisplay* ringer, int expected = 0);
    // The window manager's close request and a move and size of the window.
    void SendClose(unsigned long window) const;
    void MoveResize(unsigned long window, int x, int y, int width, int height) const;
    bool NumLockOn() const;
    // Where the window's client area is on the screen, whatever frame a
    // window manager put around it.
    void ScreenPosition(unsigned long window, int* x, int* y) const;
    // Mapped with all its ancestors, so that clicks can reach it.
    bool Viewable(unsigned long window) const;
    // The window that has the keyboard focus (0 none, 1 the pointer's root).
    unsigned long Focus() const;

private:
    _XDisplay* dpy_ = nullptr;
    int xkbEvent_ = 0;
};

// openbox on DISPLAY with the tests' configuration: click to focus, a title
// bar to drag, no key bindings (the keys stay the program's), one desktop.
// Its configuration and log go under a folder of the test's; no user
// configuration, cache or session is read or written. Stopped by its process
// id, it leaves the server bare as it found it: what it put on the root
// window goes and the focus goes back.
class WindowManager {
public:
    WindowManager();
    ~WindowManager(); // stops it when it runs
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // "" once it manages the screen and frames new windows; otherwise what
    // failed. Another program may stand in for openbox (it gets the same
    // arguments).
    std::string Start(const std::string& folder, const std::string& program = "openbox");
    // False when it did not stop by itself and was killed.
    bool Stop();
    // Whether any window manager manages the screen now.
    bool Managed() const;
    // The windows it manages, bottom first.
    std::vector<unsigned long> Stacking() const;
    // The window's ICCCM state: 1 normal, 3 iconic, 0 withdrawn.
    long WmState(unsigned long window) const;
    _XDisplay* connection() const { return dpy_; }

private:
    _XDisplay* dpy_ = nullptr;
    pid_t pid_ = 0;
    std::set<unsigned long> rootProperties_;
    unsigned long focusBefore_ = 0;
};

// How long any wait for the server or another client lasts at most: a busy
// machine is slow, never this slow.
inline constexpr int kWaitCeilingMs = 60000;

// A connection to DISPLAY, waiting out a server's reset; null when none.
_XDisplay* Connect();

// Runs a shell command; its standard output, or "exit N" on failure.
std::string Run(const std::string& command);

} // namespace xprobe
