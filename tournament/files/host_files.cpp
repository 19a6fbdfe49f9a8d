#include "tournament/files/host_files.h"

#include <filesystem>
#include <system_error>

namespace {

HostNames Names;

} // namespace

HostNames SetHostNames(const HostNames& names) {
    const HostNames previous = Names;
    Names = names;
    return previous;
}

std::string HostFileName(const std::string& path) { return Names.toHost ? Names.toHost(path) : path; }
std::string FromHostFileName(const std::string& name) { return Names.fromHost ? Names.fromHost(name) : name; }

std::FILE* OpenHostFile(const std::string& path, const char* mode) { return std::fopen(HostFileName(path).c_str(), mode); }
int RenameHostFile(const std::string& from, const std::string& to) {
    return std::rename(HostFileName(from).c_str(), HostFileName(to).c_str());
}
int RemoveHostFile(const std::string& path) { return std::remove(HostFileName(path).c_str()); }

HostFileKind HostFileKindOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(HostFileName(path), error);
    if (status.type() == std::filesystem::file_type::not_found) return HostFileKind::Missing;
    // A path that cannot be looked at is left to the open, which says why.
    if (error) return HostFileKind::Regular;
    return std::filesystem::is_regular_file(status) ? HostFileKind::Regular : HostFileKind::Other;
}
