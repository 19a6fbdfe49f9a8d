// The model's files on the host. Paths are Windows-1252 in memory; the host
// may spell its names otherwise (UTF-8). The program installs the spelling
// its platform layer knows; without one, paths go to the host as they are.
// Every file the model opens, syncs, links, renames or removes goes
// through here, so that a test layer can see each step (the observer).
#pragma once

#include <cstdio>
#include <string>

struct HostNames {
    std::string (*toHost)(const std::string& path) = nullptr;   // memory to host
    std::string (*fromHost)(const std::string& name) = nullptr; // host to memory
};
// Installs the spelling (process-wide) and returns the one installed before.
HostNames SetHostNames(const HostNames& names);

std::string HostFileName(const std::string& path);
std::string FromHostFileName(const std::string& name);

// The C library's calls on the host's spelling of the paths.
std::FILE* OpenHostFile(const std::string& path, const char* mode);
int RenameHostFile(const std::string& from, const std::string& to);
int RemoveHostFile(const std::string& path);
// A second name to for the file from (a hard link); 0 on success, else -1
// with errno set (EEXIST, or EPERM/EOPNOTSUPP/EXDEV where the folder takes
// no links).
int LinkHostFile(const std::string& from, const std::string& to);
// Puts the file's bytes on disk (open, fsync, close); false when any of it
// failed.
bool SyncHostFile(const std::string& path);
// Puts a folder's names on disk (its renames, links, removes and new
// files); folder may end in '/', and "" is the current folder.
bool SyncHostFolder(const std::string& folder);
// The folder part of path with its '/' ("" for a bare name).
std::string HostFolderOf(const std::string& path);

// Told of every open for writing, sync, link, rename and remove that
// succeeded, with the host's spelling of the paths (to: the new name of a
// link or a rename, else empty). Process-wide; installed before the steps
// it is to see, from one thread, and called from whichever thread took the
// step.
enum class HostFileEvent { OpenForWrite, Sync, SyncFolder, Link, Rename, Remove };
using HostFileObserver = void (*)(HostFileEvent event, const std::string& path, const std::string& to);
// Installs the observer (null: none) and returns the one installed before.
HostFileObserver SetHostFileObserver(HostFileObserver observer);

// What is at path, looked at without opening it: nothing, a regular file, or
// something else (a FIFO, a device, a folder), which no reader opens, since
// opening a FIFO waits for a writer for good and a device may never end. A
// path that cannot be looked at counts as regular: its open fails and says why.
enum class HostFileKind { Missing, Regular, Other };
HostFileKind HostFileKindOf(const std::string& path);
