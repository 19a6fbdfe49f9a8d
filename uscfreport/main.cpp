// uscfreport: the USCF report generator. It runs on the X display of
// DISPLAY, in the folder it is started in, where "template.txt" and the
// three export files lie.
#include "toolkit/core/startup.h"
#include "toolkit/platform/x11_display.h"
#include "uscfreport/report_window.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        std::fprintf(stderr, "uscfreport: no X display (DISPLAY is not set)\n");
        return 1;
    }
    std::unique_ptr<plat::Display> display = plat::OpenDisplay(plat::DisplayOptions());
    if (!dynamic_cast<plat::X11Display*>(display.get())) {
        std::fprintf(stderr, "uscfreport: cannot open the X display %s\n", name);
        return 1;
    }
    return WkHostMain(ReportAppMain, argc, argv, display.get());
}
