// The main window: its widgets (created once by BuildMainWindow and kept as
// process-wide handles until the process ends), the status bar's texts, the
// enabled state of the round controls, the Ctrl accelerators of the player
// form and the close question.
#pragma once

#include <cstdint>
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
    WkObject* pages[4] = {};
    // The player form.
    WkObject* name = nullptr;
    WkObject* country = nullptr;
    WkObject* birthday = nullptr;
    WkObject* gender = nullptr;
    WkObject* title = nullptr;
    WkObject* fideId = nullptr;
    WkObject* fideRating = nullptr;
    WkObject* nationalId = nullptr;
    WkObject* nationalRating = nullptr;
    WkObject* kFactor = nullptr;
    WkObject* available = nullptr;
    WkObject* addButton = nullptr;
    WkObject* changeButton = nullptr;
    WkObject* clearButton = nullptr;
    WkObject* playerTabs = nullptr;
    WkObject* playerList = nullptr;
    WkObject* unavailableList = nullptr;
    WkObject* playerListMenu = nullptr;
    WkObject* search = nullptr;
    WkObject* deleteButton = nullptr;
    WkObject* closeRegistrationButton = nullptr;
    // The pairing page.
    WkObject* pairingList = nullptr;
    WkObject* pairingToggles[2] = {};
    WkObject* pairButton = nullptr;
    WkObject* manualPairingButton = nullptr;
    WkObject* acceptButton = nullptr;
    WkObject* cancelButton = nullptr;
    WkObject* logsButton = nullptr;
    WkObject* printPairingsButton = nullptr;
    // The results page.
    WkObject* roundField = nullptr;
    WkObject* repairButton = nullptr;
    WkObject* colorImprovementButton = nullptr;
    WkObject* loadResultsButton = nullptr;
    WkObject* resultsToggle = nullptr;
    WkObject* resultsList = nullptr;
    WkObject* boardField = nullptr;
    WkObject* boardLabel = nullptr;
    WkObject* resultKeyField = nullptr;
    WkObject* resultButtons[9] = {};
    WkObject* fileViewer = nullptr;
    // The output-files page's button table (its buttons come with the page's commands).
    WkObject* outputButtons = nullptr;
    // The status bar.
    WkObject* playerCounter = nullptr;
    WkObject* availableCounter = nullptr;
    WkObject* statusLine = nullptr;
};

extern MainWindowWidgets MainWindow;
// Players whose available flag is set, as UpdatePlayerCounters last counted.
extern int AvailablePlayerCount;

inline constexpr const char* ProgramTitle = "Quon FREE 3.51";

// Builds the main window (not yet shown) and fills MainWindow.
WkObject* BuildMainWindow();

// The status line's text for the tournament as it stands.
std::string StatusLineText();
// Writes StatusLineText into the status line.
void UpdateStatusLine();
void UpdatePlayerCounters();
void RefreshRoundControls();
// Enables or disables a control; a control not built is skipped.
void SetSensitive(WkObject* object, bool on);

// A modal question with two buttons, message 1 then message 0; 1 when the
// message 0 button was pressed, else 0.
int AskYesNo(const char* title, const char* text);

// The accelerators' target: moves the focus to the player-form field of one
// of the eleven Ctrl keys and returns 0; any other key code comes back
// unchanged and nothing moves.
int FocusFieldByKey(WkObject* window, int key);

// The close question: 0 keeps the program running; 1 closes without saving;
// 2 saves and closes, but stays open when the save did not succeed, so that
// nothing typed is lost (with no player registered nothing can be). Closing
// shuts the toolkit down and ends the process.
int OnMainWindowClose(WkObject* window, std::intptr_t value, void* userData, struct WkMessage* message);
