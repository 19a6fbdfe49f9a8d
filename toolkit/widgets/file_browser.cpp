#include "toolkit/widgets/file_browser.h"

#include "toolkit/core/window_system.h"
#include "toolkit/core/folders.h"
#include "toolkit/core/image.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_config.h"
#include "toolkit/core/item_list.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/startup.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/dir_tree.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/sash.h"

#include <cstring>
#include <vector>

namespace {

enum Result { kRunning = 0, kClosed = 1, kChosen = 2, kWindowClosed = 3 };

constexpr int kItemLength = 255;

struct Browser {
    int result = kRunning;
    bool running = false;
    std::string folder, filter, file;
    WkObject *shell = nullptr, *tree = nullptr, *list = nullptr, *filterField = nullptr, *nameField = nullptr,
             *folderField = nullptr;
    WkBrowserParts parts{};
};
Browser browser;

int CompareNoCase(const char* a, const char* b) { return WkCompareNoCase(&a, &b); }

// Fields and buttons stand out a little from the window behind them.
void Lighter(WkObject* object) { WkObjectInheritBackground(object, 1, 115); }

void Fill() {
    WkListClear(browser.list);
    WkListHide(browser.list);
    WkNameList names = WkGetFileNames(browser.folder.c_str(), browser.filter.c_str());
    for (char** n = names; *n; ++n) WkListAddItem(browser.list, *n, 0);
    WkFreeNameList(names);
    WkListShow(browser.list);
}

void FolderChosen(WkObject*, const char* path, void*, int) {
    browser.folder = path;
    Fill();
    WkEditReplaceText(browser.folderField, path, 0, 0);
}

void NewFilter(const char* text) {
    if (!text || browser.filter == text) return;
    browser.filter = text;
    Fill();
}

void FilterPicked(WkObject*, WkListItem* item, void*, WkObject*) { NewFilter(item ? item->text : nullptr); }
void FilterEdited(WkObject*, char* text, void*) { NewFilter(text); }
void FolderEntered(WkObject*, char* text, void*) { WkDirTreeSetPath(browser.tree, text, 1); }

void FileClicked(WkObject*, WkListItem* item, void*, std::intptr_t) {
    if (item && browser.nameField && std::strcmp(WkEditGetText(browser.nameField), item->text) != 0)
        WkEditReplaceText(browser.nameField, item->text, 0, 0);
}

void FileActivated(WkObject*, WkListItem* item, void*, std::intptr_t) {
    if (!item) return;
    browser.file = item->text;
    browser.result = kChosen;
}

void TakeName() {
    std::string name = WkEditGetText(browser.nameField);
    if (name.empty())
        if (WkListItem* item = WkListGetSelectedItem(browser.list)) name = item->text;
    if (name.empty()) return;
    browser.file = name;
    browser.result = kChosen;
}

void NameEntered(WkObject*, char*, void*) { TakeName(); }

void Ok(WkObject*, void*, void*) {
    if (browser.nameField) TakeName();
    else browser.result = kChosen;
}

void Close(WkObject*, void*, void*) { browser.result = kClosed; }

int WindowClosed(WkObject*, std::intptr_t, void*, WkMessage*) {
    browser.result = kWindowClosed;
    return 0;
}

WkObject* FilterField(WkObject* parent, const std::string& patterns, bool withName, int font, bool fixed) {
    WkObject* field;
    if (patterns.find(';') != std::string::npos) {
        std::vector<std::string> entries(1);
        for (char c : patterns) {
            if (c == ';') entries.emplace_back();
            else entries.back() += c;
        }
        browser.filter = entries.front();
        field = WkCreateComboBox(parent, browser.filter.c_str(), 32, 16, 4, font);
        WkObject* list = WkComboBoxGetList(field);
        for (const std::string& e : entries) WkListAddItem(list, e.c_str(), 0);
        WkComboBoxSetCallback(field, FilterPicked, nullptr);
        WkEditTintParts(field);
    } else {
        field = WkCreateEditWithWidth(parent, browser.filter.c_str(), 32, withName ? 16 : 8, font);
    }
    WkEditSetValueCallback(field, FilterEdited, nullptr);
    if (fixed) WkEditSetReadOnly(field);
    Lighter(field);
    return field;
}

void Build(const char* title, const std::string& patterns, bool withName, const WkBrowserOptions& o) {
    const int font = o.font ? o.font : 5;
    browser.shell = WkCreateShell(title ? title : "", WK_SHELL_DIALOG);
    WkShellSetCloseCallback(browser.shell, WindowClosed, nullptr);
    if (o.background) WkObjectSetBackgroundImage(browser.shell, o.background, WK_IMAGE_TILED);
    else if (!o.backgroundFile || !WkObjectSetBackgroundImageFile(browser.shell, o.backgroundFile, WK_IMAGE_TILED))
        WkObjectConfigure(browser.shell, "FileBrowser", WK_CONFIG_BG_IMAGE);
    WkObject* row = WkCreateHorizontalForm(browser.shell);
    WkObjectInheritBackground(row, 1, 100);
    WkObjectSetTransparent(row);
    WkObjectSetShadow(row, 1, 1, 0);
    const int treeOptions = (o.renameFolder ? WK_DIRTREE_RENAME : 0) | (o.newFolder ? WK_DIRTREE_NEW : 0) |
                            (o.deleteFolder ? WK_DIRTREE_DELETE : 0);
    browser.tree = WkCreateDirTree(row, browser.folder.c_str(), font, 256, 256, treeOptions);
    WkDirTreeSetCallback(browser.tree, FolderChosen, nullptr);
    if (o.plainTree) WkObjectSetTransparent(browser.tree);
    else if (WkImage* image = WkObjectGetBackgroundImage(browser.shell))
        WkObjectSetBackgroundImage(browser.tree, image, WK_IMAGE_TILED);
    WkCreateSash(row);
    WkObject* column = WkCreateVerticalForm(row);
    WkObjectSetTransparent(column);
    WkFormSetSpacing(column, 0);
    browser.list = WkCreateList(column, font, kItemLength, 10, 20);
    WkObjectSetTransparent(browser.list);
    WkListSetCompareFunction(browser.list, CompareNoCase);
    WkListSetCurrentTextColor(browser.list, WkWhiteColor());
    WkListSetScrollBarShade(browser.list, 85);
    WkListSetClickCallback(browser.list, FileClicked, nullptr);
    WkListSetActivateCallback(browser.list, FileActivated, nullptr);
    WkObject* table = WkCreateTableForm(column, 2);
    WkObjectSetTransparent(table);
    WkObjectSetShadow(table, 1, 1, 0);
    WkCreateLabel(table, o.filterLabel ? o.filterLabel : "Filter", font);
    browser.filterField = FilterField(table, patterns, withName, font, o.fixedFilter);
    if (withName) {
        WkCreateLabel(table, o.fileLabel ? o.fileLabel : " File", font);
        browser.nameField = WkCreateEditWithWidth(table, browser.file.c_str(), kItemLength, 16, font);
        WkEditSetActivateCallback(browser.nameField, NameEntered, nullptr);
        Lighter(browser.nameField);
    }
    browser.folderField = WkCreateEditWithWidth(browser.shell, browser.folder.c_str(), 4096, 20, font);
    WkObjectSetResizable(browser.folderField, 1, 0);
    Lighter(browser.folderField);
    WkEditSetActivateCallback(browser.folderField, FolderEntered, nullptr);
    WkObject* buttons = WkCreateHorizontalForm(browser.shell);
    WkObjectInheritBackground(buttons, 1, 85);
    WkObjectSetShadow(buttons, 1, 1, 0);
    const int buttonFont = o.buttonFont ? o.buttonFont : 7;
    WkObject* ok = WkCreateButton(buttons, o.okCaption ? o.okCaption : "    &Ok    ", buttonFont);
    WkObject* close = WkCreateButton(buttons, o.closeCaption ? o.closeCaption : "  &Close  ", buttonFont);
    WkButtonSetCallback(ok, Ok, nullptr);
    WkButtonSetCallback(close, Close, nullptr);
    Lighter(ok);
    Lighter(close);
    browser.parts = {browser.shell, browser.tree,      browser.list, browser.filterField,
                     browser.nameField, browser.folderField, ok,           close};
}

} // namespace

const WkBrowserParts& WkFileBrowserParts() { return browser.parts; }

int WkRunFileBrowser(const char* title, const char* patterns, std::string* file, std::string& folder,
                     const WkBrowserOptions* options) {
    // A second browser would overwrite the running one's state.
    if (browser.running) return 0;
    const WkBrowserOptions defaults;
    const WkBrowserOptions& o = options ? *options : defaults;
    std::string remembered = WkGetCurrentDir();
    if (remembered.empty()) return 0;
    if (!folder.empty()) WkSetCwd(folder.c_str());
    std::string start = WkGetCurrentDir();
    if (start.empty()) return 0;
    if (start.size() > 1 && start.back() == '/') start.pop_back();
    browser = Browser{};
    browser.running = true;
    browser.folder = start;
    browser.filter = patterns && *patterns ? patterns : "*.*";
    browser.file = file ? *file : "";
    Build(title, browser.filter, file != nullptr, o);
    WkShellRealize(browser.shell);
    WkDirTreeSetPath(browser.tree, browser.folder.c_str(), 1);
    WkLoopWhile(&browser.result, kRunning);

    if (browser.result == kChosen) {
        if (file) *file = browser.file;
        folder = browser.folder.back() == '/' ? browser.folder : browser.folder + '/';
    }
    // Only a choice moves the program: a browser closed leaves the folder as it was.
    if (o.keepFolder && browser.result == kChosen) remembered = browser.folder;
    WkSetCwd(remembered.c_str());
    WkShellHide(browser.shell);
    WkShellDestroy(browser.shell);
    const int chosen = browser.result == kChosen;
    browser = Browser{};
    return chosen;
}

int WkFileBrowser(const char* title, const char* patterns, std::string& file, std::string& folder, int keepFolder) {
    WkBrowserOptions o;
    o.keepFolder = std::uint8_t(keepFolder);
    return WkRunFileBrowser(title, patterns, &file, folder, &o);
}

int WkFileBrowserWithOptions(const char* title, const char* patterns, std::string& folder,
                             const WkBrowserOptions* options) {
    return WkRunFileBrowser(title, patterns, nullptr, folder, options);
}

int WkFolderBrowser(const char* title, const char* patterns, std::string& folder, int keepFolder) {
    WkBrowserOptions o;
    o.keepFolder = std::uint8_t(keepFolder);
    return WkRunFileBrowser(title, patterns, nullptr, folder, &o);
}
