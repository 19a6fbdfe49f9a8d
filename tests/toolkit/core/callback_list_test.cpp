#include "toolkit/core/callback_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string calls;
WkEventHandler* list = nullptr;

void Record(WkObject*, std::intptr_t value, void* data) {
    calls += static_cast<const char*>(data);
    calls += std::to_string(value);
}
void RecordOther(WkObject*, std::intptr_t, void* data) { calls += static_cast<const char*>(data); }
void RemovesItself(WkObject*, std::intptr_t, void*) {
    calls += "S";
    WkRemoveCallback(&list, RemovesItself);
}

class CallbackListTest : public ::testing::Test {
protected:
    void SetUp() override { calls.clear(); }
    void TearDown() override { WkFreeCallbacks(&list); }
};

TEST_F(CallbackListTest, RunInOrderOfRegistration) {
    WkAppendCallback(&list, Record, (void*)"a", 7);
    WkAppendCallback(&list, RecordOther, (void*)"b", 8);
    WkAppendCallback(&list, Record, (void*)"c", 7);
    EXPECT_EQ(WkInvokeCallbacks(list, nullptr, 5, 0, 0), 3);
    EXPECT_EQ(calls, "a5bc5");
}

TEST_F(CallbackListTest, MatchOnlyCallsTheNodesOfTheKey) {
    WkAppendCallback(&list, Record, (void*)"a", 0x4100);
    WkAppendCallback(&list, RecordOther, (void*)"b", 0x4200);
    WkAppendCallback(&list, Record, (void*)"c", 0x4100);
    EXPECT_EQ(WkInvokeCallbacks(list, nullptr, 1, 0x4100, 1), 2);
    EXPECT_EQ(calls, "a1c1");
    calls.clear();
    EXPECT_EQ(WkInvokeCallbacks(list, nullptr, 1, 0x4300, 1), 0);
    EXPECT_EQ(calls, "");
    EXPECT_EQ(WkInvokeCallbacks(nullptr, nullptr, 1, 0, 0), 0);
}

TEST_F(CallbackListTest, ACallbackMayRemoveItselfDuringTheWalk) {
    WkAppendCallback(&list, RecordOther, (void*)"a", 0);
    WkAppendCallback(&list, RemovesItself, nullptr, 0);
    WkAppendCallback(&list, RecordOther, (void*)"b", 0);
    EXPECT_EQ(WkInvokeCallbacks(list, nullptr, 0, 0, 0), 3);
    EXPECT_EQ(calls, "aSb");
    calls.clear();
    EXPECT_EQ(WkInvokeCallbacks(list, nullptr, 0, 0, 0), 2);
    EXPECT_EQ(calls, "ab");
}

TEST_F(CallbackListTest, RemoveTakesTheFirstNodeOfTheCallbackOnly) {
    WkAppendCallback(&list, Record, (void*)"a", 0);
    WkAppendCallback(&list, RecordOther, (void*)"b", 0);
    WkAppendCallback(&list, Record, (void*)"c", 0);
    WkRemoveCallback(&list, Record);
    WkInvokeCallbacks(list, nullptr, 0, 0, 0);
    EXPECT_EQ(calls, "bc0");
    WkRemoveCallback(&list, RemovesItself); // not in the list: nothing
    WkRemoveCallback(&list, Record);
    WkRemoveCallback(&list, RecordOther);
    EXPECT_EQ(list, nullptr);
    // The tail is right again after emptying: a new node is the first.
    WkAppendCallback(&list, RecordOther, (void*)"d", 0);
    calls.clear();
    WkInvokeCallbacks(list, nullptr, 0, 0, 0);
    EXPECT_EQ(calls, "d");
}

TEST_F(CallbackListTest, FreeEmptiesAndIgnoresNull) {
    WkFreeCallbacks(&list);
    EXPECT_EQ(list, nullptr);
    WkAppendCallback(&list, Record, nullptr, 0);
    WkAppendCallback(&list, Record, nullptr, 0);
    WkFreeCallbacks(&list);
    EXPECT_EQ(list, nullptr);
    WkFreeCallbacks(nullptr);
}

} // namespace
