// Helpers of the rasteriser's tests: small pictures as text (one character
// a pixel, one line a row: '.' for value 0, '#' for 1, 'o' for 2, '?' for
// others), pixel counts and comparisons, random surfaces.
#pragma once

#include "toolkit/platform/raster.h"

#include <random>
#include <string>

namespace rastertest {

// The stored value at (x, y), which must lie inside s.
inline plat::Pixel Value(const plat::Surface& s, int x, int y) {
    std::size_t i = std::size_t(y) * std::size_t(s.width()) + std::size_t(x);
    return s.paletted() ? plat::Pixel(s.indices()[i]) : s.pixels()[i];
}

inline std::string Art(const plat::Surface& s) {
    std::string out;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            plat::Pixel p = Value(s, x, y);
            out += p == 0 ? '.' : p == 1 ? '#' : p == 2 ? 'o' : '?';
        }
        out += '\n';
    }
    return out;
}

// Pixels of value v.
inline int Count(const plat::Surface& s, plat::Pixel v) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) n += Value(s, x, y) == v;
    return n;
}

inline bool SamePixels(const plat::Surface& a, const plat::Surface& b) {
    if (a.width() != b.width() || a.height() != b.height() || a.paletted() != b.paletted()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (Value(a, x, y) != Value(b, x, y)) return false;
    return true;
}

// A surface of random pixels (indices into pal when given).
inline plat::Surface Noise(int w, int h, const plat::Palette* pal, unsigned seed) {
    plat::Surface s(w, h, pal);
    std::mt19937 rng(seed);
    for (int i = 0; i < w * h; ++i) {
        if (pal)
            s.indices()[i] = std::uint8_t(rng());
        else
            s.pixels()[i] = rng() & 0xFFFFFF;
    }
    return s;
}

} // namespace rastertest
