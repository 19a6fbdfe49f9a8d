// The round commands of the pairing page: pairing the next round (by the
// pairing engines in a Swiss tournament, from the fixed schedule in a round
// robin), accepting the proposed boards, cancelling the last pairing and
// exchanging the colours of a proposed board; also the window's side of a
// cancelled pairing, which the pairing code reaches through its hooks. The round counters, flags and game codes stay in the
// tournament's tables; this module owns nothing.
#pragma once

struct WkObject;

// Pairs the next round. Swiss: the boards are proposed in the pairing list
// for acceptance; a round that cannot be paired leaves the round counters and
// the pair buttons as they were. Round robin: the next round of the schedule
// is accepted at once.
void PairRoundCommand();
// Opens the proposed round for results: board cards, the pairing done, the
// results page on the round, the web index, the rating preview, the Dubov
// floaters and, in a Swiss tournament, the save. False when that save
// failed (after its alert).
bool AcceptPairing();
// The cancel button: asks MsgCancelLastPairingQuestion first, then undoes the
// last pairing.
void CancelPairingCommand();
// Activating a row of the pairing list: after a question, White and Black of
// that board of the shown round change places (not played), the row and the
// round's pairing lists are written again. Nothing once the round is
// accepted; MsgNotInRoundRobin in a round robin.
void SwapPairingColours(WkObject* list, int row);

// Fills the pairing code's window hooks: after a cancelled pairing and
// deleted rounds the window shows the tournament's state.
void InstallRoundCommandHooks();
