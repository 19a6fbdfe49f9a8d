// The file browser: the toolkit's modal dialog for choosing a file or a
// folder. A folder tree beside a sorted list of the chosen folder's files
// that match the filter (a drop-down when several ';'-separated patterns are
// offered), an optional file-name field, a folder field, Ok and Close.
//
// One browser runs at a time; its state is process-wide and reset on each
// run, and its window exists only during the run. Names and folders are
// whole std::strings: no length limit anywhere.
#pragma once

#include <cstdint>
#include <string>

struct WkImage;

struct WkBrowserOptions {
    std::uint8_t keepFolder = 0; // 1: the folder of a choice stays current afterwards
    std::uint8_t newFolder = 0, renameFolder = 0, deleteFolder = 0; // the folder tree's menu
    std::uint8_t plainTree = 0;   // 1: the tree fully transparent
    std::uint8_t fixedFilter = 0; // 1: the filter field is read-only
    int font = 0;                 // 0: 5
    int buttonFont = 0;           // 0: 7
    const char *filterLabel = nullptr, *fileLabel = nullptr, *okCaption = nullptr, *closeCaption = nullptr;
    WkImage* background = nullptr; // stays the caller's
    const char* backgroundFile = nullptr;
};

// 1 when a file was chosen: file then holds its name, folder its folder with
// one '/' at the end. Otherwise (closed, or a browser already running, or
// the current folder unreadable) 0 and both are left as they were.
int WkFileBrowser(const char* title, const char* patterns, std::string& file, std::string& folder, int keepFolder);
int WkFileBrowserWithOptions(const char* title, const char* patterns, std::string& folder,
                             const WkBrowserOptions* options);
int WkFolderBrowser(const char* title, const char* patterns, std::string& folder, int keepFolder);
// The common body; without a file the dialog has no name field.
int WkRunFileBrowser(const char* title, const char* patterns, std::string* file, std::string& folder,
                     const WkBrowserOptions* options);

// The running browser's parts (none between runs), for whoever drives it.
struct WkBrowserParts {
    void *shell, *tree, *list, *filter, *name, *folder, *ok, *close;
};
const WkBrowserParts& WkFileBrowserParts();
