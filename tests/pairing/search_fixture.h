// A small tournament for the search tests: players whose colours all fit,
// pairs forbidden by an earlier meeting, and a brute-force check of whether
// a group can be paired completely. Header only.
#pragma once

#include "support/tournament_state.h"
#include "tournament/pairing_predicates.h"

#include <gtest/gtest.h>

#include <vector>

// Rounds 1..20 hold the history the searches of round 21 look at.
constexpr int SearchRound = SwissMaxRound;

class SearchFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTournamentState();
        Settings.PairingSystem = FideDubovSystem;
        for (int i = 1; i <= 60; ++i) AddTestPlayer("PLAYER" + std::to_string(i), 2000 + i);
        for (int id = 0; id <= PlayerCount; ++id) {
            PairingStates[id].dueColor = id == 0 ? -1 : 1;
            PairingStates[id].colorFlexible = 1;
            PairingStates[id].byeEligibility = 1;
        }
        historyUsed_.assign(PlayerRows, 0);
    }
    void TearDown() override { ResetTournamentState(); }

    // Records that a and b met in an earlier round (each in his next free
    // round column), so that they may not meet again.
    void Forbid(int a, int b) {
        ASSERT_LT(historyUsed_[a], SearchRound - 1);
        ASSERT_LT(historyUsed_[b], SearchRound - 1);
        OpponentTable(a, ++historyUsed_[a]) = b;
        OpponentTable(b, ++historyUsed_[b]) = a;
    }

    // Absolute colour due: two players with the same one may not meet.
    static void MustHave(int id, int color) {
        PairingStates[id].dueColor = color;
        PairingStates[id].colorFlexible = 0;
    }

private:
    std::vector<int> historyUsed_;
};

// True when positions 1..2h of players[1..n] can all be paired, the earlier
// position of each pair asked first, as the search asks.
inline bool HasCompletePairing(const std::vector<int>& players, int n, int round) {
    const int m = (n / 2) * 2;
    std::vector<unsigned> ok(m + 1, 0);
    for (int p = 1; p <= m; ++p)
        for (int q = p + 1; q <= m; ++q)
            if (CanPlayersMeet(players[p], players[q], round)) ok[p] |= 1u << q;
    std::vector<signed char> memo(1u << (m + 1), -1);
    // used: bit p set when position p is paired.
    auto solve = [&](auto&& self, unsigned used) -> bool {
        int p = 1;
        while (p <= m && (used >> p & 1u)) ++p;
        if (p > m) return true;
        if (memo[used] >= 0) return memo[used] == 1;
        bool found = false;
        for (int q = p + 1; q <= m && !found; ++q)
            if (!(used >> q & 1u) && (ok[p] >> q & 1u)) found = self(self, used | 1u << p | 1u << q);
        memo[used] = found ? 1 : 0;
        return found;
    };
    return solve(solve, 0u);
}
