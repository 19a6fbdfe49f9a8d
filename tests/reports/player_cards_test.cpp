// The player cards, the rating-variation list and the player-card page:
// golden files of the small tournament, the stored performances, the two
// running scores, and tables that hold more or less than they should. And
// the writers run aside, as the cards are: the wait covers every one and
// tells whether each wrote its files.
#include "card_tournament.h"
#include "report_checks.h"

#include "reports/player_cards.h"
#include "reports/standing_reports.h"
#include "reports/writers_aside.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

// The text card of one player: from his line to the end of his foot.
std::string TextCard(const std::string& cards, int id) {
    char head[16];
    std::snprintf(head, sizeof head, " %3d  ", id);
    const std::size_t at = cards.find(std::string("\r\n") + head);
    if (at == std::string::npos) return "";
    return cards.substr(at, cards.find("  var=", at) + 80 - at);
}

TEST(PlayerCardsGolden, ForfeitsByeAndAFullScore) {
    SetUpCardTournament("cards_golden");
    ASSERT_TRUE(WritePlayerCards(PlayerCount));
    ExpectGolden("playercd.txt", "cards_playercd.txt");
    ExpectGolden("elovar.txt", "cards_elovar.txt");
    ExpectGolden("playercard.html", "cards_playercard.html");
    const std::string page = ReadBytes(DataFile("playercard.html"));
    EXPECT_EQ(CountOf(page, "<td"), CountOf(page, "</td>")); // every cell is closed
}

TEST(PlayerCards, ANegativePerformanceIsTheSameNumberInEveryReport) {
    SetUpCardTournament("cards_negative");
    Players[1].ratingUsed = 200; // player 2: a quarter of the points against 200 and 0
    InstallStandingReports();
    ComputeScores(2, PlayerCount);
    ResetStandingReports();
    ASSERT_FLOAT_EQ(PlayerScores[2].performance, -93.0f);
    const struct {
        const char* file;
        const char* shown;
    } reports[] = {
        {"tblscore.txt", " 2105  -93 ENG | "},
        {"tblscore.html", "<td>2105</td> <td bgcolor=\"#EEEEEE\"> -93</td>"},
        {"crosstbl.html", "<td>2105</td> <td bgcolor=\"#EEEEEE\"> -93</td>"},
        {"playercd.txt", "PRat=  -93,"},
        {"elovar.txt", "  -93  -2198\r\n"},
        {"playercard.html", "PRat= -93 </b>"},
    };
    for (const auto& report : reports)
        EXPECT_EQ(CountOf(ReadBytes(DataFile(report.file)), report.shown), 1) << report.file;
}

TEST(PlayerCards, StoreTheRatingOfTheGamesAtTheBoard) {
    SetUpCardTournament("cards_performance");
    for (int id = 1; id <= 5; ++id)
        PlayerScores[id].performance = 77.0f; // stale
    ASSERT_TRUE(WritePlayerCards(PlayerCount));
    // 4: one win against 2210, the forfeit win no game: 2210 + 800.
    // 5: one win against 2105 beside the BYE: 2105 + 800.
    // 1: a draw with 2105 and a loss to 1850, 25 %: 1977 - 193.
    // 2: a draw with 2210 and a loss to the unrated 5, 25 %: 1105 - 193.
    // 3: no game at the board.
    const float expected[] = {0, 1784, 912, 0, 3010, 2905};
    for (int id = 1; id <= 5; ++id)
        EXPECT_FLOAT_EQ(PlayerScores[id].performance, expected[id]) << id;

    const std::string elovar = ReadBytes(DataFile("elovar.txt"));
    EXPECT_NE(elovar.find("   4  VERDI GIUSEPPE ANTON  40  1850    36   3010   1160\r\n"), std::string::npos)
        << elovar;
    const std::string cards = ReadBytes(DataFile("playercd.txt"));
    EXPECT_NE(TextCard(cards, 4).find("PRat= 3010,     ARO=2210,"), std::string::npos) << cards;
    const std::string page = ReadBytes(DataFile("playercard.html"));
    EXPECT_NE(page.find("<b>var =  36, PRat=3010 </b></td> <td><b>2210.0</b></td>"), std::string::npos)
        << page;
}

TEST(PlayerCards, WrittenAtTheirPlaceInTheRecomputation) {
    SetUpCardTournament("cards_hook");
    StandingReports.writePlayerCards = [](int players) { WritePlayerCards(players); };
    ComputeScores(2, PlayerCount);
    ResetStandingReports();
    EXPECT_EQ(CountOf(ReadBytes(DataFile("playercd.txt")), "  var="), 5);
    // The average performance of the opponents reads what the cards stored:
    // player 1 met 2 (912) and 4 (3010).
    EXPECT_FLOAT_EQ(PlayerScores[1].apro, (912.0f + 3010.0f) / 2.0f);
}

TEST(PlayerCards, TextAndPageCountPointsWithoutPlayDifferently) {
    SetUpCardTournament("cards_points");
    Settings.ScoreSystem = ScorePoints{3.0f, 1.0f};
    ComputeScores(2, PlayerCount);
    ASSERT_TRUE(WritePlayerCards(PlayerCount));
    // Player 5: the BYE, then a win at the board with black.
    const std::string card = TextCard(ReadBytes(DataFile("playercd.txt")), 5);
    EXPECT_NE(card.find(" 1  --   0 not played              0   -     -   3.0  1.0   0.0\r\n"),
              std::string::npos)
        << card;
    EXPECT_NE(card.find(" 2   B   2 SMITH & <JONES>      2105  350  0.11  3.0  4.0   1.0\r\n"),
              std::string::npos)
        << card;
    EXPECT_NE(card.find("      0.11  6.0  5.0\r\n"), std::string::npos) << card;
    // The page shows 1.0 for the BYE, keeps its running score at 0 and
    // counts the win as 1 while it shows the 3 points.
    const std::string page = ReadBytes(DataFile("playercard.html"));
    const std::size_t at = page.find("<a name=\"5\">");
    ASSERT_NE(at, std::string::npos);
    const std::string html = page.substr(at);
    EXPECT_NE(
        html.find("<td>1</td> <td>--</td> <td>0</td> <td>not played</td> <td>0</td> <td>--</td> <td>--</td> "
                  "<td> 1.0</td> <td> 0.0</td> <td> 0.0</td>"),
        std::string::npos)
        << html;
    EXPECT_NE(html.find("<td> 0.11</td> <td> 3.0</td> <td> 1.0</td> <td> 1.0</td>"), std::string::npos)
        << html;
}

TEST(PlayerCards, ThePagePassesTidy) {
    if (!ToolInstalled("tidy")) GTEST_SKIP() << "tidy is not installed (scripts/setup installs it)";
    SetUpCardTournament("cards_tidy");
    CopyField(Players[2].title, "<\"");
    ASSERT_TRUE(WritePlayerCards(PlayerCount));
    ExpectTidy("playercard.html");
    SetCurrentRound(0);
    ASSERT_TRUE(WritePlayerCards(0)); // no player, no round
    ExpectTidy("playercard.html");
}

TEST(PlayerCards, TablesBeyondTheirBoundsAndAMissingFolder) {
    SetUpCardTournament("cards_bounds");
    // A corrupt opponent cell and counts beyond the tables.
    OpponentTable(1, 1) = 123456;
    PlayerScores[2].ratingVariation = 1.0e30f;
    SetCurrentRound(500);
    ASSERT_TRUE(WritePlayerCards(5000));
    const std::string cards = ReadBytes(DataFile("playercd.txt"));
    EXPECT_EQ(CountOf(cards, "  var="), 5);
    EXPECT_NE(cards.find("\r\n21  -- "), std::string::npos); // the Swiss tables' last round
    EXPECT_EQ(cards.find("\r\n22  -- "), std::string::npos);
    EXPECT_NE(cards.find("  var=99999,"), std::string::npos);

    // Nothing can be written: the performances are stored all the same.
    SetUpCardTournament("cards_no_folder");
    CopyField(Settings.DataFolder, std::string(TM_TEST_OUTPUT_DIR) + "/no such folder/");
    for (int id = 1; id <= 5; ++id)
        PlayerScores[id].performance = 77.0f;
    EXPECT_FALSE(WritePlayerCards(PlayerCount));
    EXPECT_FLOAT_EQ(PlayerScores[4].performance, 3010.0f);
}

TEST(WritersAside, TheWaitCoversEveryWriterAndTellsWhetherEachWrote) {
    const std::vector<bool> cases[] = {{}, {false}, {true, true}, {true, false, true}, {true, true, false}};
    for (const std::vector<bool>& wrote : cases) {
        std::atomic<int> done{0};
        // The later writers are the slower: the wait may not end on the first.
        for (std::size_t i = 0; i < wrote.size(); ++i)
            WriteAside([&done, ok = wrote[i], i] {
                std::this_thread::sleep_for(std::chrono::milliseconds(2 * i));
                ++done;
                return ok;
            });
        // A failure is told once, by the wait that covers it.
        EXPECT_EQ(AwaitWritersAside(), std::find(wrote.begin(), wrote.end(), false) == wrote.end()) << wrote.size();
        EXPECT_EQ(done.load(), static_cast<int>(wrote.size()));
    }
}

TEST(WritersAside, TheRecomputationsReportsStandWhenItReturnsAndOneBlockedCostsNoOther) {
    SetUpCardTournament("aside_reports");
    // A folder in the way of the text cards: they cannot be put in place.
    std::filesystem::create_directories(DataFile("playercd.txt/inside"));
    InstallStandingReports();
    ComputeScores(2, PlayerCount);
    for (const char* file : {"index.html", "elovar.txt", "playercard.html", "tblscore.txt", "tblscore.html",
                             "crosstbl.txt", "crosstbl.html", "rankcat.txt", "playercd.txt"}) {
        EXPECT_TRUE(FileExists(DataFile(file))) << file;
        EXPECT_FALSE(FileExists(DataFile(file) + ".tmp")) << file;
    }
    // The failure was told to the recomputation; the cards come once the
    // folder is gone.
    EXPECT_TRUE(AwaitWritersAside());
    std::filesystem::remove_all(DataFile("playercd.txt"));
    ComputeScores(2, PlayerCount);
    ResetStandingReports();
    EXPECT_EQ(CountOf(ReadBytes(DataFile("playercd.txt")), "  var="), 5);
}

} // namespace
