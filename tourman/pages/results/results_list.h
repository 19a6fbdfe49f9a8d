// The results page's list of boards: the row text of one board, which the
// pairing list shares, and ShowRound, which lists the boards of a round and
// makes it the shown round. Holds no state of its own: the rows are read
// from the game table, the names and scores from the player tables.
#pragma once

#include <string>

// "%3d: %3d %-20.20s (%4.1f) - %3d %-20.20s (%4.1f) = [%s]": the board
// number, White's id, name and score, Black's id, name and score, and the
// result text of the code's digit (" ... " while the game is not played).
std::string BoardRow(int board, int gameCode);
// The row of a board of a round as the game table holds it.
std::string ResultRow(int board, int round);

// Lists on the results page the round whose number the text holds: alert
// MsgNoSuchRound and nothing else changed when it is not a round from 1 to
// CurrentRound, the round field then showing the round listed. Otherwise
// ShownRound becomes that round (RoundListed) and the window shows it
// anew, with no board chosen.
bool ShowRound(const std::string& text);
bool ShowRound(int round);

// The board label back to asking for a board.
void ForgetChosenBoard();

