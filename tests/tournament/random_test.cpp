#include "tournament/random.h"

#include <gtest/gtest.h>

namespace {

TEST(Random, FollowsTheClassicFifteenBitSequence) {
    SeedRandom(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected)
        EXPECT_EQ(NextRandom(), value);
    SeedRandom(0);
    EXPECT_EQ(NextRandom(), 38);
    EXPECT_EQ(NextRandom(), 7719);
}

TEST(Random, StaysInRangeAndRepeatsForOneSeed) {
    SeedRandom(123456789u);
    int first[100];
    for (int& value : first) {
        value = NextRandom();
        EXPECT_GE(value, 0);
        EXPECT_LE(value, RandomMax);
    }
    SeedRandom(123456789u);
    for (int value : first)
        EXPECT_EQ(NextRandom(), value);
    // The seed wraps at 32 bits.
    SeedRandom(0xFFFFFFFFu);
    EXPECT_EQ(NextRandom(), static_cast<int>(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

} // namespace
