// The single entry through which a Swiss round gets paired, and the undo of
// rounds.
//
// PairNextRound pairs round 1 itself (PairFirstRound) or hands a later round
// to the engine registered for the tournament's pairing system, then checks
// the round (round_check.h) and finishes it: colour improvement when that
// option is on, colour allocation, board order, pairing lists. When the
// engine cannot pair an odd round around the BYE receiver its system chose,
// the round is tried again with the next player in that system's BYE order
// (up to a bound), and only the alerts of the attempt that stands are shown.
// A round that cannot be paired, or that fails the check, is cancelled and
// leaves the tournament as it was before the call. DeleteRounds removes a span of
// rounds and recomputes the standings over the rounds that remain. The
// last round the tournament may pair, and the proposal of a round paired
// (by the engines or by hand), are here too.
//
// Engines register themselves by system code: an engine's module calls
// RegisterPairingEngine once at program start (the program's start-up code,
// or a test's set-up); a system without an engine refuses to pair.
// Besides the registry the module keeps only the colour of board 1 asked
// at the start of the tournament, until round 1 is paired with it.
#pragma once

// An engine pairs round (already the CurrentRound) for players 1..players:
// 1 when the boards and the board count stand in the game table, 0 after
// its own alert when the round cannot be paired.
using PairingEngine = int (*)(int players, int round);

// Sets the engine of a Swiss system (1, 3, 4 or 6); null removes it. Other
// codes are ignored.
void RegisterPairingEngine(int system, PairingEngine engine);
// The engine of a system, null when none is registered.
PairingEngine RegisteredPairingEngine(int system);

// The automatic colour improvement run on every round past the first while
// ColorImprovementOption is on; null (the default) runs none.
void RegisterColorImprovement(void (*pass)());

// Pairs the next round of a Swiss tournament of players 1..players. Returns
// nonzero when the round stands in the game table and its pairing lists are
// written; 0 when nothing was paired (registration still open, not a Swiss
// system, no rounds left in the tables, no engine for the system, the
// question of board 1's colour left unanswered, or the round failed and was
// cancelled after an alert).
int PairNextRound(int players);

// Asks now whether the top seed plays White on board 1, as round 1's
// pairing would (only when the pairing numbers were given by rating), and
// keeps the answer for the next pairing of round 1, which then asks
// nothing. False when the question was left unanswered (Escape, the close
// box): nothing is kept.
bool AskFirstBoardColour();

// Pairs round 1 into the game table (top half against bottom half, folded in
// the FIDE Burstein system, in two groups with accelerated rounds, the BYE
// to the last player or, in USCF, the lowest rated), the top seed White on
// board 1 when topSeedWhite is 1, and returns its number of boards, the BYE
// board included.
int PairFirstRound(int players, int topSeedWhite);

// Removes rounds first..last (1..CurrentRound for all, or CurrentRound alone)
// of players 1..players: a Swiss round's cells and games are cleared, a
// round robin's results go back to unplayed. CurrentRound and ShownRound
// come down with each round; the standings are recomputed over the rounds
// that remain.
void DeleteRounds(int first, int last, int players);

// The last round the tournament may pair: the planned rounds of a Swiss
// tournament, the schedule's rounds of a round robin, never past the round
// tables' last column.
int LastPairableRound();
// True, after alert MsgAllRoundsPaired, when CurrentRound has reached that
// round.
bool RoundLimitReached();
// The round just proposed goes to the window (through the round state's
// window hook: its boards in the pairing list, the accept and cancel
// buttons) and the round's pairing lists are written: the proposal step
// that the pair command, a manual pairing and a colour improvement share.
void ListProposedRound();
