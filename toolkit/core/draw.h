// The drawing device: the one target all toolkit drawing goes to (a native
// window's backing store, or the printer's page while an object tree is
// printed), its clip rectangle, and the one cached pen and one cached brush,
// with the primitives that draw on it in the device's own coordinates:
// fills, lines, polygons, circles, exclusive-or lines and rectangles, text in
// a box, 3-D frames, scrolling and the beep. Images are drawn through
// draw_image.h.
//
// Pen and brush: the platform rasteriser takes a colour per call, so the
// cache is this module's record of which colour the device is set up for.
// A drawing in the cached colour reuses it; another colour makes a new one
// and deletes the old. WkNativeDrawStats counts what was made and deleted.
//
// The target is named by its native window (the object layer resolves
// objects to windows above this). Its surface is looked up on every call, so
// a window destroyed while current is simply not drawn on.
//
// Colours are toolkit colours (colors.h): palette slots on a palette
// display, red-in-the-low-byte RGB otherwise; they are converted here for
// the surface they land on.
#pragma once

#include "toolkit/core/colors.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/bitmap.h"
#include "toolkit/platform/raster.h"

#include <cstdint>

struct WkPoint {
    std::int32_t x, y;
};

inline constexpr int WK_ALIGN_LEFT = 0;
inline constexpr int WK_ALIGN_RIGHT = 1;
inline constexpr int WK_ALIGN_CENTER = 2;

// Makes the window current and clips to the rectangle. The clip never
// reaches past the rectangle's right or bottom edge: a negative origin cuts
// the part before 0 off. A width or height below 1, or a rectangle starting
// beyond the screen, clips everything away until the next clip.
void WkNativeSetClip(WkNativeWindow window, int x, int y, int width, int height);
// Gives the device back: pen and brush deleted, no window current.
void WkNativeEndDraw();

// The window being drawn into (0: none) and the clip in force.
WkNativeWindow WkNativeCurrentWindow();
plat::Rect WkNativeCurrentClip();
// The surface drawing goes to now (the print page while one is set), or null.
plat::Surface* WkNativeDrawSurface();
// The platform value of a toolkit colour on the current target.
plat::Pixel WkNativePixel(WkColor color);

void WkNativeUsePen(WkColor color);
void WkNativeUseBrush(WkColor color);

void WkNativeFillRect(int x, int y, int width, int height, WkColor color);
void WkNativeSetPixel(int x, int y, WkColor color);
// A line with both end points drawn.
void WkNativeDrawLine(int x1, int y1, int x2, int y2, WkColor color);
// Connected lines; the last point is not drawn.
void WkNativePolyline(const WkPoint* points, int count, WkColor color);
// Outlined and filled.
void WkNativePolygon(const WkPoint* points, int count, WkColor color);
void WkNativeDrawCircle(int centerX, int centerY, int radius, WkColor color);
// Outlined and filled in the colour.
void WkNativeFillCircle(int centerX, int centerY, int radius, WkColor color);
// Arcs and pies of that circle: angles in tenths of a degree, counted
// counter-clockwise from three o'clock, drawn counter-clockwise from the
// start to the end; equal angles give the whole circle.
void WkNativeDrawArc(int centerX, int centerY, int radius, int start, int end, WkColor color);
// The slice outlined and filled in the colour.
void WkNativeFillPie(int centerX, int centerY, int radius, int start, int end, WkColor color);
// Exclusive-or with white: drawing twice restores. The line includes its end point.
void WkNativeXorLine(int x1, int y1, int x2, int y2);
void WkNativeXorRect(int x, int y, int width, int height);

// The text in the box, aligned left, right or centred, centred vertically on
// the font's height.
void WkNativeDrawText(int x, int y, int width, int height, const char* text, WkFontSlot font, WkColor color,
                      int alignment);
// The same for the first length characters.
void WkNativeDrawTextN(int x, int y, int width, int height, const char* text, WkFontSlot font, WkColor color,
                       int alignment, int length);
// The first length characters on their own cell (their width by the font's
// height) filled with the background.
void WkNativeDrawTextOnColor(int x, int y, int width, int height, const char* text, WkFontSlot font,
                             WkColor background, WkColor foreground, int alignment, int length);

// thickness rings, ring i inset by i: top and left edges in the first colour,
// then right and bottom in the second, end pixels included.
void WkNative3DFrame(int x, int y, int width, int height, WkColor topLeft, WkColor bottomRight, int thickness);

// Moves the rectangle's pixels to (newX, newY), inside the rectangle only.
// The uncovered strip keeps its old pixels and asks for no paint: the
// caller draws it.
void WkNativeScrollArea(int x, int y, int width, int height, int newX, int newY);

void WkBeep();

// Printing installs its page here: while set, every drawing goes to it and
// images are stretched by the print scale (logical units per page pixel).
// Null removes it. The page is never released here.
void WkNativeSetPrintDevice(plat::Surface* page, double scaleX, double scaleY);
plat::Surface* WkNativePrintDevice();
void WkNativePrintScale(double* scaleX, double* scaleY);

struct WkDrawStats {
    int pensMade = 0, pensDeleted = 0;
    int brushesMade = 0, brushesDeleted = 0;
};
const WkDrawStats& WkNativeDrawStats();
