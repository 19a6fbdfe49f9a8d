// File-system helpers of the file browser and the folder tree: the
// sub-folders of a folder, the files of a folder that match a list of
// patterns, the drives and their kinds, the current folder; and files opened
// and compared by the names they have here, whatever the host's spelling.
//
// Name lists (WkNameList) are arrays of separately allocated texts ended by
// a null entry; the caller owns them and gives them back with
// WkFreeNameList. Paths use '/'; a '\' in a given path is taken as '/'. On
// this host the one drive is the root "/". Allocation goes through the
// toolkit's memory wrappers, so running out of memory ends the program.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

using WkNameList = char**;

inline constexpr int WK_DRIVE_FLOPPY = 1;
inline constexpr int WK_DRIVE_HARD_DISK = 2;
inline constexpr int WK_DRIVE_CDROM = 3;
inline constexpr int WK_DRIVE_OTHER = 4;

// The sub-folders of the folder (hidden ones included, "." and names
// beginning with ".." left out), sorted with WkCompareNoCase. An empty list
// when the folder cannot be read.
WkNameList WkGetSubdirNames(const char* folder);
// The plain files of the folder that match any pattern of the list (split
// at ',', ';' and blanks; "*.*" matches every name, letters match without
// regard to case), pattern by pattern; a file matching two patterns is
// listed twice.
WkNameList WkGetFileNames(const char* folder, const char* patterns);
// Frees every text and the array; null is ignored. Returns 0.
int WkFreeNameList(WkNameList list);
// One text per drive: here only "/".
WkNameList WkGetDriveNames();
// WK_DRIVE_FLOPPY .. WK_DRIVE_OTHER for a drive's root.
int WkDriveType(const char* root);

// Folder changes: 0 on success, else the system's error number. Renaming
// refuses an existing target (EEXIST) instead of replacing it; removing
// takes an empty folder only.
int WkMakeFolder(const char* path);
int WkRenameFolder(const char* from, const char* to);
int WkRemoveFolder(const char* path);

// Copies the current folder into buffer (size bytes, 260 by default): 0 when
// copied, 1 when it cannot be read or does not fit.
int WkGetCwd(char* buffer, std::size_t size = 260);
// 0 when the current folder was changed, 1 when not.
int WkSetCwd(const char* path);
// Files by their names here, whatever the host's spelling of them (UTF-8
// there): the C library's fopen, and 1 when both paths lead to one file or
// folder on disk (a link too), 0 when not or when either is missing.
std::FILE* WkOpenFile(const char* path, const char* mode);
int WkSameFile(const char* a, const char* b);
// The host's spelling of a path here, and a path here of the host's.
std::string WkHostPath(const std::string& path);
std::string WkFromHostPath(const std::string& path);

// Negative, 0 or positive: the two texts compared without regard to case.
// Takes pointers to the texts, as a sort of a name list hands them over.
int WkCompareNoCase(const void* a, const void* b);
