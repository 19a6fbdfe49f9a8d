// The player's row in the main window's player lists, written and read back.
//
// Until the registration is closed the rows of the player list are the
// master copy of the registered players, so the row is a format of its own:
// the tournament-file reader, the player form and the importers write it,
// and the list, the form and the bye dialog read it back. Fixed columns,
// Windows-1252 text, no line end. Owns nothing.
#pragma once

#include "tournament/players.h"

#include <string>

// The gender letter as a row or a file line writes it: a blank for none, and
// for a ';' or a line break, which would split the line.
char GenderChar(char gender);

// The player's row. With number 0 (the registration open) the name fills 20
// characters and 7 blanks follow; with a number (the registration closed)
// "%3d: " precedes the name and 2 blanks follow. Either way the other fields
// begin at column 27, so the form, the file reader and the importers give
// the same row for the same player.
std::string PlayerListRow(const Player& player, int number);

// Reads a row as PlayerListRow lays it out (numbered or not) into player's
// name (the 20 characters before column 27, padding kept) and, from column
// 27 on, FIDE and national rating, title, country, available flag, birth
// date, FIDE and national id, K factor and gender letter; every other field
// of player is left alone. Texts are read at their columns, so an empty
// title or country reads as empty.
// The row is taken as numbered only when it begins with the number of its
// place in the list (1 for the first row), as the program numbers it; any
// other text there, such as a name that reads "100: ROSSI", is the name.
// False for a row too short to hold a name and fields (nothing changed).
bool ReadPlayerListRow(const std::string& row, int place, Player& player);
