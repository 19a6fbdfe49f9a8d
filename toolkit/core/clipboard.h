// The clipboard as the toolkit uses it: plain Windows-1252 text, written
// with CR LF line ends and read back with every CR removed.
//
// It owns the kept copy of the text last put on or read from the clipboard
// and the owner flag, set while the clipboard holds text the toolkit put
// there (then reads return the kept copy unchanged).
#pragma once

#include "toolkit/core/window_system.h"

// Puts length bytes of text on the clipboard for the window, each line feed
// preceded by a carriage return, and keeps the text unchanged. A null window
// only drops the kept copy and clears the owner flag (the window procedure
// does so when another program takes the clipboard). Beeps when the
// clipboard cannot be had.
void WkSetClipboardText(WkNativeWindow window, const char* text, int length);
// The clipboard's text: while the toolkit owns the clipboard, the kept copy;
// otherwise a new kept copy of the clipboard's text without its carriage
// returns. No text: beep and null. Valid until the next clipboard call.
const char* WkGetClipboardText(WkNativeWindow window);
// 1 while the clipboard holds text the toolkit put there.
int WkOwnsClipboard();
