// wkdemo: the toolkit's start-up demo. Started through the toolkit's entry,
// it prints the program name, both settings files, the toolkit folder, the
// screen, the palette flag and the font table, and shows the same lines in a
// top-level window of its own; closing the window (its close box, Alt+F4)
// ends the program.
//
//   wkdemo [offscreen] [WIDTHxHEIGHT] [palette] [more arguments...]
//
// It runs on the desktop the program is started on (the X display of
// DISPLAY; without one it says so on stderr and draws offscreen). Leading
// arguments "offscreen", a screen size or "palette" ask for the offscreen
// display of that size (1024 x 768 unless given), drawn on and left at once.
// Every argument is printed as the application's main receives it.
#include "toolkit/core/event_loop.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/offscreen.h"
#include "toolkit/platform/x11_display.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The lines the demo prints, also drawn by its window's form.
std::vector<std::string> facts;
// The program leaves as soon as its window is drawn (the offscreen display).
bool drawOnly = false;

void Fact(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::printf("%s\n", line);
    facts.emplace_back(line);
}

void GatherFacts(int argc, char** argv) {
    Fact("arguments:        %d", argc);
    for (int i = 0; i < argc; ++i) Fact("  argv[%d]        %s", i, argv[i]);
    Fact("program name:     %s", WkProgramName());
    Fact("program settings: %s", WkProgramSettingsPath());
    Fact("toolkit settings: %s", WkToolkitSettingsPath());
    Fact("toolkit folder:   %s", WkGetToolkitDir());
    Fact("current folder:   %s", WkGetCurrentDir());
    Fact("screen:           %d x %d, depth %d, %ld colours", WkScreenWidth(), WkScreenHeight(), WkDisplayDepth(),
         WkDisplayColorCount());
    Fact("palette display:  %d", WkIsPaletteDisplay());
    const WkStartColors& c = WkSettingsDefaultColors();
    Fact("default colours:  background %d,%d,%d%s, foreground %d,%d,%d%s", c.background[0], c.background[1],
         c.background[2], c.haveBackground ? "" : " (built in)", c.foreground[0], c.foreground[1], c.foreground[2],
         c.haveForeground ? "" : " (built in)");
    Fact("font section:     %s", WkFontSectionFor(WkScreenHeight()));
    for (int slot = 0; slot < WK_FONT_SLOTS; ++slot) {
        const plat::Font* f = WkSlotFontExact(slot);
        if (!f) continue;
        Fact("  font %2d %-13s %-16s height %2d, width of \"W\" %2d", slot,
             WkFontSlotName(slot) ? WkFontSlotName(slot) : "", f->face().family.c_str(), f->height(),
             WkWideCharWidth(slot));
    }
}

// The window's main form: the facts, one text line each, in the fixed font.
constexpr WkFontSlot kFont = 1;
constexpr int kMargin = 8;

int LineHeight() { return std::max(1, WkFontHeight("Wg", kFont)); }

int FactsFormHandler(WkObject* form, WkMessage* message) {
    switch (message->type) {
    case WK_MSG_QUERY_SIZE: {
        int width = 0;
        for (const std::string& line : facts) width = std::max(width, WkTextWidth(line.c_str(), kFont));
        form->width = std::min(width + 2 * kMargin, WkScreenWidth());
        form->height = std::min(int(facts.size()) * LineHeight() + 2 * kMargin, WkScreenHeight());
        return 1;
    }
    case WK_MSG_RESIZE:
        form->width = WkNewWidth(message);
        form->height = WkNewHeight(message);
        return 1;
    case WK_MSG_EXPOSE: {
        WkPaintObjectBackground(form);
        const int height = LineHeight();
        for (std::size_t i = 0; i < facts.size(); ++i)
            WkObjectDrawText(form, kMargin, kMargin + int(i) * height, form->width - 2 * kMargin, height,
                             facts[i].c_str(), kFont, form->foreground, WK_ALIGN_LEFT);
        return 1;
    }
    default:
        return 0;
    }
}

WkObject* MakeFactsForm(WkObject* shell) {
    WkObject base = WkBaseTemplate(WK_CLASS_FORM);
    base.handler = FactsFormHandler;
    WkObject* form = WkNewObject(base, nullptr, 0);
    form->parent = shell;
    WkInheritColors(shell, form);
    return form;
}

int CloseWindow(WkObject* shell, std::intptr_t, void*, WkMessage*) {
    WkShellHide(shell);
    WkShutdown(); // ends the main loop
    return 1;
}

int DemoMain(int argc, char** argv) {
    GatherFacts(argc, argv);
    std::fflush(stdout);
    WkInstallEventLoop();
    WkSetMainFormMaker(MakeFactsForm);
    WkObject* shell = WkCreateShell("Toolkit demo", 0);
    WkSetMainFormMaker(nullptr);
    WkShellSetCloseCallback(shell, CloseWindow, nullptr);
    WkShellRealize(shell);
    WkFlushEvents();
    if (!drawOnly) WkMainLoop();
    WkObjectDestroy(shell);
    return 0;
}

bool ParseSize(const char* text, int* width, int* height) {
    return std::sscanf(text, "%dx%d", width, height) == 2 && *width > 0 && *height > 0;
}

} // namespace

int main(int argc, char** argv) {
    plat::OffscreenOptions options;
    bool offscreen = false;
    for (int i = 1; i < argc && i < 4; ++i) {
        if (ParseSize(argv[i], &options.width, &options.height) || std::strcmp(argv[i], "offscreen") == 0) {
            offscreen = true;
        } else if (std::strcmp(argv[i], "palette") == 0) {
            options.paletteMode = true;
            offscreen = true;
        } else {
            break;
        }
    }
    if (offscreen) {
        drawOnly = true;
        plat::OffscreenDisplay display(options);
        return WkHostMain(DemoMain, argc, argv, &display);
    }
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) std::fprintf(stderr, "wkdemo: no X display (DISPLAY is not set); drawing offscreen\n");
    std::unique_ptr<plat::Display> display = plat::OpenDisplay(plat::DisplayOptions());
    drawOnly = dynamic_cast<plat::X11Display*>(display.get()) == nullptr;
    return WkHostMain(DemoMain, argc, argv, display.get());
}
