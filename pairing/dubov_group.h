// Pairing one score group of a FIDE Dubov or Swiss Quon round.
//
// PairScoreGroup works through the group's rule steps in a fixed order:
// players who floated down get opponents first, players of the group who can
// meet nobody in it (islands) get opponents from below, an odd group takes a
// player up from below, the white-due and black-due lists are made equal, the
// group search pairs the rest, and whoever is left floats down into the next
// group. Each step is named in the pairing trace. The helpers the steps use
// (candidate choice, colour balancing, opponent finders) are here too. The
// module keeps nothing between calls: its effects are the moves of players
// between the groups of the store (group_moves.h), and the triedMarks it sets
// are clear again when a call returns. Arrays are 1-based; index 0 is unused
// or holds a count where said.
#pragma once

#include "pairing/group_search.h"

#include <vector>

// Pairs group g of round (groupCount groups). Returns 1 with pairs[1..count]
// holding (first id, second id) (floaters with their opponents first, then
// the group search's pairs) and the players left over moved into the
// downfloater queue of a lower group; 0 when the group cannot be paired,
// every player still in a list or queue of some group.
int PairScoreGroup(int g, int round, int groupCount, std::vector<SearchPair>& pairs, int& count);

// Moves |a - b| / 2 players of group g from the longer colour list to the
// other: players without a firm colour wish first, then the lowest pairing
// key (white surplus) or the highest (black surplus).
void BalanceColorLists(int g, int whiteCount, int blackCount);

// Brings one player up into the odd group g from the groups below it, the
// one who leaves both groups best paired. 1 when one was moved, else 0.
int FindUpfloater(int g, int round, int groupCount);

// The players of group g who can meet nobody else of it in round, in the
// order checked (the group's last player first, then its first, second...);
// islands[1..k], k returned. No check when the group is empty or holds more
// players than the round number.
int FindIslands(int g, std::vector<int>& islands, int round);

// The first player of groups from..groupCount who may meet x and is not
// reserved yet; he is reserved (triedMark set) and returned, or -1.
int FindOpponentBelow(int x, int from, int round, int groupCount);
// Opponents for xs[1..k] one by one: 1 when each got one (opponents[1..k],
// opponents[0] = k), else 0 with opponents[0] = how many were found.
int FindOpponentsBelow(const std::vector<int>& xs, int k, std::vector<int>& opponents, int from, int round,
                       int groupCount);

// An opponent for x from the groups from..groupCount who leaves his group
// best paired; 1 with opponent[1] set, else 0. Reserves nobody.
int FindBetterOpponent(int x, std::vector<int>& opponent, int from, int round, int groupCount);
// Opponents for x1 and x2 from the first group at or below from that holds
// any player, leaving it best paired; 1 with opponents[1] for x1 and
// opponents[2] for x2, else 0. Reserves nobody.
int FindBetterOpponents(int x1, int x2, std::vector<int>& opponents, int from, int round);

// Sets each player's workingColor to his colour due and writes src[1..k]
// into dst[1..k] alternately, a white-due one first, each colour in pairing
// order, the longer colour's rest at the end.
void InterleaveByColor(const std::vector<int>& src, std::vector<int>& dst, int k);

// out[1..count1] = ids1[1..count1], then ids2[1..count2].
void ConcatIdArrays(int count1, const std::vector<int>& ids1, int count2, const std::vector<int>& ids2,
                    std::vector<int>& out);
