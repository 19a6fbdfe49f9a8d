// The USCF group steps on hand-built score groups: players without an
// opponent, merges, the odd player sent down, downfloaters and their
// opponents, the colour-balance reorder, and rounds of a few players through
// the round driver.

#include "pairing/group_round_driver.h"
#include "pairing/score_groups.h"
#include "pairing/uscf_engine.h"
#include "support/recording_message_box.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/run_options.h"

#include "uscf_fixture.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

class UscfGroups : public UscfFixture {
  protected:
    static void File(int g, std::initializer_list<int> ids) {
        for (int id : ids) {
            PlayerListInsert(ScoreGroupAt(g).whiteDue, id, 1);
            PairingStates[id].currentGroup = g;
        }
    }
    static void FileFloaters(int g, std::initializer_list<int> ids) {
        for (int id : ids) {
            PlayerListInsert(ScoreGroupAt(g).floaters, id, 1);
            PairingStates[id].currentGroup = g;
        }
    }
    static std::vector<int> Sorted(std::vector<int> ids) {
        ids.erase(ids.begin());
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

TEST_F(UscfGroups, UnpairablePlayersOnlyInSmallGroups) {
    File(2, {1, 2, 3});
    Forbid(2, 1);
    Forbid(2, 3);
    std::vector<int> ids;
    EXPECT_EQ(FindUnpairablePlayers(2, ids, SearchRound), 1);
    EXPECT_EQ(ids, (std::vector<int>{0, 2}));
    // Three players in round 2 are more than the rounds: not examined.
    EXPECT_EQ(FindUnpairablePlayers(2, ids, 2), 0);
    // Everybody met everybody: all three, the last of the list first.
    Forbid(1, 3);
    const std::vector<int> list = GroupListIds(ScoreGroupAt(2).whiteDue);
    EXPECT_EQ(FindUnpairablePlayers(2, ids, SearchRound), 3);
    EXPECT_EQ(ids, (std::vector<int>{0, list[3], list[1], list[2]}));
}

TEST_F(UscfGroups, MergeTakesEverythingIntoTheNearestGroupWithPlayers) {
    File(1, {1});
    FileFloaters(1, {2});
    File(3, {3});
    FileFloaters(3, {4});
    IntQueuePush(ScoreGroupAt(3).opponents, 5);
    PairingStates[3].triedMark = 1;
    EXPECT_EQ(CountPlayersFromGroup(1, 3), 3); // floater lists not counted
    EXPECT_EQ(CountPlayersFromGroup(4, 3), 0);
    EXPECT_EQ(MergeUscfScoreGroups(3), 1);
    EXPECT_EQ(Sorted(GroupListIds(ScoreGroupAt(1).whiteDue)), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ScoreGroupSize(1), 5);
    EXPECT_EQ(ScoreGroupSize(3), 0);
    for (int id = 1; id <= 5; ++id)
        EXPECT_EQ(PairingStates[id].currentGroup, 1) << id;
    EXPECT_EQ(PairingStates[3].triedMark, 0);

    // Nobody above: nothing moves.
    ClearScoreGroups(0);
    File(2, {6, 7});
    EXPECT_EQ(MergeUscfScoreGroups(2), 1);
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(2).whiteDue), 2);
}

TEST_F(UscfGroups, OddPlayerGoesDownWithAnOpponentThere) {
    File(2, {1, 2, 3});
    File(3, {4});
    const std::vector<int> list = GroupListIds(ScoreGroupAt(2).whiteDue);
    // The last of the list would go, but he has met the only player below.
    Forbid(list[3], 4);
    EXPECT_EQ(SendDownOddPlayer(2, SearchRound), 3);
    EXPECT_EQ(GroupListIds(ScoreGroupAt(3).floaters), (std::vector<int>{0, list[2]}));
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(2).whiteDue), 2);
    EXPECT_EQ(PairingStates[list[2]].currentGroup, 3);

    // An unrated player starts the walk's order, so the one before him in
    // the list is looked at first.
    ClearScoreGroups(0);
    Players[10].seedingKey = 0;
    File(2, {10, 11, 12});
    File(4, {13});
    const std::vector<int> rated = GroupListIds(ScoreGroupAt(2).whiteDue);
    const int at = static_cast<int>(std::find(rated.begin(), rated.end(), 10) - rated.begin());
    const int expected = rated[at == 1 ? 3 : at - 1];
    EXPECT_EQ(SendDownOddPlayer(2, SearchRound), 3); // always the group below
    EXPECT_EQ(GroupListIds(ScoreGroupAt(3).floaters), (std::vector<int>{0, expected}));
}

TEST_F(UscfGroups, DownfloaterGetsAnOpponentFromBelow) {
    FileFloaters(2, {5});
    File(2, {6});
    File(3, {7, 8});
    Forbid(5, 6);
    std::vector<SearchPair> pairs;
    int count = -1;
    ASSERT_EQ(PairUscfScoreGroup(2, SearchRound, 3, pairs, count), 1);
    // 5 meets a player of group 3; 6, now odd, goes down to group 3.
    ASSERT_EQ(count, 1);
    EXPECT_EQ(pairs[1].first, 5);
    EXPECT_TRUE(pairs[1].second == 7 || pairs[1].second == 8);
    EXPECT_EQ(PairingStates[pairs[1].second].currentGroup, 2);
    EXPECT_EQ(GroupListIds(ScoreGroupAt(3).floaters), (std::vector<int>{0, 6}));
}

TEST_F(UscfGroups, DownfloaterWithoutAnyOpponentFailsTheGroup) {
    FileFloaters(2, {5});
    File(2, {6});
    File(3, {7});
    Forbid(5, 6);
    Forbid(5, 7);
    std::vector<SearchPair> pairs;
    int count = -1;
    EXPECT_EQ(PairUscfScoreGroup(2, SearchRound, 3, pairs, count), 0);
    // More downfloaters than players left below: no pair against nobody.
    ClearScoreGroups(0);
    FileFloaters(3, {5, 6});
    File(3, {7});
    EXPECT_EQ(PairUscfScoreGroup(3, SearchRound, 3, pairs, count), 0);
}

TEST_F(UscfGroups, LeftoverOfTheLastGroupFailsIt) {
    File(1, {1, 2});
    Forbid(1, 2);
    std::vector<SearchPair> pairs;
    int count = -1;
    EXPECT_EQ(PairUscfScoreGroup(1, SearchRound, 1, pairs, count), 0);
    // An odd last group: the odd player has nowhere to go either.
    ClearScoreGroups(0);
    File(1, {1, 3, 4});
    EXPECT_EQ(PairUscfScoreGroup(1, SearchRound, 1, pairs, count), 0);
}

TEST_F(UscfGroups, ColorReorderLosesNobody) {
    MustHave(1, 1);
    MustHave(2, 1);
    MustHave(3, 1);
    MustHave(4, 0);
    PairingStates[5].dueColor = -1;
    PairingStates[5].colorFlexible = 0;
    const std::vector<int> players{0, 1, 2, 3, 4, 5};
    const std::vector<int> out = ReorderForColorBalance(1, 5, players);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(Sorted(out), (std::vector<int>{1, 2, 3, 4, 5}));
    // The black-seeker sits in the top half, facing white-seekers.
    EXPECT_TRUE(out[1] == 4 || out[2] == 4);
    // Each top player outranks his bottom partner.
    for (int i = 1; i <= 2; ++i)
        EXPECT_GE(Players[out[i]].seedingKey, Players[out[2 + i]].seedingKey) << i;
}

TEST_F(UscfGroups, FailingGroupIsMergedAndThePairsAbovePairedAgain) {
    RecordingMessageBox boxes;
    Field({1, 1, 0, 0});
    Forbid(3, 4);
    ASSERT_EQ(PairUscfRound(4, SearchRound), 1);
    const auto boards = Boards();
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_NE(boards[0], (std::pair<int, int>{1, 2}));
    EXPECT_NE(boards[1], (std::pair<int, int>{3, 4}));
    EXPECT_TRUE(boxes.alerts.empty());
}

// Group 1 has nobody above to merge into: the round restarts with the
// groups merged at once, and fails when that is spent too.
TEST_F(UscfGroups, FirstGroupThatCannotPairRestartsThenFails) {
    RecordingMessageBox boxes;
    Field({0, 0});
    Forbid(1, 2);
    EXPECT_EQ(PairUscfRound(2, SearchRound), 0);
    ASSERT_EQ(boxes.alerts.size(), 2u);
    EXPECT_EQ(boxes.alerts[0].text, "Restart");
    EXPECT_EQ(boxes.alerts[1].text, "Group one");
    EXPECT_EQ(GameTable(0, SearchRound), 0);
}

TEST_F(UscfGroups, SpentBudgetRestartsOnceWithEveryGroupMerged) {
    RecordingMessageBox boxes;
    // Player 1 leads alone, goes down as the odd player and has met
    // everybody below: group 2 fails with nobody above to merge into until
    // the budget is spent; merged into one group he still has no opponent.
    Field({2, 1, 1, 1});
    Forbid(1, 2);
    Forbid(1, 3);
    Forbid(1, 4);
    EXPECT_EQ(PairUscfRound(4, SearchRound), 0);
    ASSERT_EQ(boxes.alerts.size(), 2u);
    EXPECT_EQ(boxes.alerts[0].text, "Restart");
    EXPECT_EQ(boxes.alerts[1].text, "Group one");
    EXPECT_EQ(GameTable(0, SearchRound), 0);
}

TEST_F(UscfGroups, TraceAndDumpOfARound) {
    VerboseOption = 1;
    std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s/", TM_TEST_OUTPUT_DIR);
    Field({1, 1, 1, 0, 0});
    ASSERT_EQ(PairUscfRound(5, SearchRound), 1);
    EXPECT_EQ(GameTable(0, SearchRound), 3); // two boards and the BYE's
    auto read = [](const std::string& name) {
        std::string text;
        if (std::FILE* file = std::fopen((std::string(TM_TEST_OUTPUT_DIR) + "/" + name).c_str(), "rb")) {
            for (int ch; (ch = std::fgetc(file)) != EOF;)
                text.push_back(static_cast<char>(ch));
            std::fclose(file);
        }
        return text;
    };
    const std::string trace = read("verbos" + std::to_string(SearchRound) + ".txt");
    EXPECT_EQ(trace.rfind("***** Pairing round " + std::to_string(SearchRound) + " \r\n\r\n", 0), 0u) << trace;
    EXPECT_NE(trace.find(" Pairing group 1\r\n"), std::string::npos);
    const std::string dump = read("scgr" + std::to_string(SearchRound) + "-0.txt");
    EXPECT_EQ(dump.rfind("Score groups of the round " + std::to_string(SearchRound) + "\r\n\r\n" +
                             std::string(42, '-') + "\r\n Group 1, score = 1\r\n",
                         0),
              0u)
        << dump;
    EXPECT_NE(dump.find("   ID  dueC   Rat  cd  \r\n"), std::string::npos);
}

} // namespace
