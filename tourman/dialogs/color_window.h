// The colour-improvement window: the arbiter exchanges players between the
// boards of the current Swiss round by hand, on a working copy of the
// round's game codes, and "Done" writes the copy back (colours allocated
// again past round 1, boards reordered, pairing lists and board cards
// written again, the round listed again); "Do AUTO" runs the automatic
// colour improvement on the game table instead.
//
// The window and its state (working boards, the two selections, the turn,
// the pick count) are held once for the process from the build until the
// window is destroyed; the window owns its widgets. Player pictures are the
// five files "sys/wg.bmp", "sys/wr.bmp", "sys/bg.bmp", "sys/br.bmp" and
// "sys/nn.bmp" of the program folder.
#pragma once

struct WkObject;

// The results page's colour button: MsgNotInRoundRobin in a round robin;
// refused with an alert while a board of the round holds a result (the window's
// exchanges and Done write every board as not played); a window already open is
// brought forward; otherwise the window is built and shown.
void ColorImprovementCommand();
// Fills the automatic colour improvement's window hooks (the pairing
// page's board list, the closing of the window).
void InstallColorImprovementHooks();

// Builds the window over the CurrentRound's boards, not yet shown; takes
// over the state of a window still open.
WkObject* OpenColorImprovementDialog();
// The open window, or null.
WkObject* ColorImprovementDialog();
// The working copy of board k's game code (1 to the round's board count).
int ColorWorkingBoard(int board);

// Button callbacks: a player button (data 2k - 1 White of board k, 2k
// Black), "Verify Pair", "Exchange Players", "Done".
void OnPickPlayerForExchange(WkObject* button, void* record, void* data);
void OnVerifyPair(WkObject* button, void* record, void* data);
void OnExchangePlayers(WkObject* button, void* record, void* data);
void OnColorImprovementDone(WkObject* button, void* record, void* data);
// Shows in the difference label the rating difference of exchanging the
// two selected players.
void ShowExchangeDifference();
