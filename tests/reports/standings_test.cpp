// The standings: which tie-break values a text row shows, the columns of an
// order with one or no code, the category blocks, and the writers installed
// into the recomputation.
#include "report_tournament.h"
#include "standing_tournaments.h"

#include "reports/standing_reports.h"
#include "reports/pairing_lists.h"
#include "reports/standings.h"
#include "tournament/round_save.h"

#include <vector>

namespace {

struct Values {
    float score;
    float buchholzCut1;
    float buchholzTotal;
    float sonnebornBerger;
};

// Players 1..n with the given values, the order Buc1, BucT, S-B.
void SetUpField(const std::string& folder, const std::vector<Values>& values) {
    ResetTournamentState();
    UseDataFolder(folder);
    const int order[] = {BuchholzCut1TieBreak, BuchholzTotalTieBreak, SonnebornBergerTieBreak, 0};
    std::copy(std::begin(order), std::end(order), Settings.TieBreakOrder);
    for (const Values& v : values) {
        const int id = AddTestPlayer("Player " + std::to_string(PlayerCount + 1), 2000);
        PlayerScores[id].score = v.score;
        PlayerScores[id].buchholzCut1 = v.buchholzCut1;
        PlayerScores[id].buchholzTotal = v.buchholzTotal;
        PlayerScores[id].sonnebornBerger = v.sonnebornBerger;
    }
}

// The tie-break columns of the text row at a standings position.
std::string TieBreakColumns(const std::string& text, int position) {
    char head[8];
    std::snprintf(head, sizeof head, "\n%3d ", position);
    const std::size_t row = text.find(head);
    const std::size_t start = text.find("| ", text.find("| ", row) + 2) + 2;
    return text.substr(start, text.find('\r', start) - start);
}

TEST(StandingsText, FurtherValuesOnlyWhileTiedWithANeighbour) {
    SetUpField("standings_ties", {
                                     {3.0f, 9.0f, 20.0f, 5.0f}, // alone on top
                                     {2.0f, 8.0f, 18.0f, 4.0f}, // tied with 3 up to Buc1
                                     {2.0f, 8.0f, 17.0f, 6.0f}, //
                                     {1.0f, 7.0f, 15.0f, 3.0f}, // tied with 5 up to BucT
                                     {1.0f, 7.0f, 15.0f, 2.0f}, // the last, tied with the one above
                                 });
    ASSERT_TRUE(WriteStandings(PlayerCount));
    const std::string text = ReadBytes(DataFile("tblscore.txt"));
    EXPECT_EQ(TieBreakColumns(text, 1), "   9.00 ");
    EXPECT_EQ(TieBreakColumns(text, 2), "   8.00   18.00 ");
    EXPECT_EQ(TieBreakColumns(text, 3), "   8.00   17.00 ");
    EXPECT_EQ(TieBreakColumns(text, 4), "   7.00   15.00    3.00 ");
    EXPECT_EQ(TieBreakColumns(text, 5), "   7.00   15.00    2.00 ");
    // The page shows every value on every row.
    EXPECT_NE(ReadBytes(DataFile("tblscore.html"))
                  .find("<td>   9.00 </td> <td>  20.00 </td> <td>   5.00 </td> \r\n"),
              std::string::npos);
}

TEST(StandingsText, OneCodeOrNoneSetsTheColumns) {
    SetUpField("standings_codes", {{1.0f, 2.0f, 3.0f, 4.0f}, {1.0f, 2.0f, 3.0f, 4.0f}});
    Settings.TieBreakOrder[1] = NoTieBreak;
    ASSERT_TRUE(WriteStandings(PlayerCount));
    std::string text = ReadBytes(DataFile("tblscore.txt"));
    EXPECT_EQ(TieBreakColumns(text, 1), "   2.00 ");
    EXPECT_EQ(TieBreakColumns(text, 2), "   2.00 ");
    EXPECT_NE(text.find("| Rat  Prat Nat |   Buc1  \r\n" + std::string(66, '-') + "\r\n"), std::string::npos);

    Settings.TieBreakOrder[0] = NoTieBreak;
    ASSERT_TRUE(WriteStandings(PlayerCount));
    text = ReadBytes(DataFile("tblscore.txt"));
    EXPECT_EQ(TieBreakColumns(text, 1), "");
    EXPECT_NE(text.find("| Rat  Prat Nat | \r\n" + std::string(59, '-') + "\r\n"), std::string::npos);
    EXPECT_EQ(CountOf(ReadBytes(DataFile("tblscore.html")), "<th> "), 0);

    // An unknown code ends the order as it ends the standings order.
    Settings.TieBreakOrder[0] = 12;
    Settings.TieBreakOrder[1] = BuchholzCut1TieBreak;
    ASSERT_TRUE(WriteStandings(PlayerCount));
    EXPECT_EQ(TieBreakColumns(ReadBytes(DataFile("tblscore.txt")), 1), "");
}

TEST(StandingsText, WholeNumberCodesAndThePerformanceColumn) {
    SetUpField("standings_counts", {{1.0f, 0.0f, 0.0f, 0.0f}});
    Settings.TieBreakOrder[0] = MostWinsTieBreak;
    Settings.TieBreakOrder[1] = NoTieBreak;
    PlayerScores[1].mostWins = 3.0f;
    PlayerScores[1].performance = 2345.9f;
    ASSERT_TRUE(WriteStandings(PlayerCount));
    const std::string text = ReadBytes(DataFile("tblscore.txt"));
    EXPECT_EQ(TieBreakColumns(text, 1), "     3  ");
    EXPECT_NE(text.find("| 2000 2345 ITA |"), std::string::npos) << text;
    EXPECT_NE(ReadBytes(DataFile("tblscore.html")).find("<td align=\"center\">    3 </td> "),
              std::string::npos);

    PlayerScores[1].performance = 1e30f; // a corrupt value cannot overflow the column
    ASSERT_TRUE(WriteStandings(PlayerCount));
    EXPECT_NE(ReadBytes(DataFile("tblscore.txt")).find("| 2000 9999 ITA |"), std::string::npos);
}

TEST(CategoryRanking, BlocksByTitleRankWithPositionsFromOne) {
    SetUpField("category_blocks", {{1.0f, 0, 0, 0}, {3.0f, 0, 0, 0}, {2.0f, 0, 0, 0}, {0.5f, 0, 0, 0}});
    SetPlayerData(1, "IM", "ITA", "00.00.00");
    SetPlayerData(2, " IM", "ITA", "00.00.00"); // the same rank as "IM"
    SetPlayerData(3, "GM", "ITA", "00.00.00");
    SetPlayerData(4, "1N", "ITA", "00.00.00"); // alone, and the last
    ASSERT_TRUE(WriteStandingsByCategory(PlayerCount));
    const std::string text = ReadBytes(DataFile("rankcat.txt"));
    const std::string rule(60 + 7 * 3, '-');
    EXPECT_NE(text.find(rule + "\r\n\r\nRanking for category: GM\r\n  1  2.0   3 PLAYER 3"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n\r\nRanking for category:  IM\r\n  1  3.0   2 PLAYER 2"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n  2  1.0   1 PLAYER 1             | 2000  IM ITA |"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n\r\nRanking for category: 1N\r\n  1  0.5   4 "), std::string::npos) << text;
    EXPECT_EQ(CountOf(text, "Ranking for category"), 3);
}

TEST(CategoryRanking, NoPlayersGiveTheHeadingsOnly) {
    SetUpField("category_empty", {});
    ASSERT_TRUE(WriteStandingsByCategory(0));
    const std::string text = ReadBytes(DataFile("rankcat.txt"));
    EXPECT_EQ(CountOf(text, "Ranking for category"), 0);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(StandingWriters, AFolderThatCannotBeWrittenIsReported) {
    SetUpField("standings_fail", {{1.0f, 0, 0, 0}});
    CopyField(Settings.DataFolder, std::string(TM_TEST_OUTPUT_DIR) + "/no such folder/");
    EXPECT_FALSE(WriteStandings(PlayerCount));
    EXPECT_FALSE(WriteStandingsByCategory(PlayerCount));
}

TEST(StandingWriters, InstalledWritersRunAtEveryRecomputation) {
    SetUpSwissStandings("standings_installed");
    for (const char* file : {"index.html", "tblscore.txt", "tblscore.html", "crosstbl.txt", "rankcat.txt"})
        EXPECT_FALSE(FileExists(DataFile(file))) << file;
    InstallStandingReports();
    ComputeScores(3, PlayerCount);
    for (const char* file : {"index.html", "playercd.txt", "playercard.html", "tblscore.txt", "tblscore.html",
                             "crosstbl.txt", "crosstbl.html", "rankcat.txt"})
        EXPECT_TRUE(FileExists(DataFile(file))) << file;
    ResetStandingReports();

    // A round robin's recomputation writes its square under the same name.
    SetUpRoundRobinStandings("standings_installed_rr");
    InstallStandingReports();
    ComputeRoundRobinTieBreaks(4, PlayerCount);
    EXPECT_NE(ReadBytes(DataFile("crosstbl.txt")).find("Final Cross Table"), std::string::npos);
    ResetStandingReports();
}

// The start-up wiring also has a saved round's result lists written, so
// that every link of the home page leads to a page.
TEST(StandingWriters, SavedRoundsLeaveNoDeadLinkOnTheHomePage) {
    SetUpSwissStandings("standings_links");
    CopyField(Settings.BaseName, "links");
    InstallStandingReports();
    for (int round = 1; round <= 3; ++round) {
        ASSERT_TRUE(WritePairingLists(round));
        ASSERT_TRUE(SaveRound(round));
    }
    ComputeScores(3, PlayerCount);
    ResetStandingReports();
    EXPECT_TRUE(FileExists(DataFile("result1.txt")));
    const std::string index = ReadBytes(DataFile("index.html"));
    int links = 0;
    for (std::size_t at = index.find("href=\""); at != std::string::npos; at = index.find("href=\"", at), ++links) {
        at += 6;
        EXPECT_TRUE(FileExists(DataFile(index.substr(at, index.find('"', at) - at)))) << index.substr(at, 20);
    }
    EXPECT_EQ(links, 3 + 3 + 3); // the three standing pages, pairings and results of three rounds
}

} // namespace
