// The manual-pairing window: the arbiter pairs a Swiss round by hand, board
// by board, either as the next round or in place of the current round's
// boards. It lists the available players still unpaired, takes pairs as two
// ids (White first) checked against the pairing rules, saves the pairs to and
// loads them from a pair file (".man"), and on confirmation writes them into
// the game table as the round's boards.
//
// The window's widgets and working state (the player marks, the two
// counters) are held once for the process from the build until the window
// is destroyed; nothing reaches the tournament before the confirmation.
#pragma once

struct WkObject;

// 0: the window pairs a new round (the round counter advances on
// confirmation); 2: it replaces the boards of the current round. Set by the
// two commands below before the window is built.
extern int ManualPairingMode;

// The pairing page's manual button (mode 0) and the results page's re-pair
// button (mode 2). MsgNotInRoundRobin in a round robin; a new round past the
// last one is refused with MsgAllRoundsPaired. Players' colour preferences are
// brought up to the round to be paired, then the window is built and shown. A
// new round confirmed is proposed for acceptance as the pair command proposes
// it; a re-paired round is listed again and open for results.
void StartManualPairing();
void RepairShownRound();

// Builds the window over the available players (not yet shown); takes over
// the state of a window still open.
WkObject* OpenManualPairing();
// The open window, or null.
WkObject* ManualPairingWindow();

// The status bar: "%s = %d  -  %s = %d" with MsgUnpaired and MsgPairs.
void ShowPairingCounts(int unpaired, int pairs);

// Button callbacks of the window.
void OnAddPair(WkObject* button, void* record, void* data);
void OnCheckPair(WkObject* button, void* record, void* data);
void OnRemovePair(WkObject* button, void* record, void* data);
void OnLoadPairs(WkObject* button, void* record, void* data);
void OnSavePairs(WkObject* button, void* record, void* data);
void OnConfirmPairs(WkObject* button, void* record, void* data);
