// The FIDE Dubov and Swiss Quon engine: pairs every round after the first
// of a tournament of pairing system 1 or 3.
//
// PairSwissRound builds the score groups (with the BYE), hands them from the
// highest score down to the group routine (dubov_group.h), merges a group
// that cannot be paired into the nearest group above that holds players and
// pairs that one again. When the round's budget of group steps is spent it
// starts once more with every player allowed to float up, then once more
// with all groups merged into one, and then gives up with an alert. The
// boards go into the game table with provisional colours only when every
// player is on exactly one board with an opponent he may meet. The module
// also writes the score-group dumps. It keeps nothing between calls: the
// groups live in the score-group store.
#pragma once

#include "pairing/group_round_driver.h"

// Registers PairSwissRound as the engine of systems 1 and 3.
void RegisterDubovEngine();

// The engine: 1 when round is paired (boards and board count in the game
// table), 0 after an alert (201 when a group with nobody above it fails
// after both restarts, 200 when the budget is spent after both restarts or
// the groups delivered a broken round; 202 and 203 are shown at the
// restarts, which such a failing top group also starts at once).
int PairSwissRound(int players, int round);
// The same driver over another group routine (any result but 1 is a
// failure of the group); PairSwissRound passes PairScoreGroup.
int PairSwissRoundWith(int players, int round, GroupPairer pairGroup);

// Merges group g's colour lists and queues, and the queues of the nearest
// group above that holds any player, into that group's colour lists; the
// players of g may float up from then on. Returns that group, or 1 when no
// group above holds a player (nothing moved).
int MergeScoreGroups(int g);

// "<DataFolder>scgr<round>-<pass>.txt": every group with its floaters and
// colour lists, in the FIDE Dubov layout (rating average and rating) or the
// Swiss Quon one (Buchholz).
void WriteDubovScoreGroups(int groupCount, int pass);
void WriteOwnSwissScoreGroups(int groupCount, int pass);
