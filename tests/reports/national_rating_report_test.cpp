// The national rating report: the leaders' variations, the round codes of
// every result, texts and values that cannot shift the fields, and a report
// that cannot be written.
#include "rating_tournament.h"

#include "reports/national_rating_report.h"
#include "support/recording_message_box.h"
#include "tournament/message_table.h"

#include <filesystem>
#include <limits>

namespace {

// The fields of a player's line; the player lines follow six header lines.
std::vector<std::string> PlayerFields(int id) {
    return Fields(FileLines(NationalRatingReportPath()).at(static_cast<std::size_t>(5 + id)));
}

TEST(NationalRatingReport, OnlyTheLeadingScoreGroupHasItsLossesRaisedToZeroOnACopy) {
    SetUpSwissRatingTournament("elo_clamp");
    PlayerScores[4].score = 3.0f; // ties with player 1 on the top score
    PlayerScores[4].ratingVariation = -0.7f;
    PlayerScores[6].ratingVariation = -8.0f; // half a point behind
    ASSERT_TRUE(WriteNationalRatingReport());
    EXPECT_EQ(PlayerFields(1).at(9), "   0");
    EXPECT_EQ(PlayerFields(4).at(9), "   0");
    EXPECT_EQ(PlayerFields(6).at(9), "  -8");
    EXPECT_FLOAT_EQ(PlayerScores[1].ratingVariation, -3.6f);
    EXPECT_FLOAT_EQ(PlayerScores[4].ratingVariation, -0.7f);
}

TEST(NationalRatingReport, EveryResultCodeHasARoundCode) {
    const int expected[][3] = {{0, 1, 2}, {1, 1, 1}, {2, 1, 3}, {3, 0, 1}, {4, 0, 2},    {5, 0, 2},
                               {6, 0, 3}, {7, 0, 2}, {8, 0, 3}, {9, 0, 2}, {65535, 0, 2}};
    for (const auto& c : expected) {
        int played = -7, digit = -7;
        SplitResultForReport(c[0], played, digit);
        EXPECT_EQ(played * 10 + digit, c[1] * 10 + c[2]) << "code " << c[0];
    }
    // A cell that names no player prints as 000, keeping five digits a round.
    SetUpSwissRatingTournament("elo_codes");
    OpponentTable(6, 3) = 12345;
    PlayerResultTable(6, 4) = 7; // never stored by the round tables
    ASSERT_TRUE(WriteNationalRatingReport());
    EXPECT_EQ(PlayerFields(6).at(14), "00001000031000200052");
}

TEST(NationalRatingReport, TextsAndCorruptValuesCannotShiftTheFields) {
    SetUpSwissRatingTournament("elo_fields");
    CopyField(Players[2].name, "A,B,C");
    CopyField(Players[2].country, "I,T");
    CopyField(Players[2].birthDate, "01,02\n03");
    CopyField(Settings.BeginDate, "1,5");
    SetCurrentRound(500);
    PlayerScores[2].ratingVariation = std::numeric_limits<float>::quiet_NaN();
    PlayerScores[3].ratingVariation = 1e20f;
    ASSERT_TRUE(WriteNationalRatingReport());
    const std::vector<std::string> lines = FileLines(NationalRatingReportPath());
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[2], "1 5,04.05.26");
    EXPECT_EQ(lines[4], std::to_string(SwissInstance.lastRound())); // the rounds the tables hold
    for (std::size_t i = 6; i < lines.size(); ++i) {
        ASSERT_EQ(Fields(lines[i]).size(), 15u) << lines[i];
        EXPECT_EQ(Fields(lines[i])[14].size(), 5u * SwissInstance.lastRound());
    }
    EXPECT_EQ(PlayerFields(2).at(2), "A B C                    ");
    EXPECT_EQ(PlayerFields(2).at(5), "01 02 03");
    EXPECT_EQ(PlayerFields(2).at(9), "   0");
    EXPECT_EQ(PlayerFields(3).at(9), std::to_string(std::numeric_limits<int>::max()));
}

TEST(NationalRatingReportCommand, ConfirmsOnlyAReportThatWasWritten) {
    SetMessageText(MsgClose, "OK");
    SetUpSwissRatingTournament("elo_command");
    {
        RecordingMessageBox boxes;
        NationalRatingReportCommand();
        EXPECT_EQ(boxes.alertTexts(), std::vector<std::string>{"OK file report *.ELO"});
    }
    {
        std::filesystem::remove(NationalRatingReportPath());
        std::filesystem::create_directories(NationalRatingReportPath() + "/in the way");
        RecordingMessageBox boxes;
        NationalRatingReportCommand();
        EXPECT_EQ(boxes.alertTexts(), std::vector<std::string>{"I cannot save the *.ELO file"});
        EXPECT_EQ(boxes.alerts.at(0).caption, "OK");
    }
    {
        PlayerCount = 0; // nothing to write, nothing said
        RecordingMessageBox boxes;
        EXPECT_FALSE(WriteNationalRatingReport());
        NationalRatingReportCommand();
        EXPECT_TRUE(boxes.alerts.empty());
    }
    ClearMessageTable();
}

} // namespace
