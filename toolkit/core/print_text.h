// Printing plain text files page by page on a printer the print dialog
// names (print.h), in the printer's fixed-pitch "Pica" face: Courier, as
// high as gives 60 lines a page on the paper. Text is Windows-1252; lines
// end with CR LF or LF; a line longer than 255 characters goes on as the
// next row; tabs go to the default stops. The job is "WOKU print job".
#pragma once

// Prints the file. A file that cannot be opened is logged at level 1 and
// nothing is printed, nor the dialog asked. Returns 1 when a job was
// printed, 0 otherwise (the callers take no meaning from it).
int WkPrintTextFile(const char* path);
// WkPrintTextFile; returns 0.
int WkPrintFile(const char* path);
// WkPrintTextFile, then deletes the file; returns 0.
int WkPrintFileAndDelete(const char* path);
