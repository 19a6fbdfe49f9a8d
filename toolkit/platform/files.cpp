#include "toolkit/platform/files.h"

#include "toolkit/platform/font_charset.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {
namespace {

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

EntryKind KindOf(const std::string& path) {
    struct stat st;
    if (::stat(HostPath(path).c_str(), &st) != 0) return EntryKind::Other;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    if (S_ISREG(st.st_mode)) return EntryKind::File;
    return EntryKind::Other;
}

bool Match(std::string_view p, std::string_view n) {
    // Iterative matcher with one backtrack point for the last '*'.
    std::size_t pi = 0, ni = 0, star = std::string_view::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || Fold(p[pi]) == Fold(n[ni]))) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ni;
        } else if (star != std::string_view::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

} // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int d = int(Fold(static_cast<unsigned char>(a[i]))) - int(Fold(static_cast<unsigned char>(b[i])));
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool MatchWildcard(std::string_view pattern, std::string_view name) {
    if (Match(pattern, name)) return true;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return Match(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

std::string HostPath(std::string_view path) {
    std::string raw = ToSlashes(path), host = Cp1252ToUtf8(raw);
    // A name written in the code page's bytes (by an older version) is found
    // as it stands while no UTF-8 name takes its place.
    struct stat st;
    if (host != raw && ::lstat(host.c_str(), &st) != 0 && ::lstat(raw.c_str(), &st) == 0) return raw;
    return host;
}
std::string FromHostPath(const std::string& path) { return Utf8ToCp1252(path).value_or(path); }

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(HostPath(path).c_str(), mode); }
int RenameFile(const std::string& from, const std::string& to) {
    return std::rename(HostPath(from).c_str(), HostPath(to).c_str());
}
int RemoveFile(const std::string& path) { return std::remove(HostPath(path).c_str()); }
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(HostPath(a), HostPath(b), error) && !error;
}

std::string ToSlashes(std::string_view path) {
    std::string s(path);
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    std::string s(folder);
    if (s.back() != '/') s.push_back('/');
    while (!name.empty() && name.front() == '/') name.remove_prefix(1);
    s.append(name);
    return s;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& out) {
    out.clear();
    const std::string dir = folder.empty() ? std::string(".") : ToSlashes(folder);
    DIR* d = ::opendir(HostPath(dir).c_str());
    if (!d) return false;
    while (struct dirent* e = ::readdir(d)) {
        std::string name = FromHostPath(e->d_name);
        if (name == "." || name == "..") continue;
        out.push_back(FolderEntry{name, KindOf(JoinPath(dir, name))});
    }
    ::closedir(d);
    std::sort(out.begin(), out.end(), [](const FolderEntry& a, const FolderEntry& b) {
        int c = CompareNoCase(a.name, b.name);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return true;
}

int MakeFolder(const std::string& path) { return ::mkdir(HostPath(path).c_str(), 0777) == 0 ? 0 : errno; }

int RenameFolder(const std::string& from, const std::string& to) {
    struct stat st;
    if (::lstat(HostPath(to).c_str(), &st) == 0) return EEXIST;
    return ::rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0 ? 0 : errno;
}

int RemoveFolder(const std::string& path) { return ::rmdir(HostPath(path).c_str()) == 0 ? 0 : errno; }

bool IsFolder(const std::string& path) { return !path.empty() && KindOf(ToSlashes(path)) == EntryKind::Folder; }
bool IsFile(const std::string& path) { return !path.empty() && KindOf(ToSlashes(path)) == EntryKind::File; }

bool CurrentFolder(std::string& out) {
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size())) {
            out = FromHostPath(buffer.c_str());
            return true;
        }
        if (errno != ERANGE || buffer.size() > (1u << 20)) return false;
        buffer.resize(buffer.size() * 2);
    }
}

bool SetCurrentFolder(const std::string& path) {
    return !path.empty() && ::chdir(HostPath(path).c_str()) == 0;
}

std::vector<std::string> DriveRoots() { return {"/"}; }

DriveKind DriveKindOf(std::string_view root) { return root == "/" ? DriveKind::Fixed : DriveKind::Other; }

std::string ExecutablePath() {
    std::string buffer(PATH_MAX, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || std::size_t(n) >= buffer.size()) return {};
    buffer.resize(std::size_t(n));
    return FromHostPath(buffer);
}

std::optional<std::string> FindPathNoCase(const std::string& path) {
    std::string p = ToSlashes(path);
    if (p.empty()) return std::nullopt;
    struct stat st;
    if (::stat(HostPath(p).c_str(), &st) == 0) return p;
    std::string found = p.front() == '/' ? "/" : "";
    std::size_t start = p.front() == '/' ? 1 : 0;
    while (start <= p.size()) {
        std::size_t end = p.find('/', start);
        if (end == std::string::npos) end = p.size();
        std::string part = p.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        std::string exact = found.empty() ? part : JoinPath(found, part);
        if (part == "." || part == ".." || ::stat(HostPath(exact).c_str(), &st) == 0) {
            found = exact;
            continue;
        }
        std::vector<FolderEntry> entries;
        ListFolder(found.empty() ? "." : found, entries);
        auto it = std::find_if(entries.begin(), entries.end(), [&](const FolderEntry& e) {
            return e.name.size() == part.size() && CompareNoCase(e.name, part) == 0;
        });
        if (it == entries.end()) return std::nullopt;
        found = found.empty() ? it->name : JoinPath(found, it->name);
    }
    return found;
}

} // namespace plat
