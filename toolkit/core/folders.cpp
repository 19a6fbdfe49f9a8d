#include "toolkit/core/folders.h"

#include "toolkit/core/memory.h"
#include "toolkit/platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A name list of the given texts, each copied.
WkNameList MakeList(const std::vector<std::string>& names) {
    auto list = static_cast<WkNameList>(WkCalloc(names.size() + 1, sizeof(char*)));
    for (std::size_t i = 0; i < names.size(); ++i) {
        list[i] = WkMallocText(names[i].size() + 1);
        std::memcpy(list[i], names[i].c_str(), names[i].size() + 1);
    }
    return list;
}

} // namespace

WkNameList WkGetSubdirNames(const char* folder) {
    std::vector<plat::FolderEntry> entries;
    std::vector<std::string> names;
    if (folder && plat::ListFolder(folder, entries)) {
        for (const plat::FolderEntry& e : entries)
            if (e.kind == plat::EntryKind::Folder && e.name != "." && e.name.rfind("..", 0) != 0)
                names.push_back(e.name);
    }
    WkNameList list = MakeList(names);
    std::stable_sort(list, list + names.size(),
                     [](const char* a, const char* b) { return WkCompareNoCase(&a, &b) < 0; });
    return list;
}

WkNameList WkGetFileNames(const char* folder, const char* patterns) {
    std::vector<std::string> names;
    std::vector<plat::FolderEntry> entries;
    if (folder && patterns && plat::ListFolder(folder, entries)) {
        std::string list = patterns;
        std::size_t i = 0;
        while (i < list.size()) {
            std::size_t start = list.find_first_not_of(",; ", i);
            if (start == std::string::npos) break;
            std::size_t end = list.find_first_of(",; ", start);
            if (end == std::string::npos) end = list.size();
            std::string pattern = list.substr(start, end - start);
            i = end;
            for (const plat::FolderEntry& e : entries)
                if (e.kind == plat::EntryKind::File && plat::MatchWildcard(pattern, e.name)) names.push_back(e.name);
        }
    }
    return MakeList(names);
}

int WkFreeNameList(WkNameList list) {
    if (!list) return 0;
    for (char** p = list; *p; ++p) WkFree(*p);
    WkFree(list);
    return 0;
}

WkNameList WkGetDriveNames() { return MakeList(plat::DriveRoots()); }

int WkDriveType(const char* root) {
    if (!root) return WK_DRIVE_OTHER;
    switch (plat::DriveKindOf(plat::ToSlashes(root))) {
    case plat::DriveKind::Removable:
        return (root[0] == 'A' || root[0] == 'B') ? WK_DRIVE_FLOPPY : WK_DRIVE_OTHER;
    case plat::DriveKind::Fixed:
        return WK_DRIVE_HARD_DISK;
    case plat::DriveKind::CdRom:
        return WK_DRIVE_CDROM;
    case plat::DriveKind::Other:
        break;
    }
    return WK_DRIVE_OTHER;
}

int WkMakeFolder(const char* path) { return path ? plat::MakeFolder(path) : EINVAL; }
int WkRenameFolder(const char* from, const char* to) { return from && to ? plat::RenameFolder(from, to) : EINVAL; }
int WkRemoveFolder(const char* path) { return path ? plat::RemoveFolder(path) : EINVAL; }

int WkGetCwd(char* buffer, std::size_t size) {
    std::string folder;
    if (!buffer || size == 0 || !plat::CurrentFolder(folder) || folder.size() + 1 > size) return 1;
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return 0;
}

int WkSetCwd(const char* path) { return path && plat::SetCurrentFolder(path) ? 0 : 1; }

std::FILE* WkOpenFile(const char* path, const char* mode) { return path ? plat::OpenFile(path, mode) : nullptr; }
int WkSameFile(const char* a, const char* b) { return a && b && plat::SameFile(a, b) ? 1 : 0; }
std::string WkHostPath(const std::string& path) { return plat::HostPath(path); }
std::string WkFromHostPath(const std::string& path) { return plat::FromHostPath(path); }

int WkCompareNoCase(const void* a, const void* b) {
    const char* x = *static_cast<const char* const*>(a);
    const char* y = *static_cast<const char* const*>(b);
    return plat::CompareNoCase(x ? x : "", y ? y : "");
}
