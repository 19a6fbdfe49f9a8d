// The cross tables: every kind of Swiss cell, the table before the first
// round, and the round-robin square's cells, pads, order and limits.
#include "report_tournament.h"

#include "reports/cross_table.h"
#include "reports/round_robin_cross_table.h"

#include <vector>

namespace {

// One round of a player as the Swiss tables hold it.
struct SwissRound {
    int opponent;
    int code;
    int color;
    const char* cell;
};

TEST(SwissCrossTable, EachRoundCellFollowsOpponentCodeAndColour) {
    SetUpReportTournament("cross_cells");
    const std::vector<SwissRound> rounds = {
        {0, LossAtBoard, 0, " --   "},    // no game
        {0, WinUnplayed, 0, "+BYE  "},    // the BYE or a forfeit win
        {0, LossUnplayed, 0, "-BYE  "},   // a forfeit loss, also a double forfeit
        {0, HalfUnplayed, 0, "=BYE  "},   //
        {0, HalfNoGameCode, 0, "=BYE  "}, //
        {12, WinAtBoard, 1, "+W12  "},    //
        {7, LossAtBoard, -1, "-B7   "},   //
        {3, DrawAtBoard, -1, "=B3   "},   //
        {999, HalfUnplayed, 1, "=W999 "}, // an adjourned game keeps its opponent
        {4, HalfNoGameCode, 0, "=N4   "}, // a colour not recorded
        {5, 7, 1, "W5   "},               // a code without a sign
    };
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        const int round = static_cast<int>(i) + 1;
        OpponentTable(1, round) = rounds[i].opponent;
        PlayerResultTable(1, round) = static_cast<std::uint16_t>(rounds[i].code);
        ColorHistory(1, round) = static_cast<std::int16_t>(rounds[i].color);
    }
    for (std::size_t i = 0; i < rounds.size(); ++i)
        EXPECT_EQ(SwissCrossTableCell(1, static_cast<int>(i) + 1), rounds[i].cell) << "round " << i + 1;
    // A round outside the tables reads as no game.
    EXPECT_EQ(SwissCrossTableCell(1, SwissRoundColumns + 5), " --   ");
    EXPECT_EQ(SwissCrossTableCell(MaxPlayers + 1, 1), " --   ");
}

TEST(SwissCrossTable, BeforeTheFirstRoundHasRowsWithoutRoundColumns) {
    SetUpReportTournament("cross_round0");
    SetCurrentRound(0);
    ASSERT_TRUE(WriteCrossTable(PlayerCount));
    const std::string text = ReadBytes(DataFile("crosstbl.txt"));
    EXPECT_NE(text.find("\r\nCross Table at round 0\r\n\r\n ID NAME                 Rat  Tit Nat  Scr |\r\n" +
                        std::string(44, '-') + "\r\n  1 ROSSI  MARIO         2210  FM ITA  1.5 | \r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(CountOf(text, "\r\n"), 12);
    const std::string page = ReadBytes(DataFile("crosstbl.html"));
    EXPECT_EQ(CountOf(page, "<th>   "), 0);
    EXPECT_EQ(CountOf(page, "<tr> <td>"), 5);
}

TEST(SwissCrossTable, MoreRowsThanPlayersAreNotWritten) {
    SetUpReportTournament("cross_rows");
    ASSERT_TRUE(WriteCrossTable(MaxPlayers + 50));
    EXPECT_EQ(CountOf(ReadBytes(DataFile("crosstbl.txt")), "ITA "), 5);
}

// A round robin of players with scores that fix the standings order
// (id 1 last, so positions and ids differ).
void SetUpRoundRobin(const std::string& folder, int system, int players) {
    ResetTournamentState();
    Settings.PairingSystem = system;
    CopyField(Settings.Name, "RR");
    UseDataFolder(folder);
    for (int id = 1; id <= players; ++id) {
        AddTestPlayer("Player " + std::to_string(id), 2000 + id);
        PlayerScores[id].score = static_cast<float>(id);
    }
}

// The cells of the text row at a standings position, each four wide.
std::vector<std::string> RowCells(const std::string& text, int position, int players) {
    char head[8];
    std::snprintf(head, sizeof head, "\n%3d ", position);
    const std::size_t row = text.find(head);
    const std::size_t cells = text.find("| ", row) + 2;
    std::vector<std::string> out;
    for (int k = 0; k < players; ++k)
        out.push_back(text.substr(cells + 4 * static_cast<std::size_t>(k), 4));
    return out;
}

void PlayGame(int round, int white, int black, int digit) {
    SetTestBoard(round, 1, white, black, digit);
    SetCurrentRound(round);
    RebuildRoundTables(round);
}

TEST(RoundRobinCrossTable, DoubleForfeitIsALossForBothPlayers) {
    SetUpRoundRobin("rr_double_forfeit", SingleRoundRobinSystem, 3);
    PlayGame(1, 3, 2, BothForfeit);
    ASSERT_TRUE(WriteCrossTable(3));
    const std::string text = ReadBytes(DataFile("crosstbl.txt"));
    EXPECT_NE(text.find("\r\nFinal Cross Table\r\n"), std::string::npos);
    // Position 1 is player 3, position 2 player 2.
    EXPECT_EQ(RowCells(text, 1, 3), (std::vector<std::string>{" *  ", " 0  ", " -  "}));
    EXPECT_EQ(RowCells(text, 2, 3), (std::vector<std::string>{" 0  ", " *  ", " -  "}));
    EXPECT_EQ(RowCells(text, 3, 3), (std::vector<std::string>{" -  ", " -  ", " *  "}));
}

TEST(RoundRobinCrossTable, ForfeitsCountLikeGamesAndHalvesAreTheHalfByte) {
    SetUpRoundRobin("rr_forfeits", SingleRoundRobinSystem, 4);
    PlayGame(1, 4, 3, BlackWinsForfeit);
    PlayGame(2, 4, 2, HalfEachUnplayed);
    PlayGame(3, 1, 4, Adjourned); // an adjourned game is no result yet
    ASSERT_TRUE(WriteCrossTable(4));
    const std::string text = ReadBytes(DataFile("crosstbl.txt"));
    EXPECT_EQ(RowCells(text, 1, 4), (std::vector<std::string>{" *  ", " 0  ", " \xBD  ", " \xBD  "}));
    EXPECT_EQ(RowCells(text, 2, 4)[0], " 1  ");
    EXPECT_EQ(RowCells(text, 3, 4)[0], " \xBD  ");
}

TEST(RoundRobinCrossTable, DoubleRoundRobinCellsShowBothGamesInRoundOrder) {
    SetUpRoundRobin("rr_double", DoubleRoundRobinSystem, 3);
    PlayGame(1, 3, 2, WhiteWins);
    PlayGame(2, 2, 3, Draw);
    PlayGame(3, 3, 1, BlackWins);
    ASSERT_TRUE(WriteCrossTable(3));
    const std::string text = ReadBytes(DataFile("crosstbl.txt"));
    EXPECT_EQ(RowCells(text, 1, 3), (std::vector<std::string>{" *  ", " 1\xBD ", " 0- "}));
    EXPECT_EQ(RowCells(text, 2, 3), (std::vector<std::string>{" 0\xBD ", " *  ", " -- "}));
    EXPECT_EQ(RowCells(text, 3, 3), (std::vector<std::string>{" 1- ", " -- ", " *  "}));
    const std::string page = ReadBytes(DataFile("crosstbl.html"));
    EXPECT_NE(page.find("<td align=\"center\"> 1\xBD </td>"), std::string::npos);
    EXPECT_NE(page.find("<td align=\"center\"> -- </td>"), std::string::npos);
    EXPECT_EQ(CountOf(page, "<td bgcolor=\"#000000\" width=\"27\"> &nbsp; </td>"), 3);
}

TEST(RoundRobinCrossTable, ACellNeverHoldsMoreGamesThanThePairCanPlay) {
    // A corrupt table that has the same two players meet in every round.
    SetUpRoundRobin("rr_corrupt", SingleRoundRobinSystem, 3);
    for (int round = 1; round <= RoundRobinMaxRound; ++round) {
        OpponentTable(3, round) = 2;
        PlayerResultTable(3, round) = WinAtBoard;
    }
    SetCurrentRound(RoundRobinMaxRound + 10);
    ASSERT_TRUE(WriteCrossTable(3));
    EXPECT_EQ(RowCells(ReadBytes(DataFile("crosstbl.txt")), 1, 3)[1], " 1  ");
}

TEST(RoundRobinCrossTable, RowsFollowTheStandingsAndNamesAreCutOnlyInText) {
    SetUpRoundRobin("rr_order", SingleRoundRobinSystem, 3);
    UpperNoComma("Abcdefghij Klmnopqrstuvw", Players[2].name); // cut to 21 by the record
    Players[2].available = 0;
    ASSERT_TRUE(WriteCrossTable(3));
    const std::string text = ReadBytes(DataFile("crosstbl.txt"));
    EXPECT_NE(text.find("\r\n  1 PLAYER 3             2003     ITA   3.00 |  *   -   -  \r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n  2 ABCDEFGHIJ KLMNOP(W) 2002"), std::string::npos) << text;
    const std::string page = ReadBytes(DataFile("crosstbl.html"));
    EXPECT_NE(page.find("<td>  2</td> <td> <a href=\"playercard.html#2\">  ABCDEFGHIJ KLMNOPQRST (W) </a>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("<td>  1</td> <td> <a href=\"playercard.html#3\">"), std::string::npos);
}

TEST(RoundRobinCrossTable, TheSquareHoldsAtMostARoundRobinOfPlayers) {
    SetUpRoundRobin("rr_capacity", SingleRoundRobinSystem, 30);
    ASSERT_TRUE(WriteRoundRobinCrossTable(30));
    const std::string text = ReadBytes(DataFile("crosstbl.txt"));
    EXPECT_EQ(CountOf(text, " *  "), RoundRobinMaxPlayers);
    EXPECT_NE(text.find(" 24 \r\n"), std::string::npos);
}

} // namespace
