// Drawing on an object in its own coordinates: texts, lines, polylines,
// polygons, rectangles, images, bevels, frames, shadow frames of the five
// types and the object's background with its image placement.
//
// Every primitive draws nothing and returns 0 when the object is not both
// shown and realized; otherwise it makes the object the drawing target when
// it is not already, moves the coordinates by the target's origin and hands
// the work to the drawing device (draw.h) under the target's clip.
#pragma once

#include "toolkit/core/draw.h"
#include "toolkit/core/object.h"

struct WkImage;

// 1 and the object made the target when it is shown and realized, else 0.
int WkSelectDrawTarget(WkObject* object);

// Texts in a box: alignment 0 left, 1 right, 2 centred; centred vertically.
int WkObjectDrawText(WkObject* object, int x, int y, int width, int height, const char* text, WkFontSlot font,
                     WkColor color, int alignment);
int WkObjectDrawTextN(WkObject* object, int x, int y, int width, int height, const char* text, WkFontSlot font,
                      WkColor color, int alignment, int n);
// First in the shadow colour moved right and down by offset, then in colour.
int WkObjectDrawShadowText(WkObject* object, int x, int y, int width, int height, const char* text,
                           WkFontSlot font, int offset, WkColor color, WkColor shadowColor, int alignment);
int WkObjectDrawShadowTextN(WkObject* object, int x, int y, int width, int height, const char* text,
                            WkFontSlot font, int offset, WkColor color, WkColor shadowColor, int alignment, int n);
// The text's own extent filled with the background first.
int WkObjectDrawTextOpaque(WkObject* object, int x, int y, int width, int height, const char* text,
                           WkFontSlot font, WkColor background, WkColor color, int alignment);
int WkObjectDrawTextOpaqueN(WkObject* object, int x, int y, int width, int height, const char* text,
                            WkFontSlot font, WkColor background, WkColor color, int alignment, int n);

int WkObjectDrawPoint(WkObject* object, int x, int y, WkColor color);
// Both end points drawn.
int WkObjectDrawLine(WkObject* object, int x1, int y1, int x2, int y2, WkColor color);
// The circle in the box (x - radius, y - radius) to (x + radius, y + radius),
// outlined and filled in the colour.
int WkObjectFillCircle(WkObject* object, int x, int y, int radius, WkColor color);
// Arcs and pie slices of that circle: angles in tenths of a degree,
// counter-clockwise from three o'clock, from the start to the end.
int WkObjectDrawArc(WkObject* object, int x, int y, int radius, int start, int end, WkColor color);
int WkObjectFillPie(WkObject* object, int x, int y, int radius, int start, int end, WkColor color);
// The points are moved to window coordinates for the call and moved back.
int WkObjectDrawPolyline(WkObject* object, WkPoint* points, int count, WkColor color);
int WkObjectFillPolygon(WkObject* object, WkPoint* points, int count, WkColor color);
int WkObjectDrawRect(WkObject* object, int x, int y, int width, int height, WkColor color);
int WkObjectFillRect(WkObject* object, int x, int y, int width, int height, WkColor color);
int WkObjectDrawImage(WkObject* object, WkImage* image, int sourceX, int sourceY, int width, int height, int x,
                      int y);
int WkObjectDrawBevel(WkObject* object, int x, int y, int width, int height, WkColor topLeft,
                      WkColor bottomRight, int thickness);
int WkObjectDrawFrame(WkObject* object, int x, int y, int width, int height, WkColor color, int thickness);
// The object's own shadow frame at its origin.
int WkObjectDrawShadow(WkObject* object);
// The inside of the box's border filled with its background, then its frame.
int WkObjectDrawBox(WkObject* object, const WkBox* box);
// The box's shadow frame at x, y in window coordinates on the current
// target; the outer band takes the object's parent's shadows.
void WkDrawShadowFrame(WkObject* object, const WkBox* box, int x, int y);
// Background colour, image (tiled, centred or once) and shadow frame.
int WkObjectDrawBackground(WkObject* object);

// The one-pixel outline of the circle in the square from (x - radius,
// y - radius) to (x + radius, y + radius).
int WkObjectDrawCircle(WkObject* object, int x, int y, int radius, WkColor color);
// Exclusive-or with white, so that drawing twice restores the pixels: a line
// with both end points, and the outline through (x, y), (x + width, y),
// (x + width, y + height) and (x, y + height).
int WkObjectXorLine(WkObject* object, int x1, int y1, int x2, int y2);
int WkObjectXorRect(WkObject* object, int x, int y, int width, int height);

// A new colour: the background shaded to 115 percent under a darker
// foreground (to 80 percent when it is too light to lighten visibly), else
// to 72 percent or darker, until the foreground stands out from it.
WkColor WkHighlightColor(WkColor background, WkColor foreground);
