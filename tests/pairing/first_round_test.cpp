// Round 1: halves, the Burstein fold, accelerated groups, the BYE and the
// colour of board 1, through PairNextRound as the pairing command calls it.

#include "pairing/round_check.h"
#include "pairing/round_dispatcher.h"
#include "support/file_bytes.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/tournament_state.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class FirstRound : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ClearMessageTable();
        SetMessageText(MsgTopSeedWhiteQuestion, "White on board 1?");
    }
    void TearDown() override { ResetTournamentState(); }

    void Start(int system, int players, int accelerated = 0) {
        std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s/", TM_TEST_OUTPUT_DIR);
        Settings.PairingSystem = system;
        Settings.AcceleratedRounds = accelerated;
        for (int i = 1; i <= players; ++i)
            AddTestPlayer("P" + std::to_string(1000 + i), 2600 - i);
        ClosedRegistration = 1;
    }

    // (white, black) of every board of round 1.
    std::vector<std::pair<int, int>> Boards() {
        std::vector<std::pair<int, int>> boards;
        for (int b = 1; b <= GameTable(0, 1); ++b) {
            int w, k, d;
            DecodeGameCode(GameTable(b, 1), w, k, d);
            boards.push_back({w, k});
        }
        return boards;
    }

    RecordingMessageBox boxes;
};

using BoardList = std::vector<std::pair<int, int>>;

TEST_F(FirstRound, TenSortedPlayersAnsweredYesAlternateColoursFromBoardOne) {
    Start(FideDubovSystem, 10);
    boxes.answers = {1}; // the MsgYes button
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(Boards(), (BoardList{{1, 6}, {7, 2}, {3, 8}, {9, 4}, {5, 10}}));
    ASSERT_EQ(boxes.questions.size(), 1u);
    EXPECT_EQ(boxes.questions[0].text, "White on board 1?");
    EXPECT_EQ(CurrentRound, 1);
    EXPECT_EQ(ShownRound, 1);
}

TEST_F(FirstRound, AnsweredNoTheTopPlayerOfBoardOneHasBlack) {
    Start(SwissQuonSystem, 10);
    boxes.answers = {0};
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(Boards(), (BoardList{{6, 1}, {2, 7}, {8, 3}, {4, 9}, {10, 5}}));
}

TEST_F(FirstRound, PairingNumbersDrawnOrAsEnteredAskNothing) {
    Start(FideDubovSystem, 10);
    RandomSort = 2;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_TRUE(boxes.questions.empty());
    EXPECT_EQ(Boards()[0], std::make_pair(1, 6));
}

TEST_F(FirstRound, BursteinFoldsTheBottomHalf) {
    Start(FideBursteinSystem, 10);
    RandomSort = 1;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(Boards(), (BoardList{{1, 10}, {9, 2}, {3, 8}, {7, 4}, {5, 6}}));
}

TEST_F(FirstRound, OddFieldGivesTheLastPlayerTheByeOnTheLastBoard) {
    Start(FideDubovSystem, 11);
    RandomSort = 1;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    ASSERT_EQ(GameTable(0, 1), 6);
    EXPECT_EQ(GameTable(6, 1), EncodeGameCode(11, 0, WhiteWinsForfeit));
    EXPECT_EQ(Boards()[4], std::make_pair(5, 10));
}

TEST_F(FirstRound, UscfByeGoesToTheLowestRatedAndTiesToTheHigherNumber) {
    Start(UscfSystem, 11);
    RandomSort = 1;
    Players[9].ratingUsed = Players[10].ratingUsed = 1000;
    Players[11].ratingUsed = 0; // unrated counts as 10000
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(GameTable(6, 1), EncodeGameCode(10, 0, WhiteWinsForfeit));
    // Player 11 moved into place 10: the bottom of board 5.
    EXPECT_EQ(Boards()[4], std::make_pair(5, 11));
}

TEST_F(FirstRound, UscfWithEverybodyUnratedGivesTheByeToTheLastPlayer) {
    Start(UscfSystem, 7);
    RandomSort = 1;
    for (int id = 1; id <= 7; ++id)
        Players[id].ratingUsed = 0;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(GameTable(4, 1), EncodeGameCode(7, 0, WhiteWinsForfeit));
}

TEST_F(FirstRound, AcceleratedRoundsSplitTheFieldIntoTwoGroups) {
    Start(FideDubovSystem, 12, 2);
    RandomSort = 1;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(Boards(), (BoardList{{1, 4}, {5, 2}, {3, 6}, {10, 7}, {8, 11}, {12, 9}}));

    ResetTournamentState();
    Start(FideDubovSystem, 10, 1);
    RandomSort = 1;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(Boards(), (BoardList{{1, 3}, {4, 2}, {5, 8}, {9, 6}, {7, 10}}));

    ResetTournamentState();
    Start(FideBursteinSystem, 12, 1);
    RandomSort = 1;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(Boards(), (BoardList{{1, 6}, {5, 2}, {3, 4}, {12, 7}, {8, 11}, {10, 9}}));
}

TEST_F(FirstRound, UnavailablePlayersGetNoBoardAndAreSkippedInTheNumbering) {
    Start(FideDubovSystem, 7);
    RandomSort = 1;
    Players[3].available = 0;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(Boards(), (BoardList{{1, 5}, {6, 2}, {4, 7}}));
}

TEST_F(FirstRound, ResetsScoresAndColourPreferences) {
    Start(FideDubovSystem, 6);
    PlayerScores[2].score = 3;
    PlayerScores[2].aro = 1800;
    PairingStates[2].colorFlexible = 0;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(PlayerScores[2].score, 0.0f);
    EXPECT_EQ(PlayerScores[2].aro, 0.0f);
    EXPECT_EQ(PairingStates[2].colorFlexible, 1);
}

TEST_F(FirstRound, NothingIsPairedWhileTheRegistrationIsOpen) {
    Start(FideDubovSystem, 6);
    ClosedRegistration = 0;
    EXPECT_EQ(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_EQ(GameTable(0, 1), 0);
}

TEST_F(FirstRound, WritesThePairingLists) {
    Start(FideDubovSystem, 6);
    std::remove((std::string(Settings.DataFolder) + "pairs1.txt").c_str());
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_FALSE(ReadFileBytes(std::string(Settings.DataFolder) + "pairs1.txt").empty());
}

// Every Swiss system, with and without acceleration, small and full fields:
// the round passes the check and top meets bottom half (or the groups' halves).
TEST_F(FirstRound, FieldsOfEverySizeInEverySystemPassTheCheck) {
    for (int system : {FideDubovSystem, SwissQuonSystem, UscfSystem, FideBursteinSystem})
        for (int players : {6, 7, 100, 999})
            for (int accelerated : {0, 2}) {
                SCOPED_TRACE(testing::Message() << "system " << system << ", " << players << " players, accelerated "
                                                << accelerated);
                ResetTournamentState();
                Start(system, players, accelerated);
                RandomSort = 1;
                ASSERT_NE(PairNextRound(PlayerCount), 0);
                const RoundCheck check = CheckPairedRound(1, PlayerCount);
                EXPECT_TRUE(check.ok) << check.problem;
                const int even = players / 2 * 2;
                const int h = even / 2;
                for (int b = 1; b <= h; ++b) {
                    int w, k, d;
                    DecodeGameCode(GameTable(b, 1), w, k, d);
                    const int top = std::min(w, k), bottom = std::max(w, k);
                    if (accelerated == 0) {
                        EXPECT_LE(top, h);
                        EXPECT_GT(bottom, h);
                    } else {
                        const int q = h / 2;
                        EXPECT_EQ(top <= 2 * q, bottom <= 2 * q) << "board " << b << " mixes the two groups";
                    }
                }
            }
}

} // namespace
