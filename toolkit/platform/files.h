// Files and folders as the toolkit sees them on this host: folder listings,
// wildcard matching, the current folder, the drive list, the program's own
// path and file names found whatever their case.
//
// Host conventions: '/' separates folders, and a '\' in a path read from a
// settings file or typed by the user is taken as '/'. The one drive is the
// root "/". Folder listings are sorted without regard to case (names equal
// but for case in byte order), so they come out the same on every machine.
// Names are compared without regard to case for ASCII letters only.
//
// Paths and names are Windows-1252 in memory and UTF-8 on the host: every
// call here converts at that border. A host name that is not UTF-8 of the
// code page's characters comes in as its bytes.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Negative, 0 or positive: a and b compared byte by byte with ASCII letters
// folded to lower case (a prefix sorts first).
int CompareNoCase(std::string_view a, std::string_view b);

// '*' matches any run of characters, '?' any one; letters match without
// regard to case. A pattern ending in ".*" also matches a name without a dot
// ("*.*" matches every name, "readme.*" matches "readme").
bool MatchWildcard(std::string_view pattern, std::string_view name);

// The host's spelling of a path: '\' read as '/', UTF-8; or the path's own
// bytes where a file or folder is named so and none in UTF-8.
std::string HostPath(std::string_view path);

// A name or path the host gave, in memory's spelling.
std::string FromHostPath(const std::string& path);

// The C library's file calls on the host's spelling of the path.
std::FILE* OpenFile(const std::string& path, const char* mode);
int RenameFile(const std::string& from, const std::string& to); // replaces as std::rename; 0 or -1
int RemoveFile(const std::string& path);                        // 0 or -1
// True when both paths lead to one file or folder on disk (a link too).
bool SameFile(const std::string& a, const std::string& b);

// The path with every '\' turned into '/'.
std::string ToSlashes(std::string_view path);
// folder and name with exactly one '/' between them; an empty folder gives name.
std::string JoinPath(std::string_view folder, std::string_view name);

enum class EntryKind { Folder, File, Other }; // Other: devices, sockets, pipes, broken links

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;
};

// The entries of a folder ('\' read as '/') except "." and "..", symbolic
// links taken as what they point to, sorted as above. False (and out
// empty) when the folder cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& out);

bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);

// Folder changes, each 0 on success or the system's error number. Renaming
// never replaces: an existing target (even an empty folder) gives EEXIST.
// Removing takes an empty folder only.
int MakeFolder(const std::string& path);
int RenameFolder(const std::string& from, const std::string& to);
int RemoveFolder(const std::string& path);

// The current folder (no trailing '/' except for the root); false when it
// cannot be read.
bool CurrentFolder(std::string& out);
bool SetCurrentFolder(const std::string& path);

// The drive roots: {"/"}.
std::vector<std::string> DriveRoots();
enum class DriveKind { Removable, Fixed, CdRom, Other };
// Fixed for the root "/", Other for anything else.
DriveKind DriveKindOf(std::string_view root);

// The running program's full path; empty when the host does not tell.
std::string ExecutablePath();

// The existing file or folder that path names, each part of it matched
// without regard to case where the exact spelling does not exist (the
// first match in listing order); nothing when there is none.
std::optional<std::string> FindPathNoCase(const std::string& path);

} // namespace plat
