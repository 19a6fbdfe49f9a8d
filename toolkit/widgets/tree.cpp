// The tree's constructor, its record and colours, the class images, adding
// and removing nodes, selection, expanding and collapsing, the drawing of
// the lines, boxes and pictures, and the plain setters and getters.
#include "toolkit/widgets/tree.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/image.h"
#include "toolkit/core/image_formats.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/drawing_area.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_scroll.h"
#include "toolkit/widgets/tree_internal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kAreaWidth = 20;
constexpr int kSmallest = 29, kFallbackSize = 60;

void TreeDestroyed(WkObject*, WkMessage*, void* data, std::uint32_t);

WkTreeData* Data(WkObject* tree) {
    if (!tree) return nullptr;
    for (WkEventHandler* h = tree->handlers; h; h = h->next)
        if (h->callback == WkAsAnyCallback(TreeDestroyed)) return static_cast<WkTreeData*>(h->userData);
    return nullptr;
}

void Replace(WkColor* slot, WkColor color) {
    WkFreeColor(*slot);
    *slot = color;
}

// Label, line and selection colours from the tree's background and text.
void TakeColors(WkTreeData* t) {
    WkObject* form = t->form;
    int r, g, b;
    WkColorToRGB(form->background, &r, &g, &b);
    Replace(&t->labelBackground, WkAllocColor(r, g, b));
    Replace(&t->lineColor, WkShadeColor(form->background, 60));
    Replace(&t->selectedBackground, WkHighlightColor(form->background, form->foreground));
    Replace(&t->selectedText, WkAddColorRef(form->foreground));
}

template <typename F> void EveryNode(WkTreeNode* first, F f) {
    for (WkTreeNode* n = first; n; n = n->next) {
        f(n);
        EveryNode(n->firstChild, f);
    }
}

void ColorsChanged(WkObject*, WkMessage*, void* data, std::uint32_t) {
    auto* t = static_cast<WkTreeData*>(data);
    TakeColors(t);
    EveryNode(t->firstRoot, tree::StyleLabel);
}

void FreeClassImages(WkTreeData* t, int k) {
    if (!t->imagesOwned[k]) return;
    WkFreeImage(t->closedImages[k]);
    WkFreeImage(t->openImages[k]);
    WkFreeImage(t->selectedImages[k]);
    t->imagesOwned[k] = 0;
}

void TreeDestroyed(WkObject*, WkMessage*, void* data, std::uint32_t) {
    auto* t = static_cast<WkTreeData*>(data);
    // The nodes go first: their rows' destroy handlers must not find the
    // record gone.
    t->selected = t->pressed = t->pendingSelect = t->editing = nullptr;
    while (WkTreeNode* root = t->firstRoot) {
        t->firstRoot = root->next;
        WkObjectDestroy(root->rowBox);
    }
    for (int k = 0; k < t->classCount; ++k) FreeClassImages(t, k);
    for (WkColor c : {t->lineColor, t->selectedBackground, t->selectedText, t->labelBackground}) WkFreeColor(c);
    WkFree(t->closedImages);
    WkFree(t->openImages);
    WkFree(t->selectedImages);
    WkFree(t->imagesOwned);
    WkFree(t->editBuffer);
    WkFree(t);
}

// A row's destroy handler frees its node; a collapsed node's children box
// lies outside the row and goes with it.
void RowDestroyed(WkObject* row, WkMessage*, void* data, std::uint32_t) {
    auto* node = static_cast<WkTreeNode*>(data);
    WkClearTimeout(&node->doubleClickTimeout);
    WkClearTimeout(&node->selectTimeout);
    WkClearTimeout(&node->editTimeout);
    if (node->childrenBox && node->childrenBox->parent != row) WkObjectDestroy(node->childrenBox);
    WkFree(node);
}

int Depth(const WkTreeNode* node) {
    int depth = 0;
    for (const WkTreeNode* p = node->parent; p; p = p->parent) ++depth;
    return depth;
}

void DrawIndent(WkObject* area, WkMessage*, void* data) {
    auto* node = static_cast<WkTreeNode*>(data);
    int x = area->width - kAreaWidth / 2;
    for (WkTreeNode* a = node->parent; a; a = a->parent, x -= kAreaWidth)
        if (a->next) WkObjectDrawLine(area, x, 0, x, area->height - 1, node->tree->lineColor);
}

void DrawExpander(WkObject* area, WkMessage*, void* data) {
    auto* node = static_cast<WkTreeNode*>(data);
    const WkColor line = node->tree->lineColor, sign = node->tree->form->foreground;
    const int cx = area->width / 2, cy = area->height / 2, right = area->width - 1, bottom = area->height - 1;
    const bool above = node->previous || node->parent;
    if (node->expandable & 1) {
        WkObjectDrawLine(area, cx + 5, cy, right, cy, line);
        WkObjectDrawLine(area, cx - 2, cy, cx + 2, cy, sign);
        if (above) WkObjectDrawLine(area, cx, 0, cx, cy - 4, line);
        if (!(node->state & WK_TREE_EXPANDED)) WkObjectDrawLine(area, cx, cy - 2, cx, cy + 2, sign);
        if (node->next) WkObjectDrawLine(area, cx, cy + 4, cx, bottom, line);
        WkObjectDrawRect(area, cx - 4, cy - 4, 9, 9, line);
    } else {
        if (above) WkObjectDrawLine(area, cx, 0, cx, cy, line);
        if (node->next) WkObjectDrawLine(area, cx, cy, cx, bottom, line);
        WkObjectDrawLine(area, cx, cy, right, cy, line);
    }
}

WkImage* ShownImage(const WkTreeNode* node) {
    if ((node->state & WK_TREE_EXPANDED) && node->openImage) return node->openImage;
    if ((node->state & WK_TREE_SELECTED) && node->selectedImage) return node->selectedImage;
    return node->closedImage;
}

void DrawImage(WkObject* area, WkMessage*, void* data) {
    WkImage* image = ShownImage(static_cast<WkTreeNode*>(data));
    if (!image) return;
    WkObjectDrawImage(area, image, 0, 0, image->width, image->height, std::max(0, (area->width - image->width) / 2),
                      (area->height - image->height) / 2);
}

// A fully transparent form without spacing or frame.
WkObject* PlainForm(int kind) {
    WkObject* form = WkCreateForm(nullptr, 1, kind);
    form->transparency = WK_TRANSPARENT;
    form->shadowType = WK_SHADOW_NONE;
    form->shadowWidth = form->outerShadowWidth = 0;
    WkFormSetSpacing(form, 0);
    return form;
}

WkObject* Area(WkTreeNode* node, WkObject* row, int width, int height, WkDrawingAreaCallback draw, bool input) {
    WkObject* area = WkCreateDrawingArea(row, width, height);
    area->transparency = WK_TRANSPARENT;
    area->layout |= WK_LAYOUT_NO_SPARE_X;
    WkDrawingAreaSetExposeCallback(area, draw, node);
    if (input) {
        WkDrawingAreaSetInputCallback(area, tree::AreaInput, node);
        area->layout &= std::uint16_t(~WK_LAYOUT_FOCUSABLE);
    }
    return area;
}

// The row box: the node's row and, while expanded, its children box.
void BuildRow(WkTreeNode* node, const char* text) {
    WkTreeData* t = node->tree;
    int height = WkFontHeight("A", t->font) + 2;
    if (node->closedImage) height = std::max(height, node->closedImage->height);
    node->rowBox = PlainForm(WK_FORM_VERTICAL);
    node->rowBox->policyY = WK_POLICY_FIXED;
    node->rowBox->layout |= WK_LAYOUT_NO_SPARE_Y;
    WkObjectAddDestroyHandler(node->rowBox, RowDestroyed, node);
    WkObject* row = PlainForm(WK_FORM_HORIZONTAL);
    WkAddChild(node->rowBox, row);
    node->indentArea = Area(node, row, Depth(node) * kAreaWidth + 1, height, DrawIndent, false);
    node->expanderArea = Area(node, row, kAreaWidth, height, DrawExpander, true);
    node->imageArea = Area(node, row, kAreaWidth, height, DrawImage, true);
    const int length = int(std::strlen(text));
    node->label = WkCreateEdit(row, text, length + 1, t->font);
    WkObject* label = node->label;
    WkEditSetReadOnly(label);
    label->shadowType = WK_SHADOW_NONE;
    label->shadowWidth = label->outerShadowWidth = 0;
    label->layout |= WK_LAYOUT_NO_SPARE_X;
    WkObjectSetResizable(label, WK_POLICY_FIXED, WK_POLICY_FIXED);
    WkObjectAddEventHandler(label, tree::LabelEvent, WkMessageBit(WK_MSG_KEY) | WkMessageBit(WK_MSG_PRESS), node);
    tree::StyleLabel(node);
    tree::FitLabel(node);
    if (node->expandable & 1) {
        node->childrenBox = PlainForm(WK_FORM_VERTICAL);
        node->childrenBox->layout |= WK_LAYOUT_NO_SPARE_Y;
    }
}

void Link(WkTreeData* t, WkTreeNode* node) {
    WkTreeNode** first = node->parent ? &node->parent->firstChild : &t->firstRoot;
    WkTreeNode** last = node->parent ? &node->parent->lastChild : &t->lastRoot;
    node->previous = *last;
    if (*last) (*last)->next = node;
    else *first = node;
    *last = node;
}

void Unlink(WkTreeNode* node) {
    WkTreeData* t = node->tree;
    WkTreeNode** first = node->parent ? &node->parent->firstChild : &t->firstRoot;
    WkTreeNode** last = node->parent ? &node->parent->lastChild : &t->lastRoot;
    (node->previous ? node->previous->next : *first) = node->next;
    (node->next ? node->next->previous : *last) = node->previous;
    node->previous = node->next = nullptr;
}

// Nothing of the tree may name a node of the subtree once it is gone.
void Forget(WkTreeData* t, const WkTreeNode* top) {
    for (WkTreeNode** field : {&t->selected, &t->pressed, &t->pendingSelect, &t->editing})
        if (*field && tree::Within(*field, top)) *field = nullptr;
}

void RunRemoveCallbacks(WkTreeNode* node) {
    for (WkTreeNode* c = node->firstChild; c; c = c->next) RunRemoveCallbacks(c);
    tree::Notify(node, &WkTreeCallbacks::remove, &WkTreeCallbacks::removeData);
}

// Takes a subtree out and frees it; the selection is the caller's.
void DropSubtree(WkTreeNode* node) {
    Forget(node->tree, node);
    Unlink(node);
    WkObjectDestroy(node->rowBox);
}

// A box built apart joins its form: what it holds becomes active with it
// (adding marks only the box itself).
void Attach(WkObject* form, WkObject* box) {
    WkAddChild(form, box);
    if (box->state & WK_STATE_ACTIVE) WkSendSimpleMessage(box, WK_MSG_ACTIVE, 1);
}

WkTreeNode* Checked(WkTreeNode* node) { return node && node->tree ? node : nullptr; }

} // namespace

namespace tree {

void Notify(WkTreeNode* node, WkTreeCallback WkTreeCallbacks::*callback, void* WkTreeCallbacks::*data) {
    const WkTreeCallbacks& own = node->callbacks;
    const WkTreeCallbacks& all = node->tree->callbacks;
    if (own.*callback) (own.*callback)(node, own.*data);
    else if (all.*callback) (all.*callback)(node, all.*data);
}

bool HasRename(const WkTreeNode* node) { return node->callbacks.rename || node->tree->callbacks.rename; }

bool Within(const WkTreeNode* node, const WkTreeNode* top) {
    for (; node; node = node->parent)
        if (node == top) return true;
    return false;
}

void RedrawNode(WkTreeNode* node) {
    WkRedraw(node->expanderArea, 1);
    WkRedraw(node->imageArea, 1);
}

void RedrawTree(WkTreeData* t) { WkRedraw(t->form, 1); }

void StyleLabel(WkTreeNode* node) {
    WkTreeData* t = node->tree;
    WkObject* label = node->label;
    if (node->state & WK_TREE_SELECTED) {
        WkEditSetNormalColors(label, t->selectedBackground, t->selectedText);
        label->layout |= WK_LAYOUT_FOCUSABLE | WK_LAYOUT_SCROLL_INTO_VIEW;
    } else {
        WkEditSetNormalColors(label, t->labelBackground, t->form->foreground);
        label->layout &= std::uint16_t(~(WK_LAYOUT_FOCUSABLE | WK_LAYOUT_SCROLL_INTO_VIEW));
    }
}

void FitLabel(WkTreeNode* node) {
    WkObjectSetPartWidth(node->label, WkTextWidth(WkEditGetText(node->label), node->tree->font) + 6);
}

} // namespace tree

WkTreeData* WkTreeRecord(WkObject* tree) { return Data(tree); }

WkObject* WkCreateTree(WkObject* parent, int font, int width, int height, int imageClasses) {
    if (width <= kSmallest || width > WkScreenWidth()) width = kFallbackSize;
    if (height <= kSmallest || height > WkScreenHeight()) height = kFallbackSize;
    WkObject* form = WkCreateScrolledVerticalForm(parent, width, height);
    WkFormSetSpacing(form, 0);
    auto* t = static_cast<WkTreeData*>(WkCalloc(1, sizeof(WkTreeData)));
    t->classCount = std::max(0, imageClasses);
    const std::size_t n = std::size_t(std::max(1, t->classCount));
    t->closedImages = static_cast<WkImage**>(WkCalloc(n, sizeof(WkImage*)));
    t->openImages = static_cast<WkImage**>(WkCalloc(n, sizeof(WkImage*)));
    t->selectedImages = static_cast<WkImage**>(WkCalloc(n, sizeof(WkImage*)));
    t->imagesOwned = static_cast<std::uint8_t*>(WkCalloc(n, 1));
    t->form = form;
    t->font = font;
    t->indent = kAreaWidth;
    TakeColors(t);
    WkObjectAddDestroyHandler(form, TreeDestroyed, t);
    WkObjectAddEventHandler(form, ColorsChanged, WkMessageBit(WK_MSG_COLORS), t);
    return form;
}

WkTreeNode* WkTreeAddNode(WkObject* tree, WkTreeNode* parent, int imageClass, int expandable, const char* label) {
    WkTreeData* t = Data(tree);
    if (!t) return nullptr;
    if (parent && !(parent->expandable & 1)) parent = parent->parent;
    auto* node = static_cast<WkTreeNode*>(WkCalloc(1, sizeof(WkTreeNode)));
    node->tree = t;
    node->parent = parent;
    node->imageClass = std::uint16_t(imageClass);
    node->expandable = std::uint16_t(expandable & 1);
    if (imageClass >= 0 && imageClass < t->classCount) {
        node->closedImage = t->closedImages[imageClass];
        node->openImage = t->openImages[imageClass];
        node->selectedImage = t->selectedImages[imageClass];
    }
    const bool firstRoot = !parent && !t->firstRoot;
    Link(t, node);
    BuildRow(node, label ? label : "");
    Attach(parent ? parent->childrenBox : t->form, node->rowBox);
    if (firstRoot) WkTreeSelectNode(node, 0);
    tree::RedrawTree(t);
    return node;
}

void WkTreeRemoveNode(WkTreeNode* node, int notify) {
    if (!Checked(node)) return;
    WkTreeData* t = node->tree;
    if (notify) RunRemoveCallbacks(node);
    const bool held = t->selected && tree::Within(t->selected, node);
    WkTreeNode* replacement = node->next ? node->next : node->previous ? node->previous : node->parent;
    DropSubtree(node);
    if (held && replacement) WkTreeSelectNode(replacement, 1);
    tree::RedrawTree(t);
}

void WkTreeRemoveChildren(WkTreeNode* node, int notify) {
    if (!Checked(node)) return;
    WkTreeData* t = node->tree;
    if (notify)
        for (WkTreeNode* c = node->firstChild; c; c = c->next) RunRemoveCallbacks(c);
    const bool held = t->selected && t->selected != node && tree::Within(t->selected, node);
    while (node->firstChild) DropSubtree(node->firstChild);
    if (held) WkTreeSelectNode(node, 1);
    tree::RedrawTree(t);
}

void WkTreeSelectNode(WkTreeNode* node, int notify) {
    if (!Checked(node)) return;
    WkTreeData* t = node->tree;
    if (t->selected == node) {
        WkObjectSetFocus(node->label);
        return;
    }
    if (t->editing) tree::EndEdit(t->editing, true);
    if (t->pendingSelect && t->pendingSelect != node) {
        WkClearTimeout(&t->pendingSelect->selectTimeout);
        t->pendingSelect = nullptr;
    }
    std::vector<WkTreeNode*> ancestors;
    for (WkTreeNode* a = node->parent; a; a = a->parent) ancestors.push_back(a);
    for (auto a = ancestors.rbegin(); a != ancestors.rend(); ++a) WkTreeExpandNode(*a, notify);
    if (WkTreeNode* old = t->selected) {
        old->state &= std::uint16_t(~WK_TREE_SELECTED);
        tree::StyleLabel(old);
        tree::RedrawNode(old);
    }
    t->selected = node;
    node->state |= WK_TREE_SELECTED;
    tree::StyleLabel(node);
    tree::RedrawNode(node);
    WkObjectSetFocus(node->label);
    if (notify) tree::Notify(node, &WkTreeCallbacks::select, &WkTreeCallbacks::selectData);
}

void WkTreeExpandNode(WkTreeNode* node, int notify) {
    if (!Checked(node) || !(node->expandable & 1) || (node->state & WK_TREE_EXPANDED)) return;
    if (notify) tree::Notify(node, &WkTreeCallbacks::expand, &WkTreeCallbacks::expandData);
    node->state |= WK_TREE_EXPANDED;
    Attach(node->rowBox, node->childrenBox);
    tree::RedrawTree(node->tree);
    WkObjectScrollIntoView(node->rowBox);
}

void WkTreeCollapseNode(WkTreeNode* node, int notify) {
    if (!Checked(node) || !(node->state & WK_TREE_EXPANDED)) return;
    WkTreeData* t = node->tree;
    if (t->selected && t->selected != node && tree::Within(t->selected, node)) WkTreeSelectNode(node, 1);
    WkObjectRemoveFromParent(node->childrenBox, 1);
    node->state &= std::uint16_t(~WK_TREE_EXPANDED);
    tree::RedrawTree(t);
    if (notify) tree::Notify(node, &WkTreeCallbacks::collapse, &WkTreeCallbacks::collapseData);
}

void WkTreeSetNodeImages(WkTreeNode* node, WkImage* closed, WkImage* open, WkImage* selected) {
    if (!Checked(node)) return;
    node->closedImage = closed, node->openImage = open, node->selectedImage = selected;
    WkRedraw(node->imageArea, 1);
}

void WkTreeSetLabel(WkTreeNode* node, const char* text) {
    if (!Checked(node)) return;
    if (!text) text = "";
    const int length = int(std::strlen(text));
    WkEditSetMaxLength(node->label, length + 1, length + 1);
    WkEditReplaceText(node->label, text, 0, 0);
    tree::FitLabel(node);
}

void WkTreeGetLabel(WkTreeNode* node, char* buffer, int size) {
    if (!Checked(node) || !buffer || size < 1) return;
    const char* text = WkEditGetText(node->label);
    const std::size_t n = std::min(std::strlen(text), std::size_t(size - 1));
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

void WkTreeSetNodeData(WkTreeNode* node, void* data) {
    if (Checked(node)) node->userData = data;
}
void* WkTreeGetNodeData(WkTreeNode* node) { return Checked(node) ? node->userData : nullptr; }
int WkTreeGetNodeClass(WkTreeNode* node) { return Checked(node) ? node->imageClass : -1; }
WkObject* WkTreeGetNodeTree(WkTreeNode* node) { return Checked(node) ? node->tree->form : nullptr; }

namespace {

template <typename F>
void SetNodeCallback(WkTreeNode* node, F WkTreeCallbacks::*slot, void* WkTreeCallbacks::*data, F callback,
                     void* userData) {
    if (!Checked(node)) return;
    node->callbacks.*slot = callback;
    node->callbacks.*data = userData;
}

template <typename F>
void SetTreeCallback(WkObject* tree, F WkTreeCallbacks::*slot, void* WkTreeCallbacks::*data, F callback,
                     void* userData) {
    if (WkTreeData* t = Data(tree)) {
        t->callbacks.*slot = callback;
        t->callbacks.*data = userData;
    }
}

} // namespace

void WkTreeNodeSetExpandCallback(WkTreeNode* n, WkTreeCallback f, void* d) {
    SetNodeCallback(n, &WkTreeCallbacks::expand, &WkTreeCallbacks::expandData, f, d);
}
void WkTreeNodeSetCollapseCallback(WkTreeNode* n, WkTreeCallback f, void* d) {
    SetNodeCallback(n, &WkTreeCallbacks::collapse, &WkTreeCallbacks::collapseData, f, d);
}
void WkTreeNodeSetSelectCallback(WkTreeNode* n, WkTreeCallback f, void* d) {
    SetNodeCallback(n, &WkTreeCallbacks::select, &WkTreeCallbacks::selectData, f, d);
}
void WkTreeNodeSetRemoveCallback(WkTreeNode* n, WkTreeCallback f, void* d) {
    SetNodeCallback(n, &WkTreeCallbacks::remove, &WkTreeCallbacks::removeData, f, d);
}
void WkTreeNodeSetPopupCallback(WkTreeNode* n, WkTreePopupCallback f, void* d) {
    SetNodeCallback(n, &WkTreeCallbacks::popup, &WkTreeCallbacks::popupData, f, d);
}
void WkTreeNodeSetRenameCallback(WkTreeNode* n, WkTreeRenameCallback f, void* d) {
    SetNodeCallback(n, &WkTreeCallbacks::rename, &WkTreeCallbacks::renameData, f, d);
}
void WkTreeNodeSetDeleteCallback(WkTreeNode* n, WkTreeDeleteCallback f, void* d) {
    SetNodeCallback(n, &WkTreeCallbacks::erase, &WkTreeCallbacks::eraseData, f, d);
}
void WkTreeSetExpandCallback(WkObject* t, WkTreeCallback f, void* d) {
    SetTreeCallback(t, &WkTreeCallbacks::expand, &WkTreeCallbacks::expandData, f, d);
}
void WkTreeSetCollapseCallback(WkObject* t, WkTreeCallback f, void* d) {
    SetTreeCallback(t, &WkTreeCallbacks::collapse, &WkTreeCallbacks::collapseData, f, d);
}
void WkTreeSetSelectCallback(WkObject* t, WkTreeCallback f, void* d) {
    SetTreeCallback(t, &WkTreeCallbacks::select, &WkTreeCallbacks::selectData, f, d);
}
void WkTreeSetRemoveCallback(WkObject* t, WkTreeCallback f, void* d) {
    SetTreeCallback(t, &WkTreeCallbacks::remove, &WkTreeCallbacks::removeData, f, d);
}
void WkTreeSetPopupCallback(WkObject* t, WkTreePopupCallback f, void* d) {
    SetTreeCallback(t, &WkTreeCallbacks::popup, &WkTreeCallbacks::popupData, f, d);
}
void WkTreeSetRenameCallback(WkObject* t, WkTreeRenameCallback f, void* d) {
    SetTreeCallback(t, &WkTreeCallbacks::rename, &WkTreeCallbacks::renameData, f, d);
}
void WkTreeSetDeleteCallback(WkObject* t, WkTreeDeleteCallback f, void* d) {
    SetTreeCallback(t, &WkTreeCallbacks::erase, &WkTreeCallbacks::eraseData, f, d);
}

WkTreeNode* WkTreeGetSelected(WkObject* tree) {
    WkTreeData* t = Data(tree);
    return t ? t->selected : nullptr;
}
WkTreeNode* WkTreeGetFirstRoot(WkObject* tree) {
    WkTreeData* t = Data(tree);
    return t ? t->firstRoot : nullptr;
}
WkTreeNode* WkTreeGetNextSibling(WkTreeNode* node) { return Checked(node) ? node->next : nullptr; }
WkTreeNode* WkTreeGetFirstChild(WkTreeNode* node) { return Checked(node) ? node->firstChild : nullptr; }
WkTreeNode* WkTreeGetParent(WkTreeNode* node) { return Checked(node) ? node->parent : nullptr; }

char* WkTreeNodePath(WkTreeNode* node, char separator, char* buffer, int size) {
    if (!Checked(node)) return nullptr;
    std::string path = WkEditGetText(node->label);
    for (WkTreeNode* a = node->parent; a; a = a->parent) path = WkEditGetText(a->label) + (separator + path);
    if (!buffer) {
        buffer = WkMallocText(path.size() + 1);
        size = int(path.size() + 1);
    }
    if (size < 1) return buffer;
    const std::size_t n = std::min(path.size(), std::size_t(size - 1));
    std::memcpy(buffer, path.data(), n);
    buffer[n] = '\0';
    return buffer;
}

namespace {

// The nodes of the class that show its old images take the new ones, so
// that none keeps an image the tree frees.
void StoreClassImages(WkTreeData* t, int k, WkImage* closed, WkImage* open, WkImage* selected, bool owned) {
    WkImage* old[3] = {t->closedImages[k], t->openImages[k], t->selectedImages[k]};
    WkImage* now[3] = {closed, open, selected};
    EveryNode(t->firstRoot, [&](WkTreeNode* n) {
        WkImage** slots[3] = {&n->closedImage, &n->openImage, &n->selectedImage};
        bool changed = false;
        for (int i = 0; i < 3; ++i)
            if (n->imageClass == k && *slots[i] == old[i]) *slots[i] = now[i], changed = true;
        if (changed) WkRedraw(n->imageArea, 1);
    });
    FreeClassImages(t, k);
    t->closedImages[k] = closed, t->openImages[k] = open, t->selectedImages[k] = selected;
    t->imagesOwned[k] = owned ? 1 : 0;
}

} // namespace

void WkTreeSetClassImageFiles(WkObject* tree, int imageClass, const char* closed, const char* open,
                              const char* selected) {
    WkTreeData* t = Data(tree);
    if (!t || imageClass < 0 || imageClass >= t->classCount) return;
    auto load = [](const char* name) { return name && *name ? WkLoadImage(name) : nullptr; };
    StoreClassImages(t, imageClass, load(closed), load(open), load(selected), true);
}

void WkTreeSetClassImages(WkObject* tree, int imageClass, WkImage* closed, WkImage* open, WkImage* selected) {
    WkTreeData* t = Data(tree);
    if (!t || imageClass < 0 || imageClass >= t->classCount) return;
    StoreClassImages(t, imageClass, closed, open, selected, false);
}

void WkTreeSetSelectedColors(WkObject* tree, WkColor background, WkColor text) {
    WkTreeData* t = Data(tree);
    if (!t) return;
    Replace(&t->selectedBackground, WkAddColorRef(background));
    Replace(&t->selectedText, WkAddColorRef(text));
    if (t->selected) tree::StyleLabel(t->selected);
}

void WkTreeSetSelectedTextColor(WkObject* tree, WkColor text) {
    WkTreeData* t = Data(tree);
    if (!t) return;
    Replace(&t->selectedBackground, WkHighlightColor(t->form->background, text));
    Replace(&t->selectedText, WkAddColorRef(text));
    if (t->selected) tree::StyleLabel(t->selected);
}

void WkTreeSetLineColor(WkObject* tree, WkColor color) {
    WkTreeData* t = Data(tree);
    if (!t) return;
    Replace(&t->lineColor, WkShadeColor(color, 100));
    tree::RedrawTree(t);
}

WkObject* WkTreeGetVerticalScrollBar(WkObject* tree) { return Data(tree) ? WkFormGetVerticalScrollBar(tree) : nullptr; }
WkObject* WkTreeGetHorizontalScrollBar(WkObject* tree) {
    return Data(tree) ? WkFormGetHorizontalScrollBar(tree) : nullptr;
}
void WkTreeSetScrollBarColor(WkObject* tree, WkColor color) {
    if (Data(tree)) WkFormSetScrollBarColor(tree, color);
}
void WkTreeSetScrollBarShade(WkObject* tree, int percent) {
    if (Data(tree)) WkFormSetScrollBarShade(tree, percent);
}
void WkTreeTintScrollBars(WkObject* tree) {
    if (Data(tree)) WkFormTintScrollBars(tree);
}
void WkTreeUntintScrollBars(WkObject* tree) {
    if (Data(tree)) WkFormUntintScrollBars(tree);
}
