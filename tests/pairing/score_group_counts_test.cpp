#include "pairing/score_group_counts.h"
#include "pairing/score_groups.h"

#include "search_fixture.h"

namespace {

class ScoreGroupCounts : public SearchFixture {
protected:
    void TearDown() override {
        ClearScoreGroups(1);
        SearchFixture::TearDown();
    }
    static void File(int g, std::initializer_list<int> white, std::initializer_list<int> black) {
        for (int id : white) PlayerListInsert(ScoreGroupAt(g).whiteDue, id, 1);
        for (int id : black) PlayerListInsert(ScoreGroupAt(g).blackDue, id, 0);
    }
};

TEST_F(ScoreGroupCounts, GroupWithOnePlayerMoreOrLess) {
    File(2, {1, 2}, {3, 4});
    EXPECT_EQ(CountPairsWithChange(5, 2, 1, SearchRound), -3); // five and the empty slot
    EXPECT_EQ(CountPairsWithChange(3, 2, 0, SearchRound), -2);
    EXPECT_EQ(CountPairsWithChange(9, 7, 0, SearchRound), 0);  // an empty group

    // 1 met 2: without 3 and 4 the group cannot pair; without 2 and 3 it can.
    Forbid(1, 2);
    EXPECT_EQ(CountPairsWithoutTwo(3, 4, 2, SearchRound), 0);
    EXPECT_EQ(CountPairsWithoutTwo(2, 3, 2, SearchRound), -1);
    // The black-due list counts too: 1 finds 3 once 2 and 4 are gone.
    EXPECT_EQ(CountPairsWithoutTwo(2, 4, 2, SearchRound), -1);
}

TEST_F(ScoreGroupCounts, WithoutPlayerReadsTheWhiteDueList) {
    Settings.PairingSystem = UscfSystem;
    File(3, {11, 12, 13, 14, 15}, {16, 17});
    Forbid(11, 12);
    Forbid(11, 13);
    Forbid(11, 14);
    // 11 met 12, 13 and 14: without 15 only one pair is left. The black-due
    // list is not looked at (16 and 17 would pair 11).
    EXPECT_EQ(CountPairsWithoutPlayer(15, 3, SearchRound), 1);
    EXPECT_EQ(CountPairsWithoutPlayer(11, 3, SearchRound), 2);
}

} // namespace
