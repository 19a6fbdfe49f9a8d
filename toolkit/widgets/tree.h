// The tree: a hierarchy of labelled nodes in a scrolled form, each node a
// row of small objects (tree lines, an expand box, a picture by the node's
// image class, a read-only edit field as its label) in a row box, with its
// children in a children box that is put below the row while the node is
// expanded. It selects nodes by pointer and keys, reports key moves after a
// delay, searches by first letter, edits labels in place and asks before a
// node is deleted.
//
// The handle of a tree is its scrolled form; nodes are handles of their
// own. The tree record (WkTreeData) hangs on the form's destroy handler and
// owns the nodes (each freed with its row box, the row box with the tree),
// the per-class image arrays and the images it loaded from files; images
// given by the application stay the application's.
#pragma once

#include "toolkit/core/object.h"

#include <cstdint>

struct WkImage;
struct WkTreeNode;
struct WkTreeData;

using WkTreeCallback = void (*)(WkTreeNode* node, void* data);
using WkTreePopupCallback = void (*)(WkTreeNode* node, int x, int y, void* data);
// Called while the label already holds the new text; non-zero keeps it.
using WkTreeRenameCallback = int (*)(WkTreeNode* node, const char* previous, void* data, int unused);
// Non-zero lets the node be removed.
using WkTreeDeleteCallback = int (*)(WkTreeNode* node, void* data);

// The seven callbacks of a node or of the whole tree; a node's empty slot
// falls back to the tree's.
struct WkTreeCallbacks {
    WkTreeCallback expand, collapse, select, remove;
    WkTreePopupCallback popup;
    WkTreeRenameCallback rename;
    WkTreeDeleteCallback erase;
    void *expandData, *collapseData, *selectData, *removeData, *popupData, *renameData, *eraseData;
};

// Node state bits.
inline constexpr std::uint16_t WK_TREE_EXPANDED = 0x1;
inline constexpr std::uint16_t WK_TREE_SELECTED = 0x2;

inline constexpr int WK_TREE_INDENT = 20;
inline constexpr int WK_TREE_EDIT_DELAY_MS = 500;
inline constexpr int WK_TREE_SELECT_DELAY_MS = 750;
inline constexpr int WK_TREE_DOUBLE_CLICK_MS = 250;
inline constexpr int WK_TREE_MAX_LABEL = 255;

struct WkTreeNode {
    WkTreeData* tree;
    WkTreeNode* parent;
    WkTreeNode *previous, *next;
    WkTreeNode *firstChild, *lastChild;
    WkImage *closedImage, *openImage, *selectedImage;
    WkObject* childrenBox; // expandable nodes only; in the row box while expanded
    WkObject* rowBox;      // destroying it frees the node
    WkObject* label;
    WkObject *indentArea, *expanderArea, *imageArea;
    WkTreeCallbacks callbacks;
    void* userData;
    int doubleClickTimeout, selectTimeout, editTimeout;
    std::uint16_t imageClass;
    std::uint16_t expandable;
    std::uint16_t state;
};

struct WkTreeData {
    int classCount;
    WkTreeNode *firstRoot, *lastRoot;
    WkTreeNode* selected;
    WkTreeNode* pressed;       // last left press, until the double-click window ends
    WkTreeNode* pendingSelect; // moved to by a key, its select callback still delayed
    WkTreeNode* editing;
    WkImage **closedImages, **openImages, **selectedImages;
    std::uint8_t* imagesOwned; // 1: loaded from files by the tree, freed by it
    WkObject* form;
    WkTreeCallbacks callbacks;
    WkColor lineColor;
    WkColor selectedBackground, selectedText;
    WkColor labelBackground; // of unselected labels: the tree's background
    char* editBuffer;        // the label before editing began
    int font;
    std::uint8_t indent;
};

// A width or height of 29 or less, or larger than the screen, becomes 60.
WkObject* WkCreateTree(WkObject* parent, int font, int width, int height, int imageClasses);
// The tree record of a tree's form, none for anything else.
WkTreeData* WkTreeRecord(WkObject* tree);

// The last child of the parent (of the parent's parent when the parent is
// not expandable) or the last root. The first root of a tree becomes its
// selected node, without notification.
WkTreeNode* WkTreeAddNode(WkObject* tree, WkTreeNode* parent, int imageClass, int expandable, const char* label);
void WkTreeRemoveNode(WkTreeNode* node, int notify);
void WkTreeRemoveChildren(WkTreeNode* node, int notify);
void WkTreeSelectNode(WkTreeNode* node, int notify);
void WkTreeExpandNode(WkTreeNode* node, int notify);
void WkTreeCollapseNode(WkTreeNode* node, int notify);
void WkTreeEditLabel(WkTreeNode* node);
void WkTreeSetNodeImages(WkTreeNode* node, WkImage* closed, WkImage* open, WkImage* selected);
void WkTreeSetLabel(WkTreeNode* node, const char* text);
// Copies at most size - 1 characters and a terminator.
void WkTreeGetLabel(WkTreeNode* node, char* buffer, int size);
void WkTreeSetNodeData(WkTreeNode* node, void* data);
void* WkTreeGetNodeData(WkTreeNode* node);
int WkTreeGetNodeClass(WkTreeNode* node);
WkObject* WkTreeGetNodeTree(WkTreeNode* node);

void WkTreeNodeSetExpandCallback(WkTreeNode* node, WkTreeCallback callback, void* data);
void WkTreeNodeSetCollapseCallback(WkTreeNode* node, WkTreeCallback callback, void* data);
void WkTreeNodeSetSelectCallback(WkTreeNode* node, WkTreeCallback callback, void* data);
void WkTreeNodeSetRemoveCallback(WkTreeNode* node, WkTreeCallback callback, void* data);
void WkTreeNodeSetPopupCallback(WkTreeNode* node, WkTreePopupCallback callback, void* data);
void WkTreeNodeSetRenameCallback(WkTreeNode* node, WkTreeRenameCallback callback, void* data);
void WkTreeNodeSetDeleteCallback(WkTreeNode* node, WkTreeDeleteCallback callback, void* data);
void WkTreeSetExpandCallback(WkObject* tree, WkTreeCallback callback, void* data);
void WkTreeSetCollapseCallback(WkObject* tree, WkTreeCallback callback, void* data);
void WkTreeSetSelectCallback(WkObject* tree, WkTreeCallback callback, void* data);
void WkTreeSetRemoveCallback(WkObject* tree, WkTreeCallback callback, void* data);
void WkTreeSetPopupCallback(WkObject* tree, WkTreePopupCallback callback, void* data);
void WkTreeSetRenameCallback(WkObject* tree, WkTreeRenameCallback callback, void* data);
void WkTreeSetDeleteCallback(WkObject* tree, WkTreeDeleteCallback callback, void* data);

WkTreeNode* WkTreeGetSelected(WkObject* tree);
WkTreeNode* WkTreeGetFirstRoot(WkObject* tree);
WkTreeNode* WkTreeGetNextSibling(WkTreeNode* node);
WkTreeNode* WkTreeGetFirstChild(WkTreeNode* node);
WkTreeNode* WkTreeGetParent(WkTreeNode* node);

// The labels from the root down, each followed by the separator, the node's
// own label last. Into the buffer (size bytes, cut to fit) or, with none,
// into a new one the caller frees with WkFree.
char* WkTreeNodePath(WkTreeNode* node, char separator, char* buffer, int size);

// A class out of range is ignored. Images loaded from files are the tree's
// and freed when the class's images are set again.
void WkTreeSetClassImageFiles(WkObject* tree, int imageClass, const char* closed, const char* open,
                              const char* selected);
void WkTreeSetClassImages(WkObject* tree, int imageClass, WkImage* closed, WkImage* open, WkImage* selected);
void WkTreeSetSelectedColors(WkObject* tree, WkColor background, WkColor text);
void WkTreeSetSelectedTextColor(WkObject* tree, WkColor text);
void WkTreeSetLineColor(WkObject* tree, WkColor color);

// The scrolled form's bars and their colours.
WkObject* WkTreeGetVerticalScrollBar(WkObject* tree);
WkObject* WkTreeGetHorizontalScrollBar(WkObject* tree);
void WkTreeSetScrollBarColor(WkObject* tree, WkColor color);
void WkTreeSetScrollBarShade(WkObject* tree, int percent);
void WkTreeTintScrollBars(WkObject* tree);
void WkTreeUntintScrollBars(WkObject* tree);
