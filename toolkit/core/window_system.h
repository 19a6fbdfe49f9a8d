// The window-system layer's start, its display queries and the toolkit's
// shut-down.
//
// WkInitWindowSystem brings the toolkit up on a display (the "instance":
// the platform display the program runs on, opened here when none is
// given): it registers the three window classes, derives the program name
// and the two settings files, reads the screen, builds the font table and
// the cursor table, sets up the colours (the toolkit palette on a palette
// display), allocates black and white, starts the 50 ms timer that runs the
// timeouts, and reads the default colours. It owns that state, the cursor
// table and a display it opened itself, until the process ends.
//
// The display's events all come to WkDispatchEvent: the toolkit's timer
// tick is handled there, everything else goes on to the window procedure
// that the event layer installs with WkSetWindowProcedure.
#pragma once

#include "toolkit/core/colors.h"
#include "toolkit/platform/display.h"

#include <cstdint>
#include <string>

struct WkImage;

using WkInstance = plat::Display*;
using WkNativeWindow = plat::WindowId;
using WkWindowProcedure = std::intptr_t (*)(const plat::Event& event);

// Window classes: every native window of the toolkit is made with one.
struct WkWindowClass {
    const char* name;
    std::uint32_t style;
    WkWindowProcedure procedure;
};
inline constexpr std::uint32_t WK_CLASS_REDRAW = 0x0003;    // redraw on a change of width or height
inline constexpr std::uint32_t WK_CLASS_NO_CLOSE = 0x0200;  // no close box
inline constexpr std::uint32_t WK_CLASS_SAVE_BITS = 0x0800; // keeps what lies under it (popups)

// The class named so ("WOKU_CLASS", "WOKU_NO_CLOSE_CLASS",
// "WOKU_BACKSTORE_CLASS"); null before the start or for another name.
const WkWindowClass* WkFindWindowClass(const char* name);
// Gives a class record the toolkit's event entry (WkDispatchEvent).
void WkSetClassWindowProc(WkWindowClass* windowClass);

// The start-up; argv[0] is the program file's full path. A display given
// here must live until WkShutdown has run.
void WkInitWindowSystem(WkInstance instance, WkInstance previous, char** argv);
// Ends the toolkit: shared bitmaps and fonts released, cursors destroyed,
// timer stopped, palette released, drawing device given back, quit posted.
// Objects and native windows stay. A second call does nothing.
void WkShutdown();
// 1 between the start and the shut-down.
int WkWindowSystemRunning();

// Steps of the shut-down that belong to later layers: the widgets' shared
// bitmaps (first) and the drawing device (before the quit). Copied; null
// removes them.
struct WkShutdownHooks {
    void (*freeStockBitmaps)() = nullptr;
    void (*releaseDrawingDevice)() = nullptr;
};
void WkSetShutdownHooks(const WkShutdownHooks* hooks);
const WkShutdownHooks& WkCurrentShutdownHooks();

// Every display event comes here; see above.
std::intptr_t WkDispatchEvent(const plat::Event& event);
void WkSetWindowProcedure(WkWindowProcedure procedure);
// The 50 ms tick: runs the timeouts that are due.
void WkTimerTick();

// Display queries, read once at the start.
plat::Display* WkDisplay();
WkColor WkBlackColor();
WkColor WkWhiteColor();
int WkScreenWidth();
int WkScreenHeight();
int WkIsPaletteDisplay();
int WkDisplayDepth();           // bits per pixel, at most 24
long WkDisplayColorCount();     // the palette size, else 2 to the power of the depth
const char* WkProgramName();    // the program file's name without folder and extension

// Cursors: 16 slots; 0 and 1 the arrow, 2 cross-hair, 3 hourglass, 4 to 7
// the two-headed arrows west-east, north-south, north-west/south-east and
// north-east/south-west; 8 to 15 for cursors made from pictures.
inline constexpr int WK_CURSOR_SLOTS = 16;
void WkLoadStockCursors();
// Sets the pointer shape over a window; a slot above 15 or an empty one does nothing.
void WkNativeSetCursor(WkNativeWindow window, int slot);
plat::CursorId WkCursorInSlot(int slot); // 0 for an empty or unknown slot
// Makes a cursor of the image's size (its dark pixels black, the others
// white) with the hot spot given, in the first empty slot; returns the
// slot, or 0 without an image, without an empty slot or when the display
// refuses.
int WkCreateCursorFromImage(WkImage* image, int hotX, int hotY);

// The default colours the settings files give (section "DefaultColors",
// keys "background" and "foreground"), read at the start. Only three
// numbers 0..255 count: a default cannot take its colour from a parent, so
// "FromParent" is ignored like any other invalid value.
struct WkStartColors {
    int haveBackground = 0, background[3] = {192, 192, 192};
    int haveForeground = 0, foreground[3] = {0, 0, 0};
};
const WkStartColors& WkSettingsDefaultColors();
// 1 and the colour for a valid default colour value, else 0.
int WkParseDefaultColor(const char* text, int rgb[3]);

// The program name and the program's settings file for a program path
// ("/x/tourman" gives "tourman" and "/x/tourman.ini"; "a.exe" gives "a" and
// "a.ini"); '\' counts as '/'.
std::string WkProgramNameOf(const std::string& programPath);
std::string WkSettingsPathOf(const std::string& programPath);
