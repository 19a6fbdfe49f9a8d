// The Cancel button of the dialogs that hold unsaved work (the manual
// pairing, the USCF section dialog): it asks before the work is thrown away.
// Holds no state.
#pragma once

struct WkObject;

// Button callback: asks message 4 with the buttons message 1 (stay) and
// message 0; the second destroys the window that holds the button.
void OnConfirmClose(WkObject* button, void* record, void* data);
