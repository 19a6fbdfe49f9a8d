// tourman: the tournament manager. It runs on the X display of DISPLAY, in
// the folder it is started in, which holds its message file and pictures.
#include "toolkit/core/startup.h"
#include "tourman/app_main.h"

int main(int argc, char** argv) {
    return WkDesktopMain("tourman", AppMain, argc, argv);
}
