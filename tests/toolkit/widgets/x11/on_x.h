// The widgets on an X server: the toolkit started on a display (the
// server's, or an offscreen one of the screen's size to compare with), the
// loop run while the server answers, and the pixels two windows differ in.
#pragma once

#include "support/toolkit_on_x.h"
#include "support/wait_until.h"
#include "support/x_probe.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/x11_display.h"
#include "toolkit/platform/surface.h"
#include "toolkit/widgets/form.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <filesystem>
#include <memory>
#include <string>

namespace wx {

inline int pumping = 0;
inline void StopPump(int, void*) { pumping = 0; }

inline std::string Folder() { return std::string(TM_TEST_OUTPUT_DIR) + "/wokusys"; }

class OnX : public ::testing::Test {
protected:
    // The environment the tests need, set before the probe or a display
    // opens: the display's font thread reads it from its first moment.
    static void SetUpTestSuite() {
        std::filesystem::create_directories(Folder());
        ASSERT_TRUE(UseTestFonts());
        ASSERT_EQ(setenv("WOKUDIR", Folder().c_str(), 1), 0);
    }
    void Start(plat::Display* display, const char* name) {
        program = Folder() + "/" + name;
        argv[0] = program.data();
        WkInitWindowSystem(display, nullptr, argv);
        WkInstallEventLoop();
        WkInitFormClass();
    }
    void Shutdown() {
        WkEndDraw();
        WkReleaseDefaultColors();
        WkShutdown();
    }
    // The server's answers take their time, the offscreen display's none:
    // on the server, every shown window is waited for until it is mapped,
    // then all the server sent is handled and what the toolkit drew is on
    // the server.
    void Pump(bool onServer) {
        if (!onServer) {
            WkFlushEvents();
            return;
        }
        EXPECT_TRUE(xwait::Until(
            "the shown windows to be mapped",
            [&] {
                CatchUp();
                return Unmapped().empty();
            },
            [&] { return "not mapped:" + Unmapped(); }));
    }
    void CatchUp() { xprobe::CatchUp(*x); }
    // The X windows of the shown shells that the server has not mapped.
    std::string Unmapped() const {
        std::string windows;
        WkObject* const* shells = nullptr;
        const int count = WkLiveShells(&shells);
        for (int i = 0; i < count; ++i) {
            if (!(WkShellRecord(shells[i])->flags & WK_SHELL_SHOWN)) continue;
            const unsigned long window = x->xWindow(WkObjectGetNativeWindow(shells[i]));
            if (!probe.Viewable(window)) windows += " " + std::to_string(window);
        }
        return windows;
    }
    // Runs a desktop tool while the loop keeps answering the server, then
    // catches up with what it did.
    std::string RunBeside(const std::string& command) {
        auto result = std::async(std::launch::async, [command] { return xprobe::Run(command); });
        EXPECT_TRUE(xwait::Until(command + " to end", [&] {
            pumping = 1;
            const int id = WkAddTimeout(20, StopPump, nullptr);
            WkLoopWhile(&pumping, 1);
            WkRemoveTimeout(id);
            return result.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
        }));
        CatchUp();
        return result.get();
    }
    // Surfaces of one size: the count of pixels that differ.
    static int Differing(const plat::Surface& a, const plat::Surface& b) {
        int differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) differing += a.colorAt(x, y) != b.colorAt(x, y);
        return differing;
    }
    // The server under test and a second client on it; x stays null (and
    // the test fails) without one.
    void OpenServer() {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
        ASSERT_TRUE(probe.connected());
        std::string error;
        x = plat::X11Display::Open("", false, &error);
        ASSERT_TRUE(x) << error;
    }
    std::string program;
    char* argv[2] = {};
    xprobe::Probe probe;
    std::unique_ptr<plat::X11Display> x;
};

} // namespace wx
