#include "tournament/players.h"

#include "support/tournament_state.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(TitleRank, ComparesExactly) {
    EXPECT_EQ(TitleRank("GM"), 20);
    EXPECT_EQ(TitleRank("IGM"), 20);
    EXPECT_EQ(TitleRank("gm"), 0);
    EXPECT_EQ(TitleRank(" IM"), 16);
    EXPECT_EQ(TitleRank("IM"), 16);
    EXPECT_EQ(TitleRank("IM "), 0);
    EXPECT_EQ(TitleRank("M"), 9);
    EXPECT_EQ(TitleRank("-M"), 9);
    EXPECT_EQ(TitleRank(" 1N"), 5);
    EXPECT_EQ(TitleRank("2S"), 1);
    EXPECT_EQ(TitleRank(" NC"), 0);
    EXPECT_EQ(TitleRank(""), 0);
    EXPECT_EQ(TitleRank(nullptr), 0);
}

TEST(TextHelpers, UpperNoCommaTurnsCommasIntoBlanks) {
    char name[PlayerNameSize];
    char* end = UpperNoComma("rossi, mario", name);
    EXPECT_STREQ(name, "ROSSI  MARIO");
    EXPECT_EQ(end, name + std::strlen(name));
    // Bytes above 127 (an accented letter in Windows-1252) stay as they are.
    UpperNoComma("n\xE8gri", name);
    EXPECT_STREQ(name, "N\xE8GRI");
}

TEST(TextHelpers, CopiesAreCutToTheField) {
    char name[PlayerNameSize];
    UpperNoComma("a name that is far longer than twenty-one", name);
    EXPECT_EQ(std::strlen(name), static_cast<size_t>(PlayerNameSize - 1));
    char title[PlayerTitleSize];
    SkipLeadingBlanks("   WGMX", title);
    EXPECT_STREQ(title, "WGM");
}

TEST(TextHelpers, SkipLeadingBlanksKeepsInnerBlanks) {
    char out[32];
    char* end = SkipLeadingBlanks("  \t word two", out);
    EXPECT_STREQ(out, "word two");
    EXPECT_EQ(*end, '\0');
    SkipLeadingBlanks("    ", out);
    EXPECT_STREQ(out, "");
}

TEST(RatingRule, FideFirstThenNational) {
    Player p{};
    p.fideRating = 2100;
    p.nationalRating = 1900;
    EXPECT_EQ(RatingForChoice(p, 1), 2100);
    EXPECT_EQ(RatingForChoice(p, 0), 1900);
    p.fideRating = 0;
    EXPECT_EQ(RatingForChoice(p, 1), 1900);
    p.nationalRating = 0;
    EXPECT_EQ(RatingForChoice(p, 1), 0);

    ResetTournamentState();
    p.fideRating = 2000;
    Settings.RatingChoice = 0;
    ApplyRatingRule(p);
    EXPECT_EQ(p.ratingUsed, 0);
    Settings.RatingChoice = 1;
    ApplyRatingRule(p);
    EXPECT_EQ(p.ratingUsed, 2000);
}

TEST(Players, ByeRecordIsResetWhateverItHeld) {
    ResetTournamentState();
    std::strcpy(Players[0].name, "SOMEBODY");
    Players[0].available = 0;
    Players[0].fideRating = 2500;
    PairingStates[0].dueColor = 1;
    PairingStates[0].colorFlexible = 0;
    ResetByePlayer();
    EXPECT_STREQ(Players[0].name, "__BYE__");
    EXPECT_EQ(Players[0].available, 1);
    EXPECT_EQ(Players[0].fideRating, 0);
    EXPECT_EQ(PairingStates[0].dueColor, -1);
    EXPECT_EQ(PairingStates[0].colorFlexible, 1);
}

TEST(Settings, StartWithTheDefaults) {
    ResetTournamentState();
    EXPECT_EQ(Settings.PairingSystem, FideDubovSystem);
    EXPECT_EQ(Settings.PlannedRounds, 0);
    EXPECT_EQ(Settings.RatingChoice, 1);
    EXPECT_EQ(Settings.TieBreakOrder[0], 1);
    EXPECT_EQ(Settings.TieBreakOrder[1], 2);
    for (int slot = 2; slot < TieBreakSlots; ++slot)
        EXPECT_EQ(Settings.TieBreakOrder[slot], 0);
    EXPECT_FLOAT_EQ(Settings.ScoreSystem.win, 1.0f);
    EXPECT_FLOAT_EQ(Settings.ScoreSystem.draw, 0.5f);
    EXPECT_EQ(TournamentSaved, 1);
    EXPECT_FALSE(IsRoundRobin());
    Settings.PairingSystem = DoubleRoundRobinSystem;
    EXPECT_TRUE(IsRoundRobin());
}

TEST(Settings, TieBreakTitlesAreSixCharacters) {
    EXPECT_STREQ(TieBreakTitle(0), "");
    EXPECT_STREQ(TieBreakTitle(4), "  S-B ");
    EXPECT_STREQ(TieBreakTitle(9), " APRO ");
    for (int code = 1; code <= 9; ++code)
        EXPECT_EQ(std::strlen(TieBreakTitle(code)), 6u);
    EXPECT_STREQ(TieBreakTitle(10), "");
    EXPECT_STREQ(TieBreakTitle(-3), "");
}

} // namespace
