// The cross table of the tournament: "crosstbl.txt" and the web page
// "crosstbl.html" in the DataFolder, rewritten after every recomputation of
// the scores.
//
// In a Swiss tournament it has one row per player in pairing-number order
// and one cell per round up to the CurrentRound, giving the result, the
// colour and the opponent of that round; in a round robin the square table of
// round_robin_cross_table.h is written under the same names instead. Only
// reads the players, the scores and the per-round tables.
#pragma once

#include <string>

// Writes both files for players 1..players (each even when the other fails).
// Returns true only when both were written.
bool WriteCrossTable(int players);

// The opening of a cross-table page, up to the inner table's opening tag
// given by the caller, and its closing after the inner table's last row.
void AppendCrossTablePageStart(std::string& out, const char* innerTable);
void AppendCrossTablePageEnd(std::string& out);

// The six-character cell of one player and round of the Swiss table: " --   "
// without a game, "+BYE  ", "-BYE  " or "=BYE  " for a point, a loss or a
// half point without an opponent, else the result sign, the colour letter
// (W, B, or N for none) and the opponent id, as "+W12  ".
std::string SwissCrossTableCell(int id, int round);
