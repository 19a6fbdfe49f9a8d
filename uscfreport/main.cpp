// uscfreport: the USCF report generator. It runs on the X display of
// DISPLAY, in the folder it is started in, where "template.txt" and the
// three export files lie.
#include "toolkit/core/startup.h"
#include "uscfreport/report_window.h"

int main(int argc, char** argv) {
    return WkDesktopMain("uscfreport", ReportAppMain, argc, argv);
}
