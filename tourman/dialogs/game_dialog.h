// The game edit dialog: corrects one player's entry of the cross table for
// one round (opponent, points, colour) in his own per-round cells, then
// recomputes the standings. The opponent's cells and the game table stay as
// they are, so an opponent they do not agree with is refused (a round-state
// file holding it would be refused), and a later save of that round, which
// rebuilds every player's cells from the game codes, drops the correction.
//
// The dialog's widgets are held in GameDialog while its window lives (one
// dialog at a time) and forgotten with it.
#pragma once

#include <string>

struct WkObject;

struct GameDialogFields {
    WkObject* window = nullptr;
    WkObject* round = nullptr;
    WkObject* opponent = nullptr;
    WkObject* points = nullptr; // "0", "1", "½"
    WkObject* colour = nullptr; // "WHITE", "BLACK", "NOCOL", "NO TB"
    WkObject* okButton = nullptr;
    WkObject* closeButton = nullptr;
};

extern GameDialogFields GameDialog;

// Builds the dialog for a player (titled "%d %s") and returns its window;
// the caller shows it.
WkObject* OpenGameDialog(int player, const char* name);
// OK: checks the round (1 to CurrentRound, MsgRoundOutOfRange) and the opponent
// (0 to PlayerCount, not the player, MsgPlayerIdOutOfRange). A player who had
// the BYE in that round takes only the BYE's result (GameDialogByeRefusal);
// an opponent that the round's games or the other players' cells contradict
// (FindOpponentConflict) is refused (GameDialogConflictRefusal). Otherwise
// writes the player's three cells of that round, recomputes the standings
// and closes the dialog. A refusal leaves the dialog open with what was typed.
void OnGameDialogOk(WkObject* button, void* record, void* player);

// The refusals' texts: the BYE's player and round; the round and the
// contradiction found.
std::string GameDialogByeRefusal(int player, int round);
std::string GameDialogConflictRefusal(int round, const std::string& conflict);

// The player list's popup item: refused while the registration is open
// (MsgRegistrationStillOpen) and in a round robin (MsgNotInRoundRobin); asks
// MsgChangePlayerGamesQuestion, then opens the dialog for the player the
// players page gives, the one of its selected row (0: none, a beep).
void EditPlayerGames(int player);
