// Rating expectancy and rating change.
//
// Holds the two fixed tables every rating computation reads (the expected
// score of the higher-rated player by rating difference, and the rating
// difference by percentage score that forms a performance rating), the
// expected score of each game of a player, the rounding of a sum of expected
// scores to one decimal, and ComputeRatingVariation, which fills every
// player's rating change of the tournament. Owns nothing but the two tables.
#pragma once

#include <array>
#include <vector>

// Rating differences 0..736; every lookup caps the difference at 350.
constexpr int ExpectedScoreTableSize = 737;
constexpr int RatingDifferenceCap = 350;
// Entry D: the expected score of the higher-rated player, 0.50 .. 1.00.
extern const std::array<float, ExpectedScoreTableSize> ExpectedScoreTable;

// Percentages 0..101: entries 1..99 the rating difference of that
// percentage score (entry 50 is 0, entry 100 - p is minus entry p); entry 0
// is 0, entry 100 is 10000 and entry 101 is 0.
constexpr int PerformanceTableSize = 102;
extern const std::array<int, PerformanceTableSize> PerformanceTable;

// The expected score of a game between two ratings, for the first player:
// the difference capped at 350, looked up, and taken from 1 when the first
// player is the lower rated. An unrated player counts with rating 0.
float ExpectedScore(int rating, int opponentRating);

// One round of a player: the capped rating difference and the expected
// score; both 0 for a round without a game at the board.
struct ExpectedScoreRecord {
    float difference;
    float expected;
};

// The records of rounds 1..rounds of a player, read from the per-round
// tables of the tournament's pairing system (element 0 is not used and is
// (0, 0)); rounds is limited to the rounds the tables hold.
std::vector<ExpectedScoreRecord> ComputeExpectedScores(int player, int rounds);

// A sum of expected scores rounded to one decimal by its second decimal,
// in tenths: the sum is written with two decimals and cut after the first,
// and a cut-off digit of 6 to 9 adds one tenth (5 rounds down). 3.45 gives
// 34, 3.46 gives 35.
int RoundExpectedTenths(float sum);

// K x (points - expected) rounded to the nearest integer, halves to even,
// with both amounts in tenths of a point; computed exactly so that a half
// is really a half.
int RatingChange(int k, int pointsTenths, int expectedTenths);

// Fills ratingVariation of players 1..players over rounds 1..CurrentRound:
// K x (wins + draws / 2 - rounded expected sum) over the games played at
// the board (forfeits and byes change nothing); 0 for a K of 0.
void ComputeRatingVariation(int players);
