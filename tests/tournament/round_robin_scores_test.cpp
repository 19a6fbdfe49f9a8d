#include "tournament/round_robin_scores.h"

#include "expected_scores.h"
#include "support/tournament_state.h"
#include "tournament/round_robin.h"
#include "tournament/scores.h"
#include "tournament/standing_reports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Five players, three rounds of the schedule, with results:
//   round 1: 2-5 1-0, 3-4 draw, BYE 1
//   round 2: 5-3 0-1, 1-2 won by black without play, BYE 4
//   round 3: 3-1 draw, 4-5 1-0, BYE 2
class RoundRobinScoresTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ResetStandingReports();
        Settings.PairingSystem = SingleRoundRobinSystem;
        for (int rating : {2300, 2200, 2100, 2000, 1900})
            AddTestPlayer("PLAYER " + std::to_string(PlayerCount + 1), rating);
        ASSERT_EQ(BuildRoundRobinPairings(5), 5);
        SetResult(1, 1, WhiteWins);
        SetResult(1, 2, Draw);
        SetResult(2, 1, BlackWins);
        SetResult(2, 2, BlackWinsForfeit);
        SetResult(3, 1, Draw);
        SetResult(3, 2, WhiteWins);
        for (int round = 1; round <= 3; ++round)
            RebuildRoundTables(round);
        SetCurrentRound(3);
    }
    void TearDown() override { ResetStandingReports(); }
    static void SetResult(int round, int board, int digit) {
        int white, black, old;
        DecodeGameCode(GameTable(board, round), white, black, old);
        GameTable(board, round) = EncodeGameCode(white, black, digit);
    }
};

TEST_F(RoundRobinScoresTest, EveryValueOfAHandComputedRoundRobin) {
    ComputeRoundRobinTieBreaks(3, 5);
    const ExpectedScores expected[6] = {
        {},
        {0.5f, 0.5f, 0, 0, 2100.0f, 3.0f, 2.5f, 0.5f, 1.5f, 2100, 2183.0f},
        // One game at the board, won, and a forfeit win that is no game:
        // 100 per cent, his average + 800.
        {2.0f, 4.0f, 2, 0, 1900.0f, 4.0f, 4.0f, 2.0f, 2.0f, 2700, 1300.0f},
        {2.0f, 4.0f, 1, 1, 6200.0f / 3.0f, 2.0f, 2.0f, 0.5f, 1.0f, 2183, 5593.0f / 3.0f},
        {1.5f, 2.5f, 1, 0, 2000.0f, 3.5f, 3.5f, 1.5f, 1.75f, 2193, 1741.5f},
        // Three losses: 0 per cent, his average - 800.
        {0.0f, 0.0f, 0, 0, 2100.0f, 5.5f, 4.0f, 2.0f, 0.0f, 1300, 7076.0f / 3.0f},
    };
    for (int id = 1; id <= 5; ++id) {
        SCOPED_TRACE(id);
        ExpectScores(PlayerScores[id], expected[id]);
    }
}

TEST_F(RoundRobinScoresTest, NoValueIsLeftFromEarlierData) {
    for (int id = 0; id <= 5; ++id)
        PlayerScores[id] = PlayerScore{9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    // The Swiss tables hold another tournament's rounds; none of it counts.
    OpponentTable(SwissInstance, 1, 1) = 2;
    PlayerResultTable(SwissInstance, 1, 1) = WinAtBoard;
    ComputeRoundRobinTieBreaks(3, 5);
    EXPECT_FLOAT_EQ(PlayerScores[5].cumulative, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[5].mostWins, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[5].mostBlacks, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[5].ratingVariation, 0.0f); // K 0
    EXPECT_FLOAT_EQ(PlayerScores[1].score, 0.5f);
}

TEST_F(RoundRobinScoresTest, WinsAgainstEveryOpponentGiveTheirScoresAsSonnebornBerger) {
    // Player 3 wins his three games at the board; his opponents 4, 5 and
    // 1 end with 1.0, 0.0 and 0.0 points.
    SetResult(1, 2, WhiteWins);
    SetResult(3, 1, WhiteWins);
    for (int round = 1; round <= 3; ++round)
        RebuildRoundTables(round);
    ComputeRoundRobinTieBreaks(3, 5);
    EXPECT_FLOAT_EQ(PlayerScores[3].score, 3.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].sonnebornBerger,
                    PlayerScores[4].score + PlayerScores[5].score + PlayerScores[1].score);
    EXPECT_FLOAT_EQ(PlayerScores[3].sonnebornBerger, 1.0f);
}

TEST_F(RoundRobinScoresTest, OneRoundGivesNoCutOrMedian) {
    ComputeRoundRobinTieBreaks(1, 5);
    for (int id = 1; id <= 5; ++id) {
        SCOPED_TRACE(id);
        EXPECT_FLOAT_EQ(PlayerScores[id].buchholzCut1, 0.0f);
        EXPECT_FLOAT_EQ(PlayerScores[id].buchholzMedian, 0.0f);
    }
    // The BYE of round 1 counts player 1's own (zero) score.
    EXPECT_FLOAT_EQ(PlayerScores[1].buchholzTotal, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[5].buchholzTotal, 1.0f);
}

TEST_F(RoundRobinScoresTest, WinDrawForfeitWinAndHalfWithoutPlayScoreThree) {
    // Player 1 over a hand-made four rounds: a win, a draw, a forfeit win and
    // a half point without play.
    const int codes[] = {WinAtBoard, DrawAtBoard, WinUnplayed, HalfUnplayed};
    for (int round = 1; round <= 4; ++round) {
        OpponentTable(1, round) = round + 1;
        PlayerResultTable(1, round) = static_cast<std::uint16_t>(codes[round - 1]);
    }
    ComputeRoundRobinTieBreaks(4, 1);
    EXPECT_FLOAT_EQ(PlayerScores[1].score, 3.0f);
    EXPECT_FLOAT_EQ(PlayerScores[1].mostWins, 2.0f);
}

TEST_F(RoundRobinScoresTest, ReportsFollowInTheirOrderWithThePlayerCount) {
    static std::vector<std::string> calls;
    calls.clear();
    StandingReports.writeHtmlIndex = [] { calls.push_back("index"); };
    StandingReports.writePlayerCards = [](int n) { calls.push_back("cards " + std::to_string(n)); };
    StandingReports.writeStandings = [](int n) { calls.push_back("standings " + std::to_string(n)); };
    StandingReports.writeCrossTable = [](int n) { calls.push_back("cross " + std::to_string(n)); };
    StandingReports.writeStandingsByCategory = [](int n) {
        calls.push_back("category " + std::to_string(n));
    };
    ComputeRoundRobinTieBreaks(3, 4);
    EXPECT_EQ(calls, (std::vector<std::string>{"index", "cards 4", "standings 4", "cross 4", "category 4"}));
    ComputeRoundRobinTieBreaks(100, 100); // limited to the tables
}

} // namespace
