#include "toolkit/core/window_system.h"

#include "toolkit/core/fonts.h"
#include "toolkit/core/image.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/offscreen.h"
#include "toolkit/platform/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using scratch::ScratchFolder;

// The toolkit folder is found once a process: point it at a folder of this
// test program before anything asks.
const std::string toolkitFolder = std::string(TM_TEST_OUTPUT_DIR) + "/wokusys";
const bool prepared = [] {
    std::filesystem::create_directories(toolkitFolder);
    return UseTestFonts() && setenv("WOKUDIR", toolkitFolder.c_str(), 1) == 0;
}();

void WriteToolkitFile(const std::string& bytes) {
    std::FILE* f = std::fopen((toolkitFolder + "/woku.ini").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

class WindowSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(prepared);
        WriteToolkitFile("");
        program = dir / "tourman.exe";
    }
    void TearDown() override { WkShutdown(); }

    // Starts the toolkit on a new display for a program in the scratch
    // folder. The displays live until the toolkit is shut down.
    plat::OffscreenDisplay& Start(const plat::OffscreenOptions& options = plat::OffscreenOptions()) {
        displays.push_back(std::make_unique<plat::OffscreenDisplay>(options));
        argv[0] = program.data();
        argv[1] = nullptr;
        WkInitWindowSystem(displays.back().get(), nullptr, argv);
        return *displays.back();
    }
    plat::OffscreenDisplay& NewDisplay() {
        displays.push_back(std::make_unique<plat::OffscreenDisplay>());
        return *displays.back();
    }

    ScratchFolder dir;
    std::string program;
    char* argv[2] = {};
    std::vector<std::unique_ptr<plat::OffscreenDisplay>> displays;
};

TEST_F(WindowSystemTest, ProgramNameSettingsFilesAndScreen) {
    plat::OffscreenDisplay& display = Start(plat::OffscreenOptions{800, 600, false, false});
    EXPECT_EQ(WkWindowSystemRunning(), 1);
    EXPECT_EQ(WkDisplay(), &display);
    EXPECT_STREQ(WkProgramName(), "tourman");
    EXPECT_EQ(std::string(WkProgramSettingsPath()), dir / "tourman.ini");
    EXPECT_EQ(std::string(WkToolkitSettingsPath()), toolkitFolder + "/woku.ini");
    EXPECT_STREQ(WkGetToolkitDir(), toolkitFolder.c_str());
    EXPECT_EQ(WkScreenWidth(), 800);
    EXPECT_EQ(WkScreenHeight(), 600);
    EXPECT_EQ(WkIsPaletteDisplay(), 0);
    EXPECT_EQ(WkDisplayDepth(), 24);
    EXPECT_EQ(WkDisplayColorCount(), 16777216L);
    EXPECT_EQ(WkBlackColor(), 0x000000u);
    EXPECT_EQ(WkWhiteColor(), 0xFFFFFFu);
    ASSERT_NE(WkFindWindowClass("WOKU_CLASS"), nullptr);
    EXPECT_EQ(WkFindWindowClass("WOKU_CLASS")->style, 0x0003u);
    EXPECT_EQ(WkFindWindowClass("WOKU_NO_CLOSE_CLASS")->style, 0x0203u);
    EXPECT_EQ(WkFindWindowClass("WOKU_BACKSTORE_CLASS")->style, 0x0803u);
    EXPECT_EQ(WkFindWindowClass("WOKU_BACKSTORE_CLASS")->procedure, &WkDispatchEvent);
    EXPECT_EQ(WkFindWindowClass("OTHER"), nullptr);
}

TEST_F(WindowSystemTest, APaletteDisplayGivesBlackAndWhiteTheFirstSlots) {
    plat::OffscreenDisplay& display = Start(plat::OffscreenOptions{640, 480, true, false});
    EXPECT_EQ(WkIsPaletteDisplay(), 1);
    EXPECT_EQ(WkDisplayDepth(), 8);
    EXPECT_EQ(WkDisplayColorCount(), 256L);
    EXPECT_EQ(WkBlackColor(), 0u);
    EXPECT_EQ(WkWhiteColor(), 1u);
    EXPECT_EQ(display.palette().entries[1], 0xFFFFFFu);
    EXPECT_EQ(WkColorUses(0), 1);
    EXPECT_EQ(WkColorUses(1), 1);
}

TEST_F(WindowSystemTest, TheFontTableFollowsTheScreenHeight) {
    WriteToolkitFile("[Fonts640x480]\r\nfixedMedium=courier new,11,0\r\n"
                     "[Fonts800x600]\r\nfixedMedium=courier new,13,0\r\n");
    Start(plat::OffscreenOptions{640, 480, false, false});
    EXPECT_EQ(WkFontHeight("", 0), 11);
    WkShutdown();
    EXPECT_EQ(WkSlotFontExact(2), nullptr);
    Start(plat::OffscreenOptions{800, 481, false, false});
    EXPECT_EQ(WkFontHeight("", 0), 13);
}

TEST_F(WindowSystemTest, DefaultColorsFromBothFilesProgramFileFirst) {
    WriteToolkitFile("[DefaultColors]\r\nbackground=1,2,3\r\nforeground=4 5 6\r\n");
    dir.write("tourman.ini", "[defaultcolors]\r\nBackground=200, 201, 202\r\nforeground=\r\n");
    Start();
    const WkStartColors& c = WkSettingsDefaultColors();
    EXPECT_EQ(c.haveBackground, 1);
    EXPECT_EQ((std::vector<int>{c.background[0], c.background[1], c.background[2]}), (std::vector<int>{200, 201, 202}));
    EXPECT_EQ(c.haveForeground, 1);
    EXPECT_EQ((std::vector<int>{c.foreground[0], c.foreground[1], c.foreground[2]}), (std::vector<int>{4, 5, 6}));
}

TEST_F(WindowSystemTest, InvalidDefaultColorsAndFromParentAreIgnored) {
    WriteToolkitFile("[DefaultColors]\r\nbackground=FromParent,115\r\nforeground=1,300,2\r\n");
    Start();
    const WkStartColors& c = WkSettingsDefaultColors();
    EXPECT_EQ(c.haveBackground, 0);
    EXPECT_EQ(c.background[0], 192);
    EXPECT_EQ(c.haveForeground, 0);
    int rgb[3] = {9, 9, 9};
    EXPECT_EQ(WkParseDefaultColor("FromParent", rgb), 0);
    EXPECT_EQ(WkParseDefaultColor("1 2", rgb), 0);
    EXPECT_EQ(rgb[0], 9);
    EXPECT_EQ(WkParseDefaultColor("7,8,9", rgb), 1);
    EXPECT_EQ(rgb[2], 9);
}

int fired = 0;
void CountFired(int, void*) { ++fired; }

// Hands out every waiting event, as the event loop does; returns whether a Quit came.
bool DrainEvents(plat::Display& display) {
    plat::Event e;
    bool quit = false;
    while (display.peekEvent(e)) {
        if (e.type == plat::EventType::Quit) quit = true;
        display.dispatch(e);
    }
    return quit;
}

TEST_F(WindowSystemTest, TheTimerRunsTimeoutsOnTheDisplaysClock) {
    plat::OffscreenDisplay& display = Start();
    fired = 0;
    WkAddTimeout(120, CountFired, nullptr);
    display.virtualClock()->advance(100);
    EXPECT_FALSE(DrainEvents(display));
    EXPECT_EQ(fired, 0);
    display.virtualClock()->advance(50);
    DrainEvents(display);
    EXPECT_EQ(fired, 1);
    // Other events go on to the window procedure.
    static int seen = 0;
    seen = 0;
    WkSetWindowProcedure([](const plat::Event& e) -> std::intptr_t {
        if (e.type == plat::EventType::CloseRequest) ++seen;
        return 0;
    });
    plat::WindowId w = display.createWindow(plat::WindowParams());
    display.show(w, true);
    display.injectCloseRequest(w);
    DrainEvents(display);
    EXPECT_EQ(seen, 1);
    WkSetWindowProcedure(nullptr);
}

TEST_F(WindowSystemTest, ShutdownStopsTheTimerReleasesFontsAndPostsQuit) {
    plat::OffscreenDisplay& display = Start();
    static int bitmaps = 0, device = 0;
    bitmaps = device = 0;
    WkShutdownHooks hooks;
    hooks.freeStockBitmaps = [] { ++bitmaps; };
    hooks.releaseDrawingDevice = [] { ++device; };
    WkSetShutdownHooks(&hooks);
    fired = 0;
    WkAddTimeout(10, CountFired, nullptr);
    WkShutdown();
    WkShutdown(); // the second call does nothing
    WkSetShutdownHooks(nullptr);
    EXPECT_EQ(bitmaps, 1);
    EXPECT_EQ(device, 1);
    EXPECT_EQ(WkWindowSystemRunning(), 0);
    EXPECT_EQ(WkSlotFontExact(1), nullptr);
    display.virtualClock()->advance(1000);
    EXPECT_TRUE(DrainEvents(display));
    EXPECT_EQ(fired, 0); // no tick after the shut-down
    // Nor is the timeout kept for a window system started again: it was set
    // for this one's windows.
    EXPECT_EQ(WkPendingTimeouts(), 0);
    WkFreeTimeouts();
    EXPECT_EQ(fired, 0);
}

TEST_F(WindowSystemTest, CursorSlots) {
    plat::OffscreenDisplay& display = Start();
    plat::WindowId w = display.createWindow(plat::WindowParams());
    display.show(w, true);
    WkNativeSetCursor(w, 3);
    const plat::CursorRecord* wait = display.cursorInfo(display.window(w)->cursor);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(wait->shape, plat::StockCursor::Wait);
    WkNativeSetCursor(w, 16);
    WkNativeSetCursor(w, 9); // empty
    WkNativeSetCursor(w, -1);
    EXPECT_EQ(display.window(w)->cursor, WkCursorInSlot(3));
    EXPECT_EQ(WkCursorInSlot(0), WkCursorInSlot(1));
    EXPECT_EQ(display.cursorInfo(WkCursorInSlot(7))->shape, plat::StockCursor::SizeNESW);

    // Pictures fill slots 8 to 15 in turn, with their hot spots.
    WkImage* picture = WkCreateImage(12, 10, 1);
    WkImageSetPaletteEntry(picture, 1, 255, 255, 255);
    WkImageSetPixelIndex(picture, 3, 4, 1);
    EXPECT_EQ(WkCreateCursorFromImage(nullptr, 0, 0), 0);
    for (int slot = 8; slot < WK_CURSOR_SLOTS; ++slot) EXPECT_EQ(WkCreateCursorFromImage(picture, 3, 4), slot);
    EXPECT_EQ(WkCreateCursorFromImage(picture, 3, 4), 0) << "no slot left";
    const plat::CursorRecord* made = display.cursorInfo(WkCursorInSlot(8));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->hotX, 3);
    EXPECT_EQ(made->hotY, 4);
    EXPECT_EQ(made->image.width(), 12);
    EXPECT_EQ(made->image.colorAt(3, 4), plat::MakeRgb(255, 255, 255));
    EXPECT_EQ(made->image.colorAt(4, 4), plat::MakeRgb(0, 0, 0));
    WkFreeImage(picture);
    WkShutdown();
    EXPECT_EQ(display.window(w)->cursor, WkCursorInSlot(0)); // the arrow again
    EXPECT_EQ(WkCursorInSlot(8), 0u) << "destroyed at the shut-down";
}

int mainCalls = 0;
int seenArgc = 0;
std::string seenArg1, seenName;
int RecordingMain(int argc, char** argv) {
    ++mainCalls;
    seenArgc = argc;
    seenArg1 = argc > 1 ? argv[1] : "";
    seenName = WkProgramName();
    return 7;
}

TEST_F(WindowSystemTest, MainRunsBetweenTheStartAndTheShutdown) {
    plat::OffscreenDisplay& display = NewDisplay();
    mainCalls = 0;
    // The process ends with main's status: a program that could not start tells the shell.
    EXPECT_EQ(WkMain(RecordingMain, &display, nullptr, "first \"second arg\"", 1), 7);
    EXPECT_EQ(mainCalls, 1);
    EXPECT_EQ(seenArgc, 3);
    EXPECT_EQ(seenArg1, "first");
    EXPECT_EQ(seenName, "core_window_system_test");
    EXPECT_EQ(WkWindowSystemRunning(), 0);
    EXPECT_TRUE(DrainEvents(display));

    plat::OffscreenDisplay& again = NewDisplay();
    char a0[] = "ignored", a1[] = "two words";
    char* host[] = {a0, a1, nullptr};
    EXPECT_EQ(WkHostMain(RecordingMain, 2, host, &again), 7);
    EXPECT_EQ(seenArgc, 2);
    EXPECT_EQ(seenArg1, "two words");
    EXPECT_EQ(seenName, "core_window_system_test");
}

} // namespace
