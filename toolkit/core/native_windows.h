// The native windows of the top-level windows and where the toolkit's
// messages go: the stack of shown top-level windows (the last one is the
// top; a dialog on top is modal and blocks the windows below), window
// limits for user sizing, and the router that hands every message the
// window procedure fills to the grab holder or to the top-level window of
// its native window.
//
// It owns the window stack (no fixed limit: every shown window is listed)
// and the last pointer window. It holds no object: a destroyed top-level
// window must be forgotten with WkNativeForgetShell.
#pragma once

#include "toolkit/core/shell_data.h"

// Creates the native window for a top-level window (kind, boxes, class and
// owner by its shell flags); geometry is applied later.
WkNativeWindow WkNativeCreateWindow(WkObject* shell, WkShellData* data, const char* title);
void WkNativeDestroyWindow(WkNativeWindow window);
// Title of a top-level window; other objects are ignored. The getter copies
// at most 255 characters and the terminator.
void WkShellSetTitle(WkObject* object, const char* title);
void WkShellGetTitle(WkObject* object, char* buffer);

// Lists, places (when not yet placed), shows and paints the window.
void WkNativeShow(WkObject* shell, int activate);
// Takes the focus away, hides and unlists the window.
void WkNativeHide(WkObject* shell);
// A shown window goes to the top, activated and restored.
void WkNativeRaise(WkObject* shell);
void WkNativeSetGeometry(WkObject* shell, int x, int y, int width, int height);
// A modal dialog not placed explicitly is centred over the window below
// it and held on the screen; the client area is then placed at x, y.
void WkNativeApplyGeometry(WkObject* shell);
void WkNativeSetShellCursor(WkShellData* data, int slot);
// Gives the display the window's minimum size and held dimensions; called
// whenever they change.
void WkNativeApplySizeLimits(WkObject* shell);
// Unlists a top-level window that is being destroyed.
void WkNativeForgetShell(WkObject* shell);

// The top window's native window when it is a modal dialog, else 0.
WkNativeWindow WkGetModalWindow();
// The shell flags of the listed window with that native window (the top
// window for 0); 0 when none is listed.
int WkGetShellFlags(WkNativeWindow window);
// Corrects a proposed client size for the listed window (the top for 0):
// held dimensions keep the current size, others are at least the minimum.
void WkApplyWindowLimits(WkNativeWindow window, int* width, int* height);
// The listed top-level window of a native window (searched from the top).
WkObject* WkListedShell(WkNativeWindow window);
int WkWindowStackCount();
WkObject* WkWindowStackEntry(int index); // 0 is the bottom

// Delivers a message the window procedure filled.
void WkRouteEvent(WkMessage* message);

// The hook that gets Ctrl+F11, Ctrl+F12, Shift+Ctrl+F1 and Shift+Ctrl+F2
// (the log facility's); those keys go nowhere else.
using WkKeyHook = void (*)(int keyCode);
void WkSetGlobalKeyHook(WkKeyHook hook);
