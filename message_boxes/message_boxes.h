// The alert and question boxes drawn with the toolkit's widgets.
//
// InstallMessageBoxes makes them the process's MessageBoxSink: every
// ShowAlert and AskQuestion then builds a modal box (a warning or question
// picture, the text one line per line break, one to three buttons), shows
// it and waits in the toolkit's modal loop until a button closes it. The box
// is destroyed as it closes; only the answer survives it. A close request of
// the window system presses an alert's only button; a question has no
// answer for it and beeps.
#pragma once

#include "tournament/message_box.h"

struct WkObject;

// Installs the widget boxes as the process's sink (once is enough).
void InstallMessageBoxes();
// The box shown now, or null while none is open.
WkObject* OpenMessageBox();
