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

// The status line's text for the tournament as it stands.
std::string StatusLineText();
// Writes StatusLineText into the status line.
void UpdateStatusLine();
void UpdatePlayerCounters();
// Enables or disables a control; a control not built is skipped.
void SetSensitive(WkObject* object, bool on);

// A modal question with two buttons, MsgNo then MsgYes; 1 when the
// MsgYes button was pressed, else 0.
int AskYesNo(const char* title, const char* text);
