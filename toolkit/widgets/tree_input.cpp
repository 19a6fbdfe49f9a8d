// The tree's input: presses on labels (select, the double-click toggle, the
// delayed label editing, the popup), releases on the picture and the
// expander, the keys of the selected node (moves reported after a delay,
// expand and collapse, delete, first-letter search) and editing in place.
#include "toolkit/core/fonts.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/letters.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/tree_internal.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kEnterPad = 0xE00D;

void DoubleClickEnded(int, void* data) {
    auto* node = static_cast<WkTreeNode*>(data);
    node->doubleClickTimeout = 0;
    if (node->tree->pressed == node) node->tree->pressed = nullptr;
}

void EditDelayEnded(int, void* data) {
    auto* node = static_cast<WkTreeNode*>(data);
    node->editTimeout = 0;
    if (tree::HasRename(node)) WkTreeEditLabel(node);
}

void SelectDelayEnded(int, void* data) {
    auto* node = static_cast<WkTreeNode*>(data);
    node->selectTimeout = 0;
    if (node->tree->pendingSelect != node) return;
    node->tree->pendingSelect = nullptr;
    tree::Notify(node, &WkTreeCallbacks::select, &WkTreeCallbacks::selectData);
}

void Toggle(WkTreeNode* node) {
    if (node->state & WK_TREE_EXPANDED) WkTreeCollapseNode(node, 1);
    else WkTreeExpandNode(node, 1);
}

// A key move selects at once and tells the select callback only when no
// further move follows within the delay.
void MoveTo(WkTreeNode* from, WkTreeNode* to) {
    if (!to || to == from) return;
    WkTreeData* t = from->tree;
    WkTreeSelectNode(to, 0);
    if (t->pendingSelect) WkClearTimeout(&t->pendingSelect->selectTimeout);
    t->pendingSelect = to;
    to->selectTimeout = WkAddTimeout(WK_TREE_SELECT_DELAY_MS, SelectDelayEnded, to);
}

WkTreeNode* LastVisible(WkTreeNode* node) {
    while ((node->state & WK_TREE_EXPANDED) && node->lastChild) node = node->lastChild;
    return node;
}

WkTreeNode* Above(WkTreeNode* node) { return node->previous ? LastVisible(node->previous) : node->parent; }

WkTreeNode* Below(WkTreeNode* node) {
    if ((node->state & WK_TREE_EXPANDED) && node->firstChild) return node->firstChild;
    for (WkTreeNode* n = node; n; n = n->parent)
        if (n->next) return n->next;
    return nullptr;
}

bool Begins(WkTreeNode* node, int upper) {
    const unsigned char first = static_cast<unsigned char>(WkEditGetText(node->label)[0]);
    return first && WkToUpper(first) == upper;
}

// The children of an expanded node first, then the following siblings of
// the node, of its parent and so on up to the roots.
void Search(WkTreeNode* node, int character) {
    const int upper = WkToUpper(static_cast<unsigned char>(character));
    if (node->state & WK_TREE_EXPANDED)
        for (WkTreeNode* c = node->firstChild; c; c = c->next)
            if (Begins(c, upper)) return WkTreeSelectNode(c, 1);
    for (WkTreeNode* n = node; n; n = n->parent)
        for (WkTreeNode* s = n->next; s; s = s->next)
            if (Begins(s, upper)) return WkTreeSelectNode(s, 1);
}

void AskDelete(WkTreeNode* node) {
    const WkTreeCallbacks& own = node->callbacks;
    const WkTreeCallbacks& all = node->tree->callbacks;
    int yes = 0;
    if (own.erase) yes = own.erase(node, own.eraseData);
    else if (all.erase) yes = all.erase(node, all.eraseData);
    if (yes) WkTreeRemoveNode(node, 1);
}

void NodeKey(WkTreeNode* node, const WkMessage* m) {
    const int key = WkKeyCode(m);
    switch (key) {
    case WK_KEY_TAB:
        if (WkKeyModifiers(m) & WK_MOD_SHIFT) WkFocusLeaveBackward(node->tree->form);
        else WkFocusLeaveForward(node->tree->form);
        return;
    case WK_KEY_UP: return MoveTo(node, Above(node));
    case WK_KEY_DOWN: return MoveTo(node, Below(node));
    case WK_KEY_LEFT:
        if (node->state & WK_TREE_EXPANDED) return WkTreeCollapseNode(node, 1);
        return MoveTo(node, node->parent);
    case WK_KEY_RIGHT:
        if (node->state & WK_TREE_EXPANDED) return MoveTo(node, node->firstChild);
        return WkTreeExpandNode(node, 1);
    case '-': return WkTreeCollapseNode(node, 1);
    case '+': return WkTreeExpandNode(node, 1);
    case WK_KEY_DEL: return AskDelete(node);
    default:
        if (key > ' ' && key < 0x100) Search(node, key);
    }
}

bool EndsEditing(int key) {
    return key == WK_KEY_ENTER || key == kEnterPad || key == WK_KEY_UP || key == WK_KEY_DOWN || key == WK_KEY_TAB ||
           key == WK_KEY_ESC;
}

void Press(WkTreeNode* node, const WkMessage* m) {
    WkTreeData* t = node->tree;
    if (WkPointerButton(m) != 1) {
        if (t->editing) tree::EndEdit(t->editing, true);
        const WkTreeCallbacks& own = node->callbacks;
        const WkTreeCallbacks& all = t->callbacks;
        int x, y;
        WkObjectGetAbsolutePosition(node->label, &x, &y);
        x += WkPointerX(m), y += WkPointerY(m);
        if (own.popup) own.popup(node, x, y, own.popupData);
        else if (all.popup) all.popup(node, x, y, all.popupData);
        return;
    }
    if ((node->state & WK_TREE_SELECTED) && node->doubleClickTimeout && !t->editing) {
        WkClearTimeout(&node->doubleClickTimeout);
        WkClearTimeout(&node->editTimeout);
        t->pressed = nullptr;
        return Toggle(node);
    }
    if (node->state & WK_TREE_SELECTED) WkRestartTimeout(&node->editTimeout, WK_TREE_EDIT_DELAY_MS, EditDelayEnded, node);
    else WkTreeSelectNode(node, 1);
    // The select callback may have removed the node.
    if (t->selected != node) return;
    WkRestartTimeout(&node->doubleClickTimeout, WK_TREE_DOUBLE_CLICK_MS, DoubleClickEnded, node);
    t->pressed = node;
}

// The field's width while editing: the text and six characters more.
void FitEditing(WkTreeNode* node) {
    const int font = node->tree->font;
    WkObjectSetPartWidth(node->label, WkTextWidth(WkEditGetText(node->label), font) + 6 * WkCharWidth('a', font));
}

} // namespace

namespace tree {

void LabelEvent(WkObject*, WkMessage* m, void* data, std::uint32_t) {
    auto* node = static_cast<WkTreeNode*>(data);
    const WkMessage copy = *m;
    if (node->tree->editing == node) {
        // The field edits with the other keys and places its cursor on a left press.
        if (copy.type == WK_MSG_KEY ? !EndsEditing(WkKeyCode(&copy)) : WkPointerButton(&copy) == 1) return;
        if (copy.type == WK_MSG_KEY) {
            m->type = 0;
            return EndEdit(node, WkKeyCode(&copy) != WK_KEY_ESC);
        }
    }
    // Escape is the window's: a dialog holding the tree closes on it.
    if (copy.type == WK_MSG_KEY && WkKeyCode(&copy) == WK_KEY_ESC) return;
    // Taken here: the field never sees it, and it may be gone after.
    m->type = 0;
    if (copy.type == WK_MSG_KEY) NodeKey(node, &copy);
    else Press(node, &copy);
}

void AreaInput(WkObject* area, WkMessage* m, void* data) {
    auto* node = static_cast<WkTreeNode*>(data);
    if (m->type != WK_MSG_RELEASE || WkPointerButton(m) != 1) return;
    if (area == node->imageArea) WkTreeSelectNode(node, 1);
    else Toggle(node);
}

void EndEdit(WkTreeNode* node, bool decide) {
    WkTreeData* t = node->tree;
    if (t->editing != node) return;
    WkObject* label = node->label;
    int keep = 0;
    if (decide) {
        const WkTreeCallbacks& own = node->callbacks;
        const WkTreeCallbacks& all = t->callbacks;
        if (own.rename) keep = own.rename(node, t->editBuffer, own.renameData, 0);
        else if (all.rename) keep = all.rename(node, t->editBuffer, all.renameData, 0);
        // The callback may have ended the editing or removed the node.
        if (t->editing != node) return;
    }
    t->editing = nullptr;
    if (!keep) WkEditReplaceText(label, t->editBuffer, 0, 0);
    const int length = int(std::strlen(WkEditGetText(label)));
    WkEditSetMaxLength(label, length + 1, length + 1);
    WkEditSetReadOnly(label);
    FitLabel(node);
}

} // namespace tree

void WkTreeEditLabel(WkTreeNode* node) {
    if (!node || !node->tree) return;
    WkTreeData* t = node->tree;
    if (t->editing == node) return;
    if (t->editing) tree::EndEdit(t->editing, true);
    WkObject* label = node->label;
    const char* text = WkEditGetText(label);
    const std::size_t length = std::strlen(text);
    WkFree(t->editBuffer);
    t->editBuffer = WkMallocText(length + 1);
    std::memcpy(t->editBuffer, text, length + 1);
    // A label already longer than the limit keeps all of its text.
    const int limit = std::max(WK_TREE_MAX_LABEL, int(length));
    WkEditSetMaxLength(label, limit, limit);
    WkEditSetWritable(label);
    t->editing = node;
    FitEditing(node);
    WkObjectSetFocus(label);
}
