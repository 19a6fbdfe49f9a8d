// The "Database" page of the players notebook: a search field that lists
// the lines of the chosen player database holding a pattern, and the import
// of a listed line into the player list (activating it) or into the player
// entry form (the import button); also the File menu's choice of the
// database, which opens the page's input column. The widgets are created once by
// BuildDatabasePage and kept for the process in DatabasePage; the input
// column is enabled only while a database is open.
#pragma once

#include <cstdint>

struct WkObject;
struct WkListItem;
struct WkMenuItem;

struct DatabasePageWidgets {
    WkObject* list = nullptr;  // the lines found
    WkObject* input = nullptr; // the column of the search field, buttons and toggle
    WkObject* search = nullptr;
    WkObject* importButton = nullptr;
    WkObject* closeButton = nullptr;
    WkObject* sortToggle = nullptr;
};
extern DatabasePageWidgets DatabasePage;

// The items of the File menu's player-database submenu, the kind (1 to 4) as
// user data. A second choice while a database is open gives
// MsgDatabaseAlreadyOpen; that, and a cancelled browser, leave the import mode
// and the open database as they were. The FIDE kind loads the default column
// filter first.
void ChoosePlayerDatabase(WkMenuItem* item, int checked, void* kind);

// Builds the page into parent (the notebook page being filled); the second
// argument is not used. No database is open afterwards.
void BuildDatabasePage(WkObject* parent, void* unused);
// Lists every line of the database holding the pattern (in any case), or every
// line for "*****": each line read whole, upper-cased, listed cut to the list's
// 100 characters (and marked so). MsgCannotOpenDatabase when the file cannot be
// opened (the list keeps its lines), MsgNoPlayerFound when nothing matched (the
// list empty).
void SearchPlayerDatabase(const char* pattern);
// Enter in the search field: MsgChooseDatabaseFirst without a database; a
// pattern of more than three characters searches, a shorter one beeps. The
// focus then goes to the list.
void OnDatabaseSearchEnter(WkObject* edit, char* text, void* data);
// A listed line activated: imported as a new row of the player list by the
// reader of the import mode; refused while the registration is closed.
void OnDatabaseLineActivated(WkObject* list, WkListItem* item, void* data, std::intptr_t extra = 0);
// The selected line into the player entry form.
void OnImportButton(WkObject* button, void* record, void* data);
// Closes the database: the input column greyed, the list and the import
// mode kept, another database may be chosen.
void OnCloseDatabase(WkObject* button, void* record, void* data);
// On: later searches list in case-insensitive order; off: in file order.
void OnSortToggle(WkObject* toggle, int on, void* data);
// While a database is open, the first six characters of a picked player's
// name go into the search field.
void ShowNameInDatabaseSearch(const char* name);
