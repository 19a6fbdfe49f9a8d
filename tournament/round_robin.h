// The schedule of a round robin.
//
// A round robin fixes all its rounds when it starts: the Berger tables, in
// which the highest number (for an odd count, a dummy number one above it
// that stands for the BYE) keeps board 1 and changes colour every round
// while the others rotate. Every game goes into the round-robin game table
// unplayed; an odd count's BYE is the last board of its round, (player, BYE,
// 2), mirrored to (BYE, player, 2) in a second cycle. Owns nothing; writes
// the round-robin instance's game table.
#pragma once

#include "tournament/round_tables.h"

// Rounds of one cycle and boards of a round for a player count (the BYE
// board counted): N - 1 and N / 2 for even N, N and (N + 1) / 2 for odd N.
int RoundRobinCycleRounds(int players);
int RoundRobinBoards(int players);

// Writes one cycle for players (3..24) into columns 1..C of the game table
// of set and returns C; 0, with nothing written, for any other count.
int RoundRobinRotation(int players, RoundTableSet& set);

// The whole schedule of the tournament's round robin for players (3..24):
// one cycle for the single round robin, and for the double one a second
// cycle repeating every game with the colours swapped. The round-robin game
// table is emptied first. Returns the number of rounds filled; 0, with
// nothing changed, for a Swiss system or a count outside 3..24.
int BuildRoundRobinPairings(int players);
