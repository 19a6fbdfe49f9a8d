// The file viewer: a text file of any length shown read-only in a scrolled
// list of kind WK_LIST_KIND_FILE_VIEWER. It never holds the whole file: it
// keeps the file open, the file position of every 100th line, and a window
// of lines around the rows shown (at least 200, and 100 more than the rows
// shown), read again from the file when the view leaves it.
//
// Lines are read in pieces of at most 2047 characters (a longer line shows
// as several); a carriage return before the line feed is dropped; tabs are
// expanded to the next multiple of 8 columns.
//
// Owns its WkFileViewerData (the list's window data): the open file and the
// line index, given back when the viewer is destroyed or loads another file.
#pragma once

#include "toolkit/core/object.h"

#include <cstdio>

inline constexpr int WK_VIEWER_INDEX_STEP = 100; // lines between two index entries
inline constexpr int WK_VIEWER_PIECE = 2047;     // characters of a line read at a time

struct WkFileViewerData {
    std::FILE* file; // null when the file could not be opened
    long* index;     // entry k: where line 100 k begins
    int indexCount;
    int indexRoom;
};

WkObject* WkCreateFileViewer(WkObject* parent, const char* path, int font, int visibleRows, int visibleColumns);
// Another file in the same viewer, shown from line 0; a missing one empties it.
void WkFileViewerLoad(WkObject* viewer, const char* path);
