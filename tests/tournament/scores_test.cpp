#include "tournament/scores.h"

#include "expected_scores.h"
#include "support/tournament_state.h"
#include "tournament/standing_reports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Six players over three rounds. Player 3 wins round 1 by forfeit against
// player 6, who then withdraws; rounds 2 and 3 have five players and a BYE.
//   round 1: 1-4 1-0, 5-2 draw, 3-6 forfeit win for white
//   round 2: 2-1 0-1, 4-3 draw, BYE 5          (6 withdrawn)
//   round 3: 1-3 draw, 4-5 1-0, BYE 2
class SwissScoresTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ResetStandingReports();
        for (int rating : {2400, 2250, 2210, 2080, 1990, 1900})
            AddTestPlayer("PLAYER " + std::to_string(PlayerCount + 1), rating);
        SetTestBoard(1, 1, 1, 4, WhiteWins);
        SetTestBoard(1, 2, 5, 2, Draw);
        SetTestBoard(1, 3, 3, 6, WhiteWinsForfeit);
        RebuildRoundTables(1);
        Players[6].available = 0;
        SetTestBoard(2, 1, 2, 1, BlackWins);
        SetTestBoard(2, 2, 4, 3, Draw);
        SetTestBoard(2, 3, 5, 0, WhiteWinsForfeit);
        RebuildRoundTables(2);
        SetTestBoard(3, 1, 1, 3, Draw);
        SetTestBoard(3, 2, 4, 5, WhiteWins);
        SetTestBoard(3, 3, 2, 0, WhiteWinsForfeit);
        RebuildRoundTables(3);
        SetCurrentRound(3);
    }
    void TearDown() override { ResetStandingReports(); }
};

TEST_F(SwissScoresTest, EveryValueOfAHandComputedTournament) {
    ComputeScores(3, 6);
    const ExpectedScores expected[7] = {
        {},
        // Performances count the games at the board only: the BYE of
        // players 2 and 5 and the forfeit win of player 3 leave them out.
        {2.5f, 5.5f, 2, 1, 2180.0f, 5.0f, 3.5f, 1.5f, 4.0f, 2453, 6442.0f / 3.0f},
        {1.5f, 2.0f, 1, 0, 2195.0f, 5.5f, 4.0f, 1.5f, 1.5f, 2002, 2212.5f},
        {2.0f, 3.0f, 1, 0, 2240.0f, 6.0f, 4.5f, 2.0f, 3.0f, 2240, 2326.5f},
        {1.5f, 2.0f, 1, 0, 2200.0f, 6.0f, 4.5f, 2.0f, 2.5f, 2200, 6665.0f / 3.0f},
        {1.5f, 2.5f, 1, 0, 2165.0f, 4.5f, 3.0f, 1.5f, 1.5f, 1972, 2101.0f},
        // The withdrawn player: only a forfeit loss and two rounds without
        // a board, so no game, no Buchholz value but his own 0.
        {0.0f, 0.0f, 0, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f},
    };
    for (int id = 1; id <= 6; ++id) {
        SCOPED_TRACE(id);
        ExpectScores(PlayerScores[id], expected[id]);
    }
}

TEST_F(SwissScoresTest, RecomputingGivesTheSameValuesWhateverStoodBefore) {
    ComputeScores(3, 6);
    PlayerScore first[7];
    for (int id = 1; id <= 6; ++id)
        first[id] = PlayerScores[id];
    for (int id = 1; id <= 6; ++id) {
        PlayerScore& stale = PlayerScores[id];
        stale = PlayerScore{77, 77, 77, 77, 77, 77, 77, 77, 77, 77, 77, 77};
    }
    ComputeScores(3, 6);
    for (int id = 1; id <= 6; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(std::memcmp(&first[id], &PlayerScores[id], sizeof(PlayerScore)), 0);
    }
}

TEST_F(SwissScoresTest, FewerRoundsCountOnlyThoseRounds) {
    ComputeScores(1, 6);
    // After round 1 player 3's forfeit win scores a full point but only a
    // half in the running score, and he has no game at the board.
    EXPECT_FLOAT_EQ(PlayerScores[3].score, 1.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].cumulative, 0.5f);
    EXPECT_FLOAT_EQ(PlayerScores[3].aro, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].apro, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].performance, 0.0f);
    // One value each: Buchholz total is it, cut 1 and median are 0.
    EXPECT_FLOAT_EQ(PlayerScores[3].buchholzTotal, 1.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].buchholzCut1, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].buchholzMedian, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].sonnebornBerger, 0.5f);
}

TEST_F(SwissScoresTest, HalfPointByeScoresButStaysOutOfBuchholz) {
    // Round 4: player 5 takes a half point without a game; the others draw.
    SetTestBoard(4, 1, 1, 2, Draw);
    SetTestBoard(4, 2, 3, 4, Draw);
    SetTestBoard(4, 3, 5, 0, HalfNoGame);
    RebuildRoundTables(4);
    ComputeScores(4, 5);
    const PlayerScore& p5 = PlayerScores[5];
    EXPECT_FLOAT_EQ(p5.score, 2.0f);
    EXPECT_FLOAT_EQ(p5.cumulative, 2.5f + 1.0f); // running score 1.0 stays
    // Opponents 2 and 4 with 2.0 each, his own 2.0 for the BYE of round 2.
    EXPECT_FLOAT_EQ(p5.buchholzTotal, 6.0f);
    EXPECT_FLOAT_EQ(p5.sonnebornBerger, 1.0f + 1.0f + 0.0f + 1.0f);
}

TEST_F(SwissScoresTest, AcceleratedBonusForTheUpperHalfWhileTheRoundIsBelow) {
    Settings.AcceleratedRounds = 2;
    SetCurrentRound(1);
    ComputeScores(1, 6);
    // Ids 1..3 get one win more; the cumulative does not.
    EXPECT_FLOAT_EQ(PlayerScores[1].score, 2.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].score, 2.0f);
    EXPECT_FLOAT_EQ(PlayerScores[4].score, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[1].cumulative, 1.0f);
    // The bonus is in every Buchholz that reads the score.
    EXPECT_FLOAT_EQ(PlayerScores[4].buchholzTotal, 2.0f);
    EXPECT_FLOAT_EQ(PlayerScores[1].buchholzTotal, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].buchholzTotal, 2.0f); // forfeit: own score

    SetCurrentRound(2);
    ComputeScores(2, 6);
    EXPECT_FLOAT_EQ(PlayerScores[1].score, 2.0f); // two wins, no bonus
    EXPECT_FLOAT_EQ(PlayerScores[3].score, 1.5f);
}

TEST_F(SwissScoresTest, ReportsAreWrittenInTheirOrderAfterTheValues) {
    static std::vector<std::string> calls;
    calls.clear();
    StandingReports.writeHtmlIndex = [] { calls.push_back("index"); };
    StandingReports.writePlayerCards = [](int n) {
        // The performances are stored and the rating variation is done;
        // the average performance is still to come.
        EXPECT_FLOAT_EQ(PlayerScores[1].performance, 2453.0f);
        EXPECT_FLOAT_EQ(PlayerScores[1].apro, 0.0f);
        calls.push_back("cards " + std::to_string(n));
    };
    StandingReports.writeStandings = [](int n) {
        EXPECT_GT(PlayerScores[1].apro, 0.0f);
        calls.push_back("standings " + std::to_string(n));
    };
    StandingReports.writeCrossTable = [](int n) { calls.push_back("cross " + std::to_string(n)); };
    StandingReports.writeStandingsByCategory = [](int n) {
        calls.push_back("category " + std::to_string(n));
    };
    ComputeScores(3, 5);
    EXPECT_EQ(calls, (std::vector<std::string>{"index", "cards 5", "standings 5", "cross 5", "category 6"}));
}

// Every Buchholz value equal to v over k rounds: total k v, cut 1 (k-1) v,
// median (k-2) v, and 0 for what one or two rounds cannot give.
TEST(SwissBuchholzTest, EqualValuesOverOneToFourRounds) {
    for (int rounds = 1; rounds <= 4; ++rounds) {
        SCOPED_TRACE(rounds);
        ResetTournamentState();
        ResetStandingReports();
        // Player 1 draws player 2 every round: each ends with rounds / 2.
        AddTestPlayer("A", 2000);
        AddTestPlayer("B", 2000);
        for (int round = 1; round <= rounds; ++round) {
            SetTestBoard(round, 1, round % 2 ? 1 : 2, round % 2 ? 2 : 1, Draw);
            RebuildRoundTables(round);
        }
        SetCurrentRound(rounds);
        ComputeScores(rounds, 2);
        const float v = rounds * 0.5f;
        EXPECT_FLOAT_EQ(PlayerScores[1].buchholzTotal, rounds * v);
        EXPECT_FLOAT_EQ(PlayerScores[1].buchholzCut1, (rounds - 1) * v);
        EXPECT_FLOAT_EQ(PlayerScores[1].buchholzMedian, rounds >= 2 ? (rounds - 2) * v : 0.0f);
        EXPECT_FLOAT_EQ(PlayerScores[1].sonnebornBerger, rounds * v / 2.0f);
    }
}

TEST(SwissScoresLimitsTest, CountsBeyondTheTablesAndCorruptOpponentsAreSafe) {
    ResetTournamentState();
    ResetStandingReports();
    AddTestPlayer("A", 2000);
    AddTestPlayer("B", 2000);
    // A corrupt opponent cell (an id beyond the table) reads as an empty
    // record; counts beyond the tables are limited to them.
    OpponentTable(1, 1) = 123456;
    PlayerResultTable(1, 1) = WinAtBoard;
    ComputeScores(1, 5000);
    EXPECT_FLOAT_EQ(PlayerScores[1].score, 1.0f);
    EXPECT_FLOAT_EQ(PlayerScores[1].sonnebornBerger, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[1].aro, 0.0f);
    // Rounds beyond the table's 21 count as 21: twenty rounds without an
    // opponent add half the own score each to Sonneborn-Berger.
    ComputeScores(1000, 2);
    EXPECT_FLOAT_EQ(PlayerScores[1].sonnebornBerger, 10.0f);
    ComputeScores(-3, -3);
}

// FIDE's rating differences by fractional score, written out here on their
// own so that the table and its use are checked against the source.
struct PerformanceCase {
    const char* what;
    std::vector<int> ratings; // the opponents, one game each
    std::vector<int> digits;  // result digits with player 1 as white
    int expected;
    ScorePoints points = ScorePoints{};
};

// Player 1 meets opponents 2, 3, ... in rounds 1, 2, ... as white.
int PerformanceOf(const PerformanceCase& c) {
    ResetTournamentState();
    ResetStandingReports();
    AddTestPlayer("OWNER", 2000);
    for (int rating : c.ratings)
        AddTestPlayer("OPPONENT " + std::to_string(PlayerCount), rating);
    for (std::size_t i = 0; i < c.digits.size(); ++i) {
        const int round = static_cast<int>(i) + 1;
        const int opponent = i < c.ratings.size() ? round + 1 : 0;
        SetTestBoard(round, 1, 1, opponent, c.digits[i]);
        RebuildRoundTables(round);
    }
    SetCurrentRound(static_cast<int>(c.digits.size()));
    Settings.ScoreSystem = c.points;
    return PerformanceRating(1, CurrentRound);
}

TEST(PerformanceRatingTest, HandComputedAgainstFideTable) {
    const PerformanceCase cases[] = {
        {"1/2 = 50 %: the average", {2000, 2100}, {WhiteWins, BlackWins}, 2050},
        {"2/3 = 66 %: +117", {2000, 2100, 2200}, {WhiteWins, WhiteWins, BlackWins}, 2100 + 117},
        {"1/3 = 33 %: -125", {2000, 2100, 2200}, {WhiteWins, BlackWins, BlackWins}, 2100 - 125},
        {"3.5/5 = 70 %: +149",
         {1800, 1900, 2000, 2100, 2200},
         {WhiteWins, WhiteWins, WhiteWins, Draw, BlackWins},
         2000 + 149},
        {"5/6 = 83 %: +273",
         {2000, 2000, 2000, 2000, 2000, 2000},
         {WhiteWins, WhiteWins, WhiteWins, WhiteWins, Draw, Draw},
         2000 + 273},
        {"1/10 = 10 %: -366",
         std::vector<int>(10, 2000),
         {Draw, Draw, BlackWins, BlackWins, BlackWins, BlackWins, BlackWins, BlackWins, BlackWins, BlackWins},
         2000 - 366},
        {"average cut toward zero", {2001, 2000}, {Draw, Draw}, 2000},
        {"unrated opponents count 0", {0, 2400}, {Draw, Draw}, 1200},
        // The table's ends: FIDE gives 100 % +800 and 0 % -800.
        {"100 %: +800", {2000, 2200}, {WhiteWins, WhiteWins}, 2100 + 800},
        {"0 %: -800", {2000, 2200}, {BlackWins, BlackWins}, 2100 - 800},
        {"a full score above 4000 shows 9999", {3300}, {WhiteWins}, 9999},
        {"exactly 1000 shows 0", {1800}, {BlackWins}, 0},
    };
    for (const PerformanceCase& c : cases)
        EXPECT_EQ(PerformanceOf(c), c.expected) << c.what;
}

TEST(PerformanceRatingTest, OnlyGamesAtTheBoardMakeThePercentage) {
    const PerformanceCase cases[] = {
        // A point without play beside one lost game is still 0 %, not 50 %:
        // it is neither a game nor part of the score.
        {"forfeit win", {2000, 2200}, {BlackWins, WhiteWinsForfeit}, 2000 - 800},
        {"bye", {2000}, {BlackWins, WhiteWinsForfeit}, 2000 - 800},
        {"half without play", {2000, 2200}, {BlackWins, HalfEachUnplayed}, 2000 - 800},
        {"half without a game", {2000, 2200}, {WhiteWins, HalfNoGame}, 2000 + 800},
        // Only points without play, or no round at all: no performance.
        {"only a bye", {}, {WhiteWinsForfeit}, 0},
        {"no round", {}, {}, 0},
        // The points setting does not change the percentage: a win and a
        // draw are 75 % whether a win scores 1 or 3.
        {"75 %", {2000, 2000}, {WhiteWins, Draw}, 2000 + 193},
        {"75 % at three points a win", {2000, 2000}, {WhiteWins, Draw}, 2000 + 193, ScorePoints{3.0f, 1.0f}},
    };
    for (const PerformanceCase& c : cases)
        EXPECT_EQ(PerformanceOf(c), c.expected) << c.what;
}

} // namespace
