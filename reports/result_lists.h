// The result lists of a round: "result%d.txt" and the web page
// "result%d.html" in the DataFolder, the round's boards in board order with
// the result text of each game (" ... " while it is not played). Written
// when a round's results are saved, for the ShownRound, which may be an
// earlier round being corrected. Only reads the tournament's tables.
#pragma once

// Writes both lists of round whole; each is written even when the other
// fails. Returns true only when both were written.
bool WriteResultLists(int round);
