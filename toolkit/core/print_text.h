// Printing plain text files page by page on a printer the print dialog
// names (print.h), in the printer's fixed-pitch "Pica" face: Courier, as
// high as gives 60 lines on the long side of the paper, and smaller where
// the widest line needs it, so that no line loses characters at the right
// edge in either orientation. Text is Windows-1252; lines end with CR LF or
// LF; a line longer than 255 characters goes on as the next row; tabs go to
// the default stops. The job is "WOKU print job".
#pragma once

#include <string>

// Prints the file. A file that cannot be opened is logged at level 1 and
// nothing is printed, nor the dialog asked. Lines that begin with
// blockStart (when given and not empty) each start a block that runs to
// the next such line: a block that fits on one page is never split by a
// page break. Returns 1 when a job was printed, 0 otherwise. failure (when
// given) receives why nothing could be printed (the file cannot be opened,
// the spooler refused the job, the PDF file cannot be written); it is left
// empty when the job was printed or the dialog cancelled.
int WkPrintTextFile(const char* path, std::string* failure = nullptr, const char* blockStart = nullptr);
// WkPrintTextFile; returns 0.
int WkPrintFile(const char* path, std::string* failure = nullptr, const char* blockStart = nullptr);
// WkPrintTextFile, then deletes the file; returns 0.
int WkPrintFileAndDelete(const char* path);
