// The web pages: escaping, the home page's round lists, and the validity of
// every page as checked by tidy where it is installed.
#include "report_checks.h"

#include "reports/html_frame.h"
#include "reports/index_page.h"
#include "reports/pairing_lists.h"
#include "reports/report_file.h"
#include "reports/result_lists.h"

#include <sstream>

namespace {

TEST(HtmlEscape, ReplacesMarkupCharactersAndKeepsHighBytes) {
    EXPECT_EQ(HtmlEscape("A&B <C> \"D\" 'E'"), "A&amp;B &lt;C&gt; &quot;D&quot; &#39;E&#39;");
    EXPECT_EQ(HtmlEscape("M\xDCLLER \xBD"), "M\xDCLLER \xBD");
    EXPECT_EQ(HtmlEscape(""), "");
}

TEST(HtmlFrame, StoredTextsCannotBreakThePage) {
    SetUpReportTournament("html_hostile");
    CopyField(Settings.Name, "</title><b>\"x\"");
    CopyField(Settings.Place, "<i>Bad & Co");
    CopyField(Players[1].title, "<b>");
    std::string out;
    AppendHtmlHead(out, FieldText(Settings.Name));
    AppendHtmlTitleBlock(out);
    EXPECT_NE(out.find("<title>&lt;/title&gt;&lt;b&gt;&quot;x&quot;</title>"), std::string::npos) << out;
    EXPECT_NE(out.find("<h2>&lt;i&gt;Bad &amp; Co - 01.05.26,03.05.26</h2>"), std::string::npos) << out;
    ASSERT_TRUE(WritePairingLists(2));
    EXPECT_NE(ReadBytes(DataFile("pairs2.html")).find("&lt;b&gt; ROSSI  MARIO"), std::string::npos);
}

TEST(HomePage, ListsEveryRoundAndLinksOnlySavedResults) {
    SetUpReportTournament("html_index_rounds");
    ASSERT_TRUE(WriteHtmlIndex());
    std::string page = ReadBytes(DataFile("index.html"));
    EXPECT_EQ(CountOf(page, "<li><a href=\"pairs"), 2);
    EXPECT_EQ(CountOf(page, "<li><a href=\"result1.html\"> Round </a> </li>"), 1);
    EXPECT_EQ(CountOf(page, "result2.html"), 0);
    EXPECT_EQ(CountOf(page, "<li> Round </li>"), 1);
    EXPECT_EQ(CountOf(page, "Made with tourman"), 1);

    IsPairingDone = 0; // round 2's results saved
    ASSERT_TRUE(WriteHtmlIndex());
    page = ReadBytes(DataFile("index.html"));
    EXPECT_EQ(CountOf(page, "<li><a href=\"result2.html\"> Round </a> </li>"), 1);
    EXPECT_EQ(CountOf(page, "<li> Round </li>"), 0);
}

TEST(HomePage, BeforeTheFirstPairingBothColumnsAreEmpty) {
    SetUpReportTournament("html_index_empty");
    SetCurrentRound(0);
    IsPairingDone = 0;
    ASSERT_TRUE(WriteHtmlIndex());
    const std::string page = ReadBytes(DataFile("index.html"));
    EXPECT_EQ(CountOf(page, "<li>"), 0);
    EXPECT_EQ(CountOf(page, "<ol>"), 0);
    EXPECT_NE(page.find("<tr>\r\n<td> </td>\r\n<td> </td>\r\n</tr>"), std::string::npos) << page;
}

TEST(HomePage, ReportsAFolderThatCannotBeWritten) {
    SetUpReportTournament("html_index_fail");
    CopyField(Settings.DataFolder, std::string(TM_TEST_OUTPUT_DIR) + "/no such folder/");
    EXPECT_FALSE(WriteHtmlIndex());
}

TEST(HtmlValidity, EveryPagePassesTidy) {
    if (!ToolInstalled("tidy")) GTEST_SKIP() << "tidy is not installed (scripts/setup installs it)";
    SetUpReportTournament("html_tidy");
    CopyField(Players[2].title, "<\"");
    ASSERT_TRUE(WritePairingLists(2));
    ASSERT_TRUE(WriteResultLists(1));
    ASSERT_TRUE(WriteHtmlIndex());
    ExpectTidy("pairs2.html");
    ExpectTidy("result1.html");
    ExpectTidy("index.html");

    SetCurrentRound(0);
    IsPairingDone = 0;
    ASSERT_TRUE(WriteHtmlIndex());
    ExpectTidy("index.html");
    ASSERT_TRUE(WritePairingLists(3)); // a round without boards
    ExpectTidy("pairs3.html");
}

} // namespace
