#include "toolkit/core/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

// Under the address sanitizer an impossible request must give null, as the
// C allocator does, instead of stopping the program.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

struct FatalExit {
    int status;
};

int shutdowns = 0;
int exits = 0;

void CountShutdown() { ++shutdowns; }
[[noreturn]] void ThrowExit(int status) {
    ++exits;
    throw FatalExit{status};
}

volatile std::size_t hugeSize = SIZE_MAX / 2;
void* resized = nullptr;

class MemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        shutdowns = exits = 0;
        WkSetShutdownHook(CountShutdown);
        WkSetExitHook(ThrowExit);
    }
    void TearDown() override {
        WkSetShutdownHook(nullptr);
        WkSetExitHook(nullptr);
    }
    static int StatusOf(void (*f)()) {
        try {
            f();
        } catch (const FatalExit& e) {
            return e.status;
        }
        return 0;
    }
};

TEST_F(MemoryTest, BlocksAreZeroedWhereAskedAndNullGrowsLikeANewBlock) {
    auto* zeroed = static_cast<unsigned char*>(WkCalloc(64, 4));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(zeroed[i], 0) << i;
    WkFree(zeroed);
    char* text = WkReallocText(nullptr, 6);
    std::memcpy(text, "hello", 6);
    text = WkReallocText(text, 4000);
    EXPECT_STREQ(text, "hello");
    WkFree(text);
    WkFree(nullptr);
    EXPECT_EQ(shutdowns, 0);
}

TEST_F(MemoryTest, EmptyRequestsAreNotMistakenForLackOfMemory) {
    void* a = WkMalloc(0);
    void* b = WkCalloc(0, 8);
    void* c = WkRealloc(WkMalloc(32), 0); // would free the block and give null
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_NE(c, nullptr);
    WkFree(a);
    WkFree(b);
    WkFree(c);
    EXPECT_EQ(exits, 0);
}

TEST_F(MemoryTest, LackOfMemoryShutsDownAndExitsWithMinusOne) {
    EXPECT_EQ(StatusOf([] { WkMalloc(hugeSize); }), -1);
    EXPECT_EQ(StatusOf([] { WkMallocText(hugeSize); }), -1);
    EXPECT_EQ(StatusOf([] { WkCalloc(hugeSize, 16); }), -1);
    resized = WkMalloc(8);
    EXPECT_EQ(StatusOf([] { WkRealloc(resized, hugeSize); }), -1);
    WkFree(resized); // a failed resize leaves the block as it was
    EXPECT_EQ(shutdowns, 4);
    EXPECT_EQ(exits, 4);
}

TEST_F(MemoryTest, ShutdownThatRunsOutOfMemoryStillEndsOnce) {
    WkSetShutdownHook([] {
        ++shutdowns;
        WkMalloc(hugeSize);
    });
    EXPECT_EQ(StatusOf([] { WkMalloc(hugeSize); }), -1);
    EXPECT_EQ(shutdowns, 1);
    EXPECT_EQ(exits, 1);
    // And the next fatal exit shuts down again.
    WkSetShutdownHook(CountShutdown);
    EXPECT_EQ(StatusOf([] { WkFatalExit(); }), -1);
    EXPECT_EQ(shutdowns, 2);
}

TEST(MemoryDeathTest, FatalExitEndsTheProcessWithMinusOne) {
    EXPECT_EXIT(WkFatalExit(), ::testing::ExitedWithCode(255), "");
}

} // namespace
