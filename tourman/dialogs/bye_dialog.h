// The BYE dialog: asks for one player of a Swiss tournament and the result
// of his BYE for the next round before it is paired, and hands both to the
// players page, which gives the BYE (the result into the player's own cells
// of round CurrentRound + 1, the player made unavailable through the player
// form's change, so that the pairing leaves him out while his cells keep
// the BYE).
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
    // What OK hands the typed id and the chosen result's code to; false
    // (after its alert) keeps the dialog open.
    bool (*assign)(int player, int resultCode) = nullptr;
};

extern ByeDialogFields ByeDialog;

inline constexpr const char* ByeWhileRegisteringText =
    "To assign manually a BYE\nmake unavailable a player, close Registration\n and then use 'Modify the Cross Table'";
inline constexpr const char* ByeBeforeResultsText = "You cannot assign the bye now.\nPlease insert all the results!";
inline constexpr const char* ByeInvalidIdText = "Enter a valid ID";
inline constexpr const char* ByeUnavailableText =
    "The indicated player is already unavailable.\nMake him available before to assign a BYE";

// Builds the dialog, the id field holding the selected row's number (0:
// empty), and returns its window; the caller shows it.
WkObject* OpenByeDialog(int selectedId = 0, bool (*assign)(int player, int resultCode) = nullptr);
// OK: hands the typed id (0 when none) and the chosen result's code to the
// dialog's assign, and closes the dialog when it took them. A refusal
// leaves the dialog open.
void OnByeOk(WkObject* button, void* record, void* data);

// The player list's popup item: refused while the registration is open, in
// a round robin (MsgNotInRoundRobin) and while results of the current round are
// missing; otherwise opens the dialog on the selected player.
void AssignByeCommand(int selectedId, bool (*assign)(int player, int resultCode));
