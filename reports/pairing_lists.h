// The pairing lists of a round and the round-robin schedule list.
//
// WritePairingLists writes, into the DataFolder, the printable list with
// scores "pairs%d.txt", the web page "pairs%d.html", the notice-board table
// "pairing%d.txt" and, in a Swiss tournament, the manual-pairing file
// "pairs%d.man"; ReadPairFile reads that file back for the manual-pairing
// window. WriteRoundRobinPairings writes every round of a round robin's
// schedule into "pairsRR.txt". The result columns are left as dots for the
// arbiter's pen. The writers only read the tournament's tables.
#pragma once

#include <string>
#include <vector>

// Writes every list of round (the CurrentRound once its boards, colours
// and board order stand). Each file is written even when another one fails;
// returns true only when all of them were written.
bool WritePairingLists(int round);

// Writes "pairsRR.txt" with rounds 1 to the schedule's last round (n - 1
// for n players, n when n is odd, twice that in a double round robin) from
// the round-robin game table. Returns whether the file was written.
bool WriteRoundRobinPairings();

// The number of rounds of the round-robin schedule of playerCount players
// under the pairing system (2 single, 5 double).
int RoundRobinRoundCount(int playerCount, int pairingSystem);

// One board of a manual-pairing file.
struct PairFileBoard {
    int white;
    int black;   // 0 on the BYE board
};

// Writes the manual-pairing file of round from the Swiss game table: the
// board count, then one "white    black" line per board.
bool WritePairFile(const std::string& path, int round);

// Reads a manual-pairing file: a board count, then that many pairs of white
// and black ids, all decimal numbers separated by any white space. A count
// above the Swiss board rows, an id outside 0..999, a missing number,
// anything that is not a number, a player against himself, the BYE against
// the BYE or a player on two boards gives false and an error naming the
// file, the line and what was expected; boards is then left empty.
bool ReadPairFile(const std::string& path, std::vector<PairFileBoard>& boards, std::string& error);
