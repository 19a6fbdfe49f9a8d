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
// is accepted and saved at once (not paired when the save fails).
void PairRoundCommand();
// Opens the proposed round for results: the pairing done, the Dubov
// floaters and the save first, then the board cards, the web index, the
// rating preview and the results page on the round, with one alert naming
// every file not written. False when the save failed (after its alert): the
// round is then proposed again and nothing else is written.
bool AcceptPairing();
// What shows the accepted current round, once it is on disk: its pairing
// lists (when pairingLists; a Swiss round had them at its proposal), board
// cards, the web index, the rating preview, the results page, and one alert
// naming every file not written.
void WriteAcceptedRound(bool pairingLists);
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
