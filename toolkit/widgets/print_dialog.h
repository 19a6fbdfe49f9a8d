// The print dialog: where a job goes (the default printer, each printer the
// spooler lists, or "PDF file" with the file's name), portrait or
// landscape, the from and to pages when the caller offers a page range, and
// OK and Cancel; Escape and the window system's close request cancel too. WkInstallPrintDialog hooks it into the printing routines,
// which keep the answer as the chosen printer; before the toolkit is up it
// declines, and the printing routines take their scripted answer.
//
// Each run owns its window and its radio groups; nothing outlives it.
#pragma once

#include "toolkit/core/print.h"

void WkInstallPrintDialog();
// Runs the dialog on choice (and range, which may be null): 1 when OK was
// pressed, 0 when cancelled, -1 when the toolkit is not running.
int WkRunPrintDialog(WkPrintChoice* choice, WkPageRange* range);
