// The results file (".res"): a whole round's results at once. Line 1 holds
// the number of boards and the round ("%d  %d"), then one line a board in
// board order with White's id, Black's id and the result digit ("%d %d %d").
// The file is read and checked whole before anything changes; it owns
// nothing once read.
#pragma once

#include <string>
#include <vector>

// Reads the results of round (the shown round, which must be the current
// round) from the file at path into codes, one game code a board. False,
// after an alert naming the line and what it should hold, when the file
// cannot be opened, belongs to another round or another number of boards,
// pairs other players than the round's boards, or holds a digit outside
// 0..9; codes is then left empty.
bool ReadResultsFile(const std::string& path, int round, std::vector<int>& codes);

// The load-results button: while the result entry is closed an alert says
// so; otherwise it chooses a ".res" file and, when it is good, writes its
// results into the shown round and lists them.
void LoadResultsFile();
