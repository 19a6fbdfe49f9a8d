// The widgets' tests: the toolkit started on an offscreen display per test,
// with its own toolkit folder and program settings file, and a leaf class
// of a set preferred size that records the messages it receives and paints
// its background.
#pragma once

#include "toolkit/core/event_loop.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/offscreen.h"
#include "toolkit/core/keys.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/platform/font_test_fonts.h"
#include "support/nothing_left.h"
#include "support/reference_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace wt {

struct Leaf {
    int width, height; // the preferred size the size query gives
    std::vector<int>* log;
};

inline int LeafHandler(WkObject* o, WkMessage* m) {
    auto* r = static_cast<Leaf*>(o->classRecord);
    if (r->log && m->type != WK_MSG_EXPOSE) r->log->push_back(m->type);
    switch (m->type) {
    case WK_MSG_QUERY_SIZE:
        o->width = r->width, o->height = r->height;
        return 1;
    case WK_MSG_RESIZE:
        o->width = WkNewWidth(m), o->height = WkNewHeight(m);
        return 1;
    case WK_MSG_EXPOSE:
        WkPaintObjectBackground(o);
        return 1;
    case WK_MSG_FOCUS_IN:
        o->state |= WK_STATE_FOCUS;
        return 1;
    case WK_MSG_FOCUS_OUT:
        o->state &= std::uint16_t(~WK_STATE_FOCUS);
        return 1;
    case WK_MSG_KEY: {
        // The keys of a push button: Tab leaves the group under the old
        // policy; the others are left to the forms around it.
        bool oldPolicy = WkFocusSwitchPolicy() != 0, back = WkKeyModifiers(m) & WK_MOD_SHIFT;
        const int key = WkKeyCode(m);
        if (key == WK_KEY_TAB && !back) oldPolicy ? WkFocusLeaveForward(o->parent) : WkFocusNext(o->parent);
        else if (key == WK_KEY_TAB) oldPolicy ? WkFocusLeaveBackward(o->parent) : WkFocusPrevious(o->parent);
        else if (key == WK_KEY_RIGHT || key == WK_KEY_DOWN) WkFocusNext(o->parent);
        else if (key == WK_KEY_LEFT || key == WK_KEY_UP) WkFocusPrevious(o->parent);
        else return 0;
        return 1;
    }
    }
    return 0;
}

inline WkObject* MakeLeaf(WkObject* parent, int width, int height, std::uint16_t layout = 0,
                          std::vector<int>* log = nullptr) {
    WkObject base = WkBaseTemplate(WK_CLASS_DRAWING_AREA);
    base.handler = LeafHandler;
    base.width = width, base.height = height, base.layout = layout;
    Leaf record{width, height, log};
    WkObject* leaf = WkNewObject(base, &record, sizeof record);
    WkInheritColors(parent, leaf);
    WkAddChild(parent, leaf);
    return leaf;
}

inline void Paint(WkObject* o, int r, int g, int b) {
    WkStoreColors(o, WkAllocColor(r, g, b), WkAddColorRef(o->foreground));
}

inline std::string Folder() { return std::string(TM_TEST_OUTPUT_DIR) + "/wokusys"; }

class WidgetTest : public ::testing::Test {
protected:
    // Settings lines of the program's own file, written before the start.
    void Start(const std::string& settings = "", int screenWidth = 640, int screenHeight = 480) {
        static const bool prepared = [] {
            std::filesystem::create_directories(Folder());
            return UseTestFonts() && setenv("WOKUDIR", Folder().c_str(), 1) == 0;
        }();
        ASSERT_TRUE(prepared);
        program = Folder() + "/wtest";
        std::ofstream(program + ".ini", std::ios::binary) << settings;
        plat::OffscreenOptions options;
        options.width = screenWidth, options.height = screenHeight;
        options.paletteMode = paletteMode;
        display = std::make_unique<plat::OffscreenDisplay>(options);
        argv[0] = program.data();
        WkInitWindowSystem(display.get(), nullptr, argv);
        WkInstallEventLoop();
        started = true;
    }
    void SetUp() override { Start(); }
    void TearDown() override { Stop(); }
    void Stop() {
        if (!started) return;
        for (WkObject* o : owned) WkObjectDestroy(o);
        owned.clear();
        tmtest::ExpectNothingLeftBehind();
        WkEndDraw();
        WkReleaseDefaultColors();
        WkShutdown();
        started = false;
    }
    // The window as painted, pixel for pixel, against reference/<name>: the
    // offscreen display paints the same pixels every run.
    void ExpectPicture(WkObject* shell, const std::string& name) {
        ExpectPicture(*display->surface(WkObjectGetNativeWindow(shell)), name);
    }
    // The part of the screen where a window and its open popups lie.
    void ExpectScreenPicture(const plat::Rect& area, const std::string& name) {
        ExpectPicture(refpic::Crop(display->composite(), area), name);
    }
    static void ExpectPicture(const plat::Surface& picture, const std::string& name) {
        EXPECT_TRUE(refpic::MatchesReference(picture, TM_TEST_SOURCE_DIR "/toolkit/widgets/reference/" + name,
                                             std::string(TM_TEST_OUTPUT_DIR) + "/" + name, refpic::kExact));
    }
    // A shell's place on the screen, its frame left out.
    static plat::Rect ScreenArea(WkObject* shell) {
        return {shell->x, shell->y, shell->x + shell->width, shell->y + shell->height};
    }
    // A form without parent, destroyed by the fixture.
    WkObject* Form(int kind, int count = 1) { return owned.emplace_back(WkCreateForm(nullptr, count, kind)); }
    WkObject* Window() { return owned.emplace_back(WkCreateShell("Test", 0)); }

    std::unique_ptr<plat::OffscreenDisplay> display;
    std::string program;
    char* argv[2] = {};
    std::vector<WkObject*> owned;
    bool started = false;
    bool paletteMode = false; // read by Start
};

} // namespace wt
