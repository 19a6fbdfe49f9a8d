// The Burstein group pairing on hand-built score groups: the folded array
// with its empty slot, the colour imbalance, the strict-colour first search,
// the better floater, leftovers of the last group, and rounds of a few
// players through the round driver.

#include "pairing/burstein_engine.h"
#include "pairing/group_round_driver.h"
#include "pairing/score_groups.h"
#include "support/recording_message_box.h"
#include "tournament/run_options.h"

#include "uscf_fixture.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

class BursteinGroups : public UscfFixture {
  protected:
    void SetUp() override {
        UscfFixture::SetUp();
        Settings.PairingSystem = FideBursteinSystem;
        StrictColorMode = 0;
    }
    static void File(int g, std::initializer_list<int> ids) {
        for (int id : ids) {
            PlayerListInsert(ScoreGroupAt(g).whiteDue, id, 1);
            PairingStates[id].currentGroup = g;
        }
    }
    static std::vector<int> Listed(int g) { return GroupListIds(ScoreGroupAt(g).whiteDue); }
    static int Pair(int g, int groupCount, std::vector<SearchPair>& pairs, int& count) {
        const int result = PairBursteinGroup(g, SearchRound, groupCount, pairs, count);
        EXPECT_EQ(StrictColorMode, 0) << "strict colours left on after group " << g;
        return result;
    }
    // Pairs group g again while it asks for that (at most 10 times); the
    // number of repetitions in repeats.
    static int PairSettled(int g, int groupCount, std::vector<SearchPair>& pairs, int& count, int& repeats) {
        int result = Pair(g, groupCount, pairs, count);
        for (repeats = 0; result == 2 && repeats < 10; ++repeats)
            result = Pair(g, groupCount, pairs, count);
        return result;
    }
};

TEST_F(BursteinGroups, FoldPutsTheEmptySlotInTheMiddle) {
    EXPECT_EQ(FoldBursteinGroup({0, 1, 2, 3, 4, 5}), (std::vector<int>{0, 1, 2, EmptySlot, 5, 4, 3}));
    EXPECT_EQ(FoldBursteinGroup({0, 1, 2, 3, 4}), (std::vector<int>{0, 1, 2, 4, 3}));
    EXPECT_EQ(FoldBursteinGroup({0, 7}), (std::vector<int>{0, EmptySlot, 7}));
    EXPECT_EQ(FoldBursteinGroup({0}), (std::vector<int>{0}));
}

TEST_F(BursteinGroups, ImbalanceIgnoresTheEmptySlot) {
    MustHave(1, 1);
    MustHave(2, 1);
    MustHave(3, 0);
    MustHave(4, 0);
    const std::vector<int> balanced{0, 1, 2, 4, 3};
    EXPECT_EQ(ColorImbalance(4, balanced), 0);
    MustHave(4, 1);
    EXPECT_EQ(ColorImbalance(4, balanced), 1);
    // Three white-seekers and the empty slot in six places: 3 - 3.
    const std::vector<int> odd{0, 1, 2, EmptySlot, 4, 3, 5};
    MustHave(5, 0);
    EXPECT_EQ(ColorImbalance(6, odd), 0);
    // A player without a colour due counts in neither number.
    PairingStates[3].dueColor = -1;
    EXPECT_EQ(ColorImbalance(4, balanced), 3 - 2);
}

TEST_F(BursteinGroups, BalancedGroupPairsWithStrictColoursFirst) {
    // Flexible players: without strict colours the fold's first choice,
    // p1 against p4 and p2 against p3, would pair equal colour dues.
    File(1, {1, 2, 3, 4});
    const std::vector<int> p = Listed(1);
    PairingStates[p[1]].dueColor = 1;
    PairingStates[p[4]].dueColor = 1;
    PairingStates[p[2]].dueColor = 0;
    PairingStates[p[3]].dueColor = 0;
    std::vector<SearchPair> pairs;
    int count = 0;
    ASSERT_EQ(Pair(1, 1, pairs, count), 1);
    ASSERT_EQ(count, 2);
    for (int k = 1; k <= 2; ++k)
        EXPECT_NE(PairingStates[pairs[k].first].dueColor, PairingStates[pairs[k].second].dueColor) << k;
    // Three white dues of four: no strict search, the fold's order holds.
    PairingStates[p[2]].dueColor = 1;
    ClearScoreGroups(0);
    File(1, {1, 2, 3, 4});
    ASSERT_EQ(Pair(1, 1, pairs, count), 1);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(pairs[1], (SearchPair{p[1], p[4]}));
    EXPECT_EQ(pairs[2], (SearchPair{p[2], p[3]}));
}

TEST_F(BursteinGroups, StrictSearchFallingShortIsRepeatedWithoutThem) {
    // Flexible players with opposite dues: only the strict search sees the
    // dues. Each white-seeker has met both black-seekers, so the strict
    // search finds nothing; the second search pairs the same colours.
    for (int id : {1, 2}) PairingStates[id].dueColor = 1;
    for (int id : {3, 4}) PairingStates[id].dueColor = 0;
    Forbid(1, 3);
    Forbid(1, 4);
    Forbid(2, 3);
    Forbid(2, 4);
    File(1, {1, 2, 3, 4});
    std::vector<SearchPair> pairs;
    int count = 0;
    ASSERT_EQ(Pair(1, 1, pairs, count), 1);
    ASSERT_EQ(count, 2);
    std::vector<std::pair<int, int>> got;
    for (int k = 1; k <= 2; ++k)
        got.emplace_back(std::min(pairs[k].first, pairs[k].second), std::max(pairs[k].first, pairs[k].second));
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{1, 2}, {3, 4}}));
}

TEST_F(BursteinGroups, OddGroupSendsTheEmptySlotsPartnerDown) {
    File(1, {1, 2, 3, 4, 5});
    File(2, {6, 7});
    std::vector<SearchPair> pairs;
    int count = 0;
    ASSERT_EQ(Pair(1, 2, pairs, count), 1);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(PlayerListCount(ScoreGroupAt(1).whiteDue), 4);
    ASSERT_EQ(PlayerListCount(ScoreGroupAt(2).whiteDue), 3);
    int down = 0;
    for (int id : Listed(2))
        if (id >= 1 && id <= 5) down = id;
    ASSERT_NE(down, 0);
    EXPECT_EQ(PairingStates[down].mayFloatUp, 1);
    EXPECT_EQ(PairingStates[down].currentGroup, 2);
    for (int k = 1; k <= count; ++k) {
        EXPECT_NE(pairs[k].first, down);
        EXPECT_NE(pairs[k].second, down);
        EXPECT_NE(pairs[k].first, EmptySlot);
        EXPECT_NE(pairs[k].second, EmptySlot);
    }
    // A floater who came down cannot take the empty slot below: group 2
    // sends down one of its own.
    ClearScoreGroups(0);
    PairingStates[5].mayFloatUp = 1;
    File(1, {5, 6, 7});
    File(2, {8});
    ASSERT_EQ(Pair(1, 2, pairs, count), 1);
    EXPECT_EQ(PairingStates[5].currentGroup, 1);
}

TEST_F(BursteinGroups, FloaterWithoutOpponentBelowIsTriedAndAnotherChosen) {
    File(1, {1, 2, 3});
    File(2, {4});
    const std::vector<int> list = Listed(1);
    // The partner of the empty slot in the first search is the middle one of
    // the fold; make every player but one unable to meet player 4.
    Forbid(list[1], 4);
    Forbid(list[2], 4);
    std::vector<SearchPair> pairs;
    int count = 0;
    int repeats = 0;
    const int result = PairSettled(1, 2, pairs, count, repeats);
    ASSERT_EQ(result, 1);
    EXPECT_GE(repeats, 1);
    EXPECT_EQ(PairingStates[list[3]].currentGroup, 2);
    EXPECT_EQ(PairingStates[list[3]].triedMark, 0); // cleared by the move
    ASSERT_EQ(count, 1);
}

TEST_F(BursteinGroups, LastGroupCannotSendAnybodyDown) {
    File(1, {1, 2, 3});
    std::vector<SearchPair> pairs;
    int count = 0;
    int repeats = 0;
    const int result = PairSettled(1, 1, pairs, count, repeats);
    // Each of the three is tried in turn; then nobody may take the empty
    // slot and the leftover has nowhere to go.
    EXPECT_EQ(repeats, 3);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(1).whiteDue), 3);
}

// The leftovers of a group are a player and the empty slot: one player
// below is enough for the player to go down.
TEST_F(BursteinGroups, LeftoverBesideTheEmptySlotNeedsOnePlayerBelow) {
    File(1, {1, 2, 3});
    File(2, {4});
    PairingStates[3].mayFloatUp = 1; // came down from above
    Forbid(1, 4);
    Forbid(2, 4);
    Forbid(2, 3);
    // 2 takes the empty slot, has no opponent below and is tried; then
    // nobody may take it and the group pairs one board.
    std::vector<SearchPair> pairs;
    int count = 0;
    int repeats = 0;
    const int result = PairSettled(1, 2, pairs, count, repeats);
    EXPECT_EQ(repeats, 1);
    ASSERT_EQ(result, 1);
    ASSERT_EQ(count, 1);
    const int paired = pairs[1].first + pairs[1].second;
    const int left = 6 - paired;
    EXPECT_EQ(PairingStates[left].currentGroup, 2);
    EXPECT_EQ(PairingStates[left].mayFloatUp, 1);
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(2).whiteDue), 2);
}

// Two white-seekers who may only meet the same black-seeker: no complete
// pairing exists, and the search runs into its limit proving it. The
// group fails instead of writing the partial pairing's boards.
TEST_F(BursteinGroups, SearchStoppedAtItsLimitFailsTheGroup) {
    const int half = 16;
    for (int w = 1; w <= half; ++w) MustHave(w, 1);
    for (int b = half + 1; b <= 2 * half; ++b) MustHave(b, 0);
    for (int w = 1; w <= 2; ++w)
        for (int b = half + 2; b <= 2 * half; ++b)
            Forbid(w, b);
    for (int id = 1; id <= 2 * half; ++id) {
        PlayerListInsert(ScoreGroupAt(1).whiteDue, id, 1);
        PairingStates[id].currentGroup = 1;
    }
    File(2, {40, 41});
    {
        const std::vector<int> array = FoldBursteinGroup(Listed(1));
        PairingSearch search;
        CreatePairingSearch(search);
        std::vector<SearchPair> full, partial;
        std::vector<int> leftovers;
        EXPECT_LT(PairGroupHomogeneous(search, 2 * half, half, array, full, leftovers, partial, SearchRound), 0);
        DisposePairingSearch(search);
    }
    std::vector<SearchPair> pairs;
    int count = 0;
    EXPECT_EQ(Pair(1, 2, pairs, count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(1).whiteDue), 2 * half);
}

TEST_F(BursteinGroups, UnpairablePlayerGoesDownFirst) {
    File(1, {1, 2, 3});
    File(2, {4, 5, 6});
    Forbid(1, 2);
    Forbid(1, 3);
    std::vector<SearchPair> pairs;
    int count = 0;
    ASSERT_EQ(Pair(1, 2, pairs, count), 1);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(std::min(pairs[1].first, pairs[1].second), 2);
    EXPECT_EQ(std::max(pairs[1].first, pairs[1].second), 3);
    EXPECT_EQ(PairingStates[1].currentGroup, 2);
    EXPECT_EQ(PairingStates[1].mayFloatUp, 1);
    // Nobody below: the group fails.
    ClearScoreGroups(0);
    File(1, {1, 2, 3});
    EXPECT_EQ(Pair(1, 1, pairs, count), 0);
}

TEST_F(BursteinGroups, DumpShowsColourDueKeyAndFlexibility) {
    std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s/", TM_TEST_OUTPUT_DIR);
    SetCurrentRound(SearchRound);
    ScoreGroupAt(1).score = 2.5f;
    MustHave(1, 1);
    MustHave(2, 0);
    Players[1].pairingKey = 12.5f;
    Players[2].pairingKey = 3.0f;
    PairingStates[2].colorFlexible = 1;
    File(1, {1, 2});
    WriteBursteinScoreGroups(2, 0);
    std::ifstream in(std::string(TM_TEST_OUTPUT_DIR) + "/scgr" + std::to_string(SearchRound) + "-0.txt",
                     std::ios::binary);
    ASSERT_TRUE(in.good());
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string dashes(42, '-');
    const std::vector<int> list = Listed(1);
    std::string players;
    for (int i = 1; i <= 2; ++i)
        players += list[i] == 1 ? "    1   W     12.50   0 \r\n" : "    2     B    3.00   1 \r\n";
    EXPECT_EQ(text, "Score groups of the round " + std::to_string(SearchRound) + "\r\n\r\n" + dashes +
                        "\r\n Group 1, score = 2.5\r\n" + dashes + "\r\n   ID  dueC    EB     cd\r\n  " +
                        std::string(41, '-') + "\r\n" + players + "\r\n" + dashes + "\r\n Group 2, score = 0\r\n" +
                        dashes + "\r\n");
}

TEST_F(BursteinGroups, FailingGroupIsMergedAndTheRoundPairs) {
    RecordingMessageBox boxes;
    Field({1, 1, 0, 0});
    Forbid(3, 4);
    ASSERT_EQ(PairBursteinRound(4, SearchRound), 1);
    const auto boards = Boards();
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_NE(boards[0], (std::pair<int, int>{1, 2}));
    EXPECT_TRUE(boxes.alerts.empty());
    EXPECT_EQ(StrictColorMode, 0);
}

// A floater mark of an earlier round would keep the player from the empty
// slot for good: each round starts without them.
TEST_F(BursteinGroups, FloaterMarksOfAnEarlierRoundAreCleared) {
    RecordingMessageBox boxes;
    Field({1, 1, 1, 0});
    for (int id = 1; id <= 4; ++id)
        PairingStates[id].mayFloatUp = 1;
    Forbid(1, 4);
    Forbid(2, 4);
    ASSERT_EQ(PairBursteinRound(4, SearchRound), 1);
    EXPECT_EQ(Boards(), (std::vector<std::pair<int, int>>{{1, 2}, {3, 4}}));
    // Only the player who went down this round carries the mark.
    EXPECT_EQ(PairingStates[3].mayFloatUp, 1);
    for (int id : {1, 2, 4})
        EXPECT_EQ(PairingStates[id].mayFloatUp, 0) << id;
    EXPECT_TRUE(boxes.alerts.empty());
}

// Group 1 has nobody above to merge into: the round restarts with the
// groups merged at once, and fails when that is spent too.
TEST_F(BursteinGroups, FirstGroupThatCannotPairRestartsThenFails) {
    RecordingMessageBox boxes;
    Field({0, 0});
    Forbid(1, 2);
    EXPECT_EQ(PairBursteinRound(2, SearchRound), 0);
    ASSERT_EQ(boxes.alerts.size(), 2u);
    EXPECT_EQ(boxes.alerts[0].text, "Restart");
    EXPECT_EQ(boxes.alerts[1].text, "Group one");
    EXPECT_EQ(StrictColorMode, 0);
}

// Through the driver: the top group is paired again until its downfloater
// is the one player who can meet the group below.
TEST_F(BursteinGroups, RoundSendsDownTheFloaterWhoCanMeetTheGroupBelow) {
    RecordingMessageBox boxes;
    Field({1, 1, 1, 1, 1, 0});
    // Only player 6 is below; four of the five cannot meet him.
    for (int id = 1; id <= 4; ++id)
        Forbid(id, 6);
    ASSERT_EQ(PairBursteinRound(6, SearchRound), 1);
    const auto boards = Boards();
    ASSERT_EQ(boards.size(), 3u);
    EXPECT_TRUE(std::find(boards.begin(), boards.end(), std::pair<int, int>{5, 6}) != boards.end());
    EXPECT_TRUE(boxes.alerts.empty());
}

} // namespace
