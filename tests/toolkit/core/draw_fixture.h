// A toolkit started on an offscreen display (true colour or palette) with
// one window to draw into, for the drawing-device tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "toolkit/core/draw.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/offscreen.h"
#include "toolkit/platform/font_test_fonts.h"

class DrawFixture : public ::testing::Test {
protected:
    void Start(bool paletteMode, int width = 40, int height = 30) {
        UseTestFonts();
        plat::OffscreenOptions options;
        options.width = 640;
        options.height = 480;
        options.paletteMode = paletteMode;
        display = std::make_unique<plat::OffscreenDisplay>(options);
        static char program[] = "/nowhere/drawtest";
        char* argv[] = {program, nullptr};
        WkInitWindowSystem(display.get(), nullptr, argv);
        plat::WindowParams params;
        params.client = plat::Rect{0, 0, width, height};
        window = display->createWindow(params);
        surface = display->surface(window);
        WkNativeSetClip(window, 0, 0, width, height);
    }
    void TearDown() override {
        WkNativeEndDraw();
        WkShutdown();
    }
    // The colour shown at a pixel of the window.
    plat::Rgb At(int x, int y) const { return surface->colorAt(x, y); }

    std::unique_ptr<plat::OffscreenDisplay> display;
    plat::WindowId window = 0;
    plat::Surface* surface = nullptr;
};
