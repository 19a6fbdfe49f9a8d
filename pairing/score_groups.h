// The score groups of the round being paired, and the choice of the BYE.
//
// MakeScoreGroups sorts the available players into the standings order, cuts
// them into groups of equal score (group 1 the highest), files each player in
// a colour list of his group and, for an odd number of players, gives the BYE
// by the rule of the tournament's pairing system. The groups live in one
// process-wide store that grows with the number of groups made (at most one
// group per player, whatever the points per win and per draw), read and
// changed by the engines, the group search, the trace and the colour
// improvement until ClearScoreGroups empties it. The store owns the list
// nodes; group 0 is never filled.
#pragma once

#include "tournament/capacities.h"
#include "tournament/player_list.h"

// One group of the store.
struct ScoreGroup {
    PlayerList whiteDue;   // Dubov and Quon: due White; USCF and Burstein: the whole group
    PlayerList blackDue;   // Dubov and Quon: not due White; USCF and Burstein: their engines' use
    PlayerList floaters;   // USCF and Burstein: players their engines move between groups
    IntQueue downfloaters; // Dubov and Quon: players moved down into the group
    IntQueue opponents;    // players moved in as opponents of the downfloaters
    float score = 0.0f;    // the score the group was made from
};

// Highest group number: every group holds at least one player when made.
constexpr int MaxScoreGroups = MaxPlayers;

// Group g (0..MaxScoreGroups), the store grown to hold it. A number outside
// gives an emptied scratch group, so a stray number can change no group.
ScoreGroup& ScoreGroupAt(int g);
// Number of groups the store holds now (numbers 0..count-1 exist).
int ScoreGroupsHeld();

// Empties every group of the store (lists and queues). The round number is
// the one whose groups go; the store is emptied whole whatever its size, so
// no group made with unusual scoring is left behind.
void ClearScoreGroups(int round);

// Players in group g: the colour lists and the opponent queue, with the
// floater list (systems 4 and 6) or the downfloater queue (systems 1 and 3).
int ScoreGroupSize(int g);

// Builds the groups of CurrentRound from players 1..players and gives the
// BYE when the number n of available players is odd. Returns n (the BYE
// receiver included) with groupCount set to the number of groups; returns
// -1 when nobody may receive the BYE: the alert of MsgNoByeReceiver has been
// shown, no BYE board is written, and the round must fail. The store should
// be empty when it is called.
int MakeScoreGroups(int players, int& groupCount);

// The three BYE choosers: look at the groups from groupCount up to 1 for a
// receiver by the system's rule, write the BYE board (receiver, 0, 3) on
// board (n - 1) / 2 + 1 of CurrentRound and take him out of his list, with
// the system's trace lines. Return the receiver's id, or 0 after the alert
// of MsgNoByeReceiver when nobody may receive it.
int AssignByeSwiss(int groupCount, int n);
int AssignByeUscf(int groupCount, int n);
int AssignByeBurstein(int groupCount, int n);

// Players the choosers pass over as if they could not receive the BYE: a
// round that cannot be paired around one receiver is tried again with the
// next one in the system's own order. The list holds until cleared.
void PassOverForBye(int id);
void ClearByePassOvers();
// The receiver of the BYE that MakeScoreGroups gave last, 0 when it gave
// none (an even number of players, or nobody eligible).
int LastByeReceiver();
