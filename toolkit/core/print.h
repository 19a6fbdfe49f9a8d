// Printing: the chosen printer, printer contexts with their jobs and pages,
// mapping a logical page onto the paper, and printing an object tree or an
// image. Text files are printed by print_text.h on top of this.
//
// A printer context (WkPrinter) owns a PDF print device (plat::PrintDevice)
// of the system's paper at 300 dots per inch, where the document goes (the
// default spooler or a file) and the open job's name. Closing it ends the
// document and hands it to the spooler (`lp`) or writes the file. An
// information context answers questions about the printer and prints nothing.
//
// The chosen printer (where jobs go and the orientation) is process-wide,
// kept from the first dialog that returns one for every later job.
//
// The print dialog comes with the widgets and hooks in with
// WkSetPrintDialogHook. Where no dialog can be shown (no hook, or the hook
// declines) the dialog answers without asking, with the default printer;
// WkSetPrintDialogAnswer changes that answer, which holds until set again.
//
// Failures of a job step are logged at level 1 (WK_LOG_ERROR) with the
// step's result, -1; printing goes on unless said otherwise.
#pragma once

#include "toolkit/core/image.h"
#include "toolkit/core/object.h"
#include "toolkit/platform/print_device.h"

#include <string>
#include <vector>

// A printer context.
struct WkPrinter {
    plat::PrintDevice device;
    bool information = false; // answers questions, starts no job
    bool toFile = false;      // the document goes to file, not to the spooler
    std::string file;
    std::string printer; // the spooler's printer; empty: its default
    std::string jobName;
    bool inJob = false;
    std::string failure; // why the last job could not be sent off; empty when it was
};

// How a logical page is put on paper. mode: 0 fit to the page keeping the
// aspect ratio, 1 millimetres, 4 percent of the page, any other value
// printer pixels. Margins and printed sizes are in the mode's unit; a size
// below 1 is not given. A negative margin centres the object printed by
// WkPrintObject on that axis (in mode 0 any margin but 0 does).
struct WkPageMapping {
    int mode, left, top, width, height;
};

// The page range offered by the print dialog: the whole range and the
// pages selected. Pages chosen in the dialog come back as lowest and
// highest.
struct WkPageRange {
    int lowest, highest, first, last;
};

// What the print dialog starts from and hands back.
struct WkPrintChoice {
    bool toFile = false;
    std::string file;    // the PDF file (empty: named after the job in the home folder)
    std::string printer; // a printer the spooler lists; empty: the default printer
    int orientation = 1; // 1 portrait, 2 landscape
};
// The dialog: 1 when confirmed (choice and range updated), 0 when
// cancelled, -1 when it cannot be shown. Null removes it.
using WkPrintDialogHook = int (*)(WkPrintChoice* choice, WkPageRange* range);
void WkSetPrintDialogHook(WkPrintDialogHook hook);
// The printers the spooler lists (`lpstat -e`); none when it does not answer.
std::vector<std::string> WkListPrinters();

// The dialog's answer.
inline constexpr int WK_PRINT_ANSWER_DEFAULT = 0; // the default printer
inline constexpr int WK_PRINT_ANSWER_FILE = 1;    // a PDF file
inline constexpr int WK_PRINT_ANSWER_CANCEL = 2;  // nothing is printed
// With WK_PRINT_ANSWER_FILE, file is the document's path (null or empty: a
// file named after the job in the home folder).
void WkSetPrintDialogAnswer(int answer, const char* file);

// What WkPrinterDialog hands back.
inline constexpr int WK_PRINTER_CONTEXT = 0x1;     // a printer context for jobs
inline constexpr int WK_PRINTER_INFORMATION = 0x2; // an information context

// Orientation: 1 portrait, 2 landscape, anything else keeps the kept one.
// Asks the dialog (the first time starting from the default printer in
// portrait); keeps the answer as the chosen printer and returns a context
// as flags ask, or null (cancelled, or no context asked for).
WkPrinter* WkPrinterDialog(int orientation, int flags, WkPageRange* range);

// The printer's page in pixels and millimetres and its colour planes (3: the
// device prints in colour); each output may be null. 1 when a printer
// answered, 0 when the dialog was cancelled.
int WkPrinterCaps(int orientation, int* widthPixels, int* heightPixels, int* widthMm, int* heightMm,
                  int* planes);

// A context with the job jobName and its first page started: from the
// dialog when ask is set or no printer is chosen yet, else for the chosen
// printer (orientation 1 or 2 kept for it). Null when cancelled or when the
// job or page cannot start ("Error %d in StartDoc" / "... StartPage" logged).
WkPrinter* WkOpenPrinter(const char* jobName, int ask, int orientation, WkPageRange* range);
// Ends the page and starts the next; each failed step is logged and the
// other still done.
void WkNextPrinterPage(WkPrinter* printer);
// Ends the page and the job, sends the document off and deletes the
// context. A document that cannot be sent off is logged.
void WkClosePrinter(WkPrinter* printer);

// The job steps, as the printing routines combine them. Each returns 1, or
// -1 when the step is out of order (a job on an information context or
// inside another, a page outside a job); they log nothing.
int WkPrinterStartJob(WkPrinter* printer, const char* jobName);
int WkPrinterStartPage(WkPrinter* printer);
int WkPrinterEndPage(WkPrinter* printer);
// Ends the job and sends the document off; a failure to do so is logged
// and kept in the context's failure.
void WkPrinterEndJob(WkPrinter* printer);
// Deletes the context; an open job is dropped unsent. Null does nothing.
void WkDeletePrinter(WkPrinter* printer);
// A context for one job as the dialog answers with the default printer's
// settings, not kept as the chosen printer; null when cancelled.
WkPrinter* WkPrinterForOneJob();

// Maps a logical page of width x height onto the printer's page: the
// offset of its origin and the logical window that covers the paper. The
// window is at least 1 x 1; a page size below 1 counts as 1.
void WkMapPrinterPage(WkPrinter* printer, const WkPageMapping* mapping, int width, int height, int* xOffset,
                      int* yOffset, int* windowWidth, int* windowHeight);

// Prints an object's tree (a top-level window: its main form) onto the open
// page as it would appear on screen. One not shown and realized is laid
// out, realized and shown for the time and put back afterwards.
void WkPrintObject(WkObject* object, WkPrinter* printer, const WkPageMapping* mapping);

// Prints the image on one page of a new job "WOKU print image job" on the
// chosen printer (or one the dialog answers): with fit stretched to the
// page keeping its aspect ratio, else pixel for pixel and, when it does not
// fit the page, shrunk to it. At the page's top-left corner.
void WkPrintImage(WkImage* image, int fit);

// Draws part of an image onto the print page installed on the drawing device
// (draw.h) at (x, y) times the print scale, without mask, inside the
// current clip (the whole page outside a drawing pass). Nothing without a page.
void WkPrintDrawImage(WkImage* image, int sourceX, int sourceY, int width, int height, int x, int y);

