// Raster: the software rasteriser that draws on a Surface under a clip
// rectangle, with the colour given per call (no pen or brush objects). A
// Canvas holds only the surface (owned by the caller) and the clip.
//
// Pixel rules, fixed for every primitive here:
// - A colour is a Pixel: an Rgb on a true-colour surface, a palette index on
//   a palette surface (only the low 8 bits count there, so a palette-relative
//   colour 0x01000000 + slot works as well as the bare slot).
// - Nothing is ever written outside the clip, which always lies inside the
//   surface (setClip intersects it with the surface's bounds).
// - Fills and rectangles are half-open: Rect{x0, y0, x1, y1} covers columns
//   x0 .. x1 - 1 and rows y0 .. y1 - 1; drawRect outlines exactly those pixels.
// - A line's end point is excluded unless the call passes LineEnd::Include.
//   Lines step along their longer axis, one pixel per step; the other
//   coordinate is the exact one rounded to nearest, halves to the larger
//   coordinate, so a line covers the same pixels whichever way it is drawn.
// - Polylines draw each segment without its end point, so every vertex is
//   drawn once; the last point is drawn only with LineEnd::Include.
// - Pixel (x, y) is centred on the point (x, y). Polygons fill the pixels
//   whose centres lie inside (even-odd rule; on a left or top edge counts as
//   inside, on a right or bottom one as outside) and are outlined through
//   every vertex, end points included, so fill and outline leave no gap.
// - Ellipses fill the pixels whose centres lie inside the ellipse inscribed
//   in their half-open bounding rectangle; the outline is the filled pixels
//   next (left, right, above, below) to one outside, so an outline never
//   leaves its fill. A circle of radius r at (cx, cy) is the ellipse in
//   Rect{cx - r, cy - r, cx + r + 1, cy + r + 1}.
// - Arcs and pies take angles in tenths of a degree, counter-clockwise from
//   the positive x axis with y pointing up on the screen; start == end means
//   the full circle. A pie is its sector filled and outlined by the arc and
//   both radii.
// - Exclusive-or primitives touch every pixel once, so drawing twice restores.
// - Coordinates are clamped to +-kCoordLimit (far beyond any surface) so that
//   no arithmetic can overflow.
//
// For glyph drawing: Canvas::setPixel and Canvas::blendPixel (coverage 0..255
// blended on true colour, set when coverage >= 128 on palette surfaces), both
// through the clip; Canvas::fillSpan for a row of one colour.
#pragma once

#include "toolkit/platform/surface.h"

#include <cstdint>

namespace plat {

using Pixel = std::uint32_t; // Rgb on true colour, index on palette surfaces

struct Point {
    int x = 0, y = 0;
};

enum class LineEnd { Exclude, Include };

inline constexpr int kCoordLimit = 1 << 24;

class Canvas {
public:
    // The clip starts as the whole surface. The surface must outlive the canvas.
    explicit Canvas(Surface& surface) : surface_(&surface), clip_(surface.bounds()) {}
    Canvas(Surface& surface, const Rect& clip) : surface_(&surface) { setClip(clip); }

    Surface& surface() { return *surface_; }
    const Surface& surface() const { return *surface_; }
    const Rect& clip() const { return clip_; }
    void setClip(const Rect& clip) { clip_ = Intersect(clip, surface_->bounds()); }

    // The stored value at (x, y): Rgb or index; 0 outside the surface.
    Pixel pixel(int x, int y) const;

    void setPixel(int x, int y, Pixel colour);
    void blendPixel(int x, int y, Rgb colour, int coverage);
    void fillSpan(int x0, int x1, int y, Pixel colour); // columns x0 .. x1 - 1 of row y

    void fillRect(const Rect& r, Pixel colour);
    void drawRect(const Rect& r, Pixel colour);

    void drawLine(int x1, int y1, int x2, int y2, Pixel colour, LineEnd end = LineEnd::Exclude);
    void drawPolyline(const Point* points, int count, Pixel colour, LineEnd end = LineEnd::Exclude);
    void drawPolygon(const Point* points, int count, Pixel colour); // closed outline
    void fillPolygon(const Point* points, int count, Pixel colour); // fill and outline

    // Exclusive-or with value (on palette surfaces the indices are combined).
    void xorLine(int x1, int y1, int x2, int y2, Pixel value, LineEnd end = LineEnd::Exclude);
    void xorRect(const Rect& r, Pixel value); // the outline of drawRect
    void xorFill(const Rect& r, Pixel value);

    void drawEllipse(const Rect& box, Pixel colour);
    void fillEllipse(const Rect& box, Pixel colour); // fill and outline
    void drawCircle(int cx, int cy, int radius, Pixel colour);
    void fillCircle(int cx, int cy, int radius, Pixel colour);
    void drawArc(int cx, int cy, int radius, int start, int end, Pixel colour);
    void fillPie(int cx, int cy, int radius, int start, int end, Pixel colour); // fill and outline

    // Moves the pixels of area by (dx, dy). Only pixels inside area are read
    // and only pixels inside both area and the clip are written; the strip the
    // move uncovers keeps its old pixels, for the caller to draw.
    void scroll(const Rect& area, int dx, int dy);

private:
    enum class Op { Set, Xor };
    void plot(int x, int y, Pixel value, Op op);
    void line(int x1, int y1, int x2, int y2, Pixel value, Op op, bool withEnd);
    void span(int x0, int x1, int y, Pixel value, Op op);

    Surface* surface_;
    Rect clip_;
};

} // namespace plat
