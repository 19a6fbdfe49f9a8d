// The players page: built by BuildPlayersPage into its notebook page (the
// player entry form, its buttons, the notebook of the player list, the list
// of unavailable players and the database page, the lists' popup menu, the
// search field, the delete and close-registration buttons) and wired by
// ConnectPlayersPage to the form's commands (player_form.h), the popup's
// dialogs and the close of the registration; also the Ctrl keys that move
// the focus to a field of the form. The widgets are PlayersPage
// (players_widgets.h).
#pragma once

struct WkObject;

// Builds the page into page, filling PlayersPage.
void BuildPlayersPage(WkObject* page);
// Connects the page's buttons, lists and search field, has the popup menu
// go with the window, and starts the form empty.
void ConnectPlayersPage();
// The page as the registration stands. Open (or no tournament yet): the
// add button adds players, who may be deleted, and the list keeps its rows
// in order; the registration may be closed once a tournament is made.
// Closed: the add button takes late entries, nothing is deleted and the
// rows keep their pairing numbers.
void ShowPlayersPageState();
// Hides the player list while a file refills it, and shows it again.
void HidePlayerList(bool hidden);

// Gives the window the eleven Ctrl keys of the player form.
void InstallPlayerFormKeys(WkObject* window);

// The accelerators' target: moves the focus to the player-form field of one
// of the eleven Ctrl keys and returns 0; any other key code comes back
// unchanged and nothing moves.
int FocusFieldByKey(WkObject* window, int key);
