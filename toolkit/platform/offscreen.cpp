#include "toolkit/platform/offscreen.h"

#include "toolkit/platform/png.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace plat {

namespace {

std::unique_ptr<Clock> MakeClock(bool real) {
    if (real) return std::make_unique<RealClock>();
    return std::make_unique<VirtualClock>();
}

void Fill(Surface& s, const Rect& r, Rgb colour) {
    Rect c = Intersect(r, s.bounds());
    for (int y = c.y0; y < c.y1; ++y) std::fill_n(s.pixels() + std::size_t(y) * std::size_t(s.width()) + c.x0, c.width(), colour);
}

} // namespace

OffscreenDisplay::OffscreenDisplay(const OffscreenOptions& options)
    : Display(options.width, options.height, options.paletteMode, MakeClock(options.realClock)),
      virtual_(dynamic_cast<VirtualClock*>(&clock())) {}

void OffscreenDisplay::setIdleHook(std::function<bool()> hook, int maxCalls) {
    idleHook_ = std::move(hook);
    idleBudget_ = std::max(maxCalls, 0);
    idleCalls_ = 0;
}

bool OffscreenDisplay::waitForInput(std::int64_t untilMs) {
    if (idleHook_) {
        if (idleCalls_ >= idleBudget_) return false;
        ++idleCalls_;
        return idleHook_();
    }
    if (clock().real() && untilMs >= 0) {
        std::int64_t left = untilMs - clock().nowMs();
        if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
        return true;
    }
    return false;
}

Surface OffscreenDisplay::composite() const {
    Surface screen(screenWidth(), screenHeight());
    Fill(screen, screen.bounds(), kDesktop);
    for (WindowId id : zOrder()) {
        const WindowRecord* w = window(id);
        if (!w || w->minimised) continue;
        if (w->kind == WindowKind::Framed) {
            Insets in = frameInsets(w->kind);
            Rect outer{w->client.x0 - in.left, w->client.y0 - in.top, w->client.x1 + in.right, w->client.y1 + in.bottom};
            Fill(screen, outer, kFrame);
            Rect caption{outer.x0 + 2, outer.y0 + 2, outer.x1 - 2, w->client.y0 - 2};
            Fill(screen, caption, id == activeWindow() ? kActiveCaption : kInactiveCaption);
        }
        Rect visible = Intersect(w->client, screen.bounds());
        for (int y = visible.y0; y < visible.y1; ++y)
            for (int x = visible.x0; x < visible.x1; ++x)
                screen.pixels()[std::size_t(y) * std::size_t(screen.width()) + std::size_t(x)] =
                    w->surface.colorAt(x - w->client.x0, y - w->client.y0);
    }
    return screen;
}

bool OffscreenDisplay::saveScreenPng(const std::string& path, std::string* error) const {
    return SavePng(composite(), path, error);
}

bool OffscreenDisplay::saveWindowPng(WindowId id, const std::string& path, std::string* error) const {
    const WindowRecord* w = window(id);
    if (!w) {
        if (error) *error = path + ": no window " + std::to_string(id);
        return false;
    }
    return SavePng(w->surface, path, error);
}

} // namespace plat
