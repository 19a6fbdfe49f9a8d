// The model's files on the host. Paths are Windows-1252 in memory; the host
// may spell its names otherwise (UTF-8). The program installs the spelling
// its platform layer knows; without one, paths go to the host as they are.
// Every file the model opens, renames or removes goes through here.
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

// What is at path, looked at without opening it: nothing, a regular file, or
// something else (a FIFO, a device, a folder), which no reader opens, since
// opening a FIFO waits for a writer for good and a device may never end. A
// path that cannot be looked at counts as regular: its open fails and says why.
enum class HostFileKind { Missing, Regular, Other };
HostFileKind HostFileKindOf(const std::string& path);
