// The sash: a thin handle between two children of a form. Dragging it moves
// the boundary between its two neighbours: one grows by what the other
// loses, and neither becomes smaller than its minimum size. In a horizontal
// form it moves sideways, in any other form up and down.
//
// A sash owns its class record (WkSashData) and the pointer grab from a
// press to the release. The moved sizes last until the form's next layout.
#pragma once

#include "toolkit/core/object.h"

#include <cstdint>

// Press and current point, in the sash's own coordinates.
struct WkSashData {
    std::int32_t pressX, pressY;
    std::int32_t currentX, currentY;
};

// Creates the sash in the form (a top-level window's main form when a window
// is given); it must be added between the two children it separates.
WkObject* WkCreateSash(WkObject* form);
int WkSashHandler(WkObject* sash, WkMessage* message);
