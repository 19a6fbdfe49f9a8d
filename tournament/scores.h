// Scores and tie-break values of every player, and the recomputation's tail.
//
// ComputeScores recomputes a Swiss tournament's scores and tie-breaks from
// the Swiss per-round tables; ComputeRoundRobinTieBreaks (round_robin_scores.h)
// does the same for a round robin with the shared passes declared here. Both
// end with FinishStandings: rating variation, performance ratings, the
// standing reports and the average performance of the opponents. Nothing is
// kept between calls: every value is recomputed, so a second call gives the
// same values. Owns no state; writes PlayerScores.
#pragma once

#include "tournament/round_tables.h"

// A round counts as played at the board when the player has an opponent
// and a result code of 0, 1 or 2.
inline bool PlayedAtBoard(int opponent, int code) {
    return opponent != 0 && IsPlayedAtBoard(code);
}

// The two families score unplayed rounds differently: a Swiss half point
// without a game (code 8) scores and is left out of Buchholz, and a Swiss
// round without an opponent that was not scored gives Buchholz no value; in
// a round robin every round gives Buchholz a value.
enum class ScoreFamily { Swiss, RoundRobin };

// Pass 1 for players 1..players over rounds 1..rounds of the tables: score,
// average rating of the opponents, cumulative, most blacks and most wins.
// The accelerated bonus is left to the caller.
void ComputeBaseScores(RoundTableSet& set, ScoreFamily family, int rounds, int players);
// Passes 2 and 3, reading the scores of pass 1: the three Buchholz values
// and Sonneborn-Berger.
void ComputeOpponentTieBreaks(RoundTableSet& set, ScoreFamily family, int rounds, int players);

// Swiss: every value of players 1..players over rounds 1..rounds (the
// accelerated bonus of the upper half included, while rounds is below the
// accelerated rounds), then FinishStandings.
void ComputeScores(int rounds, int players, bool writeReports = true);

// The performance rating of a player over rounds 1..rounds of the
// tournament's tables: the rating difference of his percentage score plus
// the truncated average rating of his opponents, both over the games played
// at the board (a win 1, a draw a half, whatever the points setting). A
// score of 100 % gives +800 and one of 0 % gives -800. 0 without a game at
// the board; results of 0 and of exactly 1000 give 0, results above 4000
// give 9999.
int PerformanceRating(int player, int rounds);

// apro of players 1..players: the mean of the stored performance ratings of
// the opponents met at the board over rounds 1..rounds; 0 without a game.
// Reads the tables of the tournament's pairing system.
void ComputeAverageOpponentPerformance(int rounds, int players);

// The tail of every recomputation, in this order: rating variation, each
// player's performance rating stored, home page, player cards, average
// performance of the opponents, standings, cross table, and the ranking by
// category (of categoryPlayers); then it waits for the reports still being
// written, so that they stand complete when it returns. Without writeReports
// only the values: an open takes the reports on disk as they were saved.
void FinishStandings(int rounds, int players, int categoryPlayers, bool writeReports = true);
