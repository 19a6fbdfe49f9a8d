// Clock: the time the platform layer hands out. Programs run on the real
// clock; tests run on a virtual one that moves only when the test moves it,
// so timers, timeouts and waits are the same on every run.
//
// Two readings: nowMs counts milliseconds on a steady scale (timers use it;
// it never goes back), wallMs is the calendar time in milliseconds since
// 1970-01-01 00:00 UTC (the toolkit's timeouts and log prefixes use it; the
// user may set it back).
#pragma once

#include <cstdint>

namespace plat {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const = 0;
    virtual std::int64_t wallMs() const = 0;
    // True for a clock that moves by itself (a wait for a timer ends).
    virtual bool real() const = 0;
};

class RealClock : public Clock {
public:
    std::int64_t nowMs() const override;
    std::int64_t wallMs() const override;
    bool real() const override { return true; }
};

class VirtualClock : public Clock {
public:
    // Starts at steady time 0 and at the calendar time given.
    explicit VirtualClock(std::int64_t wallStartMs = kDefaultWallStart) : wallOffset_(wallStartMs) {}

    std::int64_t nowMs() const override { return now_; }
    std::int64_t wallMs() const override { return now_ + wallOffset_; }
    bool real() const override { return false; }

    // Moves both readings forward; a negative amount is ignored.
    void advance(std::int64_t ms) {
        if (ms > 0) now_ += ms;
    }
    // Sets the calendar reading (forward or back) without moving the steady one.
    void setWallMs(std::int64_t ms) { wallOffset_ = ms - now_; }

    // 2026-01-05 10:00:00 UTC.
    static constexpr std::int64_t kDefaultWallStart = 1767607200000;

private:
    std::int64_t now_ = 0;
    std::int64_t wallOffset_;
};

} // namespace plat
