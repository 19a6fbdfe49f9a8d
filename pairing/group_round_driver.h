// The round driver shared by the USCF and FIDE Burstein engines, and the
// score-group moves both of them make.
//
// PairGroupedRound builds the score groups (with the BYE), pairs them from
// the top down with the engine's group pairer, merges a group that cannot be
// paired into the nearest group above that holds players and pairs that one
// again, and, once the round's budget of attempts is spent, starts once more
// with every group merged into the first. On success it writes the boards
// into the game table with provisional colours. It owns nothing beyond its
// call: the groups live in the score-group store.
#pragma once

#include "pairing/group_search.h"
#include "tournament/player_list.h"

#include <vector>

// Pairs group g of groupCount; fills pairs[1..count] (ids) and returns 1
// when the group is paired, 0 when it cannot be, 2 when it is to be paired
// again at once (no attempt is counted then).
using GroupPairer = int (*)(int g, int round, int groupCount, std::vector<SearchPair>& pairs, int& count);
// Writes the score-group dump of a pass (0 after the groups are built, 1
// after the restart's merge).
using GroupDumper = void (*)(int groupCount, int pass);

// The round driver: 1 when round is paired, 0 after an alert
// (MsgTopGroupCannotBePaired when group 1 fails after the restart,
// MsgPairingStops when the budget is spent after the restart, MsgNoByeReceiver
// from the BYE choice); MsgPairingAgainMerged is shown at the restart, which a
// failing group 1 also starts at once.
int PairGroupedRound(int players, int round, GroupPairer pairGroup, GroupDumper dump);

// The ids of a group's list or queue in their order, ids[1..].
std::vector<int> GroupListIds(const IdListHeader& list);
// The rule above and below the group headings of the trace.
extern const char* const GroupTraceRule;

// The sum over groups a..groupCount of the white-due list's and the opponent
// queue's counts; 0 when a > groupCount.
int CountPlayersFromGroup(int a, int groupCount);
// Moves player from one group's white-due list into another's, setting his
// currentGroup and clearing his triedMark; traced.
void MovePlayerToGroup(int player, int from, int to);
// Merges group g (white-due list, floater list, opponent queue) and the
// floaters and opponents of the nearest group above that holds players into
// that group's white-due list. Returns that group, or 1 when no group above
// holds players (nothing moved).
int MergeUscfScoreGroups(int g);
// The players of group g's white-due list who have no possible opponent in
// it, in the order: the last, then the first up to the one before the last;
// ids[1..] filled, the count returned. Only a group of 1..round players is
// examined.
int FindUnpairablePlayers(int g, std::vector<int>& ids, int round);
// Sends the players FindUnpairablePlayers finds in group g down with
// sendDown(player, g), after tracing them as " Found <u> <label>: id, ...".
// Returns how many were sent, or -1 when the groups below g hold fewer
// players than that (nothing is moved then).
int SendDownUnpairablePlayers(int g, int round, int groupCount, const char* label, void (*sendDown)(int player, int g));
