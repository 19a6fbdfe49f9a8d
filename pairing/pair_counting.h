// How many pairs a set of players can make: the counts the engines weigh
// when they choose who floats up or down, or which opponent to take from a
// lower group.
//
// Each count owns one PairingSearch for its call and keeps nothing. The
// colour count looks at colour wishes only; the others run the group search
// on the players, with the empty slot (-1) filling an odd number of places.
// Player arrays follow the tournament model's convention: entries from 1,
// index 0 unused.
#pragma once

#include <span>
#include <vector>

// Colour wishes of a set of players: white and black are the players whose
// due colour is absolute (White, Black); everybody else (a preference only,
// no colour due, the BYE, the empty slot) is neutral.
struct ColorWishes {
    int white = 0;
    int black = 0;
    int neutral = 0;
};
ColorWishes CountColorWishes(std::span<const int> players, int n);

// The players a colour surplus leaves without a partner of the other colour:
// |white - black| - neutral, at least 0.
int ColorExcess(const ColorWishes& wishes);

// The number of pairs of players[1..n] whose colour wishes can all be met:
// n / 2 - ColorExcess / 2, both halvings rounded down.
int CountSatisfiablePairs(int n, std::span<const int> players);

// How well players[1..] pair in the round: an odd count gets the empty slot
// appended; the target is half the count, or CountSatisfiablePairs for at
// most 30 players. Returns minus the target when the search reaches it, else
// the search's own result (negative when it stopped at its backtrack limit).
int CountPairsToTarget(std::vector<int> players, int round);

// players[1..] with c appended (with = 1) or with every c taken out (with = 0),
// and with c1 and c2 taken out; index 0 stays unused.
std::vector<int> WithPlayerChanged(std::span<const int> players, int c, int with);
std::vector<int> WithoutPlayers(std::span<const int> players, int c1, int c2);

// The pairs players[1..] could make without player, the colour wishes and the
// search deciding as the USCF engine weighs an odd group's players: with a
// colour excess, half the rest less half the excess without a search; else
// the search's pair count for at most 50 players, and half the rest above.
int CountPairsWithoutPlayerAmong(std::span<const int> players, int player, int round);
