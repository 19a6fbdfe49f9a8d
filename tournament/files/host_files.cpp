#include "tournament/files/host_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

HostNames Names;
std::atomic<HostFileObserver> Observer{nullptr};

void Tell(HostFileEvent event, const std::string& path, const std::string& to = std::string()) {
    if (const HostFileObserver observer = Observer.load()) observer(event, path, to);
}

// Opens, syncs and closes what is at a host path; a folder is opened for
// reading only, as it must be.
bool SyncHostPath(const std::string& host, int flags) {
    const int descriptor = ::open(host.c_str(), flags | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool synced = ::fsync(descriptor) == 0;
    return ::close(descriptor) == 0 && synced;
}

} // namespace

HostNames SetHostNames(const HostNames& names) {
    const HostNames previous = Names;
    Names = names;
    return previous;
}

HostFileObserver SetHostFileObserver(HostFileObserver observer) { return Observer.exchange(observer); }

std::string HostFileName(const std::string& path) { return Names.toHost ? Names.toHost(path) : path; }
std::string FromHostFileName(const std::string& name) { return Names.fromHost ? Names.fromHost(name) : name; }

std::FILE* OpenHostFile(const std::string& path, const char* mode) {
    const std::string host = HostFileName(path);
    std::FILE* file = std::fopen(host.c_str(), mode);
    if (file != nullptr && std::strpbrk(mode, "wa+") != nullptr) Tell(HostFileEvent::OpenForWrite, host);
    return file;
}

int RenameHostFile(const std::string& from, const std::string& to) {
    const std::string hostFrom = HostFileName(from), hostTo = HostFileName(to);
    const int result = std::rename(hostFrom.c_str(), hostTo.c_str());
    if (result == 0) Tell(HostFileEvent::Rename, hostFrom, hostTo);
    return result;
}

int RemoveHostFile(const std::string& path) {
    const std::string host = HostFileName(path);
    const int result = std::remove(host.c_str());
    if (result == 0) Tell(HostFileEvent::Remove, host);
    return result;
}

int LinkHostFile(const std::string& from, const std::string& to) {
    const std::string hostFrom = HostFileName(from), hostTo = HostFileName(to);
    const int result = ::link(hostFrom.c_str(), hostTo.c_str());
    if (result == 0) Tell(HostFileEvent::Link, hostFrom, hostTo);
    return result;
}

bool SyncHostFile(const std::string& path) {
    const std::string host = HostFileName(path);
    if (!SyncHostPath(host, O_RDONLY)) return false;
    Tell(HostFileEvent::Sync, host);
    return true;
}

std::string HostFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool SyncHostFolder(const std::string& folder) {
    const std::string host = HostFileName(folder.empty() ? std::string("./") : folder);
    if (!SyncHostPath(host, O_RDONLY | O_DIRECTORY)) return false;
    Tell(HostFileEvent::SyncFolder, host);
    return true;
}

HostFileKind HostFileKindOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(HostFileName(path), error);
    if (status.type() == std::filesystem::file_type::not_found) return HostFileKind::Missing;
    // A path that cannot be looked at is left to the open, which says why.
    if (error) return HostFileKind::Regular;
    return std::filesystem::is_regular_file(status) ? HostFileKind::Regular : HostFileKind::Other;
}
