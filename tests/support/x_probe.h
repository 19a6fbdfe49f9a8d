// A second X client for the X11 tests (the backend and the toolkit on it):
// it reads a window's pixels from the server, hears the bell, plays the
// window manager's part (close requests, moves) and runs the desktop tools
// (xdotool, xclip) beside the display under test. Owns its own connection.
#pragma once

#include "toolkit/platform/surface.h"

#include <string>

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
    // The window's pixels as the server holds them (true colour).
    plat::Surface Pixels(unsigned long window) const;
    // Bells rung on the server since the last call.
    int Bells(int waitMs);
    // The window manager's close request and a move and size of the window.
    void SendClose(unsigned long window) const;
    void MoveResize(unsigned long window, int x, int y, int width, int height) const;
    bool NumLockOn() const;

private:
    _XDisplay* dpy_ = nullptr;
    int xkbEvent_ = 0;
};

// A connection to DISPLAY, waiting out a server's reset; null when none.
_XDisplay* Connect();

// Runs a shell command; its standard output, or "exit N" on failure.
std::string Run(const std::string& command);

} // namespace xprobe
