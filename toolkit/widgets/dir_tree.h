// The folder tree: a tree of the machine's drives (here the one root "/")
// and their folders, read from the disk when a node is expanded. The
// selected node's folder is the tree's current path, reported through a
// selection callback; a folder expanded by the user is selected with it, so
// the current folder is always the highlighted one. A popup menu on the
// right button makes, renames and deletes folders as the tree's options
// allow.
//
// The folder-tree record (WkDirTreeData) hangs on the tree form's destroy
// handler and owns the popup menu; both go with the tree. Paths and names
// are whole std::strings throughout, however long.
#pragma once

#include "toolkit/core/object.h"

#include <cstdint>
#include <string>

struct WkTreeNode;

// Option bits.
inline constexpr std::uint16_t WK_DIRTREE_RENAME = 0x1;
inline constexpr std::uint16_t WK_DIRTREE_NEW = 0x2;
inline constexpr std::uint16_t WK_DIRTREE_DELETE = 0x4;

// Image classes.
inline constexpr int WK_DIRTREE_FOLDER = 0;

// fn(tree, path, data, 1) on each new current folder.
using WkDirTreeCallback = void (*)(WkObject* tree, const char* path, void* data, int);

struct WkDirTreeData {
    std::uint16_t options = 0;
    WkObject* popupMenu = nullptr;
    WkObject* tree = nullptr;
    WkTreeNode* current = nullptr;
    WkTreeNode* menuNode = nullptr;
    WkDirTreeCallback callback = nullptr;
    void* callbackData = nullptr;
    // Empty: the default caption.
    std::string newCaption, renameCaption, deleteCaption;
    std::string path;
};

WkObject* WkCreateDirTree(WkObject* parent, const char* start, int font, int width, int height, int options);
WkDirTreeData* WkDirTreeRecord(WkObject* tree);
void WkDirTreeSetCallback(WkObject* tree, WkDirTreeCallback callback, void* data);
// Empty when the object is no folder tree.
const char* WkDirTreeGetPath(WkObject* tree);
// Opens the tree down to the folder ('/'-separated, empty components
// skipped; each component matched exactly, without regard to case only
// when no folder has the exact name) and makes the deepest folder reached
// current. A path that starts at no root leaves the selection as it is.
void WkDirTreeSetPath(WkObject* tree, const char* path, int notify);
// The tree-wide popup callback: the menu of the node at a point of the
// tree's window (as the tree reports a press), shown there on the screen.
void WkDirTreeShowMenu(WkTreeNode* node, int x, int y, void* data);
// The menu's commands on a node. A new folder is selected and its label
// edited at once, whatever the rename option says.
void WkDirTreeNewFolder(WkObject* tree, WkTreeNode* node);
void WkDirTreeDeleteFolder(WkObject* tree, WkTreeNode* node, int notify);
// The folder a node stands for.
std::string WkDirTreeNodeFolder(WkTreeNode* node);
