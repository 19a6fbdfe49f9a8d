// The BYE dialog: gives one player of a Swiss tournament a BYE for the next
// round before it is paired. The BYE's result goes into the player's own
// cells of round CurrentRound + 1 and the player is made unavailable through
// the player form's change (saved as every change is), so that the pairing
// leaves him out while his cells keep the BYE.
//
// The dialog's widgets are held in ByeDialog while its window lives (one
// dialog at a time) and forgotten with it.
#pragma once

struct WkObject;

struct ByeDialogFields {
    WkObject* window = nullptr;
    WkObject* id = nullptr;
    WkObject* result = nullptr; // "0F", "1F", "½F", "½FN"
    WkObject* okButton = nullptr;
    WkObject* closeButton = nullptr;
};

extern ByeDialogFields ByeDialog;

inline constexpr const char* ByeWhileRegisteringText =
    "To assign manually a BYE\nmake unavailable a player, close Registration\n and then use 'Modify the Cross Table'";
inline constexpr const char* ByeBeforeResultsText = "You cannot assign the bye now.\nPlease insert all the results!";
inline constexpr const char* ByeInvalidIdText = "Enter a valid ID";
inline constexpr const char* ByeUnavailableText =
    "The indicated player is already unavailable.\nMake him available before to assign a BYE";

// Builds the dialog, the id field holding the selected row's number, and
// returns its window; the caller shows it.
WkObject* OpenByeDialog();
// OK: the typed id must be a registered player who is available; that
// player is put into the player form, his cells of the next round get the
// BYE, and the form's change stores him as unavailable. A refusal leaves
// the dialog open and changes nothing.
void OnByeOk(WkObject* button, void* record, void* data);

// The player list's popup item: refused while the registration is open, in
// a round robin (MsgNotInRoundRobin) and while results of the current round are
// missing; otherwise opens the dialog.
void AssignByeCommand();
