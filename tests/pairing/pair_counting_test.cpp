#include "pairing/pair_counting.h"

#include "search_fixture.h"

#include <gmock/gmock.h>

namespace {

using ::testing::AnyOf;
using ::testing::ElementsAre;

class PairCounting : public SearchFixture {
protected:
    // Ids first..last, in a 1-based array.
    static std::vector<int> Range(int first, int last) {
        std::vector<int> ids{0};
        for (int id = first; id <= last; ++id) ids.push_back(id);
        return ids;
    }
};

TEST_F(PairCounting, ColourWishesLimitTheSatisfiablePairs) {
    // Three who must have White, one who must have Black, no neutral player.
    for (int id = 1; id <= 3; ++id) MustHave(id, 1);
    MustHave(4, 0);
    EXPECT_EQ(CountSatisfiablePairs(4, Range(1, 4)), 1);

    // Neutral players absorb a surplus: flexible ones, no colour due, the
    // BYE and the empty slot alike.
    PairingStates[5].dueColor = 1; // preference only
    PairingStates[6].dueColor = -1;
    PairingStates[6].colorFlexible = 0;
    EXPECT_EQ(CountSatisfiablePairs(6, Range(1, 6)), 3);
    EXPECT_EQ(CountSatisfiablePairs(6, std::vector<int>{0, 1, 2, 3, 4, 0, EmptySlot}), 3);
    const ColorWishes wishes = CountColorWishes(std::vector<int>{0, 1, 4, 5, 6, 0, EmptySlot}, 6);
    EXPECT_EQ(wishes.white, 1);
    EXPECT_EQ(wishes.black, 1);
    EXPECT_EQ(wishes.neutral, 4);

    // Both halvings round down: five who must have White pair not at all.
    for (int id = 11; id <= 15; ++id) MustHave(id, 1);
    EXPECT_EQ(CountSatisfiablePairs(5, Range(11, 15)), 0);
    MustHave(16, 0);
    EXPECT_EQ(CountSatisfiablePairs(6, Range(11, 16)), 1);
    // A count beyond the players given is cut to them.
    EXPECT_EQ(CountSatisfiablePairs(40, Range(11, 16)), 1);
    EXPECT_EQ(CountSatisfiablePairs(3, std::vector<int>{}), 0);
}

TEST_F(PairCounting, TargetReachedIsNegatedOtherwiseTheSearchResult) {
    EXPECT_EQ(CountPairsToTarget(Range(1, 4), SearchRound), -2);
    // Odd: the empty slot takes the last place.
    EXPECT_EQ(CountPairsToTarget(Range(1, 5), SearchRound), -3);
    EXPECT_EQ(CountPairsToTarget(Range(1, 1), SearchRound), -1);
    EXPECT_EQ(CountPairsToTarget(std::vector<int>{0}, SearchRound), 0);

    // The colour target: 3 White, 1 Black absolute makes one pair enough.
    for (int id = 21; id <= 23; ++id) MustHave(id, 1);
    MustHave(24, 0);
    EXPECT_EQ(CountPairsToTarget(Range(21, 24), SearchRound), -1);

    // Short of the target: 1 met the three others, so only one pair.
    Forbid(1, 2);
    Forbid(1, 3);
    Forbid(1, 4);
    EXPECT_EQ(CountPairsToTarget(Range(1, 4), SearchRound), 1);
}

TEST_F(PairCounting, ColourTargetOnlyUpToThirtyPlayers) {
    // 30 players, 17 White and 13 Black absolute: the colours allow 13 pairs,
    // which is the target and is reached.
    for (int id = 1; id <= 30; ++id) MustHave(id, id <= 17 ? 1 : 0);
    EXPECT_EQ(CountPairsToTarget(Range(1, 30), SearchRound), -13);
    // 32 players, 18 and 14: the target is half the group, which the search
    // cannot reach; it reports its 14 pairs, at its limit or not.
    for (int id = 1; id <= 32; ++id) MustHave(id, id <= 18 ? 1 : 0);
    EXPECT_THAT(CountPairsToTarget(Range(1, 32), SearchRound), AnyOf(14, -14));
}

TEST_F(PairCounting, GroupsChangedByOneOrTwoPlayers) {
    EXPECT_THAT(WithPlayerChanged(std::vector<int>{0, 5, 6, 7}, 9, 1), ElementsAre(0, 5, 6, 7, 9));
    EXPECT_THAT(WithPlayerChanged(std::vector<int>{0, 5, 6, 7}, 6, 0), ElementsAre(0, 5, 7));
    EXPECT_THAT(WithoutPlayers(std::vector<int>{0, 5, 6, 7, 8}, 8, 5), ElementsAre(0, 6, 7));
    EXPECT_THAT(WithoutPlayers(std::vector<int>{}, 8, 5), ElementsAre(0));
}

TEST_F(PairCounting, PairsWithoutOnePlayer) {
    // Colour excess decides without a search: 4 White, 1 Black absolute.
    for (int id = 1; id <= 4; ++id) MustHave(id, 1);
    MustHave(5, 0);
    EXPECT_EQ(CountPairsWithoutPlayerAmong(Range(1, 5), 5, SearchRound), 0);
    EXPECT_EQ(CountPairsWithoutPlayerAmong(Range(1, 5), 1, SearchRound), 1);

    // No excess: the search counts. Player 11 met 12, 13 and 14.
    Forbid(11, 12);
    Forbid(11, 13);
    Forbid(11, 14);
    EXPECT_EQ(CountPairsWithoutPlayerAmong(Range(11, 15), 15, SearchRound), 1);
    EXPECT_EQ(CountPairsWithoutPlayerAmong(Range(11, 15), 11, SearchRound), 2);
}

TEST_F(PairCounting, LargeGroupsWithoutOnePlayerAreNotSearched) {
    // Strict colours and everybody due White: nobody may meet anybody, yet
    // the colour wishes (all preferences) show no excess.
    StrictColorMode = 1;
    EXPECT_EQ(CountPairsWithoutPlayerAmong(Range(1, 51), 1, SearchRound), 0);
    EXPECT_EQ(CountPairsWithoutPlayerAmong(Range(1, 52), 1, SearchRound), 25);
}

} // namespace
