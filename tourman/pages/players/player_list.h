// The player list of the players page as the register of the tournament.
//
// Until the registration is closed the rows of the player list are the
// master copy of the registered players: row i (from 0) is player i + 1.
// This module turns the rows (player_list_row.h gives their layout) into
// the `Player` records (CommitPlayerList) and fills the hooks through which
// the tournament-file reader fills the player list and the list of
// unavailable players, and the commands commit the register. It owns no state of its own.
#pragma once

// Players 1..PlayerCount from the rows of the player list, their rating used
// and category rank set; the second list is refilled with the rows of the
// players who are not available. A player without a row keeps his record.
// No message, no status update: the form calls it after every change so
// that the counters always count the players as listed.
void RowsToPlayers();

// RowsToPlayers; with no registered player alert MsgNoPlayerRegistered and
// change nothing (false). The counters and the status line follow with the
// transition the committing command ends in.
bool CommitPlayerList();

// Empties the player list and the list of unavailable players.
void ClearPlayerLists();

// Points the tournament-file reader's list hooks at the main window's player
// lists (adding, clearing, hiding and showing rows, and keeping file order).
void InstallPlayerListHooks();
