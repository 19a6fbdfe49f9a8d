// uscfreport: the USCF report generator. It runs on the X display of
// DISPLAY, in the folder it is started in, where "template.txt" and the
// three export files lie.
#include "toolkit/core/startup.h"
#include "toolkit/platform/x11_display.h"
#include "uscfreport/report_window.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        std::fprintf(stderr, "uscfreport: no X display (DISPLAY is not set)\n");
        return 1;
    }
    // The desktop or nothing: one line saying why, no fallback to a screen
    // nobody sees.
    std::string error;
    std::unique_ptr<plat::Display> display = plat::X11Display::Open(name, false, &error);
    if (!display) {
        std::fprintf(stderr, "uscfreport: %s\n", error.c_str());
        return 1;
    }
    return WkHostMain(ReportAppMain, argc, argv, display.get());
}
