// The round counters and the state flags of the tournament's progress.
//
// `CurrentRound` is the last paired round (0 before the first pairing);
// pairing, the check for unplayed boards and the recomputation work on it.
// `ShownRound` is the round shown on the results page; result entry, the
// result lists and the round save work on it. Every change of CurrentRound
// goes through SetCurrentRound, which moves ShownRound with it. The flags are
// the ones kept in the round-state file, in its order.
#pragma once

extern int CurrentRound;
extern int ShownRound;

// How the pairing numbers were given at the start: 0 by rating, 1 random
// draw, 2 as entered (RANDOM_SORT).
extern int RandomSort;
// Kept in the round-state file's third line and restored unchanged.
extern int RoundStateUnused;
extern int IsSavedRound;       // IS_SAVED_ROUND
extern int IsGetResultDone;    // IS_GET_RESULT_DONE
extern int ClosedRegistration; // CLOSED_REGISTRATION
extern int IsPairingDone;      // IS_PAIRING_DONE

// CurrentRound = round and ShownRound = round.
void SetCurrentRound(int round);

// Every counter and flag back to 0 (program start, a new tournament).
void ResetRoundState();
