#include "report_tournament.h"

#include "reports/result_lists.h"

namespace {

TEST(ResultLists, UnplayedBoardsShowDotsInBothLists) {
    SetUpReportTournament("result_unplayed");
    ASSERT_TRUE(WriteResultLists(2));
    const std::string text = ReadBytes(DataFile("result2.txt"));
    EXPECT_NE(text.find("  2 =   2 SMITH & <JONES>      -   5 M\xDCLLER HANS           =  ... \r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("-   0 __BYE__               =  ... \r\n"), std::string::npos) << text;
    const std::string page = ReadBytes(DataFile("result2.html"));
    EXPECT_NE(page.find("<td align=\"center\"> ... </td></tr>"), std::string::npos);
}

TEST(ResultLists, EveryResultTextFillsFiveColumns) {
    SetUpReportTournament("result_texts");
    for (int digit = 0; digit <= 9; ++digit) SetTestBoard(3, digit + 1, 1, 2, digit);
    ASSERT_TRUE(WriteResultLists(3));
    const std::string text = ReadBytes(DataFile("result3.txt"));
    const char* expected[] = {"0 - 1", "1 - 0", "0F-0F", "1F- 0", "0 -1F", "\xBD - \xBD", ("\xBD" "F-F\xBD"), " adj ", "\xBD FNB", " ... "};
    for (const char* result : expected)
        EXPECT_NE(text.find(std::string("SMITH & <JONES>       = ") + result + "\r\n"), std::string::npos) << result;
}

TEST(ResultLists, SavingAnEarlierRoundRewritesThatRoundsFiles) {
    SetUpReportTournament("result_earlier");
    ASSERT_TRUE(WriteResultLists(1));
    SetTestBoard(1, 1, 1, 2, WhiteWins); // a corrected result
    ASSERT_TRUE(WriteResultLists(1));
    EXPECT_NE(ReadBytes(DataFile("result1.txt")).find("Results of round 1\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(DataFile("result1.txt")).find("=   1 ROSSI  MARIO         -   2 SMITH & <JONES>       = 1 - 0"),
              std::string::npos);
    EXPECT_NE(ReadBytes(DataFile("result1.html")).find("<h3> Result at round 1</h3>"), std::string::npos);
    EXPECT_FALSE(FileExists(DataFile("result2.txt")));
}

TEST(ResultLists, FailureIsReportedWhileTheOtherFileIsWritten) {
    SetUpReportTournament("result_fail");
    std::filesystem::create_directories(DataFile("result1.txt/inside"));
    EXPECT_FALSE(WriteResultLists(1));
    EXPECT_TRUE(FileExists(DataFile("result1.html")));
}

} // namespace
