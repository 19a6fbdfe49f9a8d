#include "tournament/rating.h"

#include "support/tournament_state.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int Hundredths(float value) {
    return static_cast<int>(std::lround(value * 100.0f));
}

TEST(ExpectedScoreTableTest, EachHundredthStartsAtItsBreakPoint) {
    // The first difference of 0.51 .. 1.00.
    const int steps[] = {4,   11,  18,  26,  33,  40,  47,  54,  62,  69,  77,  84,  92,  99,  107, 114, 122,
                         130, 138, 146, 154, 163, 171, 180, 189, 198, 207, 216, 226, 236, 246, 257, 268, 279,
                         291, 303, 316, 329, 345, 358, 375, 392, 412, 433, 457, 485, 518, 560, 620, 736};
    EXPECT_EQ(Hundredths(ExpectedScoreTable[0]), 50);
    EXPECT_EQ(Hundredths(ExpectedScoreTable[3]), 50);
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(steps[i]);
        EXPECT_EQ(Hundredths(ExpectedScoreTable[steps[i]]), 51 + i);
        EXPECT_EQ(Hundredths(ExpectedScoreTable[steps[i] - 1]), 50 + i);
    }
    EXPECT_FLOAT_EQ(ExpectedScoreTable[350], 0.89f);
    EXPECT_FLOAT_EQ(ExpectedScoreTable[736], 1.0f);
}

TEST(PerformanceTableTest, SymmetricAroundFiftyWithItsEnds) {
    const int upper[] = {0, 7, 14, 21, 29, 36, 43, 50, 57, 65, 72};
    for (int p = 50; p <= 60; ++p)
        EXPECT_EQ(PerformanceTable[p], upper[p - 50]) << p;
    for (int p = 1; p <= 99; ++p)
        EXPECT_EQ(PerformanceTable[100 - p], -PerformanceTable[p]) << p;
    for (int p = 51; p <= 99; ++p)
        EXPECT_GT(PerformanceTable[p], PerformanceTable[p - 1]) << p;
    EXPECT_EQ(PerformanceTable[99], 677);
    EXPECT_EQ(PerformanceTable[1], -677);
    EXPECT_EQ(PerformanceTable[0], 0);
    EXPECT_EQ(PerformanceTable[100], 10000);
    EXPECT_EQ(PerformanceTable[101], 0);
}

TEST(ExpectedScoreTest, CapAndSides) {
    EXPECT_FLOAT_EQ(ExpectedScore(2400, 2000), 0.89f);
    EXPECT_FLOAT_EQ(ExpectedScore(2000, 2400), 1.0f - 0.89f);
    EXPECT_FLOAT_EQ(ExpectedScore(2000, 2000), 0.5f);
    EXPECT_FLOAT_EQ(ExpectedScore(2100, 2000), 0.64f);
    EXPECT_FLOAT_EQ(ExpectedScore(2099, 2000), 0.64f);
    EXPECT_FLOAT_EQ(ExpectedScore(2098, 2000), 0.63f);
    // Differences above the cap read entry 350, never the entries past it.
    EXPECT_FLOAT_EQ(ExpectedScore(3000, 0), 0.89f);
    EXPECT_FLOAT_EQ(ExpectedScore(2345, 2000), 0.89f);
    EXPECT_FLOAT_EQ(ExpectedScore(2344, 2000), 0.88f);
}

TEST(RoundExpectedTenthsTest, SecondDecimalDecides) {
    EXPECT_EQ(RoundExpectedTenths(3.45f), 34);
    EXPECT_EQ(RoundExpectedTenths(3.46f), 35);
    EXPECT_EQ(RoundExpectedTenths(3.44f), 34);
    EXPECT_EQ(RoundExpectedTenths(3.49f), 35);
    EXPECT_EQ(RoundExpectedTenths(0.64f), 6);
    EXPECT_EQ(RoundExpectedTenths(0.0f), 0);
    EXPECT_EQ(RoundExpectedTenths(9.96f), 100);
    // A sum of floats a hair below its hundredth still rounds as the hundredth.
    EXPECT_EQ(RoundExpectedTenths(0.64f + 0.64f + 0.64f + 0.64f), 26);
    EXPECT_EQ(RoundExpectedTenths(0.64f + 0.64f + 0.64f + 0.63f), 25);
    EXPECT_EQ(RoundExpectedTenths(std::nanf("")), 0);
}

TEST(RatingChangeTest, HalvesGoToEven) {
    EXPECT_EQ(RatingChange(15, 10, 6), 6);
    EXPECT_EQ(RatingChange(25, 10, 7), 8);  // 7.5
    EXPECT_EQ(RatingChange(15, 10, 7), 4);  // 4.5
    EXPECT_EQ(RatingChange(15, 0, 7), -10); // -10.5
    EXPECT_EQ(RatingChange(25, 0, 3), -8);  // -7.5
    EXPECT_EQ(RatingChange(0, 10, 3), 0);
}

class RatingVariationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        a = AddTestPlayer("A", 2100);
        b = AddTestPlayer("B", 2000);
        c = AddTestPlayer("C", 0); // unrated
        Players[a].k = 15;
        Players[b].k = 20;
        Players[c].k = 40;
    }
    void Play(int round, int board, int white, int black, int digit) {
        SetTestBoard(round, board, white, black, digit);
        RebuildRoundTables(round);
    }
    int a = 0, b = 0, c = 0;
};

TEST_F(RatingVariationTest, StrongerPlayerWinsByOneHundred) {
    Play(1, 1, a, b, WhiteWins);
    SetCurrentRound(1);
    ComputeRatingVariation(3);
    EXPECT_FLOAT_EQ(PlayerScores[a].ratingVariation, 6.0f);  // 15 x (1 - 0.6)
    EXPECT_FLOAT_EQ(PlayerScores[b].ratingVariation, -8.0f); // 20 x (0 - 0.4)
    EXPECT_FLOAT_EQ(PlayerScores[c].ratingVariation, 0.0f);

    const std::vector<ExpectedScoreRecord> records = ComputeExpectedScores(b, 1);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_FLOAT_EQ(records[1].difference, 100.0f);
    EXPECT_FLOAT_EQ(records[1].expected, 1.0f - 0.64f);
}

TEST_F(RatingVariationTest, ForfeitsByesAndUnplayedRoundsChangeNothing) {
    Play(1, 1, a, b, WhiteWinsForfeit);
    Play(2, 1, b, a, HalfEachUnplayed);
    Play(3, 1, a, 0, WhiteWinsForfeit);
    Play(4, 1, a, b, NotPlayed);
    SetCurrentRound(4);
    PlayerScores[a].ratingVariation = 99.0f;
    ComputeRatingVariation(2);
    EXPECT_FLOAT_EQ(PlayerScores[a].ratingVariation, 0.0f);
    EXPECT_FLOAT_EQ(PlayerScores[b].ratingVariation, 0.0f);
    for (const ExpectedScoreRecord& r : ComputeExpectedScores(a, 4)) {
        EXPECT_FLOAT_EQ(r.difference, 0.0f);
        EXPECT_FLOAT_EQ(r.expected, 0.0f);
    }
}

TEST_F(RatingVariationTest, ExpectedSumIsRoundedBeforeTheChange) {
    // Player a draws b three times: expected 3 x 0.64 = 1.92, rounded 1.9;
    // points 1.5; 15 x -0.4 = -6. Unrounded it would be -6.3.
    Play(1, 1, a, b, Draw);
    Play(2, 1, b, a, Draw);
    Play(3, 1, a, b, Draw);
    SetCurrentRound(3);
    ComputeRatingVariation(2);
    EXPECT_FLOAT_EQ(PlayerScores[a].ratingVariation, -6.0f);
    // b: 3 x 0.36 = 1.08 is cut to 1.0 and the cut-off 8 adds a tenth: 1.1;
    // 20 x (1.5 - 1.1) = 8.
    EXPECT_FLOAT_EQ(PlayerScores[b].ratingVariation, 8.0f);
}

TEST_F(RatingVariationTest, UnratedOpponentCountsWithZeroAndTheCapHolds) {
    Play(1, 1, c, a, BlackWins);
    SetCurrentRound(1);
    ComputeRatingVariation(3);
    // a expected 0.89 (difference 2100 capped at 350), rounded 0.9.
    EXPECT_FLOAT_EQ(PlayerScores[a].ratingVariation, 2.0f);  // rint(15 x 0.1) = 1.5 -> 2
    EXPECT_FLOAT_EQ(PlayerScores[c].ratingVariation, -4.0f); // 40 x (0 - 0.1)
    const std::vector<ExpectedScoreRecord> records = ComputeExpectedScores(a, 1);
    EXPECT_FLOAT_EQ(records[1].difference, 350.0f);
}

TEST_F(RatingVariationTest, RoundRobinTablesAndCountsBeyondThem) {
    Settings.PairingSystem = SingleRoundRobinSystem;
    Play(1, 1, a, b, WhiteWins);
    SetCurrentRound(1);
    ComputeRatingVariation(3);
    EXPECT_FLOAT_EQ(PlayerScores[a].ratingVariation, 6.0f);
    SetCurrentRound(500);
    ComputeRatingVariation(500);
    EXPECT_EQ(ComputeExpectedScores(a, 500).size(), static_cast<std::size_t>(RoundRobinMaxRound + 1));
    EXPECT_EQ(ComputeExpectedScores(a, -2).size(), 1u);
}

} // namespace
