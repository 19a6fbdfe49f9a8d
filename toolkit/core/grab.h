// The pointer-grab stack: at most four objects; the one pushed last holds
// the grab and gets every pointer message, with the pointer captured for
// its top-level window's native window. The inside flag tells whether the
// pointer lies in the holder (the router turns motions into enter and
// leave by it); every push and pop sets it.
//
// A destroyed object is taken off the stack wherever it stands
// (WkForgetGrab, called by the object model), so no pointer message can
// reach it afterwards.
#pragma once

#include "toolkit/core/object.h"

inline constexpr int WK_GRAB_DEPTH = 4;

// A fifth push is ignored.
void WkPushGrab(WkObject* object);
// Pops when the argument is null or the holder; the entry below holds the
// grab again (and the capture), or the capture is released.
void WkPopGrab(WkObject* object);
WkObject* WkGetGrab();
int WkGrabDepth();
int WkGrabInside();
void WkSetGrabInside(int inside);
// Takes every entry of the object off the stack.
void WkForgetGrab(WkObject* object);
