// Surface: the pixels of one drawing target (a window's backing store, a
// device bitmap, a printer page).
//
// True-colour surfaces hold one 32-bit pixel 0x00RRGGBB each. Palette surfaces
// hold one 8-bit index each into a 256-entry palette that the surface does not
// own (the display's hardware palette); they are turned into colours only
// when presented or saved, so changing a palette entry changes what is shown
// without drawing again. A surface counts the times its pixels were handed
// out for writing, so that whoever shows it can tell that nothing changed.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace plat {

using Rgb = std::uint32_t; // 0x00RRGGBB

inline constexpr Rgb MakeRgb(int r, int g, int b) {
    return (Rgb(r & 255) << 16) | (Rgb(g & 255) << 8) | Rgb(b & 255);
}
inline constexpr int RedOf(Rgb c) { return (c >> 16) & 255; }
inline constexpr int GreenOf(Rgb c) { return (c >> 8) & 255; }
inline constexpr int BlueOf(Rgb c) { return c & 255; }

struct Palette {
    Rgb entries[256] = {};
};

// Rectangles are half-open: x0 <= x < x1, y0 <= y < y1.
struct Rect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

inline Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{a.x0 > b.x0 ? a.x0 : b.x0, a.y0 > b.y0 ? a.y0 : b.y0, a.x1 < b.x1 ? a.x1 : b.x1,
           a.y1 < b.y1 ? a.y1 : b.y1};
    return r.empty() ? Rect{} : r;
}

// Smallest rectangle holding both; an empty rectangle adds nothing.
inline Rect Union(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Rect{a.x0 < b.x0 ? a.x0 : b.x0, a.y0 < b.y0 ? a.y0 : b.y0, a.x1 > b.x1 ? a.x1 : b.x1,
                a.y1 > b.y1 ? a.y1 : b.y1};
}

class Surface {
public:
    Surface() = default;
    Surface(const Surface&) = default;
    Surface(Surface&&) = default;
    Surface& operator=(const Surface& other) {
        if (this != &other) assignFrom(other);
        return *this;
    }
    Surface& operator=(Surface&& other) {
        if (this != &other) assignFrom(std::move(other));
        return *this;
    }
    // A true-colour surface, or a palette surface whose indices are looked up in palette.
    Surface(int width, int height, const Palette* palette = nullptr) { resize(width, height, palette); }

    void resize(int width, int height, const Palette* palette = nullptr) {
        touch();
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        palette_ = palette;
        std::size_t n = std::size_t(width_) * std::size_t(height_);
        if (palette_) {
            indices_.assign(n, 0);
            pixels_.clear();
        } else {
            pixels_.assign(n, 0);
            indices_.clear();
        }
    }

    int width() const { return width_; }
    int height() const { return height_; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }
    bool paletted() const { return palette_ != nullptr; }
    const Palette* palette() const { return palette_; }

    // Raw storage: 32-bit pixels on true-colour surfaces, 8-bit indices on palette ones.
    Rgb* pixels() {
        touch();
        return pixels_.data();
    }
    const Rgb* pixels() const { return pixels_.data(); }
    std::uint8_t* indices() {
        touch();
        return indices_.data();
    }
    const std::uint8_t* indices() const { return indices_.data(); }

    // A number that grows whenever the pixels are handed out for writing,
    // the surface is resized or another is assigned to it: while it stands
    // still, nothing can have changed.
    std::uint64_t generation() const { return generation_; }

    // The colour shown at (x, y); 0 outside the surface.
    Rgb colorAt(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
        std::size_t i = std::size_t(y) * std::size_t(width_) + std::size_t(x);
        return palette_ ? palette_->entries[indices_[i]] : pixels_[i];
    }

private:
    int width_ = 0, height_ = 0;
    const Palette* palette_ = nullptr;
    std::vector<Rgb> pixels_;
    std::vector<std::uint8_t> indices_;
    std::uint64_t generation_ = 0;

    void touch() { ++generation_; }
    // The other's pixels, under a generation above both its own and the other's.
    template <class Other> void assignFrom(Other&& other) {
        const std::uint64_t next = (generation_ > other.generation_ ? generation_ : other.generation_) + 1;
        width_ = other.width_;
        height_ = other.height_;
        palette_ = other.palette_;
        pixels_ = std::forward<Other>(other).pixels_;
        indices_ = std::forward<Other>(other).indices_;
        generation_ = next;
    }
};

} // namespace plat
