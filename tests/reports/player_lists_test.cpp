// The player lists by name and by rating and the tournament statistics:
// golden files of the small tournament, the sort orders, the country groups
// and their ranking, and a field without players.
#include "card_tournament.h"
#include "report_checks.h"

#include "reports/player_lists.h"
#include "reports/tournament_stats.h"

namespace {

TEST(PlayerListsGolden, ByNameByRatingAndStatistics) {
    SetUpCardTournament("lists_golden");
    Players[4].available = 0;
    ASSERT_TRUE(WritePlayersByName(PlayerCount));
    ASSERT_TRUE(WritePlayersByRating(PlayerCount));
    ASSERT_TRUE(WriteTournamentStatistics(PlayerCount));
    ExpectGolden("playname.txt", "lists_playname.txt");
    ExpectGolden("playrat.txt", "lists_playrat.txt");
    ExpectGolden("tourstat.txt", "lists_tourstat.txt");
}

TEST(PlayerLists, EqualRatingsFollowTitleThenName) {
    SetUpCardTournament("lists_equal");
    for (int id = 1; id <= 5; ++id)
        Players[id].ratingUsed = 2000;
    ASSERT_TRUE(WritePlayersByRating(PlayerCount));
    const std::string list = ReadBytes(DataFile("playrat.txt"));
    // IM, FM, 1N, then the two without a title by name.
    const std::size_t im = list.find("  1 VERDI GIUSEPPE ANTON  2000     IM  GER    \r\n");
    const std::size_t fm = list.find("  2 ROSSI  MARIO          2000     FM  ITA    \r\n");
    const std::size_t n1 = list.find("  3 BIANCHI LUIGI         2000     1N  ITA    \r\n");
    const std::size_t m = list.find("  4 M\xDCLLER HANS");
    const std::size_t s = list.find("  5 SMITH & <JONES>");
    EXPECT_TRUE(im < fm && fm < n1 && n1 < m && m < s) << list;
}

TEST(TournamentStatistics, CountriesRankByTheirTotalsAsNumbers) {
    SetUpCardTournament("stats_ranking");
    // 100.0 is wider than 99.5 and would sort below it as a text.
    PlayerScores[1].score = 60.0f;
    PlayerScores[3].score = 40.0f; // ITA 100.0
    PlayerScores[2].score = 99.5f; // ENG 99.5
    PlayerScores[4].score = 2.0f;
    PlayerScores[5].score = 7.5f; // GER 9.5
    ASSERT_TRUE(WriteTournamentStatistics(PlayerCount));
    const std::string stats = ReadBytes(DataFile("tourstat.txt"));
    EXPECT_NE(stats.find("--------------------\r\n"
                         " Pos  Score  Country\r\n"
                         "--------------------\r\n"
                         "   1  100.0   ITA\r\n"
                         "   2  99.5   ENG\r\n"
                         "   3   9.5   GER\r\n"),
              std::string::npos)
        << stats;

    // Equal totals: the later country code first.
    PlayerScores[2].score = 9.5f;
    PlayerScores[1].score = 9.0f;
    PlayerScores[3].score = 0.5f;
    ASSERT_TRUE(WriteTournamentStatistics(PlayerCount));
    EXPECT_NE(ReadBytes(DataFile("tourstat.txt"))
                  .find("   1   9.5   ITA\r\n   2   9.5   GER\r\n   3   9.5   ENG\r\n"),
              std::string::npos);
}

TEST(TournamentStatistics, OneCountryForEverybody) {
    SetUpCardTournament("stats_groups");
    // One group, one line in the ranking.
    for (int id = 1; id <= 5; ++id)
        CopyField(Players[id].country, "ITA");
    ASSERT_TRUE(WriteTournamentStatistics(PlayerCount));
    const std::string one = ReadBytes(DataFile("tourstat.txt"));
    EXPECT_EQ(CountOf(one, "score  ID NAME"), 1);
    EXPECT_NE(one.find("  6.0   5  <= ITA\r\n"), std::string::npos) << one;
    const std::string ranking = "--------------------\r\n   1   6.0   ITA\r\n";
    EXPECT_EQ(one.substr(one.size() - std::min(one.size(), ranking.size())), ranking);
}

TEST(TournamentStatistics, SettingsLines) {
    SetUpCardTournament("stats_settings");
    Settings.ScoreSystem = ScorePoints{2.0f, 0.5f};
    Settings.PairingSystem = FideBursteinSystem;
    Settings.TieBreakOrder[0] = SonnebornBergerTieBreak;
    Settings.TieBreakOrder[1] = MostWinsTieBreak;
    Settings.TieBreakOrder[2] = 0;
    ASSERT_TRUE(WriteTournamentStatistics(PlayerCount));
    const std::string stats = ReadBytes(DataFile("tourstat.txt"));
    EXPECT_NE(stats.find("     Play System: swiss FIDE (Burstein)\r\n"), std::string::npos) << stats;
    EXPECT_NE(stats.find("      Score game: 0-0.5-2\r\n"), std::string::npos) << stats;
    EXPECT_NE(stats.find("       Tie break:    S-B    Mwns  \r\n"), std::string::npos) << stats;
    // (2210 + 2105 + 1998 + 1850) / 4: the unrated player has no rating to average
    EXPECT_NE(stats.find("  Average Rating: 2040.75\r\n"), std::string::npos) << stats;
}

TEST(TournamentStatistics, AnEmptyFieldIsWrittenWithoutAverage) {
    SetUpCardTournament("stats_empty");
    ClearPlayers();
    SetCurrentRound(0);
    ASSERT_TRUE(WriteTournamentStatistics(PlayerCount));
    ExpectGolden("tourstat.txt", "lists_tourstat_empty.txt");
    const std::string stats = ReadBytes(DataFile("tourstat.txt"));
    EXPECT_NE(stats.find("   Player Number: 0\r\n  Average Rating: \r\n"), std::string::npos) << stats;
    EXPECT_EQ(CountOf(stats, "score  ID NAME"), 0);
    ASSERT_TRUE(WritePlayersByName(PlayerCount));
    ASSERT_TRUE(WritePlayersByRating(5000)); // more than registered
    EXPECT_EQ(CountOf(ReadBytes(DataFile("playrat.txt")), "\r\n"), 6);
}

TEST(PlayerLists, AFolderThatCannotBeWritten) {
    SetUpCardTournament("lists_no_folder");
    CopyField(Settings.DataFolder, std::string(TM_TEST_OUTPUT_DIR) + "/no such folder/");
    EXPECT_FALSE(WritePlayersByName(PlayerCount));
    EXPECT_FALSE(WritePlayersByRating(PlayerCount));
    EXPECT_FALSE(WriteTournamentStatistics(PlayerCount));
}

} // namespace
