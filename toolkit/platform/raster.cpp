#include "toolkit/platform/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace plat {
namespace {

using i64 = std::int64_t;

int ClampCoord(int v) { return v < -kCoordLimit ? -kCoordLimit : (v > kCoordLimit ? kCoordLimit : v); }

Rect ClampRect(const Rect& r) {
    return Rect{ClampCoord(r.x0), ClampCoord(r.y0), ClampCoord(r.x1), ClampCoord(r.y1)};
}

i64 FloorDiv(i64 a, i64 b) { // b > 0
    i64 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

i64 CeilDiv(i64 a, i64 b) { return -FloorDiv(-a, b); } // b > 0

// Span of filled columns of one row of an ellipse: first .. last, empty when first > last.
struct Span {
    i64 first = 1, last = 0;
    bool empty() const { return first > last; }
};

// The largest u >= 0 with u * u <= n.
i64 ISqrt(__int128 n) {
    if (n <= 0) return 0;
    i64 u = i64(std::sqrt(double(n)));
    while (u > 0 && __int128(u) * u > n) --u;
    while (__int128(u + 1) * (u + 1) <= n) ++u;
    return u;
}

// Pixel (i, j) lies inside the ellipse inscribed in box when, with
// u = 2i + 1 - 2 x0 - w and v = 2j + 1 - 2 y0 - h (offsets from the centre in
// half pixels), u^2 h^2 + v^2 w^2 <= w^2 h^2.
Span EllipseRow(const Rect& box, i64 j) {
    const i64 w = box.width(), h = box.height();
    Span s;
    if (j < box.y0 || j >= box.y1) return s;
    const i64 v = 2 * j + 1 - 2 * i64(box.y0) - h;
    const __int128 w2 = __int128(w) * w, h2 = __int128(h) * h;
    const __int128 rhs = w2 * (h2 - __int128(v) * v);
    const i64 umax = ISqrt(rhs / h2); // u^2 integral, so flooring the bound is exact
    // i = (u + 2 x0 + w - 1) / 2 for the u of the right parity.
    const i64 base = 2 * i64(box.x0) + w - 1;
    s.first = CeilDiv(base - umax, 2);
    s.last = FloorDiv(base + umax, 2);
    return s;
}

Span Overlap(Span a, Span b) { return Span{std::max(a.first, b.first), std::min(a.last, b.last)}; }

// Calls f(first, last, row) for the filled spans of the ellipse in the rows of clip.
template <class F> void ForEachEllipseSpan(const Rect& box, const Rect& clip, F f) {
    if (box.empty()) return;
    const i64 y0 = std::max(box.y0, clip.y0), y1 = std::min(box.y1, clip.y1);
    for (i64 j = y0; j < y1; ++j) {
        Span s = EllipseRow(box, j);
        if (!s.empty()) f(s.first, s.last, j);
    }
}

// Calls f(first, last, row) for the outline of the ellipse: the filled pixels
// with a 4-neighbour outside the fill.
template <class F> void ForEachEllipseOutline(const Rect& box, const Rect& clip, F f) {
    if (box.empty()) return;
    const i64 y0 = std::max(box.y0, clip.y0), y1 = std::min(box.y1, clip.y1);
    for (i64 j = y0; j < y1; ++j) {
        Span s = EllipseRow(box, j);
        if (s.empty()) continue;
        Span inner = Overlap(Span{s.first + 1, s.last - 1}, Overlap(EllipseRow(box, j - 1), EllipseRow(box, j + 1)));
        if (inner.empty()) {
            f(s.first, s.last, j);
        } else {
            if (s.first < inner.first) f(s.first, inner.first - 1, j);
            if (inner.last < s.last) f(inner.last + 1, s.last, j);
        }
    }
}

// Angles in tenths of a degree, counter-clockwise with y pointing up.
struct Sector {
    double start = 0, sweep = 3600;
    Sector(int from, int to) {
        start = std::fmod(double(from), 3600.0);
        if (start < 0) start += 3600.0;
        double d = std::fmod(double(to) - double(from), 3600.0);
        if (d < 0) d += 3600.0;
        sweep = d == 0 ? 3600.0 : d;
    }
    bool contains(i64 dx, i64 dyUp) const {
        if (dx == 0 && dyUp == 0) return true;
        const double kTenthsPerRadian = 1800.0 / 3.14159265358979323846;
        double a = std::atan2(double(dyUp), double(dx)) * kTenthsPerRadian - start;
        a = std::fmod(a, 3600.0);
        if (a < 0) a += 3600.0;
        // Rounding in atan2 must not drop the pixels exactly on the end rays.
        const double kSlack = 1e-6;
        return a <= sweep + kSlack || a >= 3600.0 - kSlack;
    }
};

Rect CircleBox(int cx, int cy, int radius) {
    cx = ClampCoord(cx);
    cy = ClampCoord(cy);
    radius = std::clamp(radius, 0, kCoordLimit);
    return Rect{cx - radius, cy - radius, cx + radius + 1, cy + radius + 1};
}

// The end of a radius at the given angle, each product truncated toward zero.
Point RayEnd(int cx, int cy, int radius, int angle) {
    const double kRadiansPerTenth = 3.14159265358979323846 / 1800.0;
    double a = double(angle) * kRadiansPerTenth;
    return Point{cx + int(double(radius) * std::cos(a)), cy - int(double(radius) * std::sin(a))};
}

} // namespace

Pixel Canvas::pixel(int x, int y) const {
    const Surface& s = *surface_;
    if (!s.bounds().contains(x, y)) return 0;
    std::size_t i = std::size_t(y) * std::size_t(s.width()) + std::size_t(x);
    return s.paletted() ? Pixel(s.indices()[i]) : s.pixels()[i];
}

void Canvas::plot(int x, int y, Pixel value, Op op) {
    // The surface may have shrunk since the clip was set; never write past it.
    if (!clip_.contains(x, y) || x >= surface_->width() || y >= surface_->height()) return;
    std::size_t i = std::size_t(y) * std::size_t(surface_->width()) + std::size_t(x);
    if (surface_->paletted()) {
        std::uint8_t v = std::uint8_t(value & 0xFF);
        std::uint8_t& d = surface_->indices()[i];
        d = op == Op::Set ? v : std::uint8_t(d ^ v);
    } else {
        Rgb v = value & 0xFFFFFF;
        Rgb& d = surface_->pixels()[i];
        d = op == Op::Set ? v : (d ^ v);
    }
}

void Canvas::span(int x0, int x1, int y, Pixel value, Op op) {
    if (y < clip_.y0 || y >= clip_.y1 || y >= surface_->height()) return;
    x0 = std::max(x0, clip_.x0);
    x1 = std::min({x1, clip_.x1, surface_->width()});
    if (x0 >= x1) return;
    const std::size_t row = std::size_t(y) * std::size_t(surface_->width());
    if (surface_->paletted()) {
        std::uint8_t* d = surface_->indices() + row;
        const std::uint8_t v = std::uint8_t(value & 0xFF);
        if (op == Op::Set)
            std::fill(d + x0, d + x1, v);
        else
            for (int x = x0; x < x1; ++x) d[x] = std::uint8_t(d[x] ^ v);
    } else {
        Rgb* d = surface_->pixels() + row;
        const Rgb v = value & 0xFFFFFF;
        if (op == Op::Set)
            std::fill(d + x0, d + x1, v);
        else
            for (int x = x0; x < x1; ++x) d[x] ^= v;
    }
}

void Canvas::setPixel(int x, int y, Pixel colour) { plot(x, y, colour, Op::Set); }

void Canvas::blendPixel(int x, int y, Rgb colour, int coverage) {
    if (coverage <= 0 || !clip_.contains(x, y)) return;
    if (coverage >= 255 || surface_->paletted()) {
        if (coverage >= 128) plot(x, y, colour, Op::Set);
        return;
    }
    Rgb d = pixel(x, y);
    auto mix = [coverage](int s, int t) { return (coverage * s + (255 - coverage) * t + 127) / 255; };
    plot(x, y,
         MakeRgb(mix(RedOf(colour), RedOf(d)), mix(GreenOf(colour), GreenOf(d)), mix(BlueOf(colour), BlueOf(d))),
         Op::Set);
}

void Canvas::fillSpan(int x0, int x1, int y, Pixel colour) { span(x0, x1, y, colour, Op::Set); }

void Canvas::fillRect(const Rect& r, Pixel colour) {
    Rect c = Intersect(r, clip_);
    for (int y = c.y0; y < c.y1; ++y) span(c.x0, c.x1, y, colour, Op::Set);
}

void Canvas::xorFill(const Rect& r, Pixel value) {
    Rect c = Intersect(r, clip_);
    for (int y = c.y0; y < c.y1; ++y) span(c.x0, c.x1, y, value, Op::Xor);
}

namespace {

// The outline of a half-open rectangle as at most four disjoint pieces.
template <class F> void ForEachRectEdge(const Rect& raw, F f) {
    Rect r = ClampRect(raw);
    if (r.empty()) return;
    f(Rect{r.x0, r.y0, r.x1, r.y0 + 1});
    if (r.height() > 1) f(Rect{r.x0, r.y1 - 1, r.x1, r.y1});
    if (r.height() > 2) {
        f(Rect{r.x0, r.y0 + 1, r.x0 + 1, r.y1 - 1});
        if (r.width() > 1) f(Rect{r.x1 - 1, r.y0 + 1, r.x1, r.y1 - 1});
    }
}

} // namespace

void Canvas::drawRect(const Rect& r, Pixel colour) {
    ForEachRectEdge(r, [&](const Rect& e) { fillRect(e, colour); });
}

void Canvas::xorRect(const Rect& r, Pixel value) {
    ForEachRectEdge(r, [&](const Rect& e) { xorFill(e, value); });
}

void Canvas::line(int x1, int y1, int x2, int y2, Pixel value, Op op, bool withEnd) {
    x1 = ClampCoord(x1);
    y1 = ClampCoord(y1);
    x2 = ClampCoord(x2);
    y2 = ClampCoord(y2);
    const i64 dx = i64(x2) - x1, dy = i64(y2) - y1;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const i64 n = xMajor ? std::abs(dx) : std::abs(dy); // steps from start to end
    const i64 major0 = xMajor ? x1 : y1, minor0 = xMajor ? y1 : x1;
    const i64 dMinor = xMajor ? dy : dx;
    const i64 step = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const i64 last = withEnd ? n : n - 1;
    if (last < 0) return;
    // Only the steps whose major coordinate lies inside the clip can draw.
    const i64 lo = xMajor ? clip_.x0 : clip_.y0, hi = (xMajor ? clip_.x1 : clip_.y1) - 1;
    i64 t0 = 0, t1 = last;
    if (step > 0) {
        t0 = std::max(t0, lo - major0);
        t1 = std::min(t1, hi - major0);
    } else {
        t0 = std::max(t0, major0 - hi);
        t1 = std::min(t1, major0 - lo);
    }
    if (t0 > t1) return;
    if (dMinor == 0 && xMajor) {
        // A horizontal line (frames and rules are made of them): one span.
        const i64 a = major0 + step * t0, b = major0 + step * t1;
        span(int(std::min(a, b)), int(std::max(a, b) + 1), int(minor0), value, op);
        return;
    }
    for (i64 t = t0; t <= t1; ++t) {
        const i64 major = major0 + step * t;
        // Exact minor coordinate minor0 + t * dMinor / n, rounded half up.
        const i64 minor = n == 0 ? minor0 : minor0 + FloorDiv(2 * t * dMinor + n, 2 * n);
        if (xMajor)
            plot(int(major), int(minor), value, op);
        else
            plot(int(minor), int(major), value, op);
    }
}

void Canvas::drawLine(int x1, int y1, int x2, int y2, Pixel colour, LineEnd end) {
    line(x1, y1, x2, y2, colour, Op::Set, end == LineEnd::Include);
}

void Canvas::xorLine(int x1, int y1, int x2, int y2, Pixel value, LineEnd end) {
    line(x1, y1, x2, y2, value, Op::Xor, end == LineEnd::Include);
}

void Canvas::drawPolyline(const Point* points, int count, Pixel colour, LineEnd end) {
    if (!points || count <= 0) return;
    for (int i = 0; i + 1 < count; ++i)
        line(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, colour, Op::Set, false);
    if (end == LineEnd::Include) setPixel(ClampCoord(points[count - 1].x), ClampCoord(points[count - 1].y), colour);
}

void Canvas::drawPolygon(const Point* points, int count, Pixel colour) {
    if (!points || count <= 0) return;
    drawPolyline(points, count, colour, LineEnd::Exclude);
    // The closing edge, back to the first vertex, which is drawn already.
    const Point& a = points[count - 1];
    const Point& b = points[0];
    line(a.x, a.y, b.x, b.y, colour, Op::Set, false);
    if (count == 1) setPixel(ClampCoord(a.x), ClampCoord(a.y), colour);
}

void Canvas::fillPolygon(const Point* points, int count, Pixel colour) {
    if (!points || count <= 0) return;
    struct Edge {
        i64 xa, ya, xb, yb; // ya < yb
    };
    std::vector<Edge> edges;
    edges.reserve(std::size_t(count));
    i64 top = kCoordLimit, bottom = -kCoordLimit;
    for (int i = 0; i < count; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % count];
        i64 px = ClampCoord(p.x), py = ClampCoord(p.y), qx = ClampCoord(q.x), qy = ClampCoord(q.y);
        if (py == qy) continue;
        if (py < qy)
            edges.push_back(Edge{px, py, qx, qy});
        else
            edges.push_back(Edge{qx, qy, px, py});
        top = std::min({top, py, qy});
        bottom = std::max({bottom, py, qy});
    }
    std::vector<i64> cross;
    const i64 y0 = std::max<i64>(top, clip_.y0), y1 = std::min<i64>(bottom, clip_.y1);
    for (i64 y = y0; y < y1; ++y) {
        cross.clear();
        for (const Edge& e : edges) {
            if (y < e.ya || y >= e.yb) continue;
            // Pixel centres lie on whole coordinates, as the outline's do. The
            // edge meets row y at x = xa + N / D; pixels from ceil(x) on lie
            // right of it.
            const i64 num = (y - e.ya) * (e.xb - e.xa);
            const i64 den = e.yb - e.ya;
            cross.push_back(e.xa + CeilDiv(num, den));
        }
        std::sort(cross.begin(), cross.end());
        for (std::size_t k = 0; k + 1 < cross.size(); k += 2) {
            i64 a = std::max<i64>(cross[k], clip_.x0), b = std::min<i64>(cross[k + 1], clip_.x1);
            if (a < b) span(int(a), int(b), int(y), colour, Op::Set);
        }
    }
    drawPolygon(points, count, colour);
}

namespace {

// Calls f(first, last, row) for the fill or the outline of the ellipse in box.
template <class F> void ForEachEllipseRun(const Rect& box, const Rect& clip, bool outline, F f) {
    if (outline)
        ForEachEllipseOutline(box, clip, f);
    else
        ForEachEllipseSpan(box, clip, f);
}

// Calls f(x, y) for the pixels of the circle's fill or outline that lie in
// the sector and the clip.
template <class F> void ForEachSectorPixel(const Rect& box, const Rect& clip, const Sector& sector, bool outline, F f) {
    const i64 ox = box.x0 + (box.width() - 1) / 2, oy = box.y0 + (box.height() - 1) / 2;
    ForEachEllipseRun(box, clip, outline, [&](i64 a, i64 b, i64 y) {
        for (i64 x = std::max<i64>(a, clip.x0); x <= std::min<i64>(b, clip.x1 - 1); ++x)
            if (sector.contains(x - ox, oy - y)) f(int(x), int(y));
    });
}

} // namespace

void Canvas::fillEllipse(const Rect& box, Pixel colour) {
    ForEachEllipseRun(ClampRect(box), clip_, false, [&](i64 a, i64 b, i64 y) {
        span(int(std::max<i64>(a, clip_.x0)), int(std::min<i64>(b + 1, clip_.x1)), int(y), colour, Op::Set);
    });
}

void Canvas::drawEllipse(const Rect& box, Pixel colour) {
    ForEachEllipseRun(ClampRect(box), clip_, true, [&](i64 a, i64 b, i64 y) {
        span(int(std::max<i64>(a, clip_.x0)), int(std::min<i64>(b + 1, clip_.x1)), int(y), colour, Op::Set);
    });
}

void Canvas::drawCircle(int cx, int cy, int radius, Pixel colour) { drawEllipse(CircleBox(cx, cy, radius), colour); }

void Canvas::fillCircle(int cx, int cy, int radius, Pixel colour) { fillEllipse(CircleBox(cx, cy, radius), colour); }

void Canvas::drawArc(int cx, int cy, int radius, int start, int end, Pixel colour) {
    ForEachSectorPixel(CircleBox(cx, cy, radius), clip_, Sector(start, end), true,
                       [&](int x, int y) { plot(x, y, colour, Op::Set); });
}

void Canvas::fillPie(int cx, int cy, int radius, int start, int end, Pixel colour) {
    const Rect box = CircleBox(cx, cy, radius);
    const Sector sector(start, end);
    auto set = [&](int x, int y) { plot(x, y, colour, Op::Set); };
    ForEachSectorPixel(box, clip_, sector, false, set);
    ForEachSectorPixel(box, clip_, sector, true, set);
    // The two radii, from the centre to the ends of the arc.
    const int r = box.width() / 2, ox = box.x0 + r, oy = box.y0 + r;
    Point s = RayEnd(ox, oy, r, start), e = RayEnd(ox, oy, r, end);
    line(ox, oy, s.x, s.y, colour, Op::Set, true);
    line(ox, oy, e.x, e.y, colour, Op::Set, true);
}

void Canvas::scroll(const Rect& rawArea, int dx, int dy) {
    const Rect area = Intersect(ClampRect(rawArea), surface_->bounds());
    dx = ClampCoord(dx);
    dy = ClampCoord(dy);
    const Rect moved{area.x0 + dx, area.y0 + dy, area.x1 + dx, area.y1 + dy};
    const Rect dst = Intersect(Intersect(moved, area), clip_);
    if (dst.empty() || (dx == 0 && dy == 0)) return;
    const std::size_t stride = std::size_t(surface_->width());
    const bool byte = surface_->paletted();
    const std::size_t size = byte ? 1 : sizeof(Rgb);
    unsigned char* base = byte ? surface_->indices() : reinterpret_cast<unsigned char*>(surface_->pixels());
    auto row = [&](int y) {
        unsigned char* to = base + (std::size_t(y) * stride + std::size_t(dst.x0)) * size;
        const unsigned char* from = base + (std::size_t(y - dy) * stride + std::size_t(dst.x0 - dx)) * size;
        std::memmove(to, from, std::size_t(dst.width()) * size);
    };
    // Rows are moved away from the side they come from, so none is read after it was written.
    if (dy > 0)
        for (int y = dst.y1 - 1; y >= dst.y0; --y) row(y);
    else
        for (int y = dst.y0; y < dst.y1; ++y) row(y);
}

} // namespace plat
