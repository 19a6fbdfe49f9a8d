#include "toolkit/core/rect_list.h"

#include <algorithm>

#include "toolkit/core/memory.h"

namespace {

// Edges as 64-bit values, so that x + width never overflows.
std::int64_t Right(const WkRect& r) { return std::int64_t(r.x) + r.width; }
std::int64_t Bottom(const WkRect& r) { return std::int64_t(r.y) + r.height; }

WkRect Band(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    if (x1 <= x0 || y1 <= y0) return WkRect{};
    return WkRect{std::int32_t(x0), std::int32_t(y0), std::int32_t(x1 - x0), std::int32_t(y1 - y0)};
}

bool Empty(const WkRect& r) { return r.width <= 0 || r.height <= 0; }

WkRect RectOf(const WkRectNode& n) { return WkRect{n.x, n.y, n.width, n.height}; }

} // namespace

WkRectNode* WkNewRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    auto* node = static_cast<WkRectNode*>(WkCalloc(1, sizeof(WkRectNode)));
    node->x = x;
    node->y = y;
    node->width = width;
    node->height = height;
    node->next = nullptr;
    return node;
}

WkRectNode* WkFreeRectList(WkRectNode* first) {
    while (first) {
        WkRectNode* next = first->next;
        WkFree(first);
        first = next;
    }
    return nullptr;
}

void WkAppendRect(const WkRect& rect, WkRectNode** first, WkRectNode** last, WkRectNode* next) {
    WkRectNode* node = WkNewRect(rect.x, rect.y, rect.width, rect.height);
    node->next = next;
    if (!*first)
        *first = node;
    else
        (*last)->next = node;
    *last = node;
}

int WkIntersectRect(const WkRect& a, const WkRect& b, WkIntersection* out) {
    if (Empty(a) || Empty(b)) return 0;
    std::int64_t x0 = std::max<std::int64_t>(a.x, b.x), y0 = std::max<std::int64_t>(a.y, b.y);
    std::int64_t x1 = std::min(Right(a), Right(b)), y1 = std::min(Bottom(a), Bottom(b));
    if (x1 <= x0 || y1 <= y0) return 0;
    if (out) {
        const WkRect& upper = a.y <= b.y ? a : b;
        const WkRect& lower = Bottom(a) >= Bottom(b) ? a : b;
        const WkRect& leftmost = a.x <= b.x ? a : b;
        const WkRect& rightmost = Right(a) >= Right(b) ? a : b;
        out->overlap = Band(x0, y0, x1, y1);
        out->above = Band(upper.x, upper.y, Right(upper), y0);
        out->left = Band(leftmost.x, y0, x0, y1);
        out->right = Band(x1, y0, Right(rightmost), y1);
        out->below = Band(lower.x, y1, Right(lower), Bottom(lower));
    }
    return 1;
}

void WkSubtractRect(WkRectNode** first, const WkRect& rect) {
    WkRectNode** link = first;
    while (*link) {
        WkRectNode* node = *link;
        WkRect n = RectOf(*node);
        WkIntersection cut;
        if (!WkIntersectRect(n, rect, &cut)) {
            link = &node->next;
            continue;
        }
        const WkRect& o = cut.overlap;
        // The pieces of the node outside rect, each bounded by the node.
        WkRect pieces[4] = {
            Band(n.x, n.y, Right(n), o.y),
            Band(n.x, o.y, o.x, Bottom(o)),
            Band(Right(o), o.y, Right(n), Bottom(o)),
            Band(n.x, Bottom(o), Right(n), Bottom(n)),
        };
        WkRectNode* after = node->next;
        WkFree(node);
        *link = after;
        for (const WkRect& p : pieces) {
            if (Empty(p)) continue;
            WkRectNode* piece = WkNewRect(p.x, p.y, p.width, p.height);
            piece->next = *link;
            *link = piece;
            link = &piece->next;
        }
    }
}
