// The text-file viewers: the window that enlarges the file shown on the
// output-files page and prints it, and the window that shows two files side
// by side (a round's pairing trace next to its score-group dump). Both are
// the toolkit's file viewer, which reads only the lines it shows.
//
// Every viewer that shows a file through SetViewedFile keeps the file's full
// path beside the name in its title, so that printing it or opening it in a
// window of its own takes the very file shown, wherever it was chosen. The
// module owns that table of paths; an entry goes with its viewer.
#pragma once

#include <string>

struct WkObject;

// Shows the file at path in the viewer, titled with title.
void SetViewedFile(WkObject* viewer, const std::string& path, const std::string& title);
// Empties the viewer: no file shown, no title, nothing to print.
void ClearViewedFile(WkObject* viewer);
// The full path of the file the viewer shows; for a viewer that was never
// given one, the data folder and the viewer's title.
std::string ViewedFilePath(WkObject* viewer);
// Prints the file the viewer shows through the print dialog, board cards
// each whole on a page; what kept the file from being printed is alerted.
// With no file shown it only beeps.
void PrintViewedFile(WkObject* viewer);

// The single-file window on path, titled with it, with its close and print
// buttons; not yet shown. Escape and the close request close it, as its
// close button does.
WkObject* OpenFileViewer(const std::string& path);
// The two-file window titled title, shown, closed as the single one is. A
// file that cannot be read shows empty.
WkObject* OpenTwoFileViewer(const std::string& title, const std::string& first, const std::string& second);
