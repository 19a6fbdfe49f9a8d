#include "toolkit/core/draw.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

struct Cached {
    bool made = false;
    WkColor color = 0;
};

struct DeviceState {
    WkNativeWindow window = 0;
    bool held = false;
    plat::Rect clip;
    plat::Surface* printPage = nullptr;
    double printScaleX = 1, printScaleY = 1;
    Cached pen, brush;
    WkDrawStats stats;
};

DeviceState device;

void DropCached(Cached& c, int& deleted) {
    if (!c.made) return;
    c.made = false;
    ++deleted;
}

// Pen and brush go with the device they were made for.
void ReleaseDevice() {
    DropCached(device.pen, device.stats.pensDeleted);
    DropCached(device.brush, device.stats.brushesDeleted);
    device.held = false;
}

void Use(Cached& c, WkColor color, int& made, int& deleted) {
    if (c.made && c.color == color) return;
    DropCached(c, deleted);
    c.made = true;
    c.color = color;
    ++made;
}

// Clamps a sum of two ints into the int range.
int Add(int a, int b) { return int(std::clamp((long long)a + b, (long long)INT_MIN, (long long)INT_MAX)); }

// A canvas on the target under the clip; false when there is no target.
bool Target(plat::Surface*& surface) {
    surface = WkNativeDrawSurface();
    return surface != nullptr && device.held;
}

plat::Rect Box(int x, int y, int width, int height) { return plat::Rect{x, y, Add(x, width), Add(y, height)}; }

int TextLength(const char* text, int length) {
    if (!text || length <= 0) return 0;
    const void* end = std::memchr(text, 0, std::size_t(length));
    return end ? int(static_cast<const char*>(end) - text) : length;
}

int AlignedX(int x, int width, int textWidth, int alignment) {
    switch (alignment) {
    case WK_ALIGN_RIGHT:
        return Add(x, width - textWidth);
    case WK_ALIGN_CENTER:
        return Add(x, (width - textWidth) / 2);
    default:
        return x;
    }
}

void DrawTextPart(int x, int y, int width, int height, const char* text, WkFontSlot slot, WkColor color,
                  int alignment, int length) {
    plat::Surface* surface;
    const plat::Font* font = WkSlotFont(slot);
    if (!Target(surface) || !font) return;
    std::string_view part(text, std::size_t(length));
    int left = AlignedX(x, width, font->textWidth(part), alignment);
    int top = Add(y, (height - font->height()) / 2);
    font->drawText(*surface, device.clip, left, top, part, WkNativePixel(color));
}

} // namespace

void WkNativeSetClip(WkNativeWindow window, int x, int y, int width, int height) {
    if (window != device.window) {
        // Another window: the held device goes back first (the platform
        // keeps no selected font, so there is none to restore).
        if (device.held) ReleaseDevice();
        device.window = window;
    }
    device.held = true;
    // A negative origin only cuts off what lies before 0; the right and
    // bottom edges stay where the caller put them.
    long long x1 = (long long)x + width, y1 = (long long)y + height;
    long long x0 = std::max(0, x), y0 = std::max(0, y);
    plat::Rect clip;
    bool empty = width <= 0 || height <= 0 || x1 <= x0 || y1 <= y0;
    plat::Display* display = WkDisplay();
    if (!device.printPage && display && (x >= display->screenWidth() || y >= display->screenHeight())) empty = true;
    if (!empty) clip = plat::Rect{int(x0), int(y0), int(std::min<long long>(x1, INT_MAX)), int(std::min<long long>(y1, INT_MAX))};
    plat::Surface* surface = WkNativeDrawSurface();
    device.clip = surface && !empty ? plat::Intersect(clip, surface->bounds()) : plat::Rect{};
}

void WkNativeEndDraw() {
    if (device.held) ReleaseDevice();
    device.window = 0;
    device.clip = plat::Rect{};
}

WkNativeWindow WkNativeCurrentWindow() { return device.held ? device.window : 0; }
plat::Rect WkNativeCurrentClip() { return device.clip; }

plat::Surface* WkNativeDrawSurface() {
    if (device.printPage) return device.printPage;
    plat::Display* display = WkDisplay();
    return display && device.window ? display->surface(device.window) : nullptr;
}

plat::Pixel WkNativePixel(WkColor color) {
    plat::Surface* surface = WkNativeDrawSurface();
    if (surface && surface->paletted() && WkIsPaletteDisplay()) return color & 255;
    int r, g, b;
    WkColorToRGB(color, &r, &g, &b);
    plat::Rgb rgb = plat::MakeRgb(r, g, b);
    if (surface && surface->paletted()) return plat::Pixel(plat::NearestIndex(*surface->palette(), rgb));
    return rgb;
}

void WkNativeUsePen(WkColor color) { Use(device.pen, color, device.stats.pensMade, device.stats.pensDeleted); }
void WkNativeUseBrush(WkColor color) {
    Use(device.brush, color, device.stats.brushesMade, device.stats.brushesDeleted);
}

void WkNativeFillRect(int x, int y, int width, int height, WkColor color) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    WkNativeUseBrush(color);
    plat::Canvas(*surface, device.clip).fillRect(Box(x, y, width, height), WkNativePixel(color));
}

void WkNativeSetPixel(int x, int y, WkColor color) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    plat::Canvas(*surface, device.clip).setPixel(x, y, WkNativePixel(color));
}

void WkNativeDrawLine(int x1, int y1, int x2, int y2, WkColor color) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    WkNativeUsePen(color);
    plat::Canvas(*surface, device.clip).drawLine(x1, y1, x2, y2, WkNativePixel(color), plat::LineEnd::Include);
}

namespace {
// The points as the rasteriser takes them; false for no points.
bool ToPlat(const WkPoint* points, int count, std::vector<plat::Point>& out) {
    if (!points || count <= 0) return false;
    out.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) out[std::size_t(i)] = plat::Point{points[i].x, points[i].y};
    return true;
}
} // namespace

void WkNativePolyline(const WkPoint* points, int count, WkColor color) {
    plat::Surface* surface;
    std::vector<plat::Point> p;
    if (!Target(surface) || !ToPlat(points, count, p)) return;
    WkNativeUsePen(color);
    plat::Canvas(*surface, device.clip).drawPolyline(p.data(), count, WkNativePixel(color));
}

void WkNativePolygon(const WkPoint* points, int count, WkColor color) {
    plat::Surface* surface;
    std::vector<plat::Point> p;
    if (!Target(surface) || !ToPlat(points, count, p)) return;
    WkNativeUsePen(color);
    WkNativeUseBrush(color);
    plat::Canvas(*surface, device.clip).fillPolygon(p.data(), count, WkNativePixel(color));
}

void WkNativeDrawCircle(int centerX, int centerY, int radius, WkColor color) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    WkNativeUsePen(color);
    plat::Canvas(*surface, device.clip).drawCircle(centerX, centerY, radius, WkNativePixel(color));
}

void WkNativeFillCircle(int centerX, int centerY, int radius, WkColor color) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    WkNativeUsePen(color);
    WkNativeUseBrush(color);
    plat::Canvas(*surface, device.clip).fillCircle(centerX, centerY, radius, WkNativePixel(color));
}

void WkNativeDrawArc(int centerX, int centerY, int radius, int start, int end, WkColor color) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    WkNativeUsePen(color);
    plat::Canvas(*surface, device.clip).drawArc(centerX, centerY, radius, start, end, WkNativePixel(color));
}

void WkNativeFillPie(int centerX, int centerY, int radius, int start, int end, WkColor color) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    WkNativeUsePen(color);
    WkNativeUseBrush(color);
    plat::Canvas(*surface, device.clip).fillPie(centerX, centerY, radius, start, end, WkNativePixel(color));
}

namespace {
WkColor White() { return WkWindowSystemRunning() ? WkWhiteColor() : WkColor(0xFFFFFF); }
} // namespace

void WkNativeXorLine(int x1, int y1, int x2, int y2) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    WkNativeUsePen(White());
    plat::Canvas(*surface, device.clip).xorLine(x1, y1, x2, y2, WkNativePixel(White()), plat::LineEnd::Include);
}

void WkNativeXorRect(int x, int y, int width, int height) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    WkNativeUsePen(White());
    plat::Canvas(*surface, device.clip).xorRect(Box(x, y, width, height), WkNativePixel(White()));
}

void WkNativeDrawText(int x, int y, int width, int height, const char* text, WkFontSlot font, WkColor color,
                      int alignment) {
    if (!text) return;
    DrawTextPart(x, y, width, height, text, font, color, alignment, int(std::min<std::size_t>(std::strlen(text), INT_MAX)));
}

void WkNativeDrawTextN(int x, int y, int width, int height, const char* text, WkFontSlot font, WkColor color,
                       int alignment, int length) {
    DrawTextPart(x, y, width, height, text, font, color, alignment, TextLength(text, length));
}

void WkNativeDrawTextOnColor(int x, int y, int width, int height, const char* text, WkFontSlot slot,
                             WkColor background, WkColor foreground, int alignment, int length) {
    plat::Surface* surface;
    const plat::Font* font = WkSlotFont(slot);
    if (!Target(surface) || !font) return;
    // Only the characters asked for, on a cell of their own width: the rest
    // of the text is not this call's to draw.
    std::string_view part(text ? text : "", std::size_t(TextLength(text, length)));
    int left = AlignedX(x, width, font->textWidth(part), alignment);
    int top = Add(y, (height - font->height()) / 2);
    WkNativeUseBrush(background);
    font->drawTextOpaque(*surface, device.clip, left, top, part, WkNativePixel(background), WkNativePixel(foreground));
}

void WkNative3DFrame(int x, int y, int width, int height, WkColor topLeft, WkColor bottomRight, int thickness) {
    plat::Surface* surface;
    if (!Target(surface)) return;
    plat::Canvas canvas(*surface, device.clip);
    plat::Pixel first = WkNativePixel(topLeft), second = WkNativePixel(bottomRight);
    const plat::LineEnd end = plat::LineEnd::Include;
    for (int i = 0; i < thickness; ++i) {
        int left = Add(x, i), top = Add(y, i);
        int right = Add(x, width - i - 1), bottom = Add(y, height - i - 1);
        WkNativeUsePen(topLeft);
        canvas.drawLine(left, top, right, top, first, end);
        canvas.drawLine(left, bottom, left, top, first, end);
        WkNativeUsePen(bottomRight);
        canvas.drawLine(right, top, right, bottom, second, end);
        canvas.drawLine(right, bottom, left, bottom, second, end);
    }
}

void WkNativeScrollArea(int x, int y, int width, int height, int newX, int newY) {
    plat::Surface* surface;
    // A printed page is not scrolled: it has no earlier content to move.
    if (!Target(surface) || device.printPage) return;
    // The whole window moves its pixels, as scrolling a window does; the
    // rasteriser leaves the uncovered strip alone and asks for no paint.
    plat::Canvas(*surface).scroll(Box(x, y, width, height), Add(newX, -x), Add(newY, -y));
}

void WkBeep() {
    if (plat::Display* display = WkDisplay()) display->beep();
}

void WkNativeSetPrintDevice(plat::Surface* page, double scaleX, double scaleY) {
    if (device.held) ReleaseDevice();
    device.printPage = page;
    device.printScaleX = scaleX;
    device.printScaleY = scaleY;
    device.clip = plat::Rect{};
}

plat::Surface* WkNativePrintDevice() { return device.printPage; }

void WkNativePrintScale(double* scaleX, double* scaleY) {
    if (scaleX) *scaleX = device.printScaleX;
    if (scaleY) *scaleY = device.printScaleY;
}

const WkDrawStats& WkNativeDrawStats() { return device.stats; }
