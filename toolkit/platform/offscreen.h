// OffscreenDisplay: the Display without a screen, for tests and for hosts
// with no desktop. Windows live only as records and backing stores; the
// screen is their composition, bottom window first, with a plain frame drawn
// around framed windows (no title text), on a plain desktop.
//
// Time is virtual unless the options ask for the real clock: a test moves
// it with virtualClock()->advance(). Waiting never hangs: when waitEvent finds
// nothing to hand out it calls the idle hook (the test injects input or moves
// the clock there and returns true, or returns false to give up); without a
// hook, after the hook gave up, or after its call budget is spent, waitEvent
// throws WaitWouldHang. Only on the real clock with a timer running does a
// wait sleep until the timer is due.
#pragma once

#include "toolkit/platform/display.h"

#include <functional>
#include <string>

namespace plat {

struct OffscreenOptions {
    int width = 1024, height = 768;
    bool paletteMode = false;
    bool realClock = false;
};

class OffscreenDisplay : public Display {
public:
    explicit OffscreenDisplay(const OffscreenOptions& options = OffscreenOptions());

    // The test's clock; null on the real clock.
    VirtualClock* virtualClock() { return virtual_; }

    // The hook runs at most maxCalls times over the display's life.
    void setIdleHook(std::function<bool()> hook, int maxCalls = 1000);
    int idleCalls() const { return idleCalls_; }

    // What the screen shows now, true colour, screen-sized.
    Surface composite() const;
    bool saveScreenPng(const std::string& path, std::string* error = nullptr) const;
    bool saveWindowPng(WindowId id, const std::string& path, std::string* error = nullptr) const;

    static constexpr Rgb kDesktop = 0x008080;
    static constexpr Rgb kFrame = 0xC0C0C0;
    static constexpr Rgb kActiveCaption = 0x000080;
    static constexpr Rgb kInactiveCaption = 0x808080;

protected:
    bool waitForInput(std::int64_t untilMs) override;

private:
    VirtualClock* virtual_ = nullptr;
    std::function<bool()> idleHook_;
    int idleBudget_ = 0;
    int idleCalls_ = 0;
};

} // namespace plat
