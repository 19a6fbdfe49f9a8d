// The main window: built once by BuildMainWindow (not yet shown) with its
// menu bar, its notebook of four pages (each built and wired by its page's
// module under pages/) and its status bar; and its end, the close question
// that the window system's close and the Exit item ask. The handles of the
// frame are MainWindow (frame/window_frame.h), those of each page its page's
// record.
#pragma once

#include <cstdint>

struct WkObject;
struct WkMessage;

// Builds the main window (not yet shown) and fills MainWindow and the pages'
// records.
WkObject* BuildMainWindow();
// Every handle of the frame and of the pages cleared, once the window is gone.
void ForgetMainWindow();

// The close question: 0 keeps the program running; 1 closes without saving;
// 2 saves and closes, but stays open when the save did not succeed, so that
// nothing typed is lost (with no player registered nothing can be). Closing
// shuts the toolkit down and ends the process.
int OnMainWindowClose(WkObject* window, std::intptr_t value, void* userData, WkMessage* message);
// The Exit item: the close question of the main window.
void ExitCommand();
