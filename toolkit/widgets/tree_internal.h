// What the tree's modules share: the callbacks with the tree's as fall-back,
// redrawing, the label's look and width, and the input handlers the node's
// objects carry.
#pragma once

#include "toolkit/widgets/tree.h"

namespace tree {

// Each calls the node's own callback, else the tree's, else nothing.
void Notify(WkTreeNode* node, WkTreeCallback WkTreeCallbacks::*callback, void* WkTreeCallbacks::*data);
bool HasRename(const WkTreeNode* node);
// 1 when the node or one of its ancestors is top.
bool Within(const WkTreeNode* node, const WkTreeNode* top);

// The node's expander and image areas, or the whole tree after the lines
// between rows changed.
void RedrawNode(WkTreeNode* node);
void RedrawTree(WkTreeData* t);
// Plain or selected colours, focusable only when selected.
void StyleLabel(WkTreeNode* node);
// The label's width follows its text: text width + 6.
void FitLabel(WkTreeNode* node);

// The label's keys and presses (event handler), the image and expander
// areas' input.
void LabelEvent(WkObject* label, WkMessage* message, void* node, std::uint32_t bits);
void AreaInput(WkObject* area, WkMessage* message, void* node);
// Ends editing: with decide the rename callback says whether the new text
// stays, without it the old text comes back.
void EndEdit(WkTreeNode* node, bool decide);

} // namespace tree
