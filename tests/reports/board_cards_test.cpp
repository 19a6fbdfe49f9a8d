#include "report_tournament.h"

#include "reports/board_cards.h"

#include <vector>

namespace {

// The board numbers of the RTF cards in the order they stand in the file,
// with 0 for each page break.
std::vector<int> RtfCardOrder(const std::string& rtf) {
    std::vector<int> order;
    const std::string table = "\\f1  Table ";
    for (std::size_t at = 0; at < rtf.size(); ++at) {
        if (rtf.compare(at, table.size(), table) == 0) order.push_back(std::atoi(rtf.c_str() + at + table.size()));
        if (rtf.compare(at, 6, "\\page ") == 0) order.push_back(0);
    }
    return order;
}

void SetBoards(int round, int count) {
    for (int b = 1; b <= count; ++b) SetTestBoard(round, b, 1, 2, NotPlayed);
}

TEST(BoardCardsRtf, TwelveBoardsFillTwoPagesByColumns) {
    SetUpReportTournament("cards_twelve");
    SetBoards(4, 12);
    ASSERT_TRUE(WriteBoardCardsRtf(4));
    const std::string rtf = ReadBytes(DataFile("boardcrd.rtf"));
    EXPECT_EQ(RtfCardOrder(rtf), (std::vector<int>{1, 3, 5, 7, 9, 11, 0, 2, 4, 6, 8, 10, 12}));
    EXPECT_EQ(rtf.substr(rtf.size() - 6), "\\par }");
    // Every card on these half-filled pages keeps its cutting line.
    EXPECT_EQ(CountOf(rtf, "\\f1     -       -"), 12);
}

TEST(BoardCardsRtf, SevenBoardsMakeOnePageWithoutATrailingBreak) {
    SetUpReportTournament("cards_seven");
    SetBoards(4, 7);
    ASSERT_TRUE(WriteBoardCardsRtf(4));
    const std::string rtf = ReadBytes(DataFile("boardcrd.rtf"));
    EXPECT_EQ(RtfCardOrder(rtf), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(CountOf(rtf, "\\f1     -       -"), 6); // none after the seventh card
    SetBoards(4, 8);
    ASSERT_TRUE(WriteBoardCardsRtf(4));
    EXPECT_EQ(RtfCardOrder(ReadBytes(DataFile("boardcrd.rtf"))), (std::vector<int>{1, 3, 5, 7, 0, 2, 4, 6, 8}));
}

TEST(BoardCards, ARoundWithoutBoards) {
    SetUpReportTournament("cards_none");
    ASSERT_TRUE(WriteBoardCards(7));
    EXPECT_EQ(ReadBytes(DataFile("boardcrd.txt")), "\r\n");
    ASSERT_TRUE(WriteBoardCardsRtf(7));
    const std::string rtf = ReadBytes(DataFile("boardcrd.rtf"));
    EXPECT_EQ(rtf.substr(rtf.size() - 24), "\\endnhere\\plain \r\n\\par }");
}

TEST(BoardCards, RoundRobinReadsItsOwnTable) {
    SetUpReportTournament("cards_rr");
    Settings.PairingSystem = SingleRoundRobinSystem;
    SetTestBoard(1, 1, 3, 0, NotPlayed);
    ASSERT_TRUE(WriteBoardCards(1));
    const std::string text = ReadBytes(DataFile("boardcrd.txt"));
    EXPECT_EQ(CountOf(text, " Table "), 1);
    EXPECT_NE(text.find("\r\n   3 BIANCHI LUIGI        (1998, 1N)  0.0 -   0 __BYE__              (   0,   )  0.0\r\n"),
              std::string::npos)
        << text;
}

TEST(BoardCardsRtf, EscapedNamesKeepTheirColumns) {
    SetUpReportTournament("cards_escape");
    CopyField(Players[1].name, "A{B}\\C DEFGHIJKLMNOPQRSTU"); // 25 bytes: cut to 20 before escaping
    CopyField(Settings.Name, "Cup {1}");
    ASSERT_TRUE(WriteBoardCardsRtf(1));
    const std::string rtf = ReadBytes(DataFile("boardcrd.rtf"));
    EXPECT_NE(rtf.find("Tournament: Cup \\{1\\}, Date:"), std::string::npos);
    EXPECT_NE(rtf.find("\\f1   1 A\\{B\\}\\\\C DEFGHIJKLMNOP (2210, FM)  1.5 -   2 SMITH"), std::string::npos) << rtf;
}

TEST(BoardCardsRtf, ConvertsWithUnrtf) {
    if (!ToolInstalled("unrtf")) GTEST_SKIP() << "unrtf is not installed (scripts/setup installs it)";
    SetUpReportTournament("cards_unrtf");
    CopyField(Players[2].name, "BRACE {} \\ SLASH");
    SetBoards(2, 0);
    for (int b = 4; b <= 9; ++b) SetTestBoard(2, b, 3, 4, NotPlayed);
    ASSERT_TRUE(WriteBoardCardsRtf(2));
    CommandResult result = RunCommand("unrtf --text '" + DataFile("boardcrd.rtf") + "'");
    ASSERT_EQ(result.status, 0) << result.output;
    for (int b = 1; b <= 9; ++b)
        EXPECT_NE(result.output.find(" Table " + std::to_string(b) + ", Round = 2,"), std::string::npos) << b;
    EXPECT_NE(result.output.find("BRACE {} \\ SLASH"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("white signature result black signature"), std::string::npos);
}

} // namespace
