// Sizes and showing: resizing an object (with the size query and resize
// messages), laying a parent out again after a child changed size, mapping
// and unmapping, the size policies, and the size query.
//
// A top-level window takes its main form's size plus twice its border; its
// native window is shown, hidden and placed through the shell operations of
// shell_data.h.
#pragma once

#include "toolkit/core/object.h"

// Asks for a new size (a negative value keeps that one): a fixed width or
// height replaces the request, a size query runs when a value is kept or
// fixed, a resize message carries the values, and the parent is laid out
// again when the size changed. A shown object is hidden meanwhile.
void WkResize(WkObject* object, int width, int height);
// After a child changed size. A top-level window takes its main form's size
// plus twice its border (unless fixed), places its native window and gives
// the form its size; a table form whose body exists is left alone; any other
// object's outer object is queried again and, when its size changed, its
// parent laid out in turn (under a hide and show); then the object is redrawn.
void WkRelayout(WkObject* object);
// A top-level window shows its native window; another object that is not
// shown gets the shown flag, the map message and a redraw.
void WkMapObject(WkObject* object);
// A top-level window hides its native window; a shown object loses the
// shown flag and gets the unmap message; with repaint, when it was shown and
// realized and its parent is shown, the area it covered is repainted from behind.
void WkUnmapObject(WkObject* object, int repaint);
// Per axis: above 0 may grow (fixed size cleared, policy grow), 0 fixed
// (policy fixed), negative unchanged. A part applies it to its composite
// parents first.
void WkObjectSetResizable(WkObject* object, int xPolicy, int yPolicy);
// Sends the size query to an object with a class handler.
void WkObjectQuerySize(WkObject* object);
