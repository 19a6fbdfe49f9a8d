// The cross tables, standings and rankings of two played tournaments,
// compared byte for byte with the files under golden/, and every page they
// make checked by tidy. Run with TM_UPDATE_GOLDEN=1 to rewrite the golden
// files after a deliberate change, then read the difference.
#include "report_checks.h"
#include "standing_tournaments.h"

#include "reports/cross_table.h"
#include "reports/group_rankings.h"
#include "reports/standings.h"

namespace {

TEST(StandingGolden, SwissCrossTableStandingsAndCategories) {
    SetUpSwissStandings("golden_swiss_standings");
    ASSERT_TRUE(WriteCrossTable(PlayerCount));
    ASSERT_TRUE(WriteStandings(PlayerCount));
    ASSERT_TRUE(WriteStandingsByCategory(PlayerCount));
    ExpectGolden("crosstbl.txt", "swiss_crosstbl.txt");
    ExpectGolden("crosstbl.html", "swiss_crosstbl.html");
    ExpectGolden("tblscore.txt", "swiss_tblscore.txt");
    ExpectGolden("tblscore.html", "swiss_tblscore.html");
    ExpectGolden("rankcat.txt", "swiss_rankcat.txt");
}

TEST(StandingGolden, SwissRatingAndBirthDateGroups) {
    SetUpSwissStandings("golden_swiss_groups");
    GroupLimits ratings;
    ratings.groups[0] = {2400, 3000};
    ratings.groups[1] = {2000, 2400};
    ratings.groups[2] = {0, 2000};
    ratings.groups[3] = {0, 0};       // an unused group
    ratings.groups[4] = {2300, 2480}; // overlaps the first two
    ASSERT_TRUE(WriteRatingGroupStandings(ratings));
    ExpectGolden("rankgrp.txt", "swiss_rankgrp.txt");

    GroupLimits dates;
    dates.groups[0] = {0, 311279};      // born before 1980
    dates.groups[1] = {311279, 311299}; // in the eighties and nineties
    dates.groups[2] = {311299, 311226}; // this century, up to 2026
    dates.groups[3] = {0, 0};
    dates.groups[4] = {10110, 10110}; // empty: lower equals upper
    ASSERT_TRUE(WriteDateGroupStandings(dates, 2026));
    ExpectGolden("rankdagr.txt", "swiss_rankdagr.txt");
}

TEST(StandingGolden, DoubleRoundRobinCrossTableAndStandings) {
    SetUpRoundRobinStandings("golden_rr_standings");
    ASSERT_TRUE(WriteCrossTable(PlayerCount));
    ASSERT_TRUE(WriteStandings(PlayerCount));
    ExpectGolden("crosstbl.txt", "rr_crosstbl.txt");
    ExpectGolden("crosstbl.html", "rr_crosstbl.html");
    ExpectGolden("tblscore.txt", "rr_tblscore.txt");
}

TEST(StandingGolden, EveryPagePassesTidy) {
    if (!ToolInstalled("tidy")) GTEST_SKIP() << "tidy is not installed (scripts/setup installs it)";
    SetUpSwissStandings("tidy_swiss_standings");
    CopyField(Players[2].title, "<\"");
    CopyField(Players[3].country, "&<");
    ASSERT_TRUE(WriteCrossTable(PlayerCount));
    ASSERT_TRUE(WriteStandings(PlayerCount));
    ExpectTidy("crosstbl.html");
    ExpectTidy("tblscore.html");

    SetCurrentRound(0); // no round columns
    Settings.TieBreakOrder[0] = NoTieBreak;
    ASSERT_TRUE(WriteCrossTable(PlayerCount));
    ASSERT_TRUE(WriteStandings(PlayerCount));
    ExpectTidy("crosstbl.html");
    ExpectTidy("tblscore.html");

    SetUpRoundRobinStandings("tidy_rr_standings");
    ASSERT_TRUE(WriteCrossTable(PlayerCount));
    ExpectTidy("crosstbl.html");
}

} // namespace
