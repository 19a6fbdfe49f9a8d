#include "pairing/meeting_matrix.h"

#include "tournament/capacities.h"
#include "tournament/pairing_predicates.h"
#include "tournament/round_tables.h"

#include <algorithm>

void MeetingMatrix::build(std::span<const int> players, int n, int round) {
    const int available = players.empty() ? 0 : static_cast<int>(players.size()) - 1;
    count_ = std::clamp(n, 0, available);
    round_ = round;
    words_ = count_ / 64 + 1;
    players_.assign(count_ + 1, 0);
    for (int p = 1; p <= count_; ++p) players_[p] = players[p];
    bits_.assign(static_cast<std::size_t>(count_ + 1) * words_, 0);

    // Positions by player id (a group may hold an id twice, such as the
    // placeholders of a heterogeneous search): first position, then a chain.
    std::vector<int> first(PlayerRows, 0);
    std::vector<int> next(count_ + 1, 0);
    for (int p = count_; p >= 1; --p) {
        int id = players_[p];
        if (id < 0 || id > MaxPlayers) continue;
        next[p] = first[id];
        first[id] = p;
    }

    const int lastRound = std::min(round - 1, ActiveTables().lastRound());
    for (int row = 1; row <= count_; ++row) {
        int id = players_[row];
        if (id < 0 || id > MaxPlayers) continue;
        for (int r = 1; r <= lastRound; ++r) {
            int opponent = OpponentTable(id, r);
            if (opponent < 0 || opponent > MaxPlayers) continue;
            for (int q = first[opponent]; q != 0; q = next[q]) markMet(row, q);
        }
    }
}

bool MeetingMatrix::met(int row, int other) const {
    if (row < 1 || row > count_ || other < 1 || other > count_) return false;
    return (bits_[static_cast<std::size_t>(row) * words_ + other / 64] >> (other % 64)) & 1u;
}

void MeetingMatrix::markMet(int row, int other) {
    if (row < 1 || row > count_ || other < 1 || other > count_) return;
    bits_[static_cast<std::size_t>(row) * words_ + other / 64] |= std::uint64_t{1} << (other % 64);
}

bool MeetingMatrix::mayMeet(int a, int b) const {
    if (a < 1 || a > count_ || b < 1 || b > count_) return false;
    const int x = players_[a];
    const int y = players_[b];
    // In round 1 nobody has met anybody, so CanPlayersMeet with round 1
    // gives every rule but the history. The history is the second player's
    // row; it only counts for pairs that the empty-slot, same-player and BYE
    // rules have not decided before it.
    if (met(b, a)) {
        const bool decidedEarlier = x == EmptySlot || y == EmptySlot || x == y ||
                                    (x == 0 && StateRecord(y).byeEligibility == 1) ||
                                    (y == 0 && StateRecord(x).byeEligibility == 1);
        if (!decidedEarlier) return false;
    }
    return CanPlayersMeet(x, y, 1) == 1;
}
