#include "tournament/standings_order.h"

#include "support/tournament_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class StandingsOrderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        for (int i = 1; i <= 6; ++i)
            AddTestPlayer("PLAYER " + std::to_string(i), 2000);
        for (int slot = 0; slot < TieBreakSlots; ++slot)
            Settings.TieBreakOrder[slot] = 0;
    }
    static void SetOrder(std::initializer_list<int> codes) {
        int slot = 0;
        for (int code : codes)
            Settings.TieBreakOrder[slot++] = code;
        while (slot < TieBreakSlots)
            Settings.TieBreakOrder[slot++] = 0;
    }
};

float PlayerScore::*const TieBreakFields[TieBreakCodeCount] = {
    nullptr,
    &PlayerScore::buchholzCut1,
    &PlayerScore::buchholzTotal,
    &PlayerScore::buchholzMedian,
    &PlayerScore::sonnebornBerger,
    &PlayerScore::cumulative,
    &PlayerScore::aro,
    &PlayerScore::mostBlacks,
    &PlayerScore::mostWins,
    &PlayerScore::apro,
};

TEST_F(StandingsOrderTest, EachTieBreakCodeDecides) {
    for (int code = 1; code <= 9; ++code) {
        SCOPED_TRACE(code);
        ClearRoundTables();
        PlayerScores[1].score = PlayerScores[2].score = 4.5f;
        // Every other field is larger for player 1, so only the code's own
        // field, larger for player 2, may decide for player 2.
        for (int other = 1; other <= 9; ++other) {
            PlayerScores[1].*TieBreakFields[other] = 10.0f;
            PlayerScores[2].*TieBreakFields[other] = 5.0f;
        }
        PlayerScores[2].*TieBreakFields[code] = 20.0f;
        SetOrder({code});
        EXPECT_EQ(CompareStandings(2, 1), -1);
        EXPECT_EQ(CompareStandings(1, 2), 1);
        // Behind an equal first tie-break the code still decides.
        const int first = code == 1 ? 2 : 1;
        PlayerScores[1].*TieBreakFields[first] = PlayerScores[2].*TieBreakFields[first] = 7.0f;
        SetOrder({first, code});
        EXPECT_EQ(CompareStandings(2, 1), -1);
        EXPECT_EQ(CompareStandings(1, 2), 1);
    }
}

TEST_F(StandingsOrderTest, ScoresCompareInTenths) {
    SetOrder({SonnebornBergerTieBreak});
    PlayerScores[1].score = 2.5f;
    PlayerScores[2].score = 2.55f; // also 25 tenths
    PlayerScores[1].sonnebornBerger = 3.0f;
    EXPECT_EQ(CompareStandings(1, 2), -1);
    EXPECT_EQ(CompareStandings(2, 1), 1);
    PlayerScores[2].score = 2.6f;
    EXPECT_EQ(CompareStandings(2, 1), -1);
    EXPECT_EQ(CompareStandings(1, 2), 1);
}

TEST_F(StandingsOrderTest, AnEmptyOrderLeavesTheScoreAlone) {
    PlayerScores[1].score = PlayerScores[2].score = 3.0f;
    PlayerScores[1].buchholzCut1 = 9.0f;
    EXPECT_EQ(CompareStandings(1, 2), 1);
    EXPECT_EQ(CompareStandings(2, 1), 1);
    // An unknown code from a hand-edited file ends the order like 0.
    SetOrder({42, BuchholzCut1TieBreak});
    EXPECT_EQ(CompareStandings(1, 2), 1);
    SetOrder({-1});
    EXPECT_EQ(CompareStandings(1, 2), 1);
}

TEST_F(StandingsOrderTest, NineCodesAreAllConsulted) {
    SetOrder({1, 2, 3, 4, 5, 6, 7, 8, 9});
    PlayerScores[1].apro = 1.0f;
    EXPECT_EQ(CompareStandings(1, 2), -1);
    EXPECT_EQ(CompareStandings(2, 1), 1);
}

TEST_F(StandingsOrderTest, SortingManyEqualPlayersIsWellDefined) {
    // Equal players compare 1 both ways; the sort must still order the rest.
    for (int i = 7; i <= 60; ++i)
        AddTestPlayer("X", 1500);
    SetOrder({BuchholzTotalTieBreak});
    std::vector<int> ids;
    for (int id = 1; id <= PlayerCount; ++id) {
        PlayerScores[id].score = static_cast<float>(id % 3);
        PlayerScores[id].buchholzTotal = static_cast<float>(id % 2);
        ids.push_back(id);
    }
    SortPlayerIds(ids, CompareStandings);
    for (size_t k = 1; k < ids.size(); ++k)
        EXPECT_NE(CompareStandings(ids[k], ids[k - 1]), -1);
    EXPECT_EQ(PlayerScores[ids.front()].score, 2.0f);
    // Stable: equal players keep their ids' order.
    EXPECT_EQ(ids[0], 5);
    EXPECT_EQ(ids[1], 11);
}

TEST_F(StandingsOrderTest, CategoryComesBeforeTheScore) {
    SetOrder({BuchholzTotalTieBreak});
    Players[1].categoryRank = 16;
    Players[2].categoryRank = 20;
    PlayerScores[1].score = 5.0f;
    EXPECT_EQ(CompareStandingsByCategory(2, 1), -1);
    EXPECT_EQ(CompareStandingsByCategory(1, 2), 1);
    Players[2].categoryRank = 16;
    EXPECT_EQ(CompareStandingsByCategory(1, 2), -1);
    PlayerScores[2].score = 5.0f;
    PlayerScores[2].buchholzTotal = 1.0f;
    EXPECT_EQ(CompareStandingsByCategory(2, 1), -1);
}

TEST_F(StandingsOrderTest, PairingNumberOrderIsRatingThenTitleThenName) {
    Players[1].ratingUsed = 2100;
    Players[2].ratingUsed = 2200;
    EXPECT_EQ(ComparePairingNumberOrder(2, 1), -1);
    Players[1].ratingUsed = 2200;
    Players[1].categoryRank = 12;
    EXPECT_EQ(ComparePairingNumberOrder(1, 2), -1);
    Players[2].categoryRank = 12;
    std::strcpy(Players[1].name, "BIANCHI");
    std::strcpy(Players[2].name, "ALBERTI");
    EXPECT_EQ(ComparePairingNumberOrder(2, 1), -1);
    EXPECT_EQ(ComparePairingNumberOrder(1, 2), 1);
    std::strcpy(Players[1].name, "ALBERTI");
    EXPECT_EQ(ComparePairingNumberOrder(1, 2), 1);
    EXPECT_EQ(ComparePairingNumberOrder(2, 1), 1);
}

TEST_F(StandingsOrderTest, NamesAndCountries) {
    // Accented letters sort with their base letters, the accent breaking a
    // tie; names equal but for case in byte order. Given in the byte order.
    const char* const names[] = {"ABEL", "MULLER", "MULLER ANN", "M\xFCLLER", "M\xDCLLER", "NAGY",
                                 "OLZ", "\x8ATEFAN", "SVEN", "ZOE", "\xC4RGER", "\xC9VA", "\xD6LZ",
                                 "\xD8RSTED", "ZO\xCB"};
    const char* const sorted[] = {"ABEL", "\xC4RGER", "\xC9VA", "MULLER", "M\xDCLLER", "M\xFCLLER",
                                  "MULLER ANN", "NAGY", "OLZ", "\xD6LZ", "\xD8RSTED", "\x8ATEFAN",
                                  "SVEN", "ZOE", "ZO\xCB"};
    std::vector<int> ids;
    for (const char* name : names) {
        const int id = ids.size() < 6 ? int(ids.size()) + 1 : AddTestPlayer("X");
        std::strcpy(Players[id].name, name);
        ids.push_back(id);
    }
    SortPlayerIds(ids, ComparePlayersByName);
    for (std::size_t k = 0; k < ids.size(); ++k) EXPECT_STREQ(Players[ids[k]].name, sorted[k]) << k;
    EXPECT_EQ(ComparePlayersByName(1, 1), 1);

    std::strcpy(Players[1].country, "ITA");
    std::strcpy(Players[2].country, "FRA");
    EXPECT_EQ(ComparePlayersByCountry(2, 1), -1);
    std::strcpy(Players[2].country, "ITA");
    PlayerScores[2].score = 1.0f;
    EXPECT_EQ(ComparePlayersByCountry(2, 1), -1);
    EXPECT_EQ(ComparePlayersByCountry(1, 2), 1);
}

TEST(Dates, SplitAndCompareWithTheCentury) {
    int day, month, year;
    SplitDate(250377, day, month, year);
    EXPECT_EQ(day, 25);
    EXPECT_EQ(month, 3);
    EXPECT_EQ(year, 77);
    EXPECT_EQ(CompareDates(10114, 10115), 1); // 01.01.2014 after 01.01.1915
    EXPECT_EQ(CompareDates(10115, 10114), -1);
    EXPECT_EQ(CompareDates(20199, 10299), -1); // February after January
    EXPECT_EQ(CompareDates(20199, 10199), 1);
    EXPECT_EQ(CompareDates(120500, 120500), 0);
}

} // namespace
