// Program start-up: the process entry of the toolkit's programs, their
// argument vector, the toolkit folder, the current folder.
//
// WkMain (or WkHostMain, for a host that hands the program its arguments
// already split) builds the argument vector, starts the window system,
// calls the application's main with the vector and shuts the toolkit down
// when main returns. The vector and its texts live until the process ends.
//
// The toolkit folder holds "woku.ini" and the toolkit's own pictures. It is
// the folder named by WOKUDIR when that is a folder; else the root when the
// program runs in "/"; else the first folder of: "wokusys" in the current
// folder, "wokusys" beside the program file, the installation's data folder
// (fixed when the toolkit is built); else that data folder without a test.
// It is found once and kept.
#pragma once

#include "toolkit/core/window_system.h"

#include <string>

using WkAppMain = int (*)(int argc, char** argv);

// The argument vector of a command tail: entry 0 the program path, then the
// tokens (split at white space; double quotes group a token, are removed,
// and a quote inside an unquoted token ends it), then a null entry. The
// count of entries, program path included, goes to *count when count is
// not null.
char** WkBuildArgv(const char* programPath, const char* commandTail, int* count);
// The vector of the command tail for this program, then the window-system start.
char** WkInit(WkInstance instance, WkInstance previous, const char* commandTail, int* count);
// WkInit, the application's main, WkShutdown; returns main's result (0
// without a main), which the process ends with. The show state is not used.
int WkMain(WkAppMain appMain, WkInstance instance, WkInstance previous, const char* commandTail, int showState);
// The same for the host's own argument vector (entry 0 replaced by the
// program file's full path). A null instance opens the display.
int WkHostMain(WkAppMain appMain, int argc, char** argv, WkInstance instance = nullptr);
// WkHostMain on the desktop of DISPLAY, or nothing: a DISPLAY unset or not
// to be opened ends the program with one line on standard error, "<program>:
// <why>", and status 1, rather than a window on a screen nobody sees.
int WkDesktopMain(const char* program, WkAppMain appMain, int argc, char** argv);

// The toolkit folder (see above).
const char* WkGetToolkitDir();
// Makes sure *slot holds the picture file of the folder with its device
// bitmap. An empty slot is filled from the file (looked up in the picture
// folders when the joined path does not open); the image's palette entries
// 1 and 0 become the default background and foreground, so that a black on
// white picture takes the user's colours; with transparentCorner the colour
// of its top-left pixel becomes transparent. A file that cannot be loaded
// leaves the slot empty, and the next call tries again.
struct WkImage;
void WkLoadToolkitBitmap(const char* folder, const char* fileName, WkImage** slot, int transparentCorner);
// The search itself, for a WOKUDIR value (null when unset), a current
// folder and a program path.
std::string WkFindToolkitDir(const char* wokudir, const std::string& currentFolder,
                             const std::string& programPath);
// The installation's data folder, the last place the search looks.
const char* WkInstalledToolkitDir();

// The current folder with a '/' at its end ("/" stays "/"); "" when it
// cannot be read. The text is overwritten by the next call.
const char* WkGetCurrentDir();
// 1 when the path names an existing folder, else 0.
int WkIsFolder(const char* path);
