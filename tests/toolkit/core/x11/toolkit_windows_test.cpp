// The toolkit on a real X server: top-level windows made and shown by the
// toolkit, messages taken by its own event loops, and what other X clients
// see of them: the pixels the server holds, the keys xdotool types, the bell
// a blocked click rings, the clipboard text xclip reads and the cursor shown.
#include "toolkit/core/clipboard.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/image.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/test_form.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/platform/png.h"
#include "toolkit/platform/x11_display.h"
#include "support/reference_picture.h"
#include "support/toolkit_on_x.h"
#include "support/wait_until.h"
#include "support/x_probe.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace {

void Record(WkObject*, WkMessage* message, void* data, std::uint32_t) {
    auto* log = static_cast<testform::Log*>(data);
    log->add(message);
}

// The second values the messages of a type carry (Carried), from entry first
// on.
std::vector<std::intptr_t> Values(const testform::Log& log, int type, std::size_t first = 0) {
    std::vector<std::intptr_t> out;
    for (std::size_t i = first; i < log.types.size(); ++i)
        if (log.types[i] == type) out.push_back(log.b[i]);
    return out;
}

int CountClose(WkObject*, std::intptr_t, void* data, WkMessage*) { return ++*static_cast<int*>(data); }

WkObject* MakeMainForm(WkObject* shell) { return testform::MakeForm(shell); }

// A leaf that draws a line of text and a diagonal over its background, so
// that glyphs and lines are compared as well as fills.
int TextLeafHandler(WkObject* leaf, WkMessage* message) {
    if (message->type != WK_MSG_EXPOSE) return 0;
    WkPaintObjectBackground(leaf);
    WkObjectDrawText(leaf, 4, 2, leaf->width - 8, leaf->height - 4, "Caf\xE9 \xBD Woku", 0, WkBlackColor(),
                     WK_ALIGN_LEFT);
    WkObjectDrawLine(leaf, 0, leaf->height - 1, leaf->width - 1, 0, WkWhiteColor());
    return 1;
}

WkObject* MakeTextLeaf(WkObject* parent, int width, int height) {
    WkObject base = WkBaseTemplate(WK_CLASS_DRAWING_AREA);
    base.handler = TextLeafHandler;
    base.width = width;
    base.height = height;
    WkObject* leaf = WkNewObject(base, nullptr, 0);
    WkInheritColors(parent, leaf);
    testform::AddChild(parent, leaf);
    leaf->state |= WK_STATE_SHOWN;
    return leaf;
}

// Ends a loop run by the toolkit's modal loop: when the time is up or the
// stop condition holds, checked on the toolkit's own timeouts.
struct PumpState {
    int done = 0;
    int timeout = 0;
    std::chrono::steady_clock::time_point end;
    std::function<bool()> stop;
};

void PumpCheck(int, void* data) {
    auto* p = static_cast<PumpState*>(data);
    if (std::chrono::steady_clock::now() >= p->end || (p->stop && p->stop()))
        p->done = 1;
    else
        p->timeout = WkAddTimeout(20, PumpCheck, p);
}

class ToolkitOnX : public ::testing::Test {
protected:
    // The environment, set before the probe or a display opens: the
    // display's font thread reads it from its first moment.
    static void SetUpTestSuite() {
        std::filesystem::create_directories(testform::ToolkitFolder());
        ASSERT_TRUE(UseTestFonts());
        ASSERT_EQ(setenv("WOKUDIR", testform::ToolkitFolder().c_str(), 1), 0);
    }
    void SetUp() override {
        // These tests must run wherever they are built for: no server is a failure.
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
        ASSERT_TRUE(probe.connected()); // first, so that the server is up for the display
        std::string error;
        x = plat::X11Display::Open("", false, &error);
        ASSERT_TRUE(x) << error;
        Start(x.get());
    }
    void TearDown() override {
        Stop();
        x.reset();
    }

    void Start(plat::Display* display) {
        program = testform::ToolkitFolder() + "/xtest";
        argv[0] = program.data();
        WkInitWindowSystem(display, nullptr, argv);
        testform::InstallFormAccess();
        WkInstallEventLoop();
        WkSetMainFormMaker(MakeMainForm);
        WkResetWheel();
    }
    void Stop() {
        if (!WkWindowSystemRunning()) return;
        for (WkObject* s : shells) {
            WkObjectRemoveEventHandler(s, Record);
            WkObjectDestroy(s);
        }
        shells.clear();
        WkSetClipboardText(0, nullptr, 0);
        WkSetMainFormMaker(nullptr);
        WkEndDraw();
        WkReleaseDefaultColors();
        WkShutdown();
        WkSetFormAccess(nullptr);
    }

    // A top-level window made by the toolkit, its main form holding a
    // coloured leaf and a text leaf, shown centred and painted.
    WkObject* Window(const char* title, std::uint16_t flags, int width, int height, testform::Log* seen = nullptr) {
        WkObject* shell = WkCreateShell(title, flags);
        shells.push_back(shell);
        WkObject* form = testform::MainForm(shell);
        WkObject* block = testform::MakeLeaf(form, width, height / 2);
        testform::SetColor(block, 40, 90, 200);
        MakeTextLeaf(form, width, height / 2);
        WkShellRealize(shell);
        testform::LayOutShown(shell);
        WkDisplay()->invalidate(WkObjectGetNativeWindow(shell));
        WkFlushEvents();
        if (seen) WkObjectAddEventHandler(shell, Record, 0xFFFFFFFFu, seen);
        return shell;
    }

    // Runs the toolkit's modal loop for up to ms, or until stop holds; the
    // loop answers the server and sends the windows' pixels meanwhile.
    void Pump(int ms, std::function<bool()> stop = nullptr) {
        PumpState p;
        p.end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        p.stop = std::move(stop);
        p.timeout = WkAddTimeout(20, PumpCheck, &p);
        WkLoopWhile(&p.done, 0);
        if (!p.done) WkRemoveTimeout(p.timeout); // the loop met a quit
    }

    // Runs the loop until stop holds, at most the waits' ceiling; running
    // out fails the test naming the wait.
    bool Wait(const std::string& what, const std::function<bool()>& stop) {
        const ::testing::AssertionResult done = xwait::Until(what, stop, {}, [this] { Pump(20); });
        EXPECT_TRUE(done);
        return done;
    }

    void CatchUp() { xprobe::CatchUp(*x); }

    // Waits until the server maps the window, then catches up: its first
    // Expose is answered with its pixels.
    void Mapped(WkObject* shell) {
        Wait("the window to be mapped", [&] { return probe.Viewable(XWindowOf(shell)); });
        CatchUp();
    }

    // Runs a desktop tool while the toolkit's loop keeps answering the
    // server; then catches up with what it did.
    std::string RunBeside(const std::string& command) {
        auto result = std::async(std::launch::async, [command] { return xprobe::Run(command); });
        Wait(command + " to end",
             [&] { return result.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; });
        CatchUp();
        return result.get();
    }

    // Types the keys: once xdotool ended they have all arrived.
    void Type(const std::string& keys, const testform::Log& seen) {
        const int keys0 = seen.count(WK_MSG_KEY), closes0 = seen.count(WK_MSG_CLOSE);
        ASSERT_EQ(RunBeside("xdotool key " + keys), "");
        EXPECT_TRUE(seen.count(WK_MSG_KEY) > keys0 || seen.count(WK_MSG_CLOSE) > closes0) << "no key from " << keys;
    }

    void SetNumLock(bool on) {
        if (probe.NumLockOn() != on) xprobe::Run("xdotool key Num_Lock");
        ASSERT_EQ(probe.NumLockOn(), on);
    }

    static std::string Difference(const plat::Surface& a, const plat::Surface& b) {
        if (a.width() != b.width() || a.height() != b.height())
            return "sizes differ: " + std::to_string(a.width()) + "x" + std::to_string(a.height()) + " and " +
                   std::to_string(b.width()) + "x" + std::to_string(b.height());
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.colorAt(x, y) != b.colorAt(x, y))
                    return "first difference at " + std::to_string(x) + "," + std::to_string(y);
        return "";
    }

    unsigned long XWindowOf(WkObject* shell) const { return x->xWindow(WkObjectGetNativeWindow(shell)); }

    std::unique_ptr<plat::X11Display> x;
    xprobe::Probe probe;
    std::vector<WkObject*> shells;
    std::string program;
    char* argv[2] = {};
};

TEST_F(ToolkitOnX, TheServerHoldsTheSamePixelsAsTheOffscreenDisplay) {
    WkObject* shell = Window("Pixels", 0, 220, 90);
    Mapped(shell);
    const plat::Surface backing = testform::SurfaceOf(shell);
    const std::string png = std::string(TM_TEST_OUTPUT_DIR) + "/toolkit_window_xwd.png";
    ASSERT_EQ(xprobe::Run("xwd -silent -id " + std::to_string(XWindowOf(shell)) + " | convert xwd:- png:" + png), "");
    plat::Surface shown;
    std::string error;
    ASSERT_TRUE(plat::LoadPng(png, shown, &error)) << error;
    EXPECT_EQ(Difference(shown, backing), "") << "the server against the window's backing store";
    EXPECT_TRUE(refpic::MatchesReference(shown, TM_TEST_SOURCE_DIR "/toolkit/core/x11/reference/toolkit_window_xwd.png",
                                         png, refpic::kOnServer));
    const int x0 = shell->x, y0 = shell->y;

    // The same window drawn by the toolkit on the offscreen display of the
    // same screen size.
    Stop();
    plat::OffscreenOptions options;
    options.width = x->screenWidth();
    options.height = x->screenHeight();
    plat::OffscreenDisplay offscreen(options);
    Start(&offscreen);
    WkObject* again = Window("Pixels", 0, 220, 90);
    EXPECT_EQ(again->x, x0);
    EXPECT_EQ(again->y, y0);
    EXPECT_EQ(Difference(shown, testform::SurfaceOf(again)), "") << "the server against the offscreen display";
    // Not a blank window that happens to match: the fill, the text and the line are there.
    std::vector<plat::Rgb> colours;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (std::find(colours.begin(), colours.end(), shown.colorAt(x, y)) == colours.end())
                colours.push_back(shown.colorAt(x, y));
    EXPECT_GE(colours.size(), 4u);
    EXPECT_NE(std::find(colours.begin(), colours.end(), plat::MakeRgb(40, 90, 200)), colours.end());
    Stop();
}

TEST_F(ToolkitOnX, ACursorMadeFromAPictureShowsItsHotSpot) {
    WkObject* shell = Window("Cursor", 0, 120, 60);
    WkImage* picture = WkCreateImage(16, 16, 1);
    WkImageSetPaletteEntry(picture, 1, 255, 255, 255);
    for (int i = 0; i < 16; ++i) WkImageSetPixelIndex(picture, i, 15 - i, 1);
    const int slot = WkCreateCursorFromImage(picture, 5, 9);
    WkFreeImage(picture);
    ASSERT_GE(slot, 8);
    // The main form's cursor, shown once the pointer moves over the form.
    WkObjectSetCursor(shell, slot);
    Mapped(shell);
    ASSERT_EQ(RunBeside("xdotool mousemove " + std::to_string(shell->x + 20) + " " + std::to_string(shell->y + 20)),
              "");
    _XDisplay* dpy = xprobe::Connect();
    ASSERT_NE(dpy, nullptr);
    int eventBase = 0, errorBase = 0;
    ASSERT_TRUE(XFixesQueryExtension(dpy, &eventBase, &errorBase));
    XFixesCursorImage* shown = XFixesGetCursorImage(dpy);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->width, 16);
    EXPECT_EQ(shown->xhot, 5);
    EXPECT_EQ(shown->yhot, 9);
    XFree(shown);
    XCloseDisplay(dpy);
}

TEST_F(ToolkitOnX, TypedKeysArriveAsToolkitCodes) {
    testform::Log seen;
    int closes = 0;
    WkObject* shell = Window("Keys", 0, 200, 80, &seen);
    WkShellSetCloseCallback(shell, CountClose, &closes);
    Mapped(shell);

    Type("ctrl+c", seen);
    ASSERT_EQ(Values(seen, WK_MSG_KEY), (std::vector<std::intptr_t>{0x2E03}));
    EXPECT_EQ(seen.a.back(), WK_MOD_CTRL);

    SetNumLock(true);
    std::size_t first = seen.types.size();
    Type("KP_7", seen);
    EXPECT_EQ(Values(seen, WK_MSG_KEY, first), (std::vector<std::intptr_t>{'7'})) << "the keypad types its digit";

    SetNumLock(false);
    first = seen.types.size();
    Type("KP_Home", seen);
    EXPECT_EQ(Values(seen, WK_MSG_KEY, first), (std::vector<std::intptr_t>{0x4700})) << "the keypad is the cursor block";

    // The Alt key itself goes down with Alt held and arrives as its own
    // code; F4 with it asks to close and is no key.
    first = seen.types.size();
    Type("alt+F4", seen);
    EXPECT_EQ(Values(seen, WK_MSG_KEY, first), (std::vector<std::intptr_t>{0x3800}));
    EXPECT_EQ(seen.count(WK_MSG_CLOSE), 1);
    EXPECT_EQ(closes, 1);
}

TEST_F(ToolkitOnX, AClickUnderAModalDialogRingsTheBellAndReachesNoObject) {
    testform::Log mainSeen, dialogSeen;
    WkObject* main = Window("Main", 0, 400, 300, &mainSeen);
    WkObject* dialog = Window("Dialog", WK_SHELL_DIALOG, 100, 60, &dialogSeen);
    ASSERT_EQ(WkGetModalWindow(), WkObjectGetNativeWindow(dialog));
    Mapped(main);
    Mapped(dialog);
    probe.Bells(x->connection());
    const std::string outside = std::to_string(main->x + 10) + " " + std::to_string(main->y + 10);
    EXPECT_EQ(RunBeside("xdotool mousemove " + outside + " click 1"), "");
    EXPECT_EQ(mainSeen.count(WK_MSG_PRESS), 0);
    EXPECT_EQ(mainSeen.count(WK_MSG_RELEASE), 0);
    EXPECT_EQ(probe.Bells(x->connection(), 1), 1);

    // The dialog itself takes clicks, and no bell rings for them.
    const std::string inside = std::to_string(dialog->x + 8) + " " + std::to_string(dialog->y + 9);
    EXPECT_EQ(RunBeside("xdotool mousemove " + inside + " click 1"), "");
    Wait("the dialog's release", [&] { return dialogSeen.count(WK_MSG_RELEASE) > 0; });
    ASSERT_EQ(dialogSeen.count(WK_MSG_PRESS), 1);
    const std::size_t press = std::size_t(std::find(dialogSeen.types.begin(), dialogSeen.types.end(), WK_MSG_PRESS) -
                                          dialogSeen.types.begin());
    EXPECT_EQ(dialogSeen.a[press], 8);
    EXPECT_EQ(dialogSeen.b[press], 9);
    EXPECT_EQ(dialogSeen.count(WK_MSG_RELEASE), 1);
    EXPECT_EQ(mainSeen.count(WK_MSG_PRESS), 0);
    EXPECT_EQ(probe.Bells(x->connection()), 0);
}

TEST_F(ToolkitOnX, OtherClientsReadTheClipboardAsUtf8WithLineFeeds) {
    WkObject* shell = Window("Clipboard", 0, 100, 40);
    const WkNativeWindow window = WkObjectGetNativeWindow(shell);
    const char text[] = "Caf\xE9 \xBD point\nline 2";
    WkSetClipboardText(window, text, static_cast<int>(std::strlen(text)));
    ASSERT_EQ(WkOwnsClipboard(), 1);
    std::string held;
    ASSERT_TRUE(WkDisplay()->clipboardText(held));
    EXPECT_EQ(held, "Caf\xE9 \xBD point\r\nline 2") << "the clipboard holds CR LF";
    EXPECT_EQ(RunBeside("xclip -o -selection clipboard"), "Caf\xC3\xA9 \xC2\xBD point\nline 2");
    EXPECT_STREQ(WkGetClipboardText(window), text);

    // Another client takes the clipboard: the toolkit lets its copy go and
    // reads the new text without carriage returns.
    EXPECT_EQ(RunBeside("printf '\\302\\275 x\\r\\ny' | xclip -loops 1 -selection clipboard -i >/dev/null 2>&1"), "");
    Wait("the toolkit to let the clipboard go", [] { return WkOwnsClipboard() == 0; });
    EXPECT_EQ(WkOwnsClipboard(), 0);
    const char* back = WkGetClipboardText(window);
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back, "\xBD x\ny");
}

} // namespace
