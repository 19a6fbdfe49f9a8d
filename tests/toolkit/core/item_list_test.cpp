#include "toolkit/core/item_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const WkItemList* list) {
    std::vector<std::string> out;
    for (const WkItemNode* n = list->first; n; n = n->next) out.push_back(n->text);
    return out;
}

// The list's own bookkeeping agrees with its chain.
void ExpectConsistent(const WkItemList* list) {
    int n = 0;
    const WkItemNode* last = nullptr;
    for (const WkItemNode* node = list->first; node; node = node->next) {
        last = node;
        ++n;
    }
    EXPECT_EQ(n, list->count);
    EXPECT_EQ(last, list->last);
}

using Strings = std::vector<std::string>;

class ItemListTest : public ::testing::Test {
protected:
    void TearDown() override { WkFreeItemList(list); }
    WkItemList* list = nullptr;
};

TEST_F(ItemListTest, UnsortedKeepsTheOrderOfAdding) {
    list = WkCreateItemList(10, 0, nullptr);
    EXPECT_EQ(WkItemListAdd(list, "b", 1), 0);
    EXPECT_EQ(WkItemListAdd(list, "a", 2), 1);
    EXPECT_EQ(WkItemListAdd(list, "c", 3), 2);
    EXPECT_EQ(Texts(list), (Strings{"b", "a", "c"}));
    EXPECT_EQ(WkItemListNth(list, 1)->value, 2);
    ExpectConsistent(list);
}

// A sorted add goes before the first item above it, also when the items no
// longer stand in order: after an insert at a place, a replaced text, a
// move, or a compare set on items already there.
TEST_F(ItemListTest, SortedAddingFindsItsPlaceWhateverChangedTheOrder) {
    struct Case {
        const char* what;
        void (*before)(WkItemList*);
        const char* text;
        int position;
        Strings texts;
    };
    const Case cases[] = {
        {"in order", [](WkItemList*) {}, "d", 2, {"a", "c", "d", "e"}},
        {"at the end", [](WkItemList*) {}, "f", 3, {"a", "c", "e", "f"}},
        {"after an insert", [](WkItemList* l) { WkItemListInsert(l, 0, "z", 0); }, "f", 0, {"f", "z", "a", "c", "e"}},
        {"after a replace", [](WkItemList* l) { WkItemListReplace(l, 0, "x", 0); }, "f", 0, {"f", "x", "c", "e"}},
        {"after a move", [](WkItemList* l) { WkItemListMoveUp(l, 2); }, "d", 1, {"a", "d", "e", "c"}},
        {"compare set late", [](WkItemList* l) { l->compare = nullptr; WkItemListAdd(l, "b", 0); l->compare = std::strcmp; },
         "d", 2, {"a", "c", "d", "e", "b"}},
    };
    for (const Case& c : cases) {
        list = WkCreateItemList(10, 0, std::strcmp);
        for (const char* text : {"a", "c", "e"}) WkItemListAdd(list, text, 0);
        c.before(list);
        EXPECT_EQ(WkItemListAdd(list, c.text, 0), c.position) << c.what;
        EXPECT_EQ(Texts(list), c.texts) << c.what;
        ExpectConsistent(list);
        WkFreeItemList(list);
    }
    list = nullptr;
}

TEST_F(ItemListTest, SortedAddingReturnsThePositionTaken) {
    list = WkCreateItemList(10, 0, std::strcmp);
    EXPECT_EQ(WkItemListAdd(list, "b", 0), 0);
    EXPECT_EQ(WkItemListAdd(list, "a", 0), 0);
    EXPECT_EQ(WkItemListAdd(list, "c", 0), 2);
    EXPECT_EQ(Texts(list), (Strings{"a", "b", "c"}));
    // Equal texts keep the order they came in: the new one goes behind.
    EXPECT_EQ(WkItemListAdd(list, "b", 7), 2);
    EXPECT_EQ(WkItemListNth(list, 1)->value, 0);
    EXPECT_EQ(WkItemListNth(list, 2)->value, 7);
    ExpectConsistent(list);
}

TEST_F(ItemListTest, LongTextsAreCutAndNodesAreFilledFresh) {
    list = WkCreateItemList(3, 0, nullptr);
    WkItemListAdd(list, "abcdef", 1);
    WkItemListAdd(list, nullptr, 2);
    EXPECT_EQ(Texts(list), (Strings{"abc", ""}));
    WkItemListNth(list, 0)->flags = 5;
    EXPECT_EQ(WkItemListReplace(list, 0, "WXYZ", 9), 0);
    EXPECT_STREQ(WkItemListNth(list, 0)->text, "WXY");
    EXPECT_EQ(WkItemListNth(list, 0)->value, 9);
    // A node taken back from the free chain starts with a clear flag word.
    WkItemListRemove(list, 0);
    WkItemListAdd(list, "q", 0);
    EXPECT_EQ(WkItemListNth(list, 1)->flags, 0);
}

TEST_F(ItemListTest, ClearedNodesAreReusedBeforeNewOnes) {
    list = WkCreateItemList(8, 2, nullptr);
    WkItemNode* spare = list->free;
    ASSERT_NE(spare, nullptr);
    WkItemListAdd(list, "one", 1);
    EXPECT_EQ(list->first, spare);
    WkItemListAdd(list, "two", 2);
    WkItemListAdd(list, "three", 3);
    std::set<WkItemNode*> used;
    for (WkItemNode* n = list->first; n; n = n->next) used.insert(n);
    WkItemListClear(list);
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->first, nullptr);
    EXPECT_EQ(list->last, nullptr);
    for (const char* t : {"x", "y", "z"}) {
        WkItemListAdd(list, t, 0);
        EXPECT_TRUE(used.count(list->last)) << t;
    }
    EXPECT_EQ(list->free, nullptr);
    ExpectConsistent(list);
}

TEST_F(ItemListTest, InsertFindAndLookupsThatFindNothing) {
    list = WkCreateItemList(10, 0, nullptr);
    WkItemListInsert(list, 0, "m", 0);  // into an empty list
    WkItemListInsert(list, 0, "a", 0);  // before the first
    WkItemListInsert(list, 99, "z", 0); // past the end appends
    WkItemListInsert(list, 2, "n", 0);
    EXPECT_EQ(Texts(list), (Strings{"a", "m", "n", "z"}));
    ExpectConsistent(list);

    int position = -5;
    EXPECT_EQ(WkItemListFind(list, "n", &position), WkItemListNth(list, 2));
    EXPECT_EQ(position, 2);
    position = -5;
    EXPECT_EQ(WkItemListFind(list, "q", &position), nullptr);
    EXPECT_EQ(position, -5);
    EXPECT_EQ(WkItemListNth(list, -3), list->first);
    EXPECT_EQ(WkItemListNth(list, 4), nullptr);
    EXPECT_EQ(WkItemListRemove(list, 4), -1);
    EXPECT_EQ(WkItemListRemove(list, -1), -1);
    EXPECT_EQ(WkItemListRemoveText(list, "q"), -1);
    EXPECT_EQ(WkItemListReplace(list, 4, "q", 0), -1);
    EXPECT_EQ(WkItemListReplaceText(list, "q", "r", 0), -1);
    EXPECT_EQ(Texts(list), (Strings{"a", "m", "n", "z"}));
}

TEST_F(ItemListTest, RemovalsKeepFirstLastAndCount) {
    list = WkCreateItemList(10, 0, nullptr);
    for (const char* t : {"a", "b", "c"}) WkItemListAdd(list, t, 0);
    EXPECT_EQ(WkItemListRemove(list, 2), 0);
    EXPECT_STREQ(list->last->text, "b");
    WkItemListAdd(list, "d", 0); // linked behind the new last
    EXPECT_EQ(Texts(list), (Strings{"a", "b", "d"}));
    EXPECT_EQ(WkItemListRemoveText(list, "a"), 0);
    EXPECT_EQ(WkItemListRemoveText(list, "d"), 1);
    EXPECT_EQ(WkItemListRemove(list, 0), 0);
    EXPECT_EQ(list->first, nullptr);
    EXPECT_EQ(list->last, nullptr);
    EXPECT_EQ(list->count, 0);
    WkItemListAdd(list, "e", 0);
    EXPECT_EQ(Texts(list), (Strings{"e"}));
    ExpectConsistent(list);
}

TEST_F(ItemListTest, IterationSurvivesRemovingTheCurrentItem) {
    list = WkCreateItemList(10, 0, nullptr);
    for (const char* t : {"a", "b", "c", "d"}) WkItemListAdd(list, t, 0);
    std::string seen;
    int index = -1;
    for (WkItemNode* n = WkItemListFirst(list); n; n = WkItemListNext(list, &index)) {
        seen += n->text;
        if (n->text[0] == 'b' || n->text[0] == 'c') WkItemListRemoveText(list, n->text);
    }
    EXPECT_EQ(seen, "abcd");
    EXPECT_EQ(Texts(list), (Strings{"a", "d"}));

    // Removing the item the cursor stands on moves the cursor past it.
    WkItemListInsert(list, 1, "b", 0);
    WkItemListInsert(list, 2, "c", 0);
    seen.clear();
    for (WkItemNode* n = WkItemListFirst(list); n; n = WkItemListNext(list, &index)) {
        seen += n->text;
        if (n->text[0] == 'a') WkItemListRemove(list, 1);
    }
    EXPECT_EQ(seen, "acd");

    // Past the end the index still grows.
    WkItemListFirst(list);
    WkItemListNext(list, &index);
    EXPECT_EQ(WkItemListNext(list, &index), list->last);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(WkItemListNext(list, &index), nullptr);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(WkItemListNext(list, nullptr), nullptr);
    EXPECT_EQ(list->index, 4);
}

TEST_F(ItemListTest, ClearingEndsARunningIteration) {
    list = WkCreateItemList(10, 3, nullptr);
    for (const char* t : {"a", "b", "c"}) WkItemListAdd(list, t, 0);
    WkItemListFirst(list);
    WkItemListClear(list);
    // Without an end here the iteration would walk on through spare nodes.
    EXPECT_EQ(WkItemListNext(list, nullptr), nullptr);
    EXPECT_EQ(WkItemListFirst(list), nullptr);
}

TEST_F(ItemListTest, MoveUpSwapsNeighboursAndKeepsTheEnds) {
    list = WkCreateItemList(10, 0, nullptr);
    EXPECT_EQ(WkItemListMoveUp(list, 3), 0);
    for (const char* t : {"a", "b", "c"}) WkItemListAdd(list, t, 0);
    EXPECT_EQ(WkItemListMoveUp(list, 2), 1);
    EXPECT_EQ(Texts(list), (Strings{"a", "c", "b"}));
    EXPECT_STREQ(list->last->text, "b");
    WkItemListAdd(list, "d", 0);
    EXPECT_EQ(Texts(list), (Strings{"a", "c", "b", "d"}));
    EXPECT_EQ(WkItemListMoveUp(list, 0), 0); // swaps the first two
    EXPECT_EQ(Texts(list), (Strings{"c", "a", "b", "d"}));
    EXPECT_EQ(WkItemListMoveUp(list, 1), 0);
    EXPECT_EQ(Texts(list), (Strings{"a", "c", "b", "d"}));
    EXPECT_EQ(WkItemListMoveUp(list, 4), 3); // no item there
    EXPECT_EQ(Texts(list), (Strings{"a", "c", "b", "d"}));
    ExpectConsistent(list);
}

TEST_F(ItemListTest, ACompareFunctionDecidesOrderAndEquality) {
    // Case-blind texts of the Windows code page.
    list = WkCreateItemList(10, 0, [](const char* a, const char* b) {
        return strcasecmp(a, b);
    });
    WkItemListAdd(list, "Bravo", 0);
    WkItemListAdd(list, "alpha", 0);
    EXPECT_EQ(Texts(list), (Strings{"alpha", "Bravo"}));
    int position = -1;
    EXPECT_NE(WkItemListFind(list, "BRAVO", &position), nullptr);
    EXPECT_EQ(position, 1);
    // Replacing keeps the position even where the new text sorts elsewhere.
    EXPECT_EQ(WkItemListReplaceText(list, "ALPHA", "Zulu", 4), 0);
    EXPECT_EQ(Texts(list), (Strings{"Zulu", "Bravo"}));
    EXPECT_EQ(WkItemListRemoveText(list, "zulu"), 0);
}

} // namespace
