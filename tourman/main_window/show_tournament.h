// What shows the whole tournament: every page's controls, lists, captions and viewer
// by the page's own show function, then the main window's menu items, page
// tabs, status line and counters. It sits above every page, command and
// dialog and runs from one place: the round state's window hook, which every
// transition of the tournament fires (InstallTournamentShow fills it).
#pragma once

#include <string>

// Shows the tournament's state everywhere, as the model holds it.
void ShowTournament();
// The main window's menu items (Save, load a round file) and page tabs
// (pairing, results) as the stage allows them, and the players page, the
// focus in Name, in place of either of them greyed for the registration
// open; ShowTournament adds the status line and the counters.
void ShowWindowState();

// The status line's text for the tournament as it stands; a tournament at
// its last round shows it in parentheses, a proposed round that it waits to
// be accepted.
std::string StatusLineText();
// Writes StatusLineText into the status line.
void UpdateStatusLine();
// The status bar's counters of the players and of the available ones.
void UpdatePlayerCounters();

// The round state's window hook runs ShowTournament from now on; the
// main window fills it once built and empties it when it goes.
void InstallTournamentShow();
void RemoveTournamentShow();
