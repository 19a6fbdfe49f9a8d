#include "tournament/round_robin.h"

#include "tournament/capacities.h"
#include "tournament/game_code.h"
#include "tournament/settings.h"

#include <algorithm>
#include <array>

namespace {

bool ValidCount(int players) {
    return players >= RoundRobinMinPlayers && players <= RoundRobinMaxPlayers;
}

} // namespace

int RoundRobinCycleRounds(int players) {
    return players % 2 == 0 ? players - 1 : players;
}

int RoundRobinBoards(int players) {
    return (players + 1) / 2;
}

int RoundRobinRotation(int players, RoundTableSet& set) {
    if (!ValidCount(players)) return 0;
    const bool odd = players % 2 != 0;
    const int n = odd ? players + 1 : players; // n is the BYE for an odd count
    const int half = n / 2;
    const int rounds = n - 1;
    if (rounds > set.lastRound() || half > set.maxBoards()) return 0;

    int start = 1;
    for (int round = 1; round <= rounds; ++round) {
        std::array<bool, RoundRobinMaxPlayers + 2> taken{};
        std::array<int, RoundRobinMaxBoards + 1> white{};
        std::array<int, RoundRobinMaxBoards + 1> black{};

        if (round % 2 == 1) {
            white[1] = start;
            black[1] = n;
        } else {
            white[1] = n;
            black[1] = start;
        }
        taken[start] = true;

        // The walk goes upward from the start through 1..n-1, wrapping, and
        // hands out the free numbers: first the white players of boards 2 to
        // half, then the black players from board half back to board 2.
        int k = start;
        auto next = [&]() {
            do {
                k = k == n - 1 ? 1 : k + 1;
            } while (taken[k]);
            taken[k] = true;
            return k;
        };
        for (int board = 2; board <= half; ++board)
            white[board] = next();
        for (int board = half; board >= 2; --board)
            black[board] = next();
        if (half >= 2) start = black[half];

        GameTable(set, 0, round) = half;
        int row = 1;
        int byePlayer = 0;
        for (int board = 1; board <= half; ++board) {
            if (odd && (white[board] == n || black[board] == n)) {
                byePlayer = white[board] == n ? black[board] : white[board];
                continue;
            }
            GameTable(set, row++, round) = EncodeGameCode(white[board], black[board], NotPlayed);
        }
        if (odd)
            GameTable(set, half, round) = EncodeGameCode(byePlayer, 0, ByeBoardResult(byePlayer, 0, true));
    }
    return rounds;
}

int BuildRoundRobinPairings(int players) {
    const int system = Settings.PairingSystem;
    if (!IsRoundRobinSystem(system) || !ValidCount(players)) return 0;
    RoundTableSet& set = RoundRobinInstance;
    std::fill(set.gameTable, set.gameTable + set.boardRows * set.columns, 0);

    const int cycle = RoundRobinRotation(players, set);
    if (system == SingleRoundRobinSystem) return cycle;
    for (int round = cycle + 1; round <= 2 * cycle; ++round) {
        const int boards = GameTable(set, 0, round - cycle);
        GameTable(set, 0, round) = boards;
        for (int row = 1; row <= boards; ++row) {
            int white, black, digit;
            DecodeGameCode(GameTable(set, row, round - cycle), white, black, digit);
            GameTable(set, row, round) = EncodeGameCode(black, white, digit);
        }
    }
    return 2 * cycle;
}
