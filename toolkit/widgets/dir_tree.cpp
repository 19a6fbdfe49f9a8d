#include "toolkit/widgets/dir_tree.h"

#include "toolkit/core/callback_list.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/folders.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/image.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/log.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/startup.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/scroll_bar.h"
#include "toolkit/widgets/tree.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kClasses = 5;
constexpr int kMenuFont = 4;
constexpr int kNewFolderTries = 100;

void Destroyed(WkObject*, WkMessage*, void* data, std::uint32_t) {
    auto* d = static_cast<WkDirTreeData*>(data);
    // The menu lives in a window of its own; the window takes the menu along.
    if (d->popupMenu) WkObjectDestroy(WkObjectGetShell(d->popupMenu));
    delete d;
}

WkDirTreeData* OfNode(WkTreeNode* node) { return WkDirTreeRecord(WkTreeGetNodeTree(node)); }

std::string Label(WkTreeNode* node) { return WkEditGetText(node->label); }

std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + '/' + name;
}

bool SameNoCase(const std::string& a, const std::string& b) {
    const char* pa = a.c_str();
    const char* pb = b.c_str();
    return a.size() == b.size() && WkCompareNoCase(&pa, &pb) == 0;
}

bool Alive(WkTreeNode* wanted, WkTreeNode* from) {
    for (WkTreeNode* n = from; n; n = n->next)
        if (n == wanted || Alive(wanted, n->firstChild)) return true;
    return false;
}

// The current node, while it is still in the tree.
WkTreeNode* Current(WkDirTreeData* d) {
    return d->current && Alive(d->current, WkTreeGetFirstRoot(d->tree)) ? d->current : nullptr;
}

void MakeCurrent(WkDirTreeData* d, WkTreeNode* node, const std::string& path, bool notify) {
    d->current = node;
    d->path = path;
    if (notify && d->callback) d->callback(d->tree, d->path.c_str(), d->callbackData, 1);
}

int RenameNode(WkTreeNode* node, const char* previous, void*, int);
int DeleteNode(WkTreeNode* node, void*) {
    WkDirTreeData* d = OfNode(node);
    const std::string path = WkDirTreeNodeFolder(node);
    if (const int error = WkRemoveFolder(path.c_str())) {
        WkLog(1, "Failed to remove directory %s.Error: %s", path.c_str(), std::strerror(error));
        WkBeep();
        return 0;
    }
    if (d && d->current && Alive(d->current, node)) d->current = nullptr;
    return 1;
}

// A folder just made is named by the arbiter whatever the options say:
// "NewDir0" is no name to keep.
WkTreeNode* AddFolder(WkDirTreeData* d, WkTreeNode* parent, const char* name, bool made = false) {
    WkTreeNode* n = WkTreeAddNode(d->tree, parent, WK_DIRTREE_FOLDER, 1, name);
    if (made || (d->options & WK_DIRTREE_RENAME)) WkTreeNodeSetRenameCallback(n, RenameNode, nullptr);
    if (d->options & WK_DIRTREE_DELETE) WkTreeNodeSetDeleteCallback(n, DeleteNode, nullptr);
    return n;
}

// Reads the node's sub-folders anew; false when its folder is gone.
bool Fill(WkDirTreeData* d, WkTreeNode* node) {
    if (d->current && d->current != node && Alive(d->current, WkTreeGetFirstChild(node))) d->current = nullptr;
    WkTreeRemoveChildren(node, 0);
    const std::string folder = WkDirTreeNodeFolder(node);
    if (!WkIsFolder(folder.c_str())) return false;
    WkNameList names = WkGetSubdirNames(folder.c_str());
    for (char** n = names; *n; ++n) AddFolder(d, node, *n);
    WkFreeNameList(names);
    return true;
}

// The folder opened becomes the current one, and the highlighted one: what
// a command takes from the tree is always what the arbiter sees chosen.
void Expanded(WkTreeNode* node, void* data) {
    auto* d = static_cast<WkDirTreeData*>(data);
    if (!Fill(d, node)) return;
    if (WkTreeGetSelected(d->tree) != node) WkTreeSelectNode(node, 1);
    else if (Current(d) != node) MakeCurrent(d, node, WkDirTreeNodeFolder(node), true);
}

void Collapsed(WkTreeNode* node, void* data) {
    auto* d = static_cast<WkDirTreeData*>(data);
    if (d->current && d->current != node && Alive(d->current, WkTreeGetFirstChild(node))) d->current = nullptr;
    WkTreeRemoveChildren(node, 0);
}

// Back to the previous current folder, when there is one to go back to.
void Restore(WkDirTreeData* d, WkTreeNode* refused) {
    WkTreeNode* back = Current(d);
    if (back && back != refused) WkTreeSelectNode(back, 1);
}

void Selected(WkTreeNode* node, void* data) {
    auto* d = static_cast<WkDirTreeData*>(data);
    const std::string folder = WkDirTreeNodeFolder(node);
    if (WkIsFolder(folder.c_str())) MakeCurrent(d, node, folder, true);
    else Restore(d, node);
}

int RenameNode(WkTreeNode* node, const char* previous, void*, int) {
    WkDirTreeData* d = OfNode(node);
    const std::string name = Label(node);
    WkTreeNode* parent = WkTreeGetParent(node);
    const std::string folder = parent ? WkDirTreeNodeFolder(parent) : std::string();
    const std::string from = Join(folder, previous ? previous : "");
    const std::string to = Join(folder, name);
    if (name.empty() || from == to) return 1;
    // A '/' would move the folder elsewhere instead of renaming it.
    const int error = name.find('/') != std::string::npos ? EINVAL : WkRenameFolder(from.c_str(), to.c_str());
    if (error) {
        WkLog(1, "Failed to rename directory %s to %s Error: %s", from.c_str(), to.c_str(), std::strerror(error));
        WkBeep();
        return 0;
    }
    if (d) MakeCurrent(d, node, to, true);
    return 1;
}

void MenuNew(WkMenuItem*, int, void* data) {
    auto* d = static_cast<WkDirTreeData*>(data);
    if (Alive(d->menuNode, WkTreeGetFirstRoot(d->tree))) WkDirTreeNewFolder(d->tree, d->menuNode);
}

void MenuRename(WkMenuItem*, int, void* data) {
    auto* d = static_cast<WkDirTreeData*>(data);
    if (Alive(d->menuNode, WkTreeGetFirstRoot(d->tree))) WkTreeEditLabel(d->menuNode);
}

void MenuDelete(WkMenuItem*, int, void* data) {
    auto* d = static_cast<WkDirTreeData*>(data);
    if (Alive(d->menuNode, WkTreeGetFirstRoot(d->tree))) WkDirTreeDeleteFolder(d->tree, d->menuNode, 0);
}

WkTreeNode* ChildNamed(WkTreeNode* node, const std::string& name) {
    WkTreeNode* other = nullptr;
    for (WkTreeNode* c = WkTreeGetFirstChild(node); c; c = c->next) {
        const std::string label = Label(c);
        if (label == name) return c;
        if (!other && SameNoCase(label, name)) other = c;
    }
    return other;
}

} // namespace

WkDirTreeData* WkDirTreeRecord(WkObject* tree) {
    if (!tree) return nullptr;
    for (WkEventHandler* h = tree->handlers; h; h = h->next)
        if (h->callback == WkAsAnyCallback(Destroyed)) return static_cast<WkDirTreeData*>(h->userData);
    return nullptr;
}

std::string WkDirTreeNodeFolder(WkTreeNode* node) {
    char* raw = WkTreeNodePath(node, '/', nullptr, 0);
    std::string path = raw ? raw : "";
    WkFree(raw);
    // The root's label is "/" itself.
    if (path.rfind("//", 0) == 0) path.erase(0, 1);
    return path;
}

WkObject* WkCreateDirTree(WkObject* parent, const char* start, int font, int width, int height, int options) {
    auto* d = new WkDirTreeData;
    d->options = std::uint16_t(options);
    d->path = start ? start : "";
    WkObject* tree = WkCreateTree(parent, font, width, height, kClasses);
    d->tree = tree;
    WkObjectAddDestroyHandler(tree, Destroyed, d);
    WkObjectInheritBackground(tree, 1, 100);
    WkTreeData* t = WkTreeRecord(tree);
    // White on a highlight made for white text: one made for the dark
    // foreground would be lighter than the background, and white on it unreadable.
    WkTreeSetSelectedTextColor(tree, WkWhiteColor());
    WkTreeSetScrollBarShade(tree, 85);
    static const char* const pictures[kClasses][3] = {{"fbcfold.bmp", "fbofold.bmp", "fbsfold.bmp"},
                                                      {"fdisk.bmp", nullptr, nullptr},
                                                      {"hdisk.bmp", nullptr, nullptr},
                                                      {"cdrom.bmp", nullptr, nullptr},
                                                      {"rdisk.bmp", nullptr, nullptr}};
    for (int k = 0; k < kClasses; ++k) {
        WkTreeSetClassImageFiles(tree, k, pictures[k][0], pictures[k][1], pictures[k][2]);
        // The pictures' corner colour is their backdrop.
        for (WkImage* image : {t->closedImages[k], t->openImages[k], t->selectedImages[k]})
            if (image) WkImageSetTransparentAt(image, 0, 0);
    }
    WkTreeSetSelectCallback(tree, Selected, d);
    WkTreeSetExpandCallback(tree, Expanded, d);
    WkTreeSetCollapseCallback(tree, Collapsed, d);
    WkTreeSetPopupCallback(tree, WkDirTreeShowMenu, d);
    int step = WkFontHeight("A", font) + 2;
    if (t->closedImages[0]) step = std::max(step, int(t->closedImages[0]->height));
    WkScrollBarSetStep(WkTreeGetVerticalScrollBar(tree), step);
    WkNameList drives = WkGetDriveNames();
    for (char** n = drives; *n; ++n) WkTreeAddNode(tree, nullptr, WkDriveType(*n), 1, *n);
    WkFreeNameList(drives);
    return tree;
}

void WkDirTreeSetCallback(WkObject* tree, WkDirTreeCallback callback, void* data) {
    if (WkDirTreeData* d = WkDirTreeRecord(tree)) d->callback = callback, d->callbackData = data;
}

const char* WkDirTreeGetPath(WkObject* tree) {
    WkDirTreeData* d = WkDirTreeRecord(tree);
    return d ? d->path.c_str() : "";
}

void WkDirTreeSetPath(WkObject* tree, const char* path, int notify) {
    WkDirTreeData* d = WkDirTreeRecord(tree);
    if (!d || !path) return;
    const std::string wanted = path;
    WkTreeNode* node = nullptr;
    for (WkTreeNode* r = WkTreeGetFirstRoot(tree); r && !wanted.empty(); r = r->next)
        if (SameNoCase(Label(r).substr(0, 1), wanted.substr(0, 1))) {
            node = r;
            break;
        }
    if (!node) {
        node = WkTreeGetSelected(tree);
    } else {
        std::size_t at = 1;
        while (at < wanted.size()) {
            std::size_t end = wanted.find('/', at);
            if (end == std::string::npos) end = wanted.size();
            const std::string part = wanted.substr(at, end - at);
            at = end + 1;
            if (part.empty()) continue;
            // Keep the nodes there are (and what is open below them); add the
            // folders that have none yet.
            const std::string folder = WkDirTreeNodeFolder(node);
            WkNameList names = WkGetSubdirNames(folder.c_str());
            for (char** n = names; *n; ++n) {
                WkTreeNode* c = WkTreeGetFirstChild(node);
                while (c && Label(c) != *n) c = c->next;
                if (!c) AddFolder(d, node, *n);
            }
            WkFreeNameList(names);
            WkTreeExpandNode(node, 0);
            WkTreeNode* next = ChildNamed(node, part);
            if (!next) break;
            node = next;
        }
    }
    if (!node) return;
    WkTreeSelectNode(node, 0);
    const std::string folder = WkDirTreeNodeFolder(node);
    if (WkIsFolder(folder.c_str())) MakeCurrent(d, node, folder, notify != 0);
    else Restore(d, node);
}

void WkDirTreeShowMenu(WkTreeNode* node, int x, int y, void* data) {
    auto* d = static_cast<WkDirTreeData*>(data);
    if (!d || !node || !(d->options & (WK_DIRTREE_RENAME | WK_DIRTREE_NEW | WK_DIRTREE_DELETE))) return;
    if (!d->popupMenu) {
        d->popupMenu = WkCreatePopupMenu(kMenuFont);
        WkObjectSetColors(d->popupMenu, d->tree->background, d->tree->foreground);
        auto caption = [](const std::string& own, const char* fallback) {
            return own.empty() ? fallback : own.c_str();
        };
        if (d->options & WK_DIRTREE_NEW)
            WkMenuAddItem(d->popupMenu, caption(d->newCaption, "New directory ..."), MenuNew, d);
        if (d->options & WK_DIRTREE_RENAME)
            WkMenuAddItem(d->popupMenu, caption(d->renameCaption, "Rename ..."), MenuRename, d);
        if (d->options & WK_DIRTREE_DELETE)
            WkMenuAddItem(d->popupMenu, caption(d->deleteCaption, "Delete directory"), MenuDelete, d);
    }
    d->menuNode = node;
    // The press came in the window's own coordinates; the menu stands on the screen.
    if (WkObject* shell = WkObjectGetShell(d->tree)) x += shell->x, y += shell->y;
    WkMenuPopup(d->popupMenu, x, y);
}

void WkDirTreeNewFolder(WkObject* tree, WkTreeNode* node) {
    WkDirTreeData* d = WkDirTreeRecord(tree);
    if (!d || !node) return;
    Fill(d, node);
    WkTreeExpandNode(node, 0);
    const std::string folder = WkDirTreeNodeFolder(node);
    for (int i = 0; i < kNewFolderTries; ++i) {
        const std::string name = "NewDir" + std::to_string(i);
        const std::string path = Join(folder, name);
        const int error = WkMakeFolder(path.c_str());
        if (error == EEXIST) continue;
        if (error) {
            WkLog(1, "failed to create temp dir: %s, errno: %d", path.c_str(), error);
            return;
        }
        // The new folder is the chosen one, its name selected so that the
        // name typed replaces it.
        WkTreeNode* made = AddFolder(d, node, name.c_str(), true);
        WkTreeSelectNode(made, 1);
        WkTreeEditLabel(made);
        WkEditSelectAll(made->label);
        return;
    }
}

void WkDirTreeDeleteFolder(WkObject* tree, WkTreeNode* node, int notify) {
    if (WkDirTreeRecord(tree) && node && DeleteNode(node, nullptr)) WkTreeRemoveNode(node, notify);
}
