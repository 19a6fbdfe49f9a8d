// Rectangle lists: the damaged areas that forms and scroll bars trim while
// they draw.
//
// A list is held by its first node, is singly linked and ends with null. Every
// node is allocated through the memory wrappers and owned by the list; the
// list is given back with WkFreeRectList.
#pragma once

#include <cstdint>

struct WkRect {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

struct WkRectNode {
    std::int32_t x, y, width, height;
    WkRectNode* next;
};

// The overlap of two rectangles and the bands of them that lie around it:
// the part of the upper rectangle above the overlap (across its width), the
// part of the leftmost left of it and of the rightmost right of it (both as
// high as the overlap), and the part of the lower rectangle below it (across
// its width). A band that does not exist has width or height 0.
struct WkIntersection {
    WkRect overlap, above, left, right, below;
};

// A new node with a null next.
WkRectNode* WkNewRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
// Frees every node of the list; returns null.
WkRectNode* WkFreeRectList(WkRectNode* first);
// Appends a copy of rect whose next is the given node: it becomes the first
// node when the list is empty, else it is linked behind *last; it becomes the
// last node.
void WkAppendRect(const WkRect& rect, WkRectNode** first, WkRectNode** last, WkRectNode* next);
// Non-zero when a and b overlap with a width and height above 0; out (which
// may be null) then holds the overlap and the bands around it.
int WkIntersectRect(const WkRect& a, const WkRect& b, WkIntersection* out);
// Removes rect from every node of the list: a node that overlaps it is
// replaced, where it stood, by the up to four bands of it that lie outside
// rect (above across its width, left and right as high as the overlap, below
// across its width). The list may become empty.
void WkSubtractRect(WkRectNode** first, const WkRect& rect);
