// The frame of the main window that every page, dialog and command reaches:
// the window itself, the menu items whose state follows the tournament, the
// notebook with its page tabs and the status bar, and the two helpers every
// floor uses (greying a control, the yes/no question). The main window
// module builds these widgets and fills MainWindow; the handles live for the
// process and are cleared when the window goes. The pages' own widgets are
// each page's record (pages/). This frame includes nothing of tourman: it
// stands below the dialogs, the commands, the pages and the main window.
#pragma once

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
    // TournamentOpenings as the window last showed it.
    int tournamentOpenings = 0;
};

extern MainWindowWidgets MainWindow;

inline constexpr const char* ProgramTitle = "Quon FREE 3.51";

// Enables or disables a control or a menu item; one not built is skipped.
void SetSensitive(WkObject* object, bool on);
void SetSensitive(WkMenuItem* item, bool on);

// A modal question with two buttons, MsgNo then MsgYes; 1 when the
// MsgYes button was pressed, else 0.
int AskYesNo(const char* title, const char* text);
