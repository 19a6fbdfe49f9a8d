// Who may meet whom inside one group search.
//
// A search asks, for many pairs of a group's positions, whether the two
// players may be paired in the round. The expensive part of that question is
// the history (has the one player's opponent row got the other in an earlier
// round); the rest reads a few fields of the pairing state. MeetingMatrix
// holds the history of one group as bits by position, read once from the
// opponent table, and answers the whole question exactly as CanPlayersMeet
// would, without scanning any table again. It holds nothing between searches
// that could go stale: it is built for the players and round of one search.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class MeetingMatrix {
public:
    // Reads the history of players[1..n] for the round: rounds 1..round-1 of
    // every player's opponent row. Any earlier content is dropped.
    void build(std::span<const int> players, int n, int round);

    int size() const { return count_; }
    int round() const { return round_; }
    // The player id at position p (1..size()).
    int player(int p) const { return players_[p]; }

    // True when the opponent row of position row's player holds the player
    // of position other in an earlier round.
    bool met(int row, int other) const;
    // Records such a meeting (row's player met other's player).
    void markMet(int row, int other);

    // CanPlayersMeet(player(a), player(b), round()), from the bits and the
    // pairing state as it stands now.
    bool mayMeet(int a, int b) const;

private:
    int count_ = 0;
    int round_ = 0;
    int words_ = 0; // 64-bit words per row
    std::vector<int> players_;
    std::vector<std::uint64_t> bits_;
};
