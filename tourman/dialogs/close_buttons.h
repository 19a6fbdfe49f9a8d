// The close buttons of the program's dialogs: the plain one, which closes
// the dialog, and the Cancel button of the dialogs that hold unsaved work
// (the manual pairing, the USCF section dialog, the colour improvement),
// which asks before the work is thrown away. Holds no state.
#pragma once

#include <cstdint>

struct WkMessage;
struct WkObject;

// Button callback: destroys the top-level window holding the button; closes
// the other dialogs of the program too.
void OnCloseDialog(WkObject* button, void* record, void* data);
// Button callback: asks MsgCloseWithoutSaving with the buttons MsgNo (stay) and
// MsgYes; the second destroys the window that holds the button.
void OnConfirmClose(WkObject* button, void* record, void* data);
// Close callback (the close box, Alt+F4): destroys the window, as
// OnCloseDialog does.
int OnCloseRequest(WkObject* window, std::intptr_t, void*, WkMessage*);
// Close callback (the close box, Escape): asks as OnConfirmClose does.
int OnConfirmCloseRequest(WkObject* window, std::intptr_t, void*, WkMessage*);
