// The score-group search that every Swiss engine shares.
//
// Given the players of one group in a fixed order, the search finds as many
// pairs as it can in which the two players may meet, trying partners in a
// fixed order of preference, depth first with backtracking. Failed partial
// pairings are remembered by the exact set of positions they pair and never
// entered again; after 9998 backtracks the search gives up and reports the
// longest partial pairing it saw. Two entry points set a search up:
// PairGroupHomogeneous pairs a whole group (upper half against lower half),
// PairGroupHeterogeneous gets opponents from the lower half for the players
// that must be paired first.
//
// PairingSearch is the record of one search. The calling engine owns it,
// creates it before its search and disposes of it afterwards; each entry-point
// call is one complete search and leaves its results in the record. Arrays
// follow the tournament model's convention: index 0 is not used (or holds a
// count, where said), entries run from 1.
#pragma once

#include "pairing/meeting_matrix.h"

#include <span>
#include <vector>

// One pair: two positions inside a search, or two player ids in its output.
struct SearchPair {
    int first = 0;
    int second = 0;

    friend bool operator==(const SearchPair&, const SearchPair&) = default;
};

// The search gives up after this many backtracks.
constexpr int SearchBacktrackLimit = 9998;

struct PairingSearch {
    // Set up by the entry points before SearchGroupPairing runs.
    std::vector<int> players; // the group's ids by position, [1..playerCount]
    int playerCount = 0;      // n
    int half = 0;             // h = n / 2: 1..h the upper half, h+1..n the lower
    int requiredCount = 0;    // k: 0 homogeneous, else players 1..k must be paired
    int pairLimit = 0;        // the search stops once it has this many pairs
    int round = 0;            // the round CanPlayersMeet is asked about
    MeetingMatrix meetings;   // who may meet whom among players, for round

    // Results of the last search.
    std::vector<SearchPair> resultPath; // positions, [1..pairsFound]
    int pairsFound = 0;
    int leftoverCount = 0;  // players left without a pair (0 after a complete pairing)
    int limitReached = 0;   // 1 when the search stopped at the backtrack limit
    int backtracks = 0;     // backtracks made by the last search
};

// Creating and disposing of a record both clear its counters and results;
// disposing also releases its storage.
void CreatePairingSearch(PairingSearch& search);
void DisposePairingSearch(PairingSearch& search);

// Pairs players[1..n]. Returns the number of pairs c found, negated when the
// search stopped at the backtrack limit. With c = n / 2 the pairing is
// complete: pairsOut[1..c] holds the pairs of ids in the order found and
// leftoversOut[0] is 0. Otherwise (no complete pairing, or a pair limit below
// n / 2) partialOut[1..c] holds the best partial pairing, leftoversOut[0]
// the leftover count L = 2 (n / 2 - c) and leftoversOut[1..L] the unpaired
// ids in position order. For an odd n the last player, who is never paired,
// follows the L counted ids. The output vector not filled holds only its
// unused entry 0. An n beyond the players given is cut to them.
int PairGroupHomogeneous(PairingSearch& search, int n, int pairLimit, std::span<const int> players,
                         std::vector<SearchPair>& pairsOut, std::vector<int>& leftoversOut,
                         std::vector<SearchPair>& partialOut, int round);

// players[1..k] must be paired, each with one of players[h+1..2h], h = n / 2;
// positions k+1..h are placeholders the search does not use. Returns k with
// pairsOut[1..k] filled (first id the required player) when every required
// player got an opponent, else 0 with only pairsOut[0]. A k outside 1..h
// pairs nothing and returns 0.
int PairGroupHeterogeneous(PairingSearch& search, int n, int k, std::span<const int> players,
                           std::vector<SearchPair>& pairsOut, int round);

// The search itself, on a record whose players, counts, pair limit, round
// and meeting matrix are set (the entry points do that). Returns the number
// of pairs of the result path: the target (n / 2, or k) or the pair limit
// when reached, else the longest partial path seen. A required count above
// h is cut to h; a matrix not built for the players and round is built
// afresh. Writes the limit line to
// the pairing trace when it gives up.
int SearchGroupPairing(PairingSearch& search);
