// Linked into every program of x11 tests (not the benchmarks, which share
// the probe): the program looks for its X server before its first test.
#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <X11/Xlib.h>

namespace {

// Every program of x11 tests looks for its X server before its first test:
// without one, each test would wait a minute for a window, or run on into
// code that needs the screen's size, and end far from the cause. The program
// fails at once, naming the display it could not open.
class XServerFirst : public ::testing::Environment {
public:
    void SetUp() override {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name) Fail("DISPLAY is not set");
        // A server just started may not listen yet; one that is not there
        // stays so for these few seconds.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        Display* d = XOpenDisplay(nullptr);
        while (!d && std::chrono::steady_clock::now() < end) {
            poll(nullptr, 0, 100);
            d = XOpenDisplay(nullptr);
        }
        if (!d) Fail("cannot open the X display \"" + std::string(name) + "\"");
        XCloseDisplay(d);
    }

private:
    // Ends the program as failed: a failure here would only have the tests
    // skipped, and a run of skipped tests is not a failed one.
    [[noreturn]] static void Fail(const std::string& why) {
        std::fprintf(stderr, "%s: the x11 tests need an X server (scripts/with-x runs them on an Xvfb of their own)\n",
                     why.c_str());
        std::exit(1);
    }
};

::testing::Environment* const xServerFirst = ::testing::AddGlobalTestEnvironment(new XServerFirst);

} // namespace
