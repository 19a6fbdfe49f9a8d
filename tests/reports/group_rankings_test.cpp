// The group rankings: reading birth dates whole, the century of a two-digit
// year, who falls into a group at its limits, and the files of groups that
// hold nobody.
#include "report_tournament.h"
#include "standing_tournaments.h"

#include "reports/group_rankings.h"

namespace {

TEST(BirthDates, ReadWholeFromPointsOrSixDigits) {
    EXPECT_EQ(BirthDateValue("03.07.81"), 30781);
    EXPECT_EQ(BirthDateValue("3.7.81"), 30781);
    EXPECT_EQ(BirthDateValue("31.12.05"), 311205);
    EXPECT_EQ(BirthDateValue("150305"), 150305);
    EXPECT_EQ(BirthDateValue("150305 "), 150305);
}

TEST(BirthDates, TextsWithoutAWholeDateGiveNone) {
    for (const char* text :
         {"00.00.00", "", "        ", "1980", "15035", "1503051", "32.01.80", "10.13.80", "10.00.80",
          "00.05.80", "10.05.1", "10.05.198", "10.05", "10-05-80", "x0.05.80", "10..80"})
        EXPECT_EQ(BirthDateValue(text), 0) << '"' << text << '"';
}

TEST(BirthDates, TwoDigitYearsUpToTheCurrentOneAreThisCentury) {
    EXPECT_EQ(DateSortKey(311226, 2026), 20261231);
    EXPECT_EQ(DateSortKey(10127, 2026), 19270101);
    EXPECT_EQ(DateSortKey(10127, 2027), 20270101);
    EXPECT_EQ(DateSortKey(150399, 2026), 19990315);
    EXPECT_EQ(DateSortKey(150300, 2026), 20000315);
    // No date, or an empty limit, comes before every date.
    EXPECT_EQ(DateSortKey(0, 2026), 0);
    EXPECT_LT(DateSortKey(0, 2026), DateSortKey(10127, 2026));
    // Limits that are no dates still compare without overflow.
    EXPECT_GT(DateSortKey(2147483647, 2026), 0);
    EXPECT_EQ(DateSortKey(-2147483647 - 1, 2026), 0);
}

// The ids listed in a group file, in file order.
std::string ListedIds(const std::string& text) {
    std::string ids;
    std::size_t at = 0;
    while ((at = text.find("\r\n", at)) != std::string::npos) {
        at += 2;
        if (text.size() > at + 14 && text[at + 3] == ' ' && text[at + 8] == ' ' && text[at + 12] == ' ' &&
            std::isdigit(static_cast<unsigned char>(text[at + 11])))
            ids += std::to_string(std::stoi(text.substr(at + 9, 3))) + " ";
    }
    return ids;
}

TEST(RatingGroups, APlayerAtALimitBelongsToTheGroupItCloses) {
    SetUpSwissStandings("groups_limits");
    GroupLimits limits;
    limits.groups[0] = {2310, 2480}; // 3 (2310) is out, 1 (2480) is in
    limits.groups[1] = {1850, 2310}; // 7 (1850) is out, 3 is in
    limits.groups[2] = {2480, 2480}; // nobody
    ASSERT_TRUE(WriteRatingGroupStandings(limits));
    const std::string text = ReadBytes(DataFile("rankgrp.txt"));
    EXPECT_EQ(ListedIds(text), "1 2 4 6 3 5 ");
    EXPECT_EQ(CountOf(text, "Group limits:"), 2);
    EXPECT_NE(text.find("\r\n\r\nGroup limits:  1850 < rating <= 2310\r\n"), std::string::npos) << text;
    EXPECT_EQ(CountOf(text, "\r\n  1 "), 2);
}

TEST(GroupRankings, WithNobodyInAnyGroupOnlyTheHeadingsAreWritten) {
    SetUpSwissStandings("groups_empty");
    const GroupLimits none;
    ASSERT_TRUE(WriteRatingGroupStandings(none));
    ASSERT_TRUE(WriteDateGroupStandings(none));
    const std::string heading = "Tournament: Spring Open\r\nTorino - 10.04.26,12.04.26\r\n\r\n"
                                "Rated Player Group at round 3\r\n";
    EXPECT_EQ(ReadBytes(DataFile("rankgrp.txt")), heading);
    EXPECT_EQ(ReadBytes(DataFile("rankdagr.txt")), heading);
}

TEST(DateGroups, PlayersWithoutABirthDateAreInNoGroupAndTheYearFollowsTheClock) {
    SetUpSwissStandings("groups_dates");
    GroupLimits limits;
    limits.groups[0] = {0, 311299}; // everyone born up to 1999, and nobody else
    limits.groups[1] = {311225, 311226};
    ASSERT_TRUE(WriteDateGroupStandings(limits, 2026));
    std::string text = ReadBytes(DataFile("rankdagr.txt"));
    EXPECT_EQ(ListedIds(text), "1 6 2 7 ");
    EXPECT_NE(text.find("| 1850  1N ITA | 311226 | "), std::string::npos) << text;

    // A year later than the current one is the last century's.
    ASSERT_TRUE(WriteDateGroupStandings(limits, 2025));
    text = ReadBytes(DataFile("rankdagr.txt"));
    EXPECT_EQ(ListedIds(text), "7 1 6 2 ");
}

TEST(GroupRankings, AFolderThatCannotBeWrittenIsReported) {
    SetUpSwissStandings("groups_fail");
    CopyField(Settings.DataFolder, std::string(TM_TEST_OUTPUT_DIR) + "/no such folder/");
    EXPECT_FALSE(WriteRatingGroupStandings(GroupLimits{}));
    EXPECT_FALSE(WriteDateGroupStandings(GroupLimits{}, 2026));
}

} // namespace
