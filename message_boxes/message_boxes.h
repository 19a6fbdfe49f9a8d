// The alert and question boxes drawn with the toolkit's widgets.
//
// InstallMessageBoxes makes them the process's MessageBoxSink: every
// ShowAlert and AskQuestion then builds a modal box titled with the
// program's name (a warning or question picture, the text one line per line
// break, one to three buttons), shows it and waits in the toolkit's modal
// loop until a button closes it. The box is destroyed as it closes; only
// the answer survives it. Escape and a close request of the window system
// press an alert's only button, and a question's Cancel where the caller
// names one, else its No (the button captioned with the message table's
// "No"); a question whose caller asks for QuestionLeft answers that, and
// one with none of these beeps and waits for a button.
#pragma once

#include "tournament/message_box.h"

struct WkObject;

// Installs the widget boxes as the process's sink (once is enough), their
// windows titled title.
void InstallMessageBoxes(const std::string& title);
// The alert of a value a dialog refuses: once the box is closed, field (the
// one holding the value; null: none) has the focus again with its whole
// text selected, so that what is typed next replaces it.
void RefuseFieldValue(WkObject* field, const std::string& text, const std::string& caption);
// The box shown now, or null while none is open.
WkObject* OpenMessageBox();
