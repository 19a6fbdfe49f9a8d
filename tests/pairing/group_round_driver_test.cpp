// The round driver with stand-in group pairers: a group asking to be paired
// again, a pairer that delivers too few pairs, merges overwriting the pairs
// of the group paired again.

#include "pairing/group_round_driver.h"
#include "pairing/score_groups.h"
#include "support/recording_message_box.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"

#include "uscf_fixture.h"

#include <algorithm>

namespace {

int Calls = 0;
int Repeats = 0;
int Dumps = 0;

void CountDump(int, int) {
    ++Dumps;
}

// Pairs group g's white-due list in order, asking `Repeats` times first to
// be paired again.
int PairInOrder(int g, int, int, std::vector<SearchPair>& pairs, int& count) {
    ++Calls;
    if (Repeats > 0) {
        --Repeats;
        return 2;
    }
    const std::vector<int> ids = GroupListIds(ScoreGroupAt(g).whiteDue);
    for (std::size_t i = 1; i + 1 < ids.size(); i += 2)
        pairs.push_back({ids[i], ids[i + 1]});
    count = static_cast<int>(pairs.size()) - 1;
    return 1;
}

// Says every group is paired and delivers nothing.
int PairNobody(int, int, int, std::vector<SearchPair>&, int& count) {
    ++Calls;
    count = 0;
    return 1;
}

// Group 2 fails once; the merged group 1 then pairs in order.
int FailSecondOnce(int g, int round, int groups, std::vector<SearchPair>& pairs, int& count) {
    if (g == 2 && Calls == 1) {
        ++Calls;
        return 0;
    }
    return PairInOrder(g, round, groups, pairs, count);
}

class GroupRoundDriver : public UscfFixture {
  protected:
    void SetUp() override {
        UscfFixture::SetUp();
        Calls = Repeats = Dumps = 0;
        Field({1, 1, 0, 0});
    }
};

TEST_F(GroupRoundDriver, GroupAskingAgainIsPairedAgainAtOnce) {
    Repeats = 3;
    ASSERT_EQ(PairGroupedRound(4, SearchRound, PairInOrder, CountDump), 1);
    EXPECT_EQ(Calls, 5); // group 1 four times, group 2 once
    EXPECT_EQ(Dumps, 1);
    const auto boards = Boards();
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_EQ(boards[0], (std::pair<int, int>{1, 2}));
}

TEST_F(GroupRoundDriver, TooFewPairsFailTheRoundInsteadOfEmptyBoards) {
    RecordingMessageBox boxes;
    EXPECT_EQ(PairGroupedRound(4, SearchRound, PairNobody, CountDump), 0);
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_EQ(boxes.alerts[0].text, "Budget spent");
    EXPECT_EQ(GameTable(0, SearchRound), 0);
    EXPECT_EQ(GameTable(1, SearchRound), 0);
}

TEST_F(GroupRoundDriver, MergedGroupOverwritesItsEarlierPairs) {
    ASSERT_EQ(PairGroupedRound(4, SearchRound, FailSecondOnce, CountDump), 1);
    const auto boards = Boards();
    ASSERT_EQ(boards.size(), 2u);
    // Group 1 paired again with all four: no board twice, everybody once.
    std::vector<int> seen;
    for (auto [white, black] : boards) {
        seen.push_back(white);
        seen.push_back(black);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(1).whiteDue), 4);
}

} // namespace
