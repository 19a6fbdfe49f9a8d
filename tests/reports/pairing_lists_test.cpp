#include "report_tournament.h"

#include "reports/pairing_lists.h"
#include "support/file_bytes.h"

#include <fstream>
#include <vector>

namespace {

TEST(PairingLists, ByeBoardPrintsPlayerZeroAndBlackZeroInThePairFile) {
    SetUpReportTournament("pairing_bye");
    PlayerScores[0].score = 2.0f; // whatever is held for id 0 is printed
    ASSERT_TRUE(WritePairingLists(2));
    const std::vector<std::string> list = Lines(ReadBytes(DataFile("pairs2.txt")));
    ASSERT_EQ(list.size(), 9u);
    EXPECT_EQ(list[6], "  3 =   3 BIANCHI LUIGI        ( 0.0) -   0 __BYE__              ( 2.0) = ...-...");
    const std::vector<std::string> file = Lines(ReadBytes(DataFile("pairs2.man")));
    EXPECT_EQ(file, (std::vector<std::string>{"3", "4    1", "2    5", "3    0"}));
}

TEST(PairingLists, LongNamesAreCutInTextListsOnly) {
    SetUpReportTournament("pairing_long_name");
    ASSERT_TRUE(WritePairingLists(2));
    EXPECT_EQ(CountOf(ReadBytes(DataFile("pairs2.txt")), "VERDI GIUSEPPE ANTON ("), 1);
    EXPECT_EQ(CountOf(ReadBytes(DataFile("pairing2.txt")), "VERDI GIUSEPPE ANTON   -"), 1);
    EXPECT_EQ(CountOf(ReadBytes(DataFile("pairs2.html")), "VERDI GIUSEPPE ANTONI </a>"), 1);
}

TEST(PairingLists, RoundRobinWritesNoPairFile) {
    SetUpReportTournament("pairing_rr");
    Settings.PairingSystem = DoubleRoundRobinSystem;
    SetTestBoard(1, 1, 1, 2, NotPlayed);
    ASSERT_TRUE(WritePairingLists(1));
    EXPECT_TRUE(FileExists(DataFile("pairs1.txt")));
    EXPECT_TRUE(FileExists(DataFile("pairs1.html")));
    EXPECT_TRUE(FileExists(DataFile("pairing1.txt")));
    EXPECT_FALSE(FileExists(DataFile("pairs1.man")));
    // The round-robin table is the one printed, not the Swiss round 1.
    EXPECT_EQ(CountOf(ReadBytes(DataFile("pairs1.txt")), "\r\n  1 ="), 1);
    EXPECT_EQ(CountOf(ReadBytes(DataFile("pairs1.txt")), "\r\n  2 ="), 0);
}

TEST(PairingLists, WritingARoundAgainReplacesItsFiles) {
    SetUpReportTournament("pairing_again");
    ASSERT_TRUE(WritePairingLists(2));
    GameTable(0, 2) = 1; // re-paired with one board
    ASSERT_TRUE(WritePairingLists(2));
    EXPECT_EQ(Lines(ReadBytes(DataFile("pairs2.txt"))).size(), 5u);
    EXPECT_EQ(Lines(ReadBytes(DataFile("pairs2.man"))), (std::vector<std::string>{"1", "4    1"}));
    EXPECT_EQ(CountOf(ReadBytes(DataFile("pairs2.html")), "<tr> <td>"), 1);
}

TEST(PairingLists, ACorruptGameTableStaysInsideTheTables) {
    SetUpReportTournament("pairing_corrupt");
    GameTable(0, 2) = 100000; // more boards than the table holds
    GameTable(1, 2) = -123;   // decodes to ids outside the player rows
    ASSERT_TRUE(WritePairingLists(2));
    EXPECT_EQ(Lines(ReadBytes(DataFile("pairs2.man"))).front(), "500");
    ASSERT_TRUE(WritePairingLists(-4)); // a round outside the table has no boards
    EXPECT_EQ(Lines(ReadBytes(DataFile("pairs-4.man"))), (std::vector<std::string>{"0"}));
}

TEST(PairingLists, FailureIsReportedWhileTheOtherFilesAreWritten) {
    SetUpReportTournament("pairing_fail");
    std::filesystem::create_directories(DataFile("pairs2.html/inside"));
    EXPECT_FALSE(WritePairingLists(2));
    EXPECT_TRUE(FileExists(DataFile("pairs2.txt")));
    EXPECT_TRUE(FileExists(DataFile("pairing2.txt")));
    EXPECT_TRUE(FileExists(DataFile("pairs2.man")));
}

TEST(RoundRobinSchedule, HasTheRoundsOfTheSchedule) {
    EXPECT_EQ(RoundRobinRoundCount(7, SingleRoundRobinSystem), 7);
    EXPECT_EQ(RoundRobinRoundCount(8, SingleRoundRobinSystem), 7);
    EXPECT_EQ(RoundRobinRoundCount(8, DoubleRoundRobinSystem), 14);
    EXPECT_EQ(RoundRobinRoundCount(0, SingleRoundRobinSystem), 0);

    SetUpReportTournament("pairing_rr_rounds");
    for (int extra = 6; extra <= 8; ++extra) AddTestPlayer("Extra " + std::to_string(extra));
    Settings.PairingSystem = DoubleRoundRobinSystem;
    for (int r = 1; r <= 14; ++r) // printed whether played or not; round 14 left empty
        if (r < 14) SetTestBoard(r, 1, 1 + r % 8, 1 + (r + 3) % 8, r < 3 ? WhiteWins : NotPlayed);
    ASSERT_TRUE(WriteRoundRobinPairings());
    const std::string file = ReadBytes(DataFile("pairsRR.txt"));
    EXPECT_EQ(CountOf(file, "Tournament: "), 14);
    EXPECT_EQ(CountOf(file, "   - Round 14\r\n"), 1);
    EXPECT_EQ(CountOf(file, " = ...-...\r\n"), 13);
    EXPECT_EQ(file.substr(file.size() - 4), "\r\n\r\n");
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(PairFile, ReadsBackWhatWasWritten) {
    SetUpReportTournament("pairfile_round_trip");
    ASSERT_TRUE(WritePairFile(DataFile("r.man"), 2));
    std::vector<PairFileBoard> boards;
    std::string error;
    ASSERT_TRUE(ReadPairFile(DataFile("r.man"), boards, error)) << error;
    ASSERT_EQ(boards.size(), 3u);
    EXPECT_EQ(boards[0].white, 4);
    EXPECT_EQ(boards[0].black, 1);
    EXPECT_EQ(boards[2].white, 3);
    EXPECT_EQ(boards[2].black, 0);
}

TEST(PairFile, TakesNumbersSeparatedByAnyWhiteSpace) {
    const std::string folder = UseDataFolder("pairfile_spaces");
    WriteText(folder + "a.man", "2\n 7\t3 \n\n12\r\n   0");
    std::vector<PairFileBoard> boards;
    std::string error;
    ASSERT_TRUE(ReadPairFile(folder + "a.man", boards, error)) << error;
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_EQ(boards[1].white, 12);
    EXPECT_EQ(boards[1].black, 0);
}

TEST(PairFile, BadFilesGiveAnErrorNamingFileAndLine) {
    const std::string folder = UseDataFolder("pairfile_bad");
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", "line 0: expected the number of boards"},
        {"2\n1 2\n3\n", "line 3: expected the black player's id of board 2"},
        {"1\n1 x2\n", "line 2: expected the black player's id of board 1 (0 to 999), found \"x2\""},
        {"1\n1000 2\n", "line 2: expected the white player's id of board 1 (0 to 999), found \"1000\""},
        {"-1\n", "line 1: expected the number of boards (0 to 500), found \"-1\""},
        {"501\n", "line 1: expected the number of boards (0 to 500)"},
        {"1\n1 2\n3 4\n", "line 3: expected the end of the file after 1 boards, found \"3\""},
        {"99999999999999999999\n", "line 1: expected the number of boards"},
        {"2\n1 2\n3 3\n", "line 3: player 3 against himself on board 2"},
        {"1\n0 0\n", "line 2: the BYE against the BYE on board 1"},
        {"2\n1 2\n3 1\n", "line 3: player 1 on board 1 and on board 2"},
    };
    for (const Case& c : cases) {
        WriteText(folder + "bad.man", c.text);
        std::vector<PairFileBoard> boards{{1, 2}};
        std::string error;
        EXPECT_FALSE(ReadPairFile(folder + "bad.man", boards, error)) << c.text;
        EXPECT_TRUE(boards.empty()) << c.text;
        EXPECT_EQ(error.rfind(folder + "bad.man, ", 0), 0u) << error;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << " gave: " << error;
    }
    std::vector<PairFileBoard> boards;
    std::string error;
    EXPECT_FALSE(ReadPairFile(folder + "missing.man", boards, error));
    EXPECT_NE(error.find("missing.man"), std::string::npos);
}

} // namespace
