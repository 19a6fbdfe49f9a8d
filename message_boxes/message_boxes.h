// The alert and question boxes drawn with the toolkit's widgets.
//
// InstallMessageBoxes makes them the process's MessageBoxSink: every
// ShowAlert and AskQuestion then builds a modal box (a warning or question
// picture, the text one line per line break, one to three buttons), shows
// it and waits in the toolkit's modal loop until a button closes it. The box
// is destroyed as it closes; only the answer survives it. Escape and a close
// request of the window system press an alert's only button; Escape presses
// a question's No (the button captioned with the message table's "No"). A
// question has no answer for the close request, nor one without a No for
// Escape, and beeps.
#pragma once

#include "tournament/message_box.h"

struct WkObject;

// Installs the widget boxes as the process's sink (once is enough).
void InstallMessageBoxes();
// The box shown now, or null while none is open.
WkObject* OpenMessageBox();
