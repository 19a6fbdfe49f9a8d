#include "toolkit/platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace plat {
namespace {

using i64 = std::int64_t;

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

Rect ClampRect(const Rect& r) {
    auto c = [](int v) { return std::clamp(v, -kCoordLimit, kCoordLimit); };
    return Rect{c(r.x0), c(r.y0), c(r.x1), c(r.y1)};
}

// The stored value of a pixel known to lie inside the surface.
Pixel Stored(const Surface& s, int x, int y) {
    std::size_t i = std::size_t(y) * std::size_t(s.width()) + std::size_t(x);
    return s.paletted() ? Pixel(s.indices()[i]) : s.pixels()[i];
}

// Turns stored values of one surface into stored values of another's format.
class Converter {
public:
    Converter(const Surface& from, const Surface& to) : toPalette_(to.palette()) {
        if (from.paletted()) {
            for (int i = 0; i < 256; ++i) {
                Rgb c = from.palette()->entries[i];
                if (!to.paletted())
                    table_[i] = c;
                else if (from.palette() == to.palette())
                    table_[i] = Pixel(i);
                else
                    table_[i] = Pixel(NearestIndex(*to.palette(), c));
            }
            viaTable_ = true;
        }
    }
    Pixel operator()(Pixel v) {
        if (viaTable_) return table_[v & 0xFF];
        if (!toPalette_) return v;
        auto it = nearest_.find(v);
        if (it != nearest_.end()) return it->second;
        Pixel p = Pixel(NearestIndex(*toPalette_, v));
        nearest_.emplace(v, p);
        return p;
    }

private:
    const Palette* toPalette_;
    bool viaTable_ = false;
    Pixel table_[256] = {};
    std::unordered_map<Pixel, Pixel> nearest_;
};

Pixel Combine(Pixel d, Pixel s, RasterOp op) {
    switch (op) {
    case RasterOp::Copy: return s;
    case RasterOp::Xor: return d ^ s;
    case RasterOp::And: return d & s;
    }
    return s;
}

bool MaskSet(const Surface& mask, int x, int y) { return mask.colorAt(x, y) != 0; }

// Walks the destination pixels of a copy of from (cut to the source) to
// (x, y) that the clip lets through: f(destination x, y, source x, y).
template <class F> void ForEachCopiedRow(const Canvas& to, int x, int y, const Surface& source, const Rect& rawFrom,
                                         F f) {
    Rect from = ClampRect(rawFrom);
    x = std::clamp(x, -kCoordLimit, kCoordLimit);
    y = std::clamp(y, -kCoordLimit, kCoordLimit);
    Rect cut = Intersect(from, source.bounds());
    if (cut.empty()) return;
    const int ox = x - from.x0, oy = y - from.y0; // destination = source + offset
    // The surface may have shrunk since the clip was set; never write past it.
    Rect dst = Intersect(Intersect(Rect{cut.x0 + ox, cut.y0 + oy, cut.x1 + ox, cut.y1 + oy}, to.clip()),
                         to.surface().bounds());
    if (dst.empty()) return;
    for (int dy = dst.y0; dy < dst.y1; ++dy) f(dst.x0, dst.x1, dy, dst.x0 - ox, dy - oy);
}

template <class F> void ForEachCopied(const Canvas& to, int x, int y, const Surface& source, const Rect& rawFrom, F f) {
    ForEachCopiedRow(to, x, y, source, rawFrom, [&](int x0, int x1, int dy, int sx0, int sy) {
        for (int dx = x0; dx < x1; ++dx) f(dx, dy, sx0 + (dx - x0), sy);
    });
}

} // namespace

std::size_t RowBytes(int width, int bitsPerPixel) {
    if (width < 1) return 0;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24) return 0;
    std::size_t bits = std::size_t(width) * std::size_t(bitsPerPixel);
    return (bits + 31) / 32 * 4;
}

int NearestIndex(const Palette& palette, Rgb colour, int count) {
    count = std::clamp(count, 1, 256);
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < count; ++i) {
        Rgb e = palette.entries[i];
        long dr = RedOf(e) - RedOf(colour), dg = GreenOf(e) - GreenOf(colour), db = BlueOf(e) - BlueOf(colour);
        long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
            if (d == 0) break;
        }
    }
    return best;
}

bool MakeDeviceBitmap(const Dib& dib, const Palette* display, Surface& out, std::string* error) {
    const int kMaxSide = 16384;
    const int bpp = dib.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24)
        return Fail(error, "bitmap depth " + std::to_string(bpp) + " is not 1, 4, 8 or 24");
    const int w = dib.width;
    const int h = dib.height < 0 ? (dib.height < -kMaxSide ? kMaxSide + 1 : -dib.height) : dib.height;
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
        return Fail(error, "bitmap size " + std::to_string(dib.width) + " x " + std::to_string(dib.height) +
                               " is not 1 to 16384 a side");
    const std::size_t rowBytes = RowBytes(w, bpp);
    if (!dib.pixels || dib.pixelBytes < rowBytes * std::size_t(h))
        return Fail(error, "bitmap pixels: " + std::to_string(rowBytes * std::size_t(h)) + " bytes expected, " +
                               std::to_string(dib.pixels ? dib.pixelBytes : 0) + " given");
    Rgb colours[256] = {}; // entries the palette does not give stay black
    if (bpp <= 8) {
        if (dib.paletteSize < 0 || (dib.paletteSize > 0 && !dib.palette))
            return Fail(error, "bitmap palette of " + std::to_string(dib.paletteSize) + " entries is missing");
        const int n = std::min(dib.paletteSize, 1 << bpp);
        for (int i = 0; i < n; ++i) {
            const std::uint8_t* e = dib.palette + 4 * i;
            colours[i] = MakeRgb(e[2], e[1], e[0]);
        }
    }
    Pixel mapped[256];
    for (int i = 0; i < 256; ++i) mapped[i] = display ? Pixel(NearestIndex(*display, colours[i])) : colours[i];

    Surface result(w, h, display);
    Converter toDisplay(Surface(1, 1), result); // 24-bit colours to the display's format
    for (int y = 0; y < h; ++y) {
        const int stored = dib.height > 0 ? h - 1 - y : y; // row in memory holding picture row y
        const std::uint8_t* row = dib.pixels + rowBytes * std::size_t(stored);
        for (int x = 0; x < w; ++x) {
            Pixel v;
            switch (bpp) {
            case 1: v = mapped[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: v = mapped[x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15]; break;
            case 8: v = mapped[row[x]]; break;
            default: v = toDisplay(MakeRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x])); break;
            }
            std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            if (display)
                result.indices()[i] = std::uint8_t(v);
            else
                result.pixels()[i] = v;
        }
    }
    out = std::move(result);
    return true;
}

Surface ToTrueColour(const Surface& surface) {
    Surface out(surface.width(), surface.height());
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            out.pixels()[std::size_t(y) * std::size_t(surface.width()) + std::size_t(x)] = surface.colorAt(x, y);
    return out;
}

void Blit(Canvas& to, int x, int y, const Surface& source, const Rect& from, RasterOp op) {
    if (&source == &to.surface()) {
        // Overlapping copies within one surface read a snapshot of the source.
        Rect cut = Intersect(ClampRect(from), source.bounds());
        if (cut.empty()) return;
        Surface part(cut.width(), cut.height(), source.palette());
        Canvas partCanvas(part);
        Blit(partCanvas, 0, 0, source, cut);
        Blit(to, x + (cut.x0 - from.x0), y + (cut.y0 - from.y0), part, part.bounds(), op);
        return;
    }
    if (op == RasterOp::Copy && !source.paletted() && !to.surface().paletted()) {
        // True colour to true colour, row by row: every background tile and
        // picture of a repaint comes this way.
        Surface& target = to.surface();
        ForEachCopiedRow(to, x, y, source, from, [&](int x0, int x1, int dy, int sx0, int sy) {
            const Rgb* s = source.pixels() + std::size_t(sy) * std::size_t(source.width()) + std::size_t(sx0);
            Rgb* d = target.pixels() + std::size_t(dy) * std::size_t(target.width()) + std::size_t(x0);
            for (int i = 0; i < x1 - x0; ++i) d[i] = s[i] & 0xFFFFFF;
        });
        return;
    }
    Converter convert(source, to.surface());
    ForEachCopied(to, x, y, source, from, [&](int dx, int dy, int sx, int sy) {
        Pixel s = convert(Stored(source, sx, sy));
        to.setPixel(dx, dy, op == RasterOp::Copy ? s : Combine(to.pixel(dx, dy), s, op));
    });
}

bool BlitTiled(Canvas& to, int x, int y, const Surface& source, const Rect& area) {
    Surface& target = to.surface();
    if (source.paletted() || target.paletted() || &source == &target) return false;
    const int tw = source.width(), th = source.height();
    const Rect dst = Intersect(Intersect(ClampRect(area), to.clip()), target.bounds());
    if (tw <= 0 || th <= 0 || dst.empty()) return true;
    auto phase = [](i64 v, int m) { return int(((v % m) + m) % m); };
    const Rgb* tile = source.pixels();
    Rgb* pixels = target.pixels();
    // Pixels stored as colours copy as they are; others lose their top byte.
    const bool plain = std::none_of(tile, tile + std::size_t(tw) * std::size_t(th),
                                    [](Rgb p) { return (p & 0xFF000000u) != 0; });
    // Row by row: a window's background is hundreds of small tiles.
    for (int dy = dst.y0; dy < dst.y1; ++dy) {
        const Rgb* row = tile + std::size_t(phase(i64(dy) - y, th)) * std::size_t(tw);
        Rgb* d = pixels + std::size_t(dy) * std::size_t(target.width());
        for (int dx = dst.x0, sx = phase(i64(dst.x0) - x, tw); dx < dst.x1; sx = 0) {
            const int n = std::min(tw - sx, dst.x1 - dx);
            if (plain)
                std::memcpy(d + dx, row + sx, std::size_t(n) * sizeof(Rgb));
            else
                for (int i = 0; i < n; ++i) d[dx + i] = row[sx + i] & 0xFFFFFF;
            dx += n;
        }
    }
    return true;
}

void BlitMasked(Canvas& to, int x, int y, const Surface& image, const Rect& from, const Surface& mask) {
    Converter convert(image, to.surface());
    ForEachCopied(to, x, y, image, from, [&](int dx, int dy, int sx, int sy) {
        if (MaskSet(mask, sx, sy)) to.setPixel(dx, dy, convert(Stored(image, sx, sy)));
    });
}

void StretchBlit(Canvas& to, const Rect& rawInto, const Surface& source, const Rect& rawFrom) {
    const Rect into = ClampRect(rawInto), from = ClampRect(rawFrom);
    if (into.empty() || from.empty()) return;
    Converter convert(source, to.surface());
    const Rect dst = Intersect(into, to.clip());
    const i64 iw = into.width(), ih = into.height(), fw = from.width(), fh = from.height();
    for (int dy = dst.y0; dy < dst.y1; ++dy) {
        const i64 sy = from.y0 + (2 * i64(dy - into.y0) + 1) * fh / (2 * ih);
        for (int dx = dst.x0; dx < dst.x1; ++dx) {
            const i64 sx = from.x0 + (2 * i64(dx - into.x0) + 1) * fw / (2 * iw);
            if (source.bounds().contains(int(sx), int(sy))) to.setPixel(dx, dy, convert(Stored(source, int(sx), int(sy))));
        }
    }
}

void MergeColour(Surface& image, const Surface& mask, Pixel colour) {
    Canvas canvas(image);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!MaskSet(mask, x, y)) canvas.setPixel(x, y, colour);
}

void MergeTile(Surface& image, const Surface& mask, const Surface& tile, int xOffset, int yOffset) {
    const int tw = tile.width(), th = tile.height();
    if (tw <= 0 || th <= 0 || &tile == &image) return;
    auto mod = [](int v, int m) { int r = v % m; return r < 0 ? r + m : r; };
    const int tx0 = mod(xOffset, tw), ty0 = mod(yOffset, th);
    Converter convert(tile, image);
    Canvas canvas(image);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!MaskSet(mask, x, y))
                canvas.setPixel(x, y, convert(Stored(tile, (tx0 + x % tw) % tw, (ty0 + y % th) % th)));
}

} // namespace plat
