// Top-level windows: the class handler of class WK_CLASS_SHELL and the
// operations that make, fit, show, place, hide and close such a window. A
// window holds one main form (made by the form maker the form class
// installs) and is the form's size plus its own border. Its handler passes
// keys to the colour-holding form and clicks to the main form in its
// coordinates (a click with Shift and Ctrl held to the customise hook
// instead); motions and the wheel it carries down to the object under
// the pointer itself, making enter and leave (with the pointer-over state
// bit) and setting the pointer shape from the objects' cursors. Colours
// given to the window go on to its main form. It draws its own shadow frame
// on expose.
//
// The first WkCreateShell installs the native-window side (native_windows.h)
// as the object model's shell operations.
#pragma once

#include "toolkit/core/shell_data.h"

// Makes the main form of a new window, a vertical form with the window as
// parent, and returns it (it registers itself as the window's main form).
using WkMainFormMaker = WkObject* (*)(WkObject* shell);
void WkSetMainFormMaker(WkMainFormMaker maker);

// Called with the deepest object (shown or not) under a click made with
// Shift and Ctrl held, on the release; without a hook such clicks are
// dropped. Null removes it.
using WkCustomizeHook = void (*)(WkObject* object);
void WkSetCustomizeHook(WkCustomizeHook hook);

// Keeps a value as computed in WkShellRealizeWithGeometry.
inline constexpr int WK_KEEP = -32768;

WkObject* WkCreateShell(const char* title, std::uint16_t flags);
// Asks the main form its size; the window takes it plus its border,
// centred on the screen, with the form's minimum plus the border as its own.
void WkShellFitToForm(WkObject* shell);
// Shows a window fitted and (a dialog) centred; a shown one is raised.
void WkShellRealize(WkObject* shell);
// Shows a window at x, y (negative: flush with the right or bottom edge)
// with at least the computed size; WK_KEEP keeps a value.
void WkShellRealizeWithGeometry(WkObject* shell, int x, int y, int width, int height);
void WkShellRealizeAt(WkObject* shell, int x, int y);
void WkShellHide(WkObject* shell);
// Destroys the window at the root of the object's tree.
void WkShellDestroy(WkObject* object);
// A close request (the close box, Alt+F4, and in a dialog an Escape that
// no control took, given to the callback as its key message) goes to the
// callback when one is set; otherwise a window made without a close box ignores it, one with
// WK_SHELL_CLOSE_BEEPS beeps, one with WK_SHELL_CLOSE_HIDES hides, and any
// other is destroyed.
void WkShellSetCloseCallback(WkObject* shell, WkCloseCallback callback, void* userData);
// The window gains and loses the keyboard focus. Gaining it, a shown
// window whose main form holds no focus gives it back to the object that
// had it when the window lost it, else to the form's first focusable
// child; losing it, a shown window remembers the object holding the focus
// and sends its main form focus out.
void WkShellFocusIn(WkObject* shell);
void WkShellFocusOut(WkObject* shell);
int WkShellHandler(WkObject* shell, WkMessage* message);
