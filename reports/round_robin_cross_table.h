// The square cross table of a round robin: "crosstbl.txt" and the web page
// "crosstbl.html" in the DataFolder, written in place of the Swiss cross
// table whenever the tournament is a round robin.
//
// Rows and columns are the players in standings order; each cell holds the
// row player's results against the column player, one character a game in
// round order ("1", "0", "\xBD"), taken from the row player's own result, so
// a double forfeit shows a loss on both sides. Builds its 24 x 24 cells on
// each call and keeps nothing.
#pragma once

// Writes both files for players 1..players (at most 24, each file even when
// the other fails). Returns true only when both were written.
bool WriteRoundRobinCrossTable(int players);
