// The key table of a top-level window: which object a key press goes to
// before the window's form sees it (the Alt+letter keys of button labels).
//
// The table lives in the window's record (WkShellData) and is owned by it;
// the object model drops the entries of a destroyed object. Several objects
// may register one key: the last registered that is shown and realized gets
// it. Letters match without regard to case.
#pragma once

#include "toolkit/core/object.h"

// Appends (key, object) to the table of the object's window; returns the key
// (0 and nothing stored when the object lies in no window).
int WkShellAddMnemonic(WkObject* object, int key);
// Removes the first entry of that object and key; the others keep their order.
void WkShellRemoveMnemonic(WkObject* object, int key);
// Removes every entry of the object.
void WkShellRemoveMnemonics(WkObject* object);
// Sends a key message to the object registered for its key code (field b)
// and returns 1; 0 when no shown and realized object has the key.
int WkShellDispatchMnemonic(WkMessage* message, WkObject* shell);
