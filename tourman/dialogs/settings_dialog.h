// The tournament settings dialog.
//
// One dialog edits the whole settings record: to make a new tournament, to
// change the open one, or to give the settings of an export (whose OK
// handler lives in export_tournament.*, which connects it). The dialog's input widgets are held
// in SettingsDialog while the window lives (only one at a time; opening
// another replaces the handles) and are forgotten with it. Nothing reaches
// the settings before OK, and OK stores nothing unless every field passes.
// The OK of a new tournament hands the settings stored to the command
// that starts it (NewTournamentAccepted).
#pragma once

#include <string>

struct WkObject;
struct TournamentSettings;

enum SettingsDialogKind { ModifySettingsKind = 0, NewTournamentKind = 1, ExportTournamentKind = 2 };

struct SettingsFields {
    WkObject* window = nullptr;
    int kind = ModifySettingsKind;
    WkObject* name = nullptr;
    WkObject* place = nullptr;
    WkObject* beginDate = nullptr;
    WkObject* endDate = nullptr;
    WkObject* arbiter = nullptr;
    WkObject* pairingSystem = nullptr; // read-only drop-down, "N: ..."
    WkObject* rounds = nullptr;
    WkObject* scoreSystem = nullptr; // read-only drop-down
    WkObject* tieBreaks[10] = {};    // check boxes by tie-break code 1..9
    WkObject* tieBreakOrder = nullptr;
    WkObject* dataFolder = nullptr;
    WkObject* baseName = nullptr;
    WkObject* ratingChoice = nullptr;
    WkObject* acceleratedRounds = nullptr;
    // The export kind's own fields.
    WkObject* lowestRating = nullptr;
    WkObject* highestRating = nullptr;
    WkObject* ratingList = nullptr; // "National", "FIDE" or "Either"
    WkObject* okButton = nullptr;
    WkObject* closeButton = nullptr;
};

extern SettingsFields SettingsDialog;

// The alert of a new file whose name is taken.
inline constexpr const char* FileExistsText = "A file with the same name already exist! Chooce another name";

// Builds and shows the dialog of a kind and returns at once; the dialog
// is modal and ends with its OK or close button.
void OpenSettingsDialog(int kind);

// The dialog's fields read into settings (a copy of the open tournament's
// settings, changed only where the dialog holds a value). Every field is
// checked first; false after the alert of the first refusal, settings then
// partly filled and not to be used. The modify kind also refuses, once the
// registration is closed, a change between the Swiss and the round-robin
// families or of the rating choice.
bool ReadSettingsFields(TournamentSettings& settings, int kind);
// Whether a file can be opened for reading at path.
bool FileExists(const std::string& path);

// Callbacks of the dialog's widgets.
void OnTieBreakToggle(WkObject* box, int on, void* index);
void OnBrowseDataFolder(WkObject* button, void* record, void* data);
void OnSettingsOk(WkObject* button, void* record, void* kind);

// What OK runs once the settings of a new tournament are stored: the
// tournament commands fill it at start; empty, OK only stores them.
extern void (*NewTournamentAccepted)();

// The tournament menu's settings item: alert MsgNeedsStartedTournament while no
// tournament is open, else the dialog of the modify kind.
void TournamentSettingsCommand();
