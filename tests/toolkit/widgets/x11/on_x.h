// The widgets on an X server: the toolkit started on a display (the
// server's, or an offscreen one of the screen's size to compare with), the
// loop run while the server answers, and the pixels two windows differ in.
#pragma once

#include "support/x_probe.h"
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

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace wx {

inline int pumping = 0;
inline void StopPump(int, void*) { pumping = 0; }

class OnX : public ::testing::Test {
protected:
    void Start(plat::Display* display, const char* name) {
        static const std::string folder = std::string(TM_TEST_OUTPUT_DIR) + "/wokusys";
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(UseTestFonts());
        setenv("WOKUDIR", folder.c_str(), 1);
        program = folder + "/" + name;
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
    // The server's answers take their time, the offscreen display's none.
    void Pump(bool onServer, int ms = 300) {
        if (!onServer) {
            WkFlushEvents();
            return;
        }
        pumping = 1;
        WkAddTimeout(ms, StopPump, nullptr);
        WkLoopWhile(&pumping, 1);
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
