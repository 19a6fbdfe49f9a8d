#include "tournament/round_tables.h"

#include "support/recording_message_box.h"
#include "support/tournament_state.h"

#include <gtest/gtest.h>

namespace {

class RoundTablesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        for (int i = 0; i < 6; ++i)
            AddTestPlayer("P" + std::to_string(i + 1), 2000 - i);
    }
    struct Cells {
        int color, opponent, result;
    };
    static Cells CellsOf(int id, int round) {
        return {ColorHistory(id, round), OpponentTable(id, round), PlayerResultTable(id, round)};
    }
    RecordingMessageBox boxes;
};

struct DigitCase {
    int digit;
    int whiteCode, blackCode;
    bool swissRecords; // colour and opponent written in a Swiss round
};

const DigitCase DigitCases[] = {
    {0, LossAtBoard, WinAtBoard, true},         {1, WinAtBoard, LossAtBoard, true},
    {2, LossUnplayed, LossUnplayed, false},     {3, WinUnplayed, LossUnplayed, false},
    {4, LossUnplayed, WinUnplayed, false},      {5, DrawAtBoard, DrawAtBoard, true},
    {6, HalfUnplayed, HalfUnplayed, false},     {7, HalfUnplayed, HalfUnplayed, true},
    {8, HalfNoGameCode, HalfNoGameCode, false},
};

TEST_F(RoundTablesTest, SwissBoardsGiveTheirCodesColoursAndOpponents) {
    for (const DigitCase& c : DigitCases) {
        SCOPED_TRACE(c.digit);
        ClearRoundTables();
        SetTestBoard(1, 1, 2, 5, c.digit);
        RebuildRoundTables(1);
        Cells white = CellsOf(2, 1), black = CellsOf(5, 1);
        EXPECT_EQ(white.result, c.whiteCode);
        EXPECT_EQ(black.result, c.blackCode);
        EXPECT_EQ(white.color, c.swissRecords ? 1 : 0);
        EXPECT_EQ(black.color, c.swissRecords ? -1 : 0);
        EXPECT_EQ(white.opponent, c.swissRecords ? 5 : 0);
        EXPECT_EQ(black.opponent, c.swissRecords ? 2 : 0);
    }
}

TEST_F(RoundTablesTest, RoundRobinBoardsAlwaysRecordTheGame) {
    Settings.PairingSystem = SingleRoundRobinSystem;
    for (const DigitCase& c : DigitCases) {
        SCOPED_TRACE(c.digit);
        ClearRoundTables();
        SetTestBoard(3, 1, 2, 5, c.digit);
        RebuildRoundTables(3);
        Cells white = CellsOf(2, 3), black = CellsOf(5, 3);
        if (c.digit == HalfNoGame) {
            EXPECT_EQ(white.result, 0);
            EXPECT_EQ(white.opponent, 0);
            EXPECT_EQ(black.color, 0);
            continue;
        }
        EXPECT_EQ(white.result, c.whiteCode);
        EXPECT_EQ(black.result, c.blackCode);
        EXPECT_EQ(white.color, 1);
        EXPECT_EQ(black.color, -1);
        EXPECT_EQ(white.opponent, 5);
        EXPECT_EQ(black.opponent, 2);
    }
    // The Swiss instance is not touched by a round robin.
    EXPECT_EQ(ColorHistory(SwissInstance, 2, 3), 0);
}

TEST_F(RoundTablesTest, ByeBoardsWriteTheByeRow) {
    SetTestBoard(1, 1, 1, 2, WhiteWins);
    SetTestBoard(1, 2, 3, 0, WhiteWinsForfeit);
    RebuildRoundTables(1);
    EXPECT_EQ(PlayerResultTable(3, 1), WinUnplayed);
    EXPECT_EQ(ColorHistory(3, 1), 0);
    EXPECT_EQ(OpponentTable(3, 1), 0);
    EXPECT_EQ(PlayerResultTable(0, 1), LossUnplayed);

    Settings.PairingSystem = SingleRoundRobinSystem;
    SetTestBoard(1, 1, 3, 0, BothForfeit);
    RebuildRoundTables(1);
    EXPECT_EQ(PlayerResultTable(3, 1), LossUnplayed);
    EXPECT_EQ(ColorHistory(3, 1), 1);
    EXPECT_EQ(OpponentTable(3, 1), 0);
    EXPECT_EQ(PlayerResultTable(0, 1), LossUnplayed);
    EXPECT_EQ(ColorHistory(0, 1), -1);
    EXPECT_EQ(OpponentTable(0, 1), 3);
}

TEST_F(RoundTablesTest, AResultSetBackToNotPlayedNoLongerCounts) {
    SetTestBoard(2, 1, 1, 4, WhiteWins);
    RebuildRoundTables(2);
    ASSERT_EQ(PlayerResultTable(1, 2), WinAtBoard);
    GameTable(1, 2) = EncodeGameCode(1, 4, NotPlayed);
    RebuildRoundTables(2);
    EXPECT_EQ(CellsOf(1, 2).result, 0);
    EXPECT_EQ(CellsOf(1, 2).color, 0);
    EXPECT_EQ(CellsOf(1, 2).opponent, 0);
    EXPECT_EQ(CellsOf(4, 2).opponent, 0);

    // A game turned into a forfeit loses the colours and the meeting.
    GameTable(1, 2) = EncodeGameCode(1, 4, Draw);
    RebuildRoundTables(2);
    GameTable(1, 2) = EncodeGameCode(1, 4, BlackWinsForfeit);
    RebuildRoundTables(2);
    EXPECT_EQ(CellsOf(1, 2).result, LossUnplayed);
    EXPECT_EQ(CellsOf(4, 2).result, WinUnplayed);
    EXPECT_EQ(CellsOf(1, 2).color, 0);
    EXPECT_EQ(CellsOf(4, 2).opponent, 0);
}

TEST_F(RoundTablesTest, APlayerLeftOutOfANewPairingKeepsOnlyAByeByHand) {
    // A BYE given by hand before the pairing stands in the player's cells.
    Players[6].available = 0;
    PlayerResultTable(6, 1) = HalfNoGameCode;
    ColorHistory(6, 1) = 1;
    SetTestBoard(1, 1, 1, 5, WhiteWins);
    SetTestBoard(1, 2, 2, 3, Draw);
    RebuildRoundTables(1);
    EXPECT_EQ(PlayerResultTable(6, 1), HalfNoGameCode);
    EXPECT_EQ(ColorHistory(6, 1), 0); // unavailable: no colour

    // The round paired again without player 5, who withdrew: his old game
    // is gone, the BYE by hand stays.
    Players[5].available = 0;
    GameTable(0, 1) = 0;
    SetTestBoard(1, 1, 1, 2, Draw);
    SetTestBoard(1, 2, 3, 4, Draw);
    RebuildRoundTables(1);
    EXPECT_EQ(CellsOf(5, 1).result, 0);
    EXPECT_EQ(CellsOf(5, 1).opponent, 0);
    EXPECT_EQ(CellsOf(5, 1).color, 0);
    EXPECT_EQ(PlayerResultTable(6, 1), HalfNoGameCode);
}

TEST_F(RoundTablesTest, IndicesOutsideTheTablesAreHarmless) {
    ColorHistory(PlayerRows, 1) = 5;
    OpponentTable(-1, 1) = 5;
    PlayerResultTable(1, SwissRoundColumns) = 5;
    GameTable(SwissMaxBoards + 1, 1) = 5;
    EXPECT_EQ(ColorHistory(PlayerRows, 1), 0);
    EXPECT_EQ(GameTable(SwissMaxBoards + 1, 1), 0);
    GameTable(SwissMaxBoards, SwissMaxRound) = 42;
    EXPECT_EQ(GameTable(SwissMaxBoards, SwissMaxRound), 42);
    ColorHistory(MaxPlayers, SwissMaxRound) = -1;
    EXPECT_EQ(ColorHistory(MaxPlayers, SwissMaxRound), -1);

    Settings.PairingSystem = DoubleRoundRobinSystem;
    GameTable(RoundRobinMaxBoards, RoundRobinMaxRound) = 240019;
    EXPECT_EQ(GameTable(RoundRobinMaxBoards, RoundRobinMaxRound), 240019);
    EXPECT_EQ(GameTable(RoundRobinMaxBoards + 1, 1), 0);
    ColorHistory(RoundRobinMaxPlayers, RoundRobinMaxRound) = 1;
    EXPECT_EQ(ColorHistory(RoundRobinMaxPlayers, RoundRobinMaxRound), 1);
    OpponentTable(RoundRobinMaxPlayers + 1, 1) = 3;
    EXPECT_EQ(OpponentTable(RoundRobinMaxPlayers + 1, 1), 0);
    FloatHistory(1, 1) = 1; // no float history in a round robin
    EXPECT_EQ(FloatHistory(1, 1), 0);
}

TEST_F(RoundTablesTest, CorruptGamesAndBoardCountsStayInsideTheTables) {
    Settings.PairingSystem = SingleRoundRobinSystem;
    GameTable(0, 1) = 1000000;    // board count far beyond 12 rows
    GameTable(1, 1) = 2147483647; // decodes to ids far beyond the table
    GameTable(2, 1) = -123456;
    EXPECT_EQ(RoundBoardCount(1), RoundRobinMaxBoards);
    RebuildRoundTables(1);
    RebuildRoundTables(0);
    RebuildRoundTables(RoundRobinRoundColumns);
    EXPECT_EQ(RoundBoardCount(-1), 0);
}

TEST_F(RoundTablesTest, RoundRobinUsesBoardRowTwelve) {
    Settings.PairingSystem = SingleRoundRobinSystem;
    for (int i = 7; i <= 24; ++i)
        AddTestPlayer("Q" + std::to_string(i), 1500);
    for (int board = 1; board <= 12; ++board)
        SetTestBoard(1, board, board, 25 - board, Draw);
    RebuildRoundTables(1);
    EXPECT_EQ(RoundBoardCount(1), 12);
    EXPECT_EQ(OpponentTable(12, 1), 13);
    EXPECT_EQ(OpponentTable(13, 1), 12);
    EXPECT_EQ(PlayerResultTable(24, 1), DrawAtBoard);
}

} // namespace
