// The one wait of the X server tests: for an event or a picture, never for a
// fixed time. A busy machine (other builds and X servers beside the tests)
// makes the server, the window manager and the program slow; so every wait
// polls for what it waits for, with a long ceiling, and one that runs out
// fails naming the wait and what it saw last.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace xwait {

// The ceiling of every wait.
inline constexpr int kCeilingMs = 60000;

// Calls step() (by default a pause of 20 ms) until done() holds, at most
// ceilingMs long. The failure names the wait and what seen() told last.
inline ::testing::AssertionResult Until(const std::string& what, const std::function<bool()>& done,
                                        const std::function<std::string()>& seen = {},
                                        const std::function<void()>& step = {}, int ceilingMs = kCeilingMs) {
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::milliseconds(ceilingMs);
    for (;;) {
        if (done()) return ::testing::AssertionSuccess();
        if (std::chrono::steady_clock::now() >= end) break;
        if (step) step();
        else std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ::testing::AssertionFailure() << "waited " << ceilingMs / 1000.0 << " s for " << what
                                         << (seen ? "; last saw: " + seen() : std::string());
}

} // namespace xwait
