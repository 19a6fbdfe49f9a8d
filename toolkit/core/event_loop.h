// The toolkit's input side: the window procedure that turns the display's
// events into toolkit messages and hands them to the router, and the event
// loops (the main loop, the modal loop, the loop that only drains what is
// waiting, and the single-event fetch). Every loop translates key-downs
// into toolkit key codes; a key without one goes through the display's
// character translation instead and is never lost.
//
// It owns the pending-event record, set only while WkNextEvent runs.
// WkInstallEventLoop plugs the window procedure into the window-system
// layer (after WkInitWindowSystem).
#pragma once

#include "toolkit/core/object.h"
#include "toolkit/core/window_system.h"

#include <cstdint>

void WkInstallEventLoop();
// The window procedure of the three window classes. For a key-down the
// loop has put the toolkit key code in key.virtualKey.
std::intptr_t WkWindowProc(const plat::Event& event);

// Runs until the quit message; returns 0.
int WkMainLoop();
// Runs while *flag equals value (tested before each message) or until the
// quit message, which is posted again so that the loops outside end too.
void WkLoopWhile(const int* flag, int value);
// Handles what is waiting now and returns without waiting.
void WkFlushEvents();
// Handles messages until one is filled into the record (which the objects
// do not get) and returns its type; with wait 0 it returns 0 as soon as
// nothing is waiting.
int WkNextEvent(WkMessage* record, int wait);
