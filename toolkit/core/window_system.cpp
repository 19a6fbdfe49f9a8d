#include "toolkit/core/window_system.h"

#include "toolkit/core/fonts.h"
#include "toolkit/core/image.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/platform/files.h"

#include <cstring>
#include <memory>

namespace {

struct State {
    bool running = false;
    plat::Display* display = nullptr;
    std::string programName;
    int width = 0, height = 0, depth = 0;
    bool palette = false;
    long colorCount = 0;
    WkColor black = 0, white = 0;
    plat::TimerId timer = 0;
    plat::CursorId cursors[WK_CURSOR_SLOTS] = {};
    WkStartColors colors;
};

State state;
std::unique_ptr<plat::Display> ownDisplay; // a display the start opened itself
WkShutdownHooks shutdownHooks;
WkWindowProcedure windowProcedure = nullptr;
bool classesRegistered = false;

WkWindowClass classes[] = {
    {"WOKU_CLASS", WK_CLASS_REDRAW, nullptr},
    {"WOKU_NO_CLOSE_CLASS", WK_CLASS_REDRAW | WK_CLASS_NO_CLOSE, nullptr},
    {"WOKU_BACKSTORE_CLASS", WK_CLASS_REDRAW | WK_CLASS_SAVE_BITS, nullptr},
};

void WriteHardwarePalette(int first, int count, const plat::Rgb* entries) {
    if (!state.running || !state.display) return;
    state.display->setPaletteEntries(first, count, entries);
}

void DisplayClock(WkTimeVal* now) {
    *now = state.display ? WkTimeFromWallMs(state.display->clock().wallMs()) : WkTimeVal{};
}

// The program file's name part: after the last '/', '\' counting as '/'.
std::string FileNameOf(const std::string& path) {
    std::string p = plat::ToSlashes(path);
    std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

// Where the extension of the file name begins, npos without one (a leading
// dot starts no extension).
std::size_t ExtensionDot(const std::string& name) {
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string::npos : dot;
}

} // namespace

std::string WkProgramNameOf(const std::string& programPath) {
    std::string name = FileNameOf(programPath);
    std::size_t dot = ExtensionDot(name);
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WkSettingsPathOf(const std::string& programPath) {
    std::string path = plat::ToSlashes(programPath);
    std::size_t nameStart = path.rfind('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    std::size_t dot = ExtensionDot(path.substr(nameStart));
    if (dot == std::string::npos) return path + ".ini";
    return path.substr(0, nameStart + dot) + ".ini";
}

int WkParseDefaultColor(const char* text, int rgb[3]) {
    int r, g, b;
    if (!text || !WkParseColorValue(text, &r, &g, &b) || r < 0) return 0;
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
    return 1;
}

const WkWindowClass* WkFindWindowClass(const char* name) {
    if (!classesRegistered || !name) return nullptr;
    for (const WkWindowClass& c : classes)
        if (std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

void WkSetClassWindowProc(WkWindowClass* windowClass) {
    if (windowClass) windowClass->procedure = WkDispatchEvent;
}

void WkInitWindowSystem(WkInstance instance, WkInstance previous, char** argv) {
    if (state.running) WkShutdown();
    // 1. The window classes (a previous instance would already hold them).
    if (!previous) {
        for (WkWindowClass& c : classes) WkSetClassWindowProc(&c);
        classesRegistered = true;
    }
    // 2. The display the program runs on.
    if (!instance) {
        if (!ownDisplay) ownDisplay = plat::OpenDisplay(plat::DisplayOptions());
        instance = ownDisplay.get();
    }
    State fresh;
    fresh.display = instance;
    state = fresh;
    state.running = true;
    WkSetShutdownHook(WkShutdown);
    // 3, 4. Program name and the two settings files.
    std::string programPath = argv && argv[0] ? argv[0] : "";
    state.programName = WkProgramNameOf(programPath);
    std::string own = programPath.empty() ? std::string() : WkSettingsPathOf(programPath);
    std::string toolkit = plat::JoinPath(WkGetToolkitDir(), "woku.ini");
    WkSetSettingsFiles(own.c_str(), toolkit.c_str());
    // 6, 7. The screen size and the font table, which depends on its height.
    state.width = instance->screenWidth();
    state.height = instance->screenHeight();
    WkLoadFonts(state.height);
    // 8. Cursors.
    WkLoadStockCursors();
    // 9. Depth and palette.
    state.depth = instance->depth() > 24 ? 24 : instance->depth();
    state.palette = instance->paletteSize() > 0;
    state.colorCount = state.palette ? instance->paletteSize() : (1L << state.depth);
    // 5, 10, 11. The colour table (the toolkit palette on a palette display), black and white.
    WkColorDisplay colorDisplay;
    colorDisplay.palette = state.palette;
    colorDisplay.colorCount = state.palette ? int(state.colorCount > 256 ? 256 : state.colorCount) : 0;
    colorDisplay.setHardwareEntries = WriteHardwarePalette;
    WkInitColors(colorDisplay);
    state.black = WkAllocColor(0, 0, 0);
    state.white = WkAllocColor(255, 255, 255);
    // 12. The timer and the event entry; timeouts run on the display's clock.
    WkSetClock(DisplayClock);
    instance->setListener(WkDispatchEvent);
    state.timer = instance->startTimer(50);
    // 13. Default colours, background first.
    state.colors.haveBackground = WkParseDefaultColor(WkReadSetting("DefaultColors", "background"),
                                                      state.colors.background);
    state.colors.haveForeground = WkParseDefaultColor(WkReadSetting("DefaultColors", "foreground"),
                                                      state.colors.foreground);
}

void WkShutdown() {
    if (!state.running) return;
    plat::Display* d = state.display;
    // 1. Shared bitmaps, then fonts.
    if (shutdownHooks.freeStockBitmaps) shutdownHooks.freeStockBitmaps();
    WkDeleteFonts();
    // 2, 3. The arrow over every shown window; the cursors of slots 4 to 15
    // (the platform keeps its stock ones).
    for (plat::WindowId w : d->zOrder()) d->setCursor(w, state.cursors[0]);
    for (int slot = 4; slot < WK_CURSOR_SLOTS; ++slot) {
        if (!state.cursors[slot]) continue;
        const plat::CursorRecord* info = d->cursorInfo(state.cursors[slot]);
        if (info && !info->stock) {
            d->destroyCursor(state.cursors[slot]);
            state.cursors[slot] = 0;
        }
    }
    // 4. The timer, and the timeouts it would run: they were set for the
    // windows of this run, and a window system started again must not call them.
    d->stopTimer(state.timer);
    state.timer = 0;
    WkDropTimeouts();
    // 5, 6. The palette stays the display's; the drawing device is given back.
    if (shutdownHooks.releaseDrawingDevice) shutdownHooks.releaseDrawingDevice();
    state.running = false;
    // 7. The quit ends the running event loop.
    d->postQuit(0);
}

int WkWindowSystemRunning() { return state.running ? 1 : 0; }

void WkSetShutdownHooks(const WkShutdownHooks* hooks) { shutdownHooks = hooks ? *hooks : WkShutdownHooks(); }
const WkShutdownHooks& WkCurrentShutdownHooks() { return shutdownHooks; }

std::intptr_t WkDispatchEvent(const plat::Event& event) {
    if (event.type == plat::EventType::Timer && state.running && event.timer == state.timer) {
        WkTimerTick();
        return 0;
    }
    return windowProcedure ? windowProcedure(event) : 0;
}

void WkSetWindowProcedure(WkWindowProcedure procedure) { windowProcedure = procedure; }

void WkTimerTick() {
    WkTimeVal now;
    if (WkTimeoutIsDue(&now)) WkRunTimeoutsUntil(now);
}

plat::Display* WkDisplay() { return state.display; }
WkColor WkBlackColor() { return state.black; }
WkColor WkWhiteColor() { return state.white; }
int WkScreenWidth() { return state.width; }
int WkScreenHeight() { return state.height; }
int WkIsPaletteDisplay() { return state.palette ? 1 : 0; }
int WkDisplayDepth() { return state.depth; }
long WkDisplayColorCount() { return state.colorCount; }
const char* WkProgramName() { return state.programName.c_str(); }

void WkLoadStockCursors() {
    if (!state.display) return;
    using plat::StockCursor;
    const StockCursor shapes[8] = {StockCursor::Arrow,  StockCursor::Arrow,  StockCursor::Cross,
                                   StockCursor::Wait,   StockCursor::SizeWE, StockCursor::SizeNS,
                                   StockCursor::SizeNWSE, StockCursor::SizeNESW};
    for (int slot = 0; slot < 8; ++slot) state.cursors[slot] = state.display->stockCursor(shapes[slot]);
}

void WkNativeSetCursor(WkNativeWindow window, int slot) {
    plat::CursorId cursor = WkCursorInSlot(slot);
    if (!cursor || !state.display) return;
    // Motions set the shape over and over: only a change goes to the display.
    const plat::WindowRecord* record = state.display->window(window);
    if (record && record->cursor == cursor) return;
    state.display->setCursor(window, cursor);
}

int WkCreateCursorFromImage(WkImage* image, int hotX, int hotY) {
    if (!image || !state.display || image->width <= 0 || image->height <= 0) return 0;
    int slot = 0;
    while (slot < WK_CURSOR_SLOTS && state.cursors[slot]) ++slot;
    if (slot == WK_CURSOR_SLOTS) return 0;
    plat::Surface picture(image->width, image->height);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            int r, g, b;
            WkImageGetPixelRGB(image, x, y, &r, &g, &b);
            picture.pixels()[std::size_t(y) * std::size_t(image->width) + std::size_t(x)] = plat::MakeRgb(r, g, b);
        }
    state.cursors[slot] = state.display->createCursor(picture, hotX, hotY);
    return state.cursors[slot] ? slot : 0;
}

plat::CursorId WkCursorInSlot(int slot) {
    return slot >= 0 && slot < WK_CURSOR_SLOTS ? state.cursors[slot] : 0;
}

const WkStartColors& WkSettingsDefaultColors() { return state.colors; }
