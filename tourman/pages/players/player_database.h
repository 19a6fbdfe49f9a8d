// The player database the database page works on, and the players export.
//
// Holds the chosen database's path and the database-free flag (1 while no
// database is open; the File menu's choice of a database and its kind,
// ImportMode of column_filter.h, is the database page's), and the export of
// the registered players to a semicolon file that the kind 1 import reads
// back.
#pragma once

#include <string>

// Folder and file name of the chosen database; kept while the program runs.
extern std::string PlayerDatabasePath;
// 1 while no database is open; a choice clears it, the page's close sets it.
extern int DatabaseFree;

// File, Export, MsgExportPlayersItem: MsgNoPlayerRegistered without players;
// otherwise asks for a ".csv" file, commits the player list and writes the
// export.
void ExportPlayersCommand();
// The header and one line a player 1..PlayerCount, CR LF; replaces an old
// file only when the new one is whole. False after MsgCannotCreateFile
// naming the path.
bool WritePlayersExport(const std::string& path);
