#include "toolkit/core/startup.h"

#include "toolkit/core/draw_image.h"
#include "toolkit/core/image_bmp.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/platform/files.h"
#include "toolkit/platform/x11_display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#ifndef TM_WOKU_INSTALL_DIR
#define TM_WOKU_INSTALL_DIR "/usr/local/share/tourman/wokusys"
#endif

namespace {

std::string toolkitDir;
bool toolkitDirFound = false;
std::string currentDir;
// Every argument vector lives until the process ends; its blocks are held
// here (never destroyed, not even at exit) so that they stay reachable.
std::vector<void*>& keptBlocks = *new std::vector<void*>;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Splits text in place (when entries is not null) and returns the number of
// tokens. A token's scan starts at its first character, so an empty quoted
// token ("") gives an empty entry.
int Split(char* text, char** entries) {
    int n = 0;
    char* p = text;
    while (p && *p) {
        while (*p && IsSpace(*p)) ++p;
        if (!*p) break;
        bool quoted = false;
        if (*p == '"') {
            quoted = true;
            ++p;
            if (!*p) break; // a lone opening quote at the end makes no token
        }
        if (entries) entries[n] = p;
        ++n;
        while (*p && *p != '"' && (quoted || !IsSpace(*p))) ++p;
        if (!*p) break;
        if (entries) *p = '\0';
        ++p;
    }
    return n;
}

char* CopyText(const std::string& s) {
    char* copy = WkMallocText(s.size() + 1);
    std::memcpy(copy, s.c_str(), s.size() + 1);
    keptBlocks.push_back(copy);
    return copy;
}

char** NewVector(std::size_t entries) {
    auto vector = static_cast<char**>(WkCalloc(entries, sizeof(char*)));
    keptBlocks.push_back(vector);
    return vector;
}

std::string ProgramPath(const char* fallback) {
    std::string path = plat::ExecutablePath();
    return path.empty() && fallback ? std::string(fallback) : path;
}

} // namespace

char** WkBuildArgv(const char* programPath, const char* commandTail, int* count) {
    std::string tail = commandTail ? commandTail : "";
    // Counting works on a copy of its own, as splitting writes terminators.
    std::string probe = tail;
    int tokens = Split(probe.data(), nullptr);
    char** argv = NewVector(std::size_t(tokens) + 2);
    argv[0] = CopyText(programPath ? programPath : "");
    if (tokens > 0) Split(CopyText(tail), argv + 1);
    if (count) *count = tokens + 1;
    return argv;
}

char** WkInit(WkInstance instance, WkInstance previous, const char* commandTail, int* count) {
    int n = 0;
    char** argv = WkBuildArgv(ProgramPath(nullptr).c_str(), commandTail, &n);
    WkInitWindowSystem(instance, previous, argv);
    if (count) *count = n;
    return argv;
}

int WkMain(WkAppMain appMain, WkInstance instance, WkInstance previous, const char* commandTail, int /*showState*/) {
    int argc = 0;
    char** argv = WkInit(instance, previous, commandTail, &argc);
    // Main's result is the process's: a program that could not start must
    // not tell the shell that it ran.
    const int status = appMain ? appMain(argc, argv) : 0;
    WkShutdown();
    return status;
}

int WkHostMain(WkAppMain appMain, int argc, char** argv, WkInstance instance) {
    int n = argc > 0 ? argc : 1;
    char** vector = NewVector(std::size_t(n) + 1);
    vector[0] = CopyText(ProgramPath(argc > 0 ? argv[0] : nullptr));
    for (int i = 1; i < argc; ++i) vector[i] = CopyText(argv[i] ? argv[i] : "");
    WkInitWindowSystem(instance, nullptr, vector);
    const int status = appMain ? appMain(n, vector) : 0;
    WkShutdown();
    return status;
}

int WkDesktopMain(const char* program, WkAppMain appMain, int argc, char** argv) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        std::fprintf(stderr, "%s: no X display (DISPLAY is not set)\n", program);
        return 1;
    }
    std::string error;
    std::unique_ptr<plat::Display> display = plat::X11Display::Open(name, false, &error);
    if (!display) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 1;
    }
    return WkHostMain(appMain, argc, argv, display.get());
}

std::string WkFindToolkitDir(const char* wokudir, const std::string& currentFolder, const std::string& programPath) {
    if (wokudir && *wokudir && plat::IsFolder(wokudir)) return wokudir;
    if (currentFolder == "/") return "/";
    std::string programFolder = plat::ToSlashes(programPath);
    std::size_t slash = programFolder.rfind('/');
    programFolder = slash == std::string::npos ? std::string() : programFolder.substr(0, slash);
    std::string candidates[] = {
        currentFolder.empty() ? std::string() : plat::JoinPath(currentFolder, "wokusys"),
        programFolder.empty() ? std::string() : plat::JoinPath(programFolder, "wokusys"),
        TM_WOKU_INSTALL_DIR,
    };
    for (const std::string& c : candidates)
        if (!c.empty() && plat::IsFolder(c)) return c;
    return TM_WOKU_INSTALL_DIR;
}

const char* WkInstalledToolkitDir() { return TM_WOKU_INSTALL_DIR; }

const char* WkGetToolkitDir() {
    if (!toolkitDirFound) {
        std::string cwd;
        plat::CurrentFolder(cwd);
        // The variable is the host's spelling of the folder.
        const char* variable = std::getenv("WOKUDIR");
        const std::string named = variable ? plat::FromHostPath(variable) : std::string();
        toolkitDir = WkFindToolkitDir(variable ? named.c_str() : nullptr, cwd, plat::ExecutablePath());
        toolkitDirFound = true;
    }
    return toolkitDir.c_str();
}

void WkLoadToolkitBitmap(const char* folder, const char* fileName, WkImage** slot, int transparentCorner) {
    if (!slot || !fileName) return;
    if (!*slot) {
        *slot = WkLoadBmpFile(plat::JoinPath(folder ? folder : "", fileName).c_str());
        if (!*slot) return;
        int r, g, b;
        WkGetDefaultBackgroundRGB(&r, &g, &b);
        WkImageSetPaletteEntry(*slot, 1, r, g, b);
        WkGetDefaultForegroundRGB(&r, &g, &b);
        WkImageSetPaletteEntry(*slot, 0, r, g, b);
        if (transparentCorner) WkImageSetTransparentAt(*slot, 0, 0);
    }
    WkImageMakeDeviceBitmap(*slot);
}

const char* WkGetCurrentDir() {
    if (!plat::CurrentFolder(currentDir)) currentDir.clear();
    else if (currentDir.empty() || currentDir.back() != '/') currentDir.push_back('/');
    return currentDir.c_str();
}

int WkIsFolder(const char* path) { return path && plat::IsFolder(path) ? 1 : 0; }
