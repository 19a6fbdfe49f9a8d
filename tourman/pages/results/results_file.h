// The results file (".res"): a whole round's results at once: the number of
// boards and the round, then for each board in board order White's id,
// Black's id and the result digit. The program's own files hold the two
// first numbers on line 1 ("%d  %d") and a board a line ("%d %d %d"); any
// white space, line ends included, separates the numbers. The file is read
// and checked whole before anything changes; it owns nothing once read.
#pragma once

#include <string>
#include <vector>

// Reads the results of round (the shown round, which must be the current
// round) from the file at path into codes, one game code a board. False,
// after an alert naming the line and what it should hold, when the file
// cannot be opened, belongs to another round, counts another number of
// boards, pairs other players than the round's boards, holds a digit
// outside 0..9, or gives a BYE board another result than the BYE's; codes
// is then left empty.
bool ReadResultsFile(const std::string& path, int round, std::vector<int>& codes);

// The load-results button: while the result entry is closed an alert says
// so; otherwise it chooses a ".res" file and, when it is good, writes its
// results into the shown round and lists them.
void LoadResultsFile();
