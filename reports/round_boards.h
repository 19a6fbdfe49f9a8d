// The boards of one round as the reports print them.
//
// Reads the game table of the tournament's pairing system (or a chosen
// instance) and gives each board with its two players' printable data. The
// board count is limited to the table's board rows, and an id that names no
// player row (a corrupt game code) prints as an empty record, so a report
// never reads outside a table whatever the game table holds.
#pragma once

#include "tournament/round_tables.h"

#include <string>
#include <vector>

// What a report prints of one player.
struct BoardSide {
    int id;
    std::string name;    // whole name, "__BYE__" for id 0
    std::string title;
    int rating;          // rating used
    float score;
};

struct RoundBoard {
    int board;    // 1..count, in board order
    BoardSide white;
    BoardSide black;
    int digit;    // result digit of the game code
};

BoardSide BoardPlayer(int id);

// The boards of round in the given instance, or in the active one.
std::vector<RoundBoard> RoundBoards(RoundTableSet& set, int round);
std::vector<RoundBoard> RoundBoards(int round);
