// The frame of the main window that every page, dialog and command reaches:
// the window itself, the menu items whose state follows the tournament, the
// notebook with its page tabs and the status bar, and the status bar's texts
// and counters. The main window module builds these widgets and fills
// MainWindow; the handles live for the process and are cleared when the
// window goes. The pages' own widgets are each page's record (pages/).
#pragma once

#include <string>

struct WkObject;
struct WkMenuItem;

struct MainWindowWidgets {
    WkObject* window = nullptr;
    WkObject* menuBar = nullptr;
    WkObject* fileMenu = nullptr;
    WkMenuItem* saveItem = nullptr;
    WkMenuItem* exportPlayersItem = nullptr;
    WkObject* databaseMenu = nullptr; // the player-database submenu
    WkMenuItem* databaseItems[4] = {}; // "Quon", "FSI (Italy)", "Fide", "National"
    WkMenuItem* columnFilterItem = nullptr;
    WkMenuItem* uscfConversionItem = nullptr;
    WkMenuItem* loadRoundFileItem = nullptr;
    WkMenuItem* exitItem = nullptr;
    WkObject* notebook = nullptr;
    WkObject* pages[4] = {}; // players, pairing, results, output files
    // The status bar.
    WkObject* playerCounter = nullptr;
    WkObject* availableCounter = nullptr;
    WkObject* statusLine = nullptr;
};

extern MainWindowWidgets MainWindow;
// Players whose available flag is set, as UpdatePlayerCounters last counted.
extern int AvailablePlayerCount;

inline constexpr const char* ProgramTitle = "Quon FREE 3.51";

// Where the tournament stands, which decides what may be used on every
// page and in the menus.
enum class TournamentStage {
    NoTournament,      // nothing created or opened yet
    RegistrationOpen,  // players are registered, no round is paired
    WaitingForPairing, // the registration closed, the last round's results closed (or no round yet)
    RoundProposed,     // a Swiss round paired and waiting to be accepted or cancelled
    RoundAccepted,     // the current round open for its results
};
// The stage of the open tournament, from its round state: a round is
// proposed while the registration is closed, the current round is not
// accepted and one of its boards has no result yet (a closed round has all).
TournamentStage CurrentStage();

// Shows the tournament's state everywhere: every page's controls, lists and
// captions by the page's own function, then the main window's menu items,
// page tabs, status line and counters. Called after every change of the
// round state, and after New, Open, a round file loaded and the close of
// the registration.
void RefreshRoundControls();
// The main window's menu items (Save, load a round file) and page tabs
// (pairing, results) as the stage allows them, and the players page, the
// focus in Name, in place of either of them greyed for the registration
// open; RefreshRoundControls adds the status line and the counters.
void ShowWindowState();

// The status line's text for the tournament as it stands; a tournament at
// its last round shows it in parentheses, a proposed round that it waits to
// be accepted.
std::string StatusLineText();
// Writes StatusLineText into the status line.
void UpdateStatusLine();
void UpdatePlayerCounters();
// Enables or disables a control or a menu item; one not built is skipped.
void SetSensitive(WkObject* object, bool on);
void SetSensitive(WkMenuItem* item, bool on);

// A modal question with two buttons, MsgNo then MsgYes; 1 when the
// MsgYes button was pressed, else 0.
int AskYesNo(const char* title, const char* text);
