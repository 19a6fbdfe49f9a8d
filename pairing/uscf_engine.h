// The USCF Swiss engine: pairs every round after the first of a tournament
// of pairing system 4.
//
// The round runs on the shared group driver (group_round_driver.h); this
// module holds the USCF group pairing: players sent down from above get
// their opponents first, players without a possible opponent and the odd
// player of a group go down to the next group, the rest are paired by the
// group search with a pair limit set by the group's colour wishes. The
// boards carry provisional colours that the dispatcher settles. Nothing is
// kept between calls; the groups live in the score-group store.
#pragma once

#include "pairing/group_search.h"

#include <vector>

// Registers PairUscfRound as the engine of system 4.
void RegisterUscfEngine();

// The engine: 1 when round is paired, 0 after an alert.
int PairUscfRound(int players, int round);

// Pairs group g of groupCount: pairs[1..count] (ids); 1 when paired, 0 when
// the group cannot be paired. May move players to group g + 1's floater list
// and take players of lower groups into g's opponent queue.
int PairUscfScoreGroup(int g, int round, int groupCount, std::vector<SearchPair>& pairs, int& count);

// The order of players[1..n] tried after a search that hit its limit: the
// minority colour's seekers and the flexible players in the top half, the
// majority colour's in the bottom half, each top player above his bottom
// partner by seeding key. Players no rule places fill the places left, so
// nobody is lost. Returns reordered[1..n].
std::vector<int> ReorderForColorBalance(int pairLimit, int n, const std::vector<int>& players);

// Chooses the player odd group g sends to group g + 1's floater list, moves
// him, and returns g + 1.
int SendDownOddPlayer(int g, int round);

// Moves player from group from's white-due list into group to's floater
// list, his working colour set to his colour due. Returns to.
int MoveToFloaterList(int player, int from, int to);
// Moves player from group from's white-due list to the end of group to's
// opponent queue. Returns to.
int MoveOpponentToGroup(int player, int from, int to);

// Group g's white-due list followed by its black-due list, ids[1..].
int CollectGroupCandidates(int g, std::vector<int>& ids);
// Writes id into the first place from 1 on that holds 0 (none: nothing).
void AppendAtFirstEmpty(int id, std::vector<int>& ids);

// "<DataFolder>scgr<round>-<pass>.txt": every group with its players.
void WriteUscfScoreGroups(int groupCount, int pass);
