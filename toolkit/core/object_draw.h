// Drawing objects: the one drawing target (object, native window, origin,
// clip), redrawing an object through its expose message, and repainting
// damaged areas from behind: where an object is transparent, the nearest
// ancestor that is not fully transparent draws its background again there.
//
// The target is process-wide. WkBeginDraw makes an object the target and
// sets the clip on the drawing device (draw.h) in its native window's
// coordinates; WkEndDraw gives the device back. Drawing may nest: a redraw
// or a clear-area call made while another object is the target (from its
// expose handler, say) gives that target back, clip and origin, before it
// returns.
//
// An ancestor's background is drawn by the background painter: the drawing
// primitives install theirs; until then a plain one fills the inside of the
// border with the background colour, draws the background image (tiled,
// centred or once) and the shadow frame's bevels.
#pragma once

#include "toolkit/core/object.h"

struct WkDrawTarget {
    WkObject* object = nullptr;
    WkNativeWindow window = 0;
    int originX = 0, originY = 0; // the object's origin in the native window
    WkRect clip;                  // in the native window's coordinates
};

// With an expose message: origin (a, b), clip c, d, e, f moved by the
// origin; without: the object's position in its native window and its
// visible rectangle.
void WkBeginDraw(WkObject* object, const WkMessage* expose);
void WkEndDraw();
// The current target (its object is null when there is none).
const WkDrawTarget& WkCurrentDrawTarget();
// Makes sure a destroyed object is not the target.
void WkForgetDrawTarget(WkObject* object);

// Nothing unless shown and realized. With clear, a fully transparent object
// has the area behind it repainted first. Then it gets an expose message for
// its visible rectangle.
void WkRedraw(WkObject* object, int clear);

// Repaints an area of the object (its own coordinates) from behind; with a
// frame width of 0 or more only the four bands of that width along the
// area's edges. With an expose message its clip limits the repaint and the
// object is the target again afterwards; without, drawing ends.
void WkObjectClearAreaEx(WkObject* object, const WkMessage* expose, int x, int y, int width, int height,
                         int frame);
void WkObjectClearAreaExposed(WkObject* object, const WkMessage* expose, int x, int y, int width, int height);
void WkObjectClearExposed(WkObject* object, const WkMessage* expose);
void WkObjectClearFrame(WkObject* object, int x, int y, int width, int height, int frame);
void WkObjectClearArea(WkObject* object, int x, int y, int width, int height);
void WkObjectClear(WkObject* object);
// Repaints from behind the area the object covers in its (shown) parent.
void WkObjectClearBehind(WkObject* object);

// Draws an object's background on the current target (the object is the
// target, the clip the area to paint).
using WkBackgroundPainter = void (*)(WkObject* object);
// Null restores the plain painter.
void WkSetBackgroundPainter(WkBackgroundPainter painter);
void WkPaintObjectBackground(WkObject* object);
