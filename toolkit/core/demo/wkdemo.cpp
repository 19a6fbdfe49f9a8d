// wkdemo: a program started through the toolkit's entry on the offscreen
// display; it prints the program name, both settings files, the toolkit
// folder, the screen, the palette flag and the font table.
//
//   wkdemo [WIDTHxHEIGHT] [palette] [more arguments...]
//
// The first two arguments choose the offscreen screen; every argument is
// printed as the application's main receives it.
#include "toolkit/core/fonts.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/offscreen.h"

#include <cstdio>
#include <cstring>

namespace {

int DemoMain(int argc, char** argv) {
    std::printf("arguments:        %d\n", argc);
    for (int i = 0; i < argc; ++i) std::printf("  argv[%d]        %s\n", i, argv[i]);
    std::printf("program name:     %s\n", WkProgramName());
    std::printf("program settings: %s\n", WkProgramSettingsPath());
    std::printf("toolkit settings: %s\n", WkToolkitSettingsPath());
    std::printf("toolkit folder:   %s\n", WkGetToolkitDir());
    std::printf("current folder:   %s\n", WkGetCurrentDir());
    std::printf("screen:           %d x %d, depth %d, %ld colours\n", WkScreenWidth(), WkScreenHeight(),
                WkDisplayDepth(), WkDisplayColorCount());
    std::printf("palette display:  %d\n", WkIsPaletteDisplay());
    const WkStartColors& c = WkSettingsDefaultColors();
    std::printf("default colours:  background %d,%d,%d%s, foreground %d,%d,%d%s\n", c.background[0],
                c.background[1], c.background[2], c.haveBackground ? "" : " (built in)", c.foreground[0],
                c.foreground[1], c.foreground[2], c.haveForeground ? "" : " (built in)");
    std::printf("font section:     %s\n", WkFontSectionFor(WkScreenHeight()));
    for (int slot = 0; slot < WK_FONT_SLOTS; ++slot) {
        const plat::Font* f = WkSlotFontExact(slot);
        if (!f) continue;
        std::printf("  font %2d %-13s %-16s height %2d, width of \"W\" %2d\n", slot,
                    WkFontSlotName(slot) ? WkFontSlotName(slot) : "", f->face().family.c_str(), f->height(),
                    WkWideCharWidth(slot));
    }
    return 0;
}

bool ParseSize(const char* text, int* width, int* height) {
    return std::sscanf(text, "%dx%d", width, height) == 2 && *width > 0 && *height > 0;
}

} // namespace

int main(int argc, char** argv) {
    plat::OffscreenOptions options;
    for (int i = 1; i < argc && i < 3; ++i) {
        if (!ParseSize(argv[i], &options.width, &options.height) && std::strcmp(argv[i], "palette") == 0)
            options.paletteMode = true;
    }
    plat::OffscreenDisplay display(options);
    return WkHostMain(DemoMain, argc, argv, &display);
}
