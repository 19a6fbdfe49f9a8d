// Colour and float history of a Swiss tournament, and colour allocation.
//
// Between two rounds UpdateColorHistory turns every player's colour history
// into what the pairing needs: the due colour and whether it is absolute,
// the colour difference and run, the float permission, the BYE eligibility,
// the score and the two pairing-order keys of the player record. After a
// round is paired AllocateColors decides white and black board by board;
// after a FIDE Dubov round is accepted MarkRoundFloaters records who floated
// up. Everything works on the Swiss instance of the per-round tables; this
// module owns no state of its own.
#pragma once

// The colour limit: 2, or 3 while RelaxedColorOption is on. A colour
// difference or a run of one colour that reaches it makes the due colour
// absolute.
int ColorLimit();
// How many upfloats a FIDE Dubov player may have: 3 with fewer than 10
// planned rounds, else 4.
int FloatLimit();

// Sets every player's pairing state, score and keys from rounds 1..rounds
// for ids 1..players (rounds is the last paired round, before the round
// counter is advanced), then gives the BYE no due colour and a flexible one.
void UpdateColorHistory(int rounds, int players);

// Once a Swiss round-state file is read: every player's pairing state as
// the pairing of the current round left it, which the file does not hold,
// so that the round's colour questions, the colour window and the round
// check see what they saw before the save. The rounds before the current
// one give it, as they gave the pairing (UpdateColorHistory with the round
// counter where the pairing found it); in round 1 every colour is only a
// preference. Nothing before the first round.
void RestorePairingState(int players);

// Decides the colours of every board of the round and rewrites its game
// codes as (white, black, not played); a BYE board keeps its BYE code.
void AllocateColors(int round);

// The colour decision for the two slots of one board: 0 the due colours
// differ and each gets his own, 1 the first gets his due colour, -1 the
// second gets his, or (above 1) the complete game code of the board.
int DecidePairColors(int a, int b, int round);
// The same by the FIDE Burstein rules: an empty first slot gives (0, b, 4)
// and identical histories are decided by the pairing key, then the seeding
// key, then the name.
int DecidePairColorsBurstein(int a, int b, int round);

// Records the floats of an accepted round: the marks of both players of
// every board are cleared and, in the FIDE Dubov system, the player with
// the lower score at pairing time is marked as floated. Does nothing in the
// FIDE Dubov system for round 1.
void MarkRoundFloaters(int round);
