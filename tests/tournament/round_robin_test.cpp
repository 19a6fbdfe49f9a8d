#include "tournament/round_robin.h"

#include "support/tournament_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Board {
    int white, black, digit;
    bool operator==(const Board&) const = default;
};

std::vector<Board> RoundBoards(int round) {
    std::vector<Board> boards;
    for (int row = 1; row <= GameTable(0, round); ++row) {
        Board b{};
        DecodeGameCode(GameTable(row, round), b.white, b.black, b.digit);
        boards.push_back(b);
    }
    return boards;
}

class RoundRobinScheduleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        Settings.PairingSystem = SingleRoundRobinSystem;
    }
};

TEST_F(RoundRobinScheduleTest, SixPlayersGiveTheBergerTable) {
    ASSERT_EQ(BuildRoundRobinPairings(6), 5);
    const std::vector<std::vector<Board>> expected = {
        {{1, 6, 9}, {2, 5, 9}, {3, 4, 9}}, {{6, 4, 9}, {5, 3, 9}, {1, 2, 9}},
        {{2, 6, 9}, {3, 1, 9}, {4, 5, 9}}, {{6, 5, 9}, {1, 4, 9}, {2, 3, 9}},
        {{3, 6, 9}, {4, 2, 9}, {5, 1, 9}},
    };
    for (int round = 1; round <= 5; ++round)
        EXPECT_EQ(RoundBoards(round), expected[round - 1]) << "round " << round;
    EXPECT_EQ(GameTable(0, 6), 0);
}

TEST_F(RoundRobinScheduleTest, FourAndEightPlayers) {
    ASSERT_EQ(BuildRoundRobinPairings(4), 3);
    EXPECT_EQ(RoundBoards(1), (std::vector<Board>{{1, 4, 9}, {2, 3, 9}}));
    EXPECT_EQ(RoundBoards(2), (std::vector<Board>{{4, 3, 9}, {1, 2, 9}}));
    EXPECT_EQ(RoundBoards(3), (std::vector<Board>{{2, 4, 9}, {3, 1, 9}}));
    ASSERT_EQ(BuildRoundRobinPairings(8), 7);
    EXPECT_EQ(RoundBoards(2), (std::vector<Board>{{8, 5, 9}, {6, 4, 9}, {7, 3, 9}, {1, 2, 9}}));
    EXPECT_EQ(RoundBoards(7), (std::vector<Board>{{4, 8, 9}, {5, 3, 9}, {6, 2, 9}, {7, 1, 9}}));
}

TEST_F(RoundRobinScheduleTest, OddCountsPutTheByeOnTheLastBoard) {
    ASSERT_EQ(BuildRoundRobinPairings(5), 5);
    const std::vector<std::vector<Board>> expected = {
        {{2, 5, 9}, {3, 4, 9}, {1, 0, 2}}, {{5, 3, 9}, {1, 2, 9}, {4, 0, 2}},
        {{3, 1, 9}, {4, 5, 9}, {2, 0, 2}}, {{1, 4, 9}, {2, 3, 9}, {5, 0, 2}},
        {{4, 2, 9}, {5, 1, 9}, {3, 0, 2}},
    };
    for (int round = 1; round <= 5; ++round) {
        EXPECT_EQ(GameTable(0, round), 3);
        EXPECT_EQ(RoundBoards(round), expected[round - 1]) << "round " << round;
    }
    EXPECT_EQ(GameTable(3, 1), 10002);

    ASSERT_EQ(BuildRoundRobinPairings(3), 3);
    for (int round = 1; round <= 3; ++round) {
        const std::vector<Board> boards = RoundBoards(round);
        ASSERT_EQ(boards.size(), 2u);
        EXPECT_EQ(boards[0].digit, 9);
        EXPECT_EQ(boards[1].black, 0);
        EXPECT_EQ(boards[1].digit, 2);
    }
}

TEST_F(RoundRobinScheduleTest, DoubleRoundRobinMirrorsTheFirstCycle) {
    Settings.PairingSystem = DoubleRoundRobinSystem;
    ASSERT_EQ(BuildRoundRobinPairings(4), 6);
    EXPECT_EQ(RoundBoards(4), (std::vector<Board>{{4, 1, 9}, {3, 2, 9}}));
    ASSERT_EQ(BuildRoundRobinPairings(5), 10);
    EXPECT_EQ(RoundBoards(6), (std::vector<Board>{{5, 2, 9}, {4, 3, 9}, {0, 1, 2}}));
    EXPECT_EQ(GameTable(3, 6), 12);
}

TEST_F(RoundRobinScheduleTest, NothingForSwissSystemsOrCountsOutsideTheRange) {
    for (int count : {0, 2, 25, -1, 1000}) {
        EXPECT_EQ(BuildRoundRobinPairings(count), 0) << count;
        EXPECT_EQ(RoundRobinRotation(count, RoundRobinInstance), 0) << count;
    }
    Settings.PairingSystem = FideDubovSystem;
    EXPECT_EQ(BuildRoundRobinPairings(6), 0);
    EXPECT_EQ(RoundRobinInstance.gameTable[1 * RoundRobinInstance.columns + 1], 0);
    EXPECT_EQ(GameTable(SwissInstance, 1, 1), 0);
}

TEST_F(RoundRobinScheduleTest, ABuildReplacesAnEarlierLongerSchedule) {
    Settings.PairingSystem = DoubleRoundRobinSystem;
    ASSERT_EQ(BuildRoundRobinPairings(24), 46);
    Settings.PairingSystem = SingleRoundRobinSystem;
    ASSERT_EQ(BuildRoundRobinPairings(4), 3);
    EXPECT_EQ(GameTable(0, 4), 0);
    EXPECT_EQ(GameTable(3, 1), 0);
    EXPECT_EQ(GameTable(0, 46), 0);
}

// The Berger tables' defining property, checked for every count and both
// kinds: with n the even count (the BYE's number for an odd one), every
// pair of numbers below n meets in the round r with i + j = r + 1 modulo
// n - 1, the lower number white when i + j is odd; number n meets the i
// with 2i = r + 1 modulo n - 1, white in the even rounds; every pair meets
// exactly once a cycle; the second cycle swaps the colours.
TEST_F(RoundRobinScheduleTest, EveryCountMatchesTheBergerTables) {
    for (int system : {SingleRoundRobinSystem, DoubleRoundRobinSystem}) {
        for (int players = 3; players <= 24; ++players) {
            SCOPED_TRACE("system " + std::to_string(system) + ", players " + std::to_string(players));
            Settings.PairingSystem = system;
            const bool odd = players % 2 != 0;
            const int n = odd ? players + 1 : players;
            const int cycle = n - 1;
            const int cycles = system == DoubleRoundRobinSystem ? 2 : 1;
            ASSERT_EQ(BuildRoundRobinPairings(players), cycle * cycles);
            for (int c = 0; c < cycles; ++c) {
                std::set<std::pair<int, int>> met;
                for (int r = 1; r <= cycle; ++r) {
                    const int round = c * cycle + r;
                    const std::vector<Board> boards = RoundBoards(round);
                    ASSERT_EQ(static_cast<int>(boards.size()), n / 2);
                    std::set<int> seen;
                    for (std::size_t b = 0; b < boards.size(); ++b) {
                        Board board = boards[b];
                        if (c == 1) std::swap(board.white, board.black);
                        const bool bye = board.white == 0 || board.black == 0;
                        // The BYE, if any, is the last board; the others are
                        // unplayed games.
                        EXPECT_EQ(bye, odd && b + 1 == boards.size());
                        EXPECT_EQ(board.digit, bye ? 2 : 9);
                        const int white = bye ? (board.white == 0 ? n : board.white) : board.white;
                        const int black = bye ? (board.black == 0 ? n : board.black) : board.black;
                        if (bye && c == 0) {
                            EXPECT_EQ(board.black, 0); // stored (player, BYE)
                        }
                        ASSERT_TRUE(seen.insert(white).second && seen.insert(black).second);
                        const int low = std::min(white, black);
                        const int high = std::max(white, black);
                        EXPECT_TRUE(met.insert({low, high}).second) << low << "-" << high << " twice";
                        if (high == n) {
                            EXPECT_EQ((2 * low) % cycle, (r + 1) % cycle);
                            // The BYE is stored as (player, BYE) whatever
                            // the colour of its board.
                            if (!bye) {
                                EXPECT_EQ(white == n, r % 2 == 0) << "round " << r;
                            }
                        } else {
                            EXPECT_EQ((low + high) % cycle, (r + 1) % cycle);
                            EXPECT_EQ(white == low, (low + high) % 2 != 0) << low << "-" << high;
                        }
                        // The game with n is board 1 (or the BYE board).
                        if (!odd) {
                            EXPECT_EQ(high == n, b == 0);
                        }
                    }
                }
                EXPECT_EQ(static_cast<int>(met.size()), n * (n - 1) / 2);
            }
        }
    }
}

} // namespace
