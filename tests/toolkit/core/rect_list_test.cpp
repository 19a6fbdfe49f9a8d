#include "toolkit/core/rect_list.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<WkRect> Nodes(const WkRectNode* n) {
    std::vector<WkRect> out;
    for (; n; n = n->next) out.push_back(WkRect{n->x, n->y, n->width, n->height});
    return out;
}

bool Same(const WkRect& a, const WkRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(RectListTest, AppendLinksAtTheTailWithTheGivenNext) {
    WkRectNode* first = nullptr;
    WkRectNode* last = nullptr;
    WkAppendRect(WkRect{1, 2, 3, 4}, &first, &last, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, last);
    WkAppendRect(WkRect{5, 6, 7, 8}, &first, &last, nullptr);
    EXPECT_EQ(first->next, last);
    auto nodes = Nodes(first);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_TRUE(Same(nodes[1], WkRect{5, 6, 7, 8}));
    EXPECT_EQ(WkFreeRectList(first), nullptr);
}

TEST(RectListTest, IntersectionGivesTheOverlapAndTheBandsAroundIt) {
    WkIntersection cut;
    EXPECT_EQ(WkIntersectRect(WkRect{0, 0, 10, 10}, WkRect{10, 0, 5, 5}, &cut), 0); // touching
    EXPECT_EQ(WkIntersectRect(WkRect{0, 0, 10, 10}, WkRect{2, 2, 0, 5}, &cut), 0);  // empty
    ASSERT_NE(WkIntersectRect(WkRect{0, 0, 10, 10}, WkRect{4, 6, 10, 10}, &cut), 0);
    EXPECT_TRUE(Same(cut.overlap, WkRect{4, 6, 6, 4}));
    EXPECT_TRUE(Same(cut.above, WkRect{0, 0, 10, 6}));
    EXPECT_TRUE(Same(cut.left, WkRect{0, 6, 4, 4}));
    EXPECT_TRUE(Same(cut.right, WkRect{10, 6, 4, 4}));
    EXPECT_TRUE(Same(cut.below, WkRect{4, 10, 10, 6}));
}

TEST(RectListTest, SubtractingFromTheMiddleLeavesFourBandsInPlace) {
    WkRectNode* first = WkNewRect(0, 0, 10, 10);
    first->next = WkNewRect(100, 100, 5, 5);
    WkSubtractRect(&first, WkRect{3, 4, 2, 2});
    auto nodes = Nodes(first);
    ASSERT_EQ(nodes.size(), 5u);
    EXPECT_TRUE(Same(nodes[0], WkRect{0, 0, 10, 4}));
    EXPECT_TRUE(Same(nodes[1], WkRect{0, 4, 3, 2}));
    EXPECT_TRUE(Same(nodes[2], WkRect{5, 4, 5, 2}));
    EXPECT_TRUE(Same(nodes[3], WkRect{0, 6, 10, 4}));
    EXPECT_TRUE(Same(nodes[4], WkRect{100, 100, 5, 5})); // untouched, still behind
    WkFreeRectList(first);
}

TEST(RectListTest, SubtractingACoveringRectangleEmptiesTheList) {
    WkRectNode* first = WkNewRect(0, 0, 10, 10);
    first->next = WkNewRect(5, 5, 10, 10);
    WkSubtractRect(&first, WkRect{-5, -5, 100, 100});
    EXPECT_EQ(first, nullptr);
    WkSubtractRect(&first, WkRect{0, 0, 1, 1}); // an empty list stays empty
    EXPECT_EQ(first, nullptr);
}

// Against a pixel grid: whatever the rectangles, what the list covers after
// the subtraction is exactly what it covered before less the rectangle, and
// no pixel is covered twice when the list started without overlaps.
TEST(RectListTest, SubtractionCoversExactlyWhatIsLeft) {
    constexpr int N = 24;
    std::mt19937 random(20);
    auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 300; ++round) {
        int grid[N][N] = {};
        // Start from disjoint pieces: one rectangle less some earlier cuts.
        WkRectNode* first = WkNewRect(any(0, 8), any(0, 8), any(1, 16), any(1, 16));
        for (int cut = 0; cut < 4; ++cut) {
            WkRect r{any(-2, N), any(-2, N), any(0, 12), any(0, 12)};
            bool before[N][N] = {};
            for (const WkRect& n : Nodes(first))
                for (int y = n.y; y < n.y + n.height; ++y)
                    for (int x = n.x; x < n.x + n.width; ++x) before[y][x] = true;
            WkSubtractRect(&first, r);
            for (auto& row : grid)
                for (int& cell : row) cell = 0;
            for (const WkRect& n : Nodes(first)) {
                ASSERT_GT(n.width, 0);
                ASSERT_GT(n.height, 0);
                for (int y = n.y; y < n.y + n.height; ++y)
                    for (int x = n.x; x < n.x + n.width; ++x) ++grid[y][x];
            }
            for (int y = 0; y < N; ++y)
                for (int x = 0; x < N; ++x) {
                    bool inR = x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
                    int want = before[y][x] && !inR ? 1 : 0;
                    ASSERT_EQ(grid[y][x], want) << "round " << round << " at " << x << "," << y;
                }
        }
        WkFreeRectList(first);
    }
}

} // namespace
