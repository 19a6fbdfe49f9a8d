// The FIDE Burstein engine: pairs every round after the first of a
// tournament of pairing system 6.
//
// The round runs on the shared group driver (group_round_driver.h); this
// module holds the Burstein group pairing. Every player of a group stands
// in its white-due list; the group is folded (first half against the second
// half reversed), an odd group gets the empty slot and whoever the search
// pairs with it goes down to the next group. The first search of a group
// runs with strict colours when the group's colours balance. A downfloater
// without a possible opponent below is marked as tried and the group is
// paired again at once. Nothing is kept between calls; the groups live in
// the score-group store.
#pragma once

#include "pairing/group_search.h"

#include <span>
#include <vector>

// Registers PairBursteinRound as the engine of system 6.
void RegisterBursteinEngine();

// The engine: 1 when round is paired, 0 after an alert.
int PairBursteinRound(int players, int round);

// Pairs group g of groupCount: pairs[1..count] (ids); 1 when paired, 0 when
// the group cannot be paired, 2 when it is to be paired again at once (a
// player has been marked as tried). Moves players down to group g + 1.
int PairBursteinGroup(int g, int round, int groupCount, std::vector<SearchPair>& pairs, int& count);

// The folded search array of players p[1..n]: p[1..h], the empty slot when
// n is odd, then p[n] down to p[h + 1]; h = n / 2. Entry 0 unused.
std::vector<int> FoldBursteinGroup(const std::vector<int>& p);

// The larger of the white-due and black-due counts of ids[1..n], less n / 2;
// the empty slot counts in neither.
int ColorImbalance(int n, std::span<const int> ids);

// Looks at pairs[1..r] for a player paired with the empty slot who has no
// possible opponent in group g + 1; marks the first such player not yet
// tried (triedMark) and returns 1, else 0.
int FindBetterFloater(int r, const std::vector<SearchPair>& pairs, int g, int round);

// "<DataFolder>scgr<round>-<pass>.txt": every group with its players, their
// colour due, pairing key and colour flexibility.
void WriteBursteinScoreGroups(int groupCount, int pass);
