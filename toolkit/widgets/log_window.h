// The Log window and the Log Manager. The window ("Log", closing only hides
// it) shows the log's last lines in a scrolled list of the small fixed
// font at the screen's bottom-left; Ctrl+F11 and Shift+Ctrl+F1 show and
// hide it (the first press only makes it), Ctrl+F12 and Shift+Ctrl+F2 open
// the Log Manager, which sets the window's visible rows and columns and the
// log's threshold.
//
// The module owns the window, its list and the open Log Manager; the lines
// themselves are the log's. WkInstallLogWindow hooks them into the log and
// the window layer's global key hook.
#pragma once

void WkInstallLogWindow();
// The key hook: show or hide for 0x7A00 and 0x5E00, the Log Manager for
// 0x7B00 and 0x5F00; other codes are ignored.
void WkLogKeyHook(int keyCode);
// Opens the Log Manager, or beeps when it is open already.
void WkLogManagerDialog();
// The window and the Log Manager destroyed and the log's lines dropped, for
// a toolkit started again in the same process.
void WkDropLogWindow();

struct WkObject;
WkObject* WkLogWindow();     // null until made
WkObject* WkLogWindowList(); // its list
WkObject* WkLogManager();    // the open Log Manager, or null
