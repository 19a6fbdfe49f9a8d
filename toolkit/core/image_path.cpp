#include "toolkit/core/image_path.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/core/startup.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/files.h"

namespace {

struct SearchPath {
    bool built = false;
    std::vector<std::string> folders;
    int builtin = 0;
};

SearchPath path;

void Append(const std::string& folder) {
    if (int(path.folders.size()) < WK_IMAGE_PATH_SLOTS) path.folders.push_back(folder);
}

// The folder as it exists, spelled exactly or in another case; none when not a folder.
std::optional<std::string> ExistingFolder(const std::string& folder) {
    if (folder.empty()) return std::nullopt;
    if (plat::IsFolder(folder)) return folder;
    std::optional<std::string> found = plat::FindPathNoCase(folder);
    if (found && plat::IsFolder(*found)) return found;
    return std::nullopt;
}

std::optional<std::string> ExistingFile(const std::string& file) {
    if (plat::IsFile(file)) return file;
    std::optional<std::string> found = plat::FindPathNoCase(file);
    if (found && plat::IsFile(*found)) return found;
    return std::nullopt;
}

std::string ProgramFolder() {
    std::string exe = plat::ExecutablePath();
    std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash == 0 ? 1 : slash);
}

void Build() {
    path = SearchPath();
    path.built = true;
    if (const char* env = std::getenv("WOKU_IMAGE_PATH")) {
        std::string list = plat::ToSlashes(plat::FromHostPath(env)), part;
        for (char c : list + ";") {
            if (c == ';' || c == ':') {
                if (!part.empty()) Append(part);
                part.clear();
            } else {
                part += c;
            }
        }
    }
    std::vector<std::string> bases;
    if (const char* home = std::getenv("HOME"))
        if (auto folder = ExistingFolder(plat::JoinPath(plat::FromHostPath(home), "woku"))) bases.push_back(*folder);
    if (auto folder = ExistingFolder(ProgramFolder())) bases.push_back(*folder);
    if (auto folder = ExistingFolder(WkGetToolkitDir())) bases.push_back(*folder);
    std::string program = WkProgramName();
    for (const std::string& base : bases) {
        std::string images = plat::JoinPath(base, "images");
        if (!program.empty())
            if (auto f = ExistingFolder(plat::JoinPath(images, program))) Append(*f);
        if (auto f = ExistingFolder(plat::JoinPath(images, "tiles"))) Append(*f);
        if (auto f = ExistingFolder(images)) Append(*f);
        Append(base);
    }
    path.builtin = int(path.folders.size());
}

void EnsureBuilt() {
    if (!path.built) Build();
}

} // namespace

int WkIsAbsoluteImageName(const char* name) {
    if (!name) return 1;
    return name[0] == '/' || name[0] == '\\' || (name[0] && name[1] == ':') ? 1 : 0;
}

const char* WkFindImageFolder(const char* name) {
    if (!name || !*name || WkIsAbsoluteImageName(name)) return nullptr;
    EnsureBuilt();
    for (const std::string& folder : path.folders)
        if (ExistingFile(plat::JoinPath(folder, plat::ToSlashes(name)))) return folder.c_str();
    return nullptr;
}

void WkPushImagePath(const char* folder) {
    if (!folder) return;
    EnsureBuilt();
    Append(plat::ToSlashes(folder));
}

void WkPopImagePath(const char* folder) {
    if (!folder) return;
    EnsureBuilt();
    std::string wanted = plat::ToSlashes(folder);
    for (int i = int(path.folders.size()) - 1; i >= path.builtin; --i)
        if (plat::CompareNoCase(path.folders[std::size_t(i)], wanted) == 0) {
            path.folders.erase(path.folders.begin() + i);
            return;
        }
}

int WkImagePathCount() {
    EnsureBuilt();
    return int(path.folders.size());
}

int WkImagePathBuiltinCount() {
    EnsureBuilt();
    return path.builtin;
}

const char* WkImagePathEntry(int index) {
    EnsureBuilt();
    return index >= 0 && index < int(path.folders.size()) ? path.folders[std::size_t(index)].c_str() : nullptr;
}

void WkResetImagePath() { path = SearchPath(); }

std::FILE* WkOpenImageFile(const char* name) {
    if (!name || !*name) return nullptr;
    std::string given = plat::ToSlashes(name);
    if (auto file = ExistingFile(given))
        if (std::FILE* f = plat::OpenFile(*file, "rb")) return f;
    const char* folder = WkFindImageFolder(name);
    if (!folder) return nullptr;
    auto file = ExistingFile(plat::JoinPath(folder, given));
    return file ? plat::OpenFile(*file, "rb") : nullptr;
}
