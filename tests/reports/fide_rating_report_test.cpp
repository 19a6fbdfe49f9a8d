// The FIDE files: who takes part in the rating, the rating list's fields
// whatever the texts hold, cross-table cells and positions, the cards'
// points, and the menu command's confirmation.
#include "rating_tournament.h"

#include "reports/fide_rating_report.h"
#include "support/recording_message_box.h"
#include "tournament/message_table.h"

#include <cstring>
#include <filesystem>

namespace {

// The cells of the cross table's row at a position.
std::string Cells(int position) {
    const std::string row = FileLines(DataFile("fidecros.txt")).at(static_cast<std::size_t>(4 + position));
    return row.substr(row.find("| ") + 2);
}

TEST(FideRatingList, TakesPartByRatingAndRatedGames) {
    SetUpSwissRatingTournament("fide_part");
    EXPECT_TRUE(TakesPartInRating(2, 4));  // rated, one rated game
    EXPECT_FALSE(TakesPartInRating(4, 2)); // unrated, two rated games
    EXPECT_TRUE(TakesPartInRating(4, 3));  // unrated, three
    Players[4].fideRating = -1;
    EXPECT_FALSE(TakesPartInRating(4, 4));
}

TEST(FideRatingList, EveryLineHasEightFieldsWhateverTheTextsHold) {
    SetUpSwissRatingTournament("fide_fields");
    for (const char* text : {",", ",,,,", "a,b\nc", "\r\n", "", "x\ty,z"}) {
        for (char* field : {Settings.Arbiter, Settings.Name, Settings.Place, Settings.BeginDate})
            std::strcpy(field, text);
        for (int id = 1; id <= PlayerCount; ++id) {
            CopyField(Players[id].name, text);
            CopyField(Players[id].country, text);
            CopyField(Players[id].birthDate, text);
            Players[id].gender = text[0];
        }
        ASSERT_TRUE(WriteFideRatingList(PlayerCount));
        const std::vector<std::string> lines = FileLines(DataFile("fideelo.txt"));
        ASSERT_EQ(lines.size(), 7u);
        for (const std::string& line : lines) {
            EXPECT_EQ(Fields(line).size(), 8u) << line;
            EXPECT_EQ(line.find('\0'), std::string::npos) << line;
        }
        EXPECT_EQ(lines[1].size(), lines[2].size());
        if (text[0] == '\0') {
            EXPECT_EQ(Fields(lines[1]).at(2), " ");
        }
    }
}

TEST(FideRatingList, AveragesTheOpponentsFideRatingsAsTheCardsDo) {
    SetUpSwissRatingTournament("fide_average");
    Settings.RatingChoice = 0; // the national ratings are in use
    for (int id = 1; id <= PlayerCount; ++id)
        ApplyRatingRule(Players[id]);
    ASSERT_TRUE(WriteFideRatingList(PlayerCount));
    ASSERT_TRUE(WriteFideCrossTable(PlayerCount, 1));
    std::vector<std::string> averages; // both list the participants in id order
    for (const std::string& line : FileLines(DataFile("fideelo.txt")))
        averages.push_back(Fields(line).at(7));
    averages.erase(averages.begin()); // the tournament record
    const std::string head = " Average Rating Opponent: ";
    std::vector<std::string> onCards;
    for (const std::string& line : FileLines(DataFile("fidecard.txt")))
        if (line.rfind(head, 0) == 0) onCards.push_back(line.substr(head.size(), 4));
    EXPECT_EQ(averages, onCards);
}

TEST(FideCrossTable, OpponentsArePositionsInTheChosenOrderAndCellsKeepTheirWidth) {
    SetUpSwissRatingTournament("fide_order");
    const std::vector<int> positions = CrossTablePositions(PlayerCount, 0);
    EXPECT_EQ(std::vector<int>(positions.begin(), positions.begin() + 8),
              (std::vector<int>{0, 1, 2, 3, 5, 4, 7, 6}));
    PlayerResultTable(1, 1) = 7; // codes the round tables never hold
    PlayerResultTable(7, 3) = 1;
    ASSERT_TRUE(WriteFideCrossTable(PlayerCount, 0));
    EXPECT_EQ(Cells(1), " W4   =B6   =W2   +W5   ");
    EXPECT_EQ(Cells(5), "+B2   =W3   +B4   -B1   "); // player 4, fifth by pairing numbers
    EXPECT_EQ(Cells(6), "+B3   =W1    --    --   ");
    const std::string cards = ReadBytes(DataFile("fidecard.txt"));
    EXPECT_EQ(CountOf(cards, "No: 5, Name: NERI PAOLO "), 1);
    EXPECT_EQ(CountOf(cards, "   1     B     2     BIANCHI ANNA  "), 1);
}

TEST(FideCards, ResultsInTheTournamentsPointsTotalsInGamePoints) {
    SetUpSwissRatingTournament("fide_cards");
    Settings.ScoreSystem = ScorePoints{3.0f, 1.0f};
    ASSERT_TRUE(WriteFideCrossTable(PlayerCount, 1));
    EXPECT_EQ(CountOf(ReadBytes(DataFile("fidecard.txt")),
                      "   1    W      5     GIALLI SARA            2300005   1900  3.0   1.0\r\n"
                      "   2     B     6     VIOLA UGO EMANUELE F   2300007   1700  1.0   1.5\r\n"),
              1);
    // Positions the caller did not give are 0, never read past the table.
    ASSERT_TRUE(WriteFideCards(PlayerCount, std::vector<int>(3, 9)));
    const std::string cards = ReadBytes(DataFile("fidecard.txt"));
    EXPECT_EQ(CountOf(cards, "No: 9, Name: ROSSI"), 1);
    EXPECT_EQ(CountOf(cards, "No: 0, Name: VERDI"), 1);
}

TEST(FideRatingReportCommand, WritesOnlyOnceStartedAndSaysWhetherItWrote) {
    SetMessageText(MsgClose, "OK");
    SetUpSwissRatingTournament("fide_command");
    ClosedRegistration = 0;
    {
        RecordingMessageBox boxes;
        FideRatingReportCommand(PlayerCount, 1);
        EXPECT_TRUE(boxes.alerts.empty());
        EXPECT_FALSE(FileExists(DataFile("fideelo.txt")));
    }
    ClosedRegistration = 1;
    {
        RecordingMessageBox boxes;
        FideRatingReportCommand(PlayerCount, 1);
        EXPECT_EQ(boxes.alertTexts(),
                  std::vector<std::string>{"OK files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT"});
    }
    {
        std::filesystem::remove(DataFile("fidecard.txt"));
        std::filesystem::create_directories(DataFile("fidecard.txt") + "/in the way");
        RecordingMessageBox boxes;
        FideRatingReportCommand(PlayerCount, 1);
        EXPECT_EQ(boxes.alertTexts(),
                  std::vector<std::string>{
                      "I cannot save all of the files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT"});
    }
    ClearMessageTable();
}

} // namespace
