#include "tournament/pairing_predicates.h"

#include "support/recording_message_box.h"
#include "support/tournament_state.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class PairingPredicatesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        for (int i = 1; i <= 8; ++i) {
            AddTestPlayer("PLAYER " + std::string(1, static_cast<char>('A' + i - 1)), 2000 - 10 * i);
            PairingStates[i].dueColor = i % 2; // odd ids due white, even due black
            PairingStates[i].colorFlexible = 1;
            PairingStates[i].byeEligibility = 1;
        }
    }
    // Records a game at the board between white and black in the round.
    void Met(int white, int black, int round) {
        OpponentTable(white, round) = black;
        OpponentTable(black, round) = white;
    }
    RecordingMessageBox boxes;
};

TEST_F(PairingPredicatesTest, APlayerNeverMeetsHimself) {
    EXPECT_EQ(CanPlayersMeet(5, 5, 3), 0);
    EXPECT_EQ(CanPlayersMeet(5, 6, 3), 1);
}

TEST_F(PairingPredicatesTest, NoRematchOnceTheRoundIsPast) {
    Met(1, 2, 2);
    EXPECT_EQ(CanPlayersMeet(1, 2, 5), 0);
    EXPECT_EQ(CanPlayersMeet(2, 1, 5), 0);
    EXPECT_EQ(CanPlayersMeet(1, 2, 3), 0);
    // Round 2 itself: the meeting of round 2 is not yet seen.
    EXPECT_EQ(CanPlayersMeet(1, 2, 2), 1);
}

TEST_F(PairingPredicatesTest, EmptySlotMeetsAnybodyOutsideBurstein) {
    PairingStates[5].mayFloatUp = 1;
    EXPECT_EQ(CanPlayersMeet(5, EmptySlot, 3), 1);
    EXPECT_EQ(CanPlayersMeet(EmptySlot, 5, 3), 1);
    Settings.PairingSystem = FideBursteinSystem;
    EXPECT_EQ(CanPlayersMeet(5, EmptySlot, 3), 0);
    EXPECT_EQ(CanPlayersMeet(EmptySlot, 5, 3), 0);
    PairingStates[5].mayFloatUp = 0;
    EXPECT_EQ(CanPlayersMeet(EmptySlot, 5, 3), 1);
    PairingStates[5].triedMark = 1;
    EXPECT_EQ(CanPlayersMeet(5, EmptySlot, 3), 0);
    EXPECT_EQ(CanPlayersMeet(EmptySlot, EmptySlot, 3), 1);
}

TEST_F(PairingPredicatesTest, ByeGoesOnlyToAnEligiblePlayer) {
    EXPECT_EQ(CanPlayersMeet(0, 3, 4), 1);
    EXPECT_EQ(CanPlayersMeet(3, 0, 4), 1);
    // Not eligible (had a win without play): the BYE is like any id. With
    // the BYE first, the player's own row is searched for 0, which every
    // round without an opponent holds.
    PairingStates[3].byeEligibility = 0;
    Met(3, 4, 1);
    Met(3, 6, 2);
    EXPECT_EQ(CanPlayersMeet(0, 3, 3), 1);
    OpponentTable(3, 2) = 0;
    EXPECT_EQ(CanPlayersMeet(0, 3, 3), 0);
    // With the BYE second, the BYE's own row is searched for the player.
    EXPECT_EQ(CanPlayersMeet(3, 0, 3), 1);
    OpponentTable(0, 1) = 3;
    EXPECT_EQ(CanPlayersMeet(3, 0, 3), 0);
    PairingStates[3].byeEligibility = 2; // half point without play: not 1 either
    EXPECT_EQ(CanPlayersMeet(3, 0, 3), 0);
}

TEST_F(PairingPredicatesTest, ColourDuesMustFit) {
    // 1 and 3 are both due white.
    EXPECT_EQ(CanPlayersMeet(1, 3, 2), 1); // both flexible
    PairingStates[1].colorFlexible = 0;
    EXPECT_EQ(CanPlayersMeet(1, 3, 2), 1); // one flexible is enough
    PairingStates[3].colorFlexible = 0;
    EXPECT_EQ(CanPlayersMeet(1, 3, 2), 0);
    EXPECT_EQ(CanPlayersMeet(1, 2, 2), 1); // different dues
    StrictColorMode = 1;
    PairingStates[1].colorFlexible = PairingStates[3].colorFlexible = 1;
    EXPECT_EQ(CanPlayersMeet(1, 3, 2), 0);
    EXPECT_EQ(CanPlayersMeet(1, 2, 2), 1);
    StrictColorMode = 0;
}

TEST_F(PairingPredicatesTest, IdsOutsideTheTableNeverMeet) {
    EXPECT_EQ(CanPlayersMeet(1000, 1, 2), 0);
    EXPECT_EQ(CanPlayersMeet(1, -2, 2), 0);
    EXPECT_EQ(CanPlayersMeet(1, 2, 1000), 1); // a round beyond the table reads what exists
}

TEST_F(PairingPredicatesTest, HasPossibleOpponentSkipsPastOpponentsAndColourClashes) {
    int candidates[4] = {0, 2, 3, 5};
    Met(1, 2, 1);
    PairingStates[1].colorFlexible = 0;
    PairingStates[3].colorFlexible = 0;
    PairingStates[5].colorFlexible = 0;
    EXPECT_EQ(HasPossibleOpponent(1, candidates, 3, 2), 0);
    PairingStates[5].colorFlexible = 1;
    EXPECT_EQ(HasPossibleOpponent(1, candidates, 3, 2), 1);
    EXPECT_EQ(HasPossibleOpponent(1, candidates, 0, 2), 0);
    EXPECT_EQ(HasPossibleOpponent(1, candidates, 1, 1), 1); // round 1: nobody met yet
}

TEST_F(PairingPredicatesTest, BoardsAreOrderedByTopScoreSumAndSeeding) {
    const float scores[9] = {0, 1.0f, 1.0f, 2.0f, 1.5f, 2.0f, 0.5f, 1.0f, 0.0f};
    for (int i = 1; i <= 8; ++i)
        PlayerScores[i].score = scores[i];
    SetTestBoard(2, 1, 1, 2, NotPlayed); // top 1.0 sum 2.0
    SetTestBoard(2, 2, 3, 4, NotPlayed); // top 2.0 sum 3.5
    SetTestBoard(2, 3, 5, 6, NotPlayed); // top 2.0 sum 2.5
    SetTestBoard(2, 4, 7, 8, NotPlayed); // top 1.0 sum 1.0
    SortRoundBoards(2);
    const int expected[5][2] = {{}, {3, 4}, {5, 6}, {1, 2}, {7, 8}};
    for (int board = 1; board <= 4; ++board) {
        int w, b, d;
        DecodeGameCode(GameTable(board, 2), w, b, d);
        EXPECT_EQ(w, expected[board][0]) << board;
        EXPECT_EQ(b, expected[board][1]) << board;
    }
    // Equal top scores and sums: the higher seeding key goes first.
    Players[7].seedingKey = 2500;
    PlayerScores[7].score = 1.0f;
    PlayerScores[8].score = 1.0f;
    EXPECT_EQ(CompareBoards(3, 4, 2), -1);
    EXPECT_EQ(CompareBoards(4, 3, 2), 1);
}

TEST_F(PairingPredicatesTest, ByeBoardsStayInPlace) {
    PlayerScores[5].score = 3.0f;
    PlayerScores[6].score = 3.0f;
    SetTestBoard(3, 1, 1, 2, NotPlayed);
    SetTestBoard(3, 2, 7, 0, WhiteWinsForfeit);
    SetTestBoard(3, 3, 5, 6, NotPlayed);
    EXPECT_EQ(CompareBoards(2, 3, 3), 0);
    SortRoundBoards(3);
    EXPECT_EQ(GameTable(2, 3), EncodeGameCode(7, 0, WhiteWinsForfeit));
    EXPECT_EQ(GameTable(3, 3), EncodeGameCode(5, 6, NotPlayed)); // cannot pass the BYE
}

TEST_F(PairingPredicatesTest, CandidateOrders) {
    // Players 1..6: ratings 1990, 1980, ... 1940; 2 and 5 may float up.
    PairingStates[2].mayFloatUp = 1;
    PairingStates[5].mayFloatUp = 1;
    PairingStates[6].dueColor = -1;
    std::vector<int> ids = {0, 1, 2, 3, 4, 5, 6};
    SortCandidates(CandidatesByRatingAscending, 6, ids.data());
    EXPECT_EQ(ids, (std::vector<int>{0, 5, 2, 6, 4, 3, 1}));

    ids = {0, 1, 2, 3, 4, 5, 6};
    SortCandidates(CandidatesWhiteDueFirst, 6, ids.data());
    // Floaters first (5 white, 2 black), then white due, black due, none.
    EXPECT_EQ(ids, (std::vector<int>{0, 5, 2, 1, 3, 4, 6}));

    ids = {0, 1, 2, 3, 4, 5, 6};
    SortCandidates(CandidatesBlackDueFirst, 6, ids.data());
    EXPECT_EQ(ids, (std::vector<int>{0, 2, 5, 6, 4, 1, 3}));
}

TEST_F(PairingPredicatesTest, CandidatesEqualInEveryKeyAreNotSwapped) {
    Players[2] = Players[1];
    PairingStates[2] = PairingStates[1];
    std::vector<int> ids = {0, 2, 1};
    SortCandidates(CandidatesByRatingAscending, 2, ids.data());
    EXPECT_EQ(ids, (std::vector<int>{0, 2, 1}));
    // Pairing key descending decides equal ratings, then the name.
    Players[2].pairingKey = 5.0f;
    ids = {0, 1, 2};
    SortCandidates(CandidatesByRatingAscending, 2, ids.data());
    EXPECT_EQ(ids, (std::vector<int>{0, 2, 1}));
}

} // namespace
